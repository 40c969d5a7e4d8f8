#include "db/familysql.h"

namespace db {

QString jcodeAmountColumns(const QString& price)
{
    const QString nonPar = QStringLiteral("(clng((%1*.95)*100)/100.0)").arg(price);
    return QStringLiteral("%1 AS PAR, iif(%1>0,%2,'') AS NONPAR, iif(%1>0,(clng((%2*1.15)*100)/100.0),'') AS LC")
        .arg(price, nonPar);
}

}  // namespace db
