#pragma once

#include <QString>

namespace dao {

// A double as plain decimal text: at most 15 significant digits, no trailing zeros, no point for whole
// numbers, '.' whatever the locale (1.0 -> "1", 1e-7 -> "0.0000001", 123456789012345678 ->
// "123456789012346000"). Inf and NaN give "NULL". SQL text and the delimited copies of worksheets share it.
QString plainNumber(double v);

}  // namespace dao
