#include "widetable.h"

#include "platform/dao/Database.h"

#include <QStringList>

QString makeWideTable(const QString& path)
{
    dao::Database db = dao::CreateDatabase(path);
    QStringList columns{"Tag TEXT(1) COLLATE NOCASE", "CODEMOD TEXT(7) COLLATE NOCASE", "DESCR TEXT(50) COLLATE NOCASE"};
    QStringList values{"NULL", "printf('%05d', 10000 + i)", "'Description of code ' || i"};
    for (int c = 3; c < 61; ++c) {
        columns << QString("N%1 REAL").arg(c);
        values << QString("(i * %1) / 7.0").arg(c);
    }
    db.Execute("CREATE TABLE WIDE (" + columns.join(", ") + ")");
    db.Execute("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < 16000) "
               "INSERT INTO WIDE SELECT " + values.join(", ") + " FROM n");
    db.Close();
    return path;
}
