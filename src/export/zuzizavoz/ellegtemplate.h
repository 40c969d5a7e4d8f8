#pragma once

#include <QString>
#include <QStringList>

// The Zuzizavoz sheet's template, elleg.xls: an Excel 4.0 worksheet whose first row names its three columns.
namespace zuzizavoz {

QStringList sheetHeader();  // "code", "Mod", "Allowed Amt"
// Writes elleg.xls into the folder; false when it cannot be written.
bool writeTemplate(const QString& folder);

}  // namespace zuzizavoz
