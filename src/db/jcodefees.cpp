#include "db/jcodefees.h"

namespace db {

JCodeAmounts jcodeAmounts(const QString& price)
{
    JCodeAmounts a;
    a.participating = QStringLiteral("(%1)").arg(price);
    a.nonParticipating = QStringLiteral("((clng((%1*.95)*100))/100.0)").arg(price);
    a.limiting = QStringLiteral("((clng((%1*1.15)*100))/100.0)").arg(a.nonParticipating);
    return a;
}

}  // namespace db
