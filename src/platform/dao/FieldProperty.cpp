#include "FieldProperty.h"

namespace dao {

namespace {

FieldDef fieldOf(const TableDef& def, const QString& field)
{
    for (const FieldDef& f : def.fields)
        if (f.name.compare(field, Qt::CaseInsensitive) == 0)
            return f;
    throw Error(errItemNotFound, QStringLiteral("Item not found in this collection."));
}

}  // namespace

bool AllowZeroLength(const Database& db, const QString& table, const QString& field)
{
    if (!db.hasTable(table))
        throw Error(errItemNotFound, QStringLiteral("Item not found in this collection."));
    const FieldDef f = fieldOf(db.tableDef(table), field);
    if (f.type != FieldType::Text && f.type != FieldType::Memo)
        throw Error(3270, QStringLiteral("Property not found."));
    return true;
}

void setAllowZeroLength(Database& db, const QString& table, const QString& field, bool allow)
{
    AllowZeroLength(db, table, field);
    if (!allow)
        throw Error(3251, QStringLiteral("Operation is not supported for this type of object."));
}

}  // namespace dao
