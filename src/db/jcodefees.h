#pragma once

#include <QString>

namespace db {

// The J-code amounts of a state's participating price, as SQL text over a price expression (a checked,
// quoted column such as JCD."CA"): the non-participating amount is 95 % of the price and the limiting
// amount 115 % of the non-participating one, each in whole cents (clng, a half to even). 10.00 gives 9.50
// and 10.92. A Null price gives Null amounts.
struct JCodeAmounts {
    QString participating;
    QString nonParticipating;
    QString limiting;
};
JCodeAmounts jcodeAmounts(const QString& price);

}  // namespace db
