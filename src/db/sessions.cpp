#include "db/sessions.h"

#include "platform/dao/Recordset.h"
#include "platform/dao/Transaction.h"

#include <algorithm>

namespace db {

namespace {

QString text(dao::Recordset& rs, const char* column)
{
    return rs[column].Value().toString();
}

double number(dao::Recordset& rs, const char* column)
{
    return rs[column].Value().toDouble();
}

}  // namespace

SessionRow SessionRow::fromRecord(dao::Recordset& rs)
{
    SessionRow r;
    r.Session = text(rs, "Session");
    r.SESTAB = text(rs, "SESTAB");
    r.CURCONVF = number(rs, "CURCONVF");
    r.CURCONVA = number(rs, "CURCONVA");
    r.CURUSEADJ = rs["CURUSEADJ"].Value().toBool();
    r.CURWORKGPCI = number(rs, "CURWORKGPCI");
    r.CURPRACGPCI = number(rs, "CURPRACGPCI");
    r.CURMALPGPCI = number(rs, "CURMALPGPCI");
    r.GEOLOC = text(rs, "GEOLOC");
    r.selectzip = text(rs, "selectzip");
    r.rualind = text(rs, "rualind");
    const dao::Variant plimcol = rs["PLIMCOL"].Value();
    r.PLIMCOL = plimcol.isNull() ? 19 : static_cast<int>(plimcol.toLongLong());
    r.COLWS = text(rs, "COLWS");
    r.COLVS = text(rs, "COLVS");
    for (int i = 1; i <= 5; ++i) {
        r.SNAME << rs[QStringLiteral("S%1NAME").arg(i)].Value().toString();
        r.FNAME << rs[QStringLiteral("F%1NAME").arg(i)].Value().toString();
    }
    r.OPTName = text(rs, "OPTName");
    r.GDEC = rs["GDEC"].Value().toBool();
    return r;
}

std::optional<SessionRow> readSession(dao::Database& db, const QString& name)
{
    dao::Recordset rs = db.OpenRecordset("SELECT * FROM SESSIONS WHERE Session = ?", {name});
    if (rs.EOF())
        return std::nullopt;
    return SessionRow::fromRecord(rs);
}

bool sessionExists(dao::Database& db, const QString& name)
{
    return !db.scalar("SELECT 1 FROM SESSIONS WHERE Session = ?", {name}).isNull();
}

QStringList sessionNames(dao::Database& db)
{
    QStringList names;
    dao::Recordset rs = db.OpenRecordset("SELECT Session FROM SESSIONS ORDER BY rowid");
    for (; !rs.EOF(); rs.MoveNext())
        names << rs[0].Value().toString();
    return names;
}

QString sessionTable(dao::Database& db, const QString& name)
{
    const dao::Variant table = db.scalar("SELECT SESTAB FROM SESSIONS WHERE Session = ?", {name});
    if (table.isNull())
        throw dao::Error(dao::errNoCurrentRecord, QStringLiteral("No current record."));
    return table.toString();
}

QString sessionTableName(qint64 sesCount)
{
    return QStringLiteral("DATA%1").arg(sesCount, 4, 10, QLatin1Char('0'));
}

QStringList sessionCopyColumns()
{
    QStringList columns{"CURCONVF", "CURCONVA", "CURUSEADJ", "CURWORKGPCI", "CURPRACGPCI", "CURMALPGPCI",
                        "COLWS", "COLVS"};
    for (int i = 1; i <= 5; ++i)
        columns << QStringLiteral("S%1NAME").arg(i);
    for (int i = 0; i <= 25; ++i)
        columns << QStringLiteral("CV%1").arg(i, 2, 10, QLatin1Char('0'));
    for (int i = 2; i <= 31; ++i)
        columns << QStringLiteral("CW%1").arg(i, 2, 10, QLatin1Char('0'));
    columns << "GEOLOC" << "PLIMCOL";
    for (int i = 1; i <= 5; ++i)
        columns << QStringLiteral("F%1NAME").arg(i);
    return columns;
}

bool isBlankSessionName(const QString& name)
{
    return QString::compare(name, QStringLiteral(" "), Qt::CaseSensitive) <= 0;
}

SessionNameCheck checkNewSessionName(dao::Database& db, const QString& name)
{
    if (name.contains('"'))
        return SessionNameCheck::HasQuote;
    if (isBlankSessionName(name))
        return SessionNameCheck::Blank;
    if (name.compare(kDefaultSession, Qt::CaseInsensitive) == 0)
        return SessionNameCheck::InUse;
    for (const QString& existing : sessionNames(db))
        if (name.compare(existing, Qt::CaseInsensitive) == 0)
            return SessionNameCheck::InUse;
    return SessionNameCheck::Ok;
}

QString sessionNameMessage(SessionNameCheck check)
{
    switch (check) {
    case SessionNameCheck::HasQuote:
        return QStringLiteral("Session name can not contain quotation marks.  Please re-enter.");
    case SessionNameCheck::Blank:
        return QStringLiteral("New Session Name cannot be blank.");
    case SessionNameCheck::InUse:
        return QStringLiteral("The New Session Name matches an existing name.\r\n\r\nPlease enter a new name.");
    case SessionNameCheck::Ok:
        break;
    }
    return {};
}

void createSessionCodeTable(dao::Database& db, const QString& name, const QString& rowsFrom, const QString& indexName)
{
    const dao::TableDef model = db.tableDef(kModelTable);
    dao::TableDef def;
    def.name = name;
    def.fields = model.fields;
    // Unique rather than primary: SQLite would keep a primary key without the index's name.
    def.indexes.push_back(dao::IndexDef{indexName, QStringList{"CODEMOD"}, true, false});
    dao::Transaction trans(db);
    db.CreateTable(def);
    if (!rowsFrom.isEmpty())
        db.Execute("INSERT INTO " + dao::quoteIdentifier(name) + " SELECT * FROM " + dao::quoteIdentifier(rowsFrom));
    trans.Commit();
}

QString createSession(dao::Database& db, const NewSession& session)
{
    dao::Transaction trans(db);
    const QString sourceTable = sessionTable(db, session.source);
    const QString table = sessionTableName(session.number);
    createSessionCodeTable(db, table, sourceTable);

    QStringList columns{"Session", "SESTAB"};
    QStringList sources{"?", "?"};
    std::vector<dao::Variant> params{session.name, table};
    for (const auto& [column, value] : session.values) {
        columns << dao::quoteIdentifier(column);
        sources << "?";
        params.push_back(value);
    }
    for (const QString& column : sessionCopyColumns()) {
        const bool set = std::any_of(session.values.begin(), session.values.end(), [&](const auto& v) {
            return v.first.compare(column, Qt::CaseInsensitive) == 0;
        });
        if (set)
            continue;
        columns << column;
        sources << column;
    }
    params.push_back(session.source);
    db.Execute("INSERT INTO SESSIONS ( " + columns.join(", ") + " ) SELECT " + sources.join(", ") +
                   " FROM SESSIONS WHERE Session = ?",
               params);
    trans.Commit();
    return table;
}

}  // namespace db
