#pragma once

#include "platform/dao/Database.h"

#include <QString>

namespace db {

// The one way a double enters SQL text: plain decimal, at most 15 significant digits, no trailing zeros,
// no point for whole numbers, '.' whatever the locale (1.0 -> "1", 1e-7 -> "0.0000001",
// 123456789012345678 -> "123456789012346000").
QString sqlNumber(double v);

// The quoted identifier (dao::quoteIdentifier) of a real column of the table, spelled as the table spells it;
// dao::Error 3265 when the table has no such column.
QString checkedColumn(dao::Database& db, const QString& table, const QString& column);

}  // namespace db
