#pragma once

#include <QString>

namespace db {

// The three J-code amounts of a price column, as select-list items "PAR", "NONPAR" and "LC":
//   PAR = the price; NONPAR = clng((PAR x .95) x 100) / 100; LC = clng((NONPAR x 1.15) x 100) / 100 from the
//   rounded NONPAR, each in that order of double operations (clng rounds half to even). A price not above 0
//   gives the empty text for NONPAR and LC. SQLite cannot use a select-list alias later in the same list, so
//   the price expression is written out in each. `price` is a quoted identifier (db::checkedColumn).
QString jcodeAmountColumns(const QString& price);

}  // namespace db
