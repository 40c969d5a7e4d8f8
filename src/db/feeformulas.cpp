#include "feeformulas.h"

#include "platform/dao/jetfunctions.h"
#include "sqltext.h"

namespace db {

namespace {

// "(round(WORKZ * WA, 2)) * WG) + (PE * PG) + (MRVU * MG))" with the opening parentheses left to the caller.
QString rvuSum(const FeeFactors& f, PeColumn pe)
{
    const QString peColumn = pe == PeColumn::NonFacility ? QStringLiteral("NF98WORK") : QStringLiteral("F98WORK");
    return QStringLiteral("round(WORKZ * %1, 2)) * %2) + (%3 * %4) + (MRVU * %5))")
        .arg(sqlNumber(f.workAdjuster), sqlNumber(f.workGpci), peColumn, sqlNumber(f.pracGpci), sqlNumber(f.malpGpci));
}

}  // namespace

FeeExpressions feeExpressions(const FeeFactors& f, PeColumn pe)
{
    const QString sum = rvuSum(f, pe);
    const QString cf = sqlNumber(f.convFactor);
    FeeExpressions e;
    e.participating = QStringLiteral("(round((((  (%1*%2),2) * calcflag)").arg(sum, cf);
    e.nonParticipating = QStringLiteral("(round((clng(100*(((%1*%2)* .0095),2) * calcflag)").arg(sum, cf);
    e.limiting = QStringLiteral("(round(((clng(100*(clng(100*(((%1*%2)* .0095)))*.0115),2) * calcflag)").arg(sum, cf);
    return e;
}

QString feeSelectItems(const FeeFactors& f, PeColumn pe)
{
    const FeeExpressions e = feeExpressions(f, pe);
    const bool nf = pe == PeColumn::NonFacility;
    return QStringLiteral("%1 as %2, %3 as %4, %5 as %6")
        .arg(e.participating, nf ? QStringLiteral("NPART") : QStringLiteral("FPART"), e.nonParticipating,
             nf ? QStringLiteral("NNPART") : QStringLiteral("FNPART"), e.limiting,
             nf ? QStringLiteral("NLC") : QStringLiteral("FLC"));
}

FeeAmounts feeAmounts(const FeeFactors& f, double workz, double pe, double mrvu, double calcflag)
{
    const double b = jet::round(workz * f.workAdjuster, 2) * f.workGpci + pe * f.pracGpci + mrvu * f.malpGpci;
    const double cents = double(jet::clng(100 * b * f.convFactor));
    FeeAmounts a;
    a.participating = jet::round(b * f.convFactor, 2) * calcflag;
    a.nonParticipating = jet::round(cents * .0095, 2) * calcflag;
    a.limiting = jet::round(double(jet::clng(100 * (cents * .0095))) * .0115, 2) * calcflag;
    return a;
}

}  // namespace db
