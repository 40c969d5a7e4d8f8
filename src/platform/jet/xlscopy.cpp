#include "platform/jet/xlscopy.h"

#include "platform/dao/numbertext.h"
#include "platform/jet/delimited.h"

#include <cmath>

namespace jet {

QString workbookCopyPath(const QString& workbookPath)
{
    return workbookPath.left(std::max<qsizetype>(workbookPath.size() - 3, 0)) + QStringLiteral("csv");
}

namespace {

QString cellText(const dao::Variant& v)
{
    switch (v.type()) {
    case dao::Variant::Type::Null:
        return {};
    case dao::Variant::Type::Boolean:
        return v.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case dao::Variant::Type::Long:
    case dao::Variant::Type::Double: {
        const double d = v.toDouble();
        return std::isfinite(d) ? dao::plainNumber(d) : QString();
    }
    default:
        return v.toString();
    }
}

}  // namespace

QByteArray delimitedSheet(const Sheet& sheet)
{
    QByteArray out;
    std::vector<TextField> fields(size_t(sheet.columns));
    for (const auto& row : sheet.rows) {
        for (size_t c = 0; c < fields.size(); ++c)
            fields[c].text = c < row.size() ? cellText(row[c]) : QString();
        out += delimitedLine(fields);
    }
    return out;
}

QString saveWorkbookCopy(const QString& workbookPath)
{
    const Workbook book = readWorkbook(workbookPath);
    const QString copy = workbookCopyPath(workbookPath);
    writeFileWhole(copy, delimitedSheet(book.sheets.at(size_t(book.active))));
    return copy;
}

}  // namespace jet
