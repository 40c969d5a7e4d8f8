#pragma once

#include <QString>

namespace db {

// The factors that enter the six physician fee amounts.
struct FeeFactors {
    double workAdjuster = 1.0;
    double workGpci = 1.0;
    double pracGpci = 1.0;
    double malpGpci = 1.0;
    double convFactor = 0.0;
};

// The practice-expense column that enters the amounts.
enum class PeColumn { NonFacility, Facility };  // NF98WORK, F98WORK

struct FeeExpressions {
    QString participating;     // round(B * CF, 2) * calcflag
    QString nonParticipating;  // round(clng(100 * B * CF) * .0095, 2) * calcflag
    QString limiting;          // round(clng(100 * (clng(100 * B * CF) * .0095)) * .0115, 2) * calcflag
};

// The three amount expressions as SQL text (without " as NAME"), the factors written by sqlNumber.
FeeExpressions feeExpressions(const FeeFactors& f, PeColumn pe);
// The same with " as NPART" etc.: the select-list items of the main fee query, in order
// NPART, NNPART, NLC (non-facility) or FPART, FNPART, FLC (facility).
QString feeSelectItems(const FeeFactors& f, PeColumn pe);

struct FeeAmounts {
    double participating = 0;
    double nonParticipating = 0;
    double limiting = 0;
};

// The same amounts computed in C++ with the same arithmetic.
FeeAmounts feeAmounts(const FeeFactors& f, double workz, double pe, double mrvu, double calcflag);

}  // namespace db
