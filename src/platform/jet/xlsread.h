#pragma once

#include "platform/dao/Variant.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace jet {

// One sheet of a workbook. Rows run from the sheet's first row (row 1) to the last row holding a value; every
// row has `columns` cells, from column A to the last column holding a value. A cell is Null (empty, blank or
// an error value), a double (dates are numbers), a text or a boolean. Formulas give their stored result.
struct Sheet {
    QString name;
    std::vector<std::vector<dao::Variant>> rows;
    int columns = 0;
};

// The sheets in their order, the index of the active one, and the code page of the file's 8-bit texts.
struct Workbook {
    std::vector<Sheet> sheets;
    int active = 0;
    int codepage = 1252;
};

// Reads an .xls file of any version: a worksheet of Excel 2.x to 4.0 (BIFF2-4, one sheet, named after the
// file) or a workbook of Excel 5.0 to 2003 (BIFF5/BIFF8 inside a compound file). Throws dao::Error naming the
// file and the reason when the file is missing, encrypted, of another kind, truncated or damaged.
Workbook readWorkbook(const QString& path);

// The same for a file's bytes; `path` only names the file in messages and gives a worksheet its name.
Workbook readWorkbookBytes(const QByteArray& bytes, const QString& path);

}  // namespace jet
