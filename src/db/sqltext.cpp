#include "sqltext.h"

#include "platform/dao/numbertext.h"

#include <charconv>
#include <cmath>
#include <string>

namespace db {

QString sqlNumber(double v)
{
    return dao::plainNumber(v);
}

QString checkedColumn(dao::Database& db, const QString& table, const QString& column)
{
    const dao::TableDef def = db.tableDef(table);
    for (const dao::FieldDef& f : def.fields)
        if (f.name.compare(column.trimmed(), Qt::CaseInsensitive) == 0)
            return QLatin1Char('[') + f.name + QLatin1Char(']');
    throw dao::Error(dao::errItemNotFound, QStringLiteral("Item not found in this collection."));
}

}  // namespace db
