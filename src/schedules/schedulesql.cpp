#include "schedules/schedulesql.h"

#include "db/sqltext.h"
#include "platform/dao/Database.h"

namespace schedulesql {

QStringList physicianSources(const db::FeeFactors& f)
{
    const db::FeeExpressions nf = db::feeExpressions(f, db::PeColumn::NonFacility);
    const db::FeeExpressions fa = db::feeExpressions(f, db::PeColumn::Facility);
    const QString wg = db::sqlNumber(f.workGpci);
    const QString pg = db::sqlNumber(f.pracGpci);
    const QString mg = db::sqlNumber(f.malpGpci);
    QStringList s = {nf.participating, nf.nonParticipating, nf.limiting,
                     fa.participating, fa.nonParticipating, fa.limiting};
    // 8 and 9 are RVU totals of the locality: the transitioned practice expense, no work adjuster.
    s << QStringLiteral("(NFTTOTAL)") << QStringLiteral("(FTTOTAL)")
      << QStringLiteral("((((WORKZ) * %1) + (NFTPERVU * %2) + (MRVU * %3)) * 1)").arg(wg, pg, mg)
      << QStringLiteral("((((WORKZ) * %1) + (FTPERVU * %2) + (MRVU * %3)) * 1 )").arg(wg, pg, mg)
      << QStringLiteral("(WORKZ)") << QStringLiteral("(NFTPERVU)") << QStringLiteral("(FTPERVU)")
      << QStringLiteral("(MRVU)") << QStringLiteral("((WORKZ) * %1)").arg(wg)
      << QStringLiteral("((NFTPERVU)* %1)").arg(pg) << QStringLiteral("((FTPERVU)* %1)").arg(pg)
      << QStringLiteral("(MRVU * %1)").arg(mg);
    for (int k = 1; k <= 5; ++k)
        s << QStringLiteral("S%1").arg(k);
    return s;
}

QStringList oppsSources()
{
    return {QStringLiteral("(DATAOPPSVIEW.NFTTOTAL)"), QStringLiteral("(DATAOPPSVIEW.FTTOTAL)")};
}

QString copySchedule(const QString& table, const QString& column, const QString& expression, bool tagged)
{
    return QStringLiteral("UPDATE %1 SET %2 = format(%3,'#0.####')").arg(dao::quoteIdentifier(table), column, expression) +
           (tagged ? QStringLiteral(" WHERE TAG ='+'") : QString());
}

}  // namespace schedulesql
