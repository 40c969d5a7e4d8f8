#include "export/zuzizavoz/ellegtemplate.h"

#include "platform/jet/biff4.h"

#include <QDir>
#include <QFile>

namespace zuzizavoz {

QStringList sheetHeader()
{
    return {QStringLiteral("code"), QStringLiteral("Mod"), QStringLiteral("Allowed Amt")};
}

bool writeTemplate(const QString& folder)
{
    const QByteArray bytes = jet::biff4Template(sheetHeader());
    QFile f(QDir(folder).filePath(QStringLiteral("elleg.xls")));
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

}  // namespace zuzizavoz
