#include "db/sessions.h"

#include "platform/dao/Error.h"
#include "platform/dao/Recordset.h"
#include "platform/dao/Transaction.h"

#include <algorithm>
#include <array>

namespace db {

const Field<QString>& SessionRow::scheduleName(int index)
{
    static const std::array<Field<QString>, 5> names = {
        textField("S1NAME", 25, NullRule::Shipped, "S1"), textField("S2NAME", 25, NullRule::Shipped, "S2"),
        textField("S3NAME", 25, NullRule::Shipped, "S3"), textField("S4NAME", 25, NullRule::Shipped, "S4"),
        textField("S5NAME", 25, NullRule::Shipped, "S5")};
    return names.at(static_cast<std::size_t>(index));
}

const Field<QString>& SessionRow::frequencyName(int index)
{
    static const std::array<Field<QString>, 5> names = {
        textField("F1NAME", 25, NullRule::Shipped, "Freq1"), textField("F2NAME", 25, NullRule::Shipped, "Freq2"),
        textField("F3NAME", 25, NullRule::Shipped, "Freq3"), textField("F4NAME", 25, NullRule::Shipped, "Freq4"),
        textField("F5NAME", 25, NullRule::Shipped, "Freq5")};
    return names.at(static_cast<std::size_t>(index));
}

namespace {

// The older per-column flags CV00..CV25 and widths CW02..CW31: copied with a session, read by nothing.
const std::vector<Field<bool>>& olderFlags()
{
    static const std::vector<Field<bool>> flags = [] {
        std::vector<Field<bool>> f;
        for (int i = 0; i <= 25; ++i)
            f.push_back(yesNoField(qPrintable(QStringLiteral("CV%1").arg(i, 2, 10, QLatin1Char('0'))),
                                   NullRule::Empty));
        return f;
    }();
    return flags;
}

const std::vector<Field<qint64>>& olderWidths()
{
    static const std::vector<Field<qint64>> widths = [] {
        std::vector<Field<qint64>> w;
        for (int i = 2; i <= 31; ++i)
            w.push_back(longField(qPrintable(QStringLiteral("CW%1").arg(i, 2, 10, QLatin1Char('0'))),
                                  NullRule::Empty));
        return w;
    }();
    return widths;
}

// CV44 and CV45: set in the first session's row, not copied to new ones.
const Field<bool> kCV44 = yesNoField("CV44", NullRule::Shipped, false);
const Field<bool> kCV45 = yesNoField("CV45", NullRule::Shipped, false);

}  // namespace

const std::vector<const RowColumn*>& SessionRow::columns()
{
    static const std::vector<const RowColumn*> all = [] {
        std::vector<const RowColumn*> c = {&Session,     &SESTAB,      &CURCONVF,    &CURCONVA, &CURUSEADJ,
                                           &CURWORKGPCI, &CURPRACGPCI, &CURMALPGPCI, &COLWS,    &COLVS};
        for (int i = 0; i < 5; ++i)
            c.push_back(&scheduleName(i));
        for (const auto& f : olderFlags())
            c.push_back(&f);
        for (const auto& f : olderWidths())
            c.push_back(&f);
        c.insert(c.end(), {&kCV44, &kCV45, &PLIMCOL, &selectzip, &rualind});
        for (int i = 0; i < 5; ++i)
            c.push_back(&frequencyName(i));
        c.insert(c.end(), {&GEOLOC, &OPTName, &GDEC});
        return c;
    }();
    return all;
}

const RowColumn& SessionRow::column(const QString& name)
{
    for (const RowColumn* c : columns())
        if (c->name().compare(name, Qt::CaseInsensitive) == 0)
            return *c;
    throw dao::Error(dao::errItemNotFound, QStringLiteral("Item not found in this collection."));
}

std::optional<SessionRow> readSession(dao::Database& db, const QString& name)
{
    dao::Recordset rs = db.OpenRecordset("SELECT * FROM SESSIONS WHERE Session = ?", {name});
    if (rs.EOF())
        return std::nullopt;
    return SessionRow(std::move(rs));
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
    const std::vector<const RowColumn*> own = {&SessionRow::Session,   &SessionRow::SESTAB, &SessionRow::OPTName,
                                               &SessionRow::GDEC,      &SessionRow::selectzip,
                                               &SessionRow::rualind,   &kCV44, &kCV45};
    QStringList columns;
    for (const RowColumn* c : SessionRow::columns())
        if (std::find(own.begin(), own.end(), c) == own.end())
            columns << c->name();
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
        db.CopyRows(name, rowsFrom);
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
    QStringList copied;
    if (session.copyEveryColumn) {
        for (const dao::FieldDef& f : db.tableDef(QStringLiteral("SESSIONS")).fields)
            if (f.name.compare("Session", Qt::CaseInsensitive) != 0 && f.name.compare("SESTAB", Qt::CaseInsensitive) != 0)
                copied << dao::quoteIdentifier(f.name);
    } else {
        copied = sessionCopyColumns();
    }
    for (const QString& column : copied) {
        const bool set = std::any_of(session.values.begin(), session.values.end(), [&](const auto& v) {
            return v.first.compare(column, Qt::CaseInsensitive) == 0 ||
                   dao::quoteIdentifier(v.first).compare(column, Qt::CaseInsensitive) == 0;
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

QString createUserSession(dao::Database& db, const QString& name, const QString& source)
{
    dao::Transaction trans(db);
    if (!sessionExists(db, source))
        return QString();
    const dao::Variant count = db.scalar(QStringLiteral("SELECT SESCOUNT FROM PARMS_CL"));
    qint64 number = count.isNull() ? 1 : qint64(dao::CDbl(count));
    // A table left behind under the number (no session names it) is passed over, never taken or dropped.
    while (db.hasTable(sessionTableName(number)))
        ++number;
    NewSession session;
    session.name = name;
    session.source = source;
    session.number = number;
    session.copyEveryColumn = true;
    const QString table = createSession(db, session);
    db.Execute(QStringLiteral("UPDATE PARMS_CL SET SESCOUNT = ?"), {number + 1});
    trans.Commit();
    return table;
}

SessionNameCheck checkRenameSessionName(dao::Database& db, const QString& oldName, const QString& newName)
{
    if (newName.contains('"'))
        return SessionNameCheck::HasQuote;
    if (newName.compare(kDefaultSession, Qt::CaseInsensitive) == 0 ||
        newName.compare(kMakeNewSessionEntry, Qt::CaseInsensitive) == 0)
        return SessionNameCheck::InUse;
    for (const QString& existing : sessionNames(db))
        if (existing != oldName && newName.compare(existing, Qt::CaseInsensitive) == 0)
            return SessionNameCheck::InUse;
    return SessionNameCheck::Ok;
}

bool renameSession(dao::Database& db, const QString& oldName, const QString& newName)
{
    if (oldName == kDefaultSession)
        return false;
    dao::Transaction trans(db);
    db.Execute(QStringLiteral("UPDATE SESSIONS SET Session = ? WHERE Session = ?"), {newName, oldName});
    const bool renamed = db.RecordsAffected() > 0;
    trans.Commit();
    return renamed;
}

bool deleteSession(dao::Database& db, const QString& name)
{
    if (name.compare(kDefaultSession, Qt::CaseInsensitive) == 0)
        return false;
    dao::Transaction trans(db);
    const dao::Variant table = db.scalar(QStringLiteral("SELECT SESTAB FROM SESSIONS WHERE Session = ?"), {name});
    if (table.isNull())
        return false;
    const QString tableName = table.toString();
    if (tableName.compare(kModelTable, Qt::CaseInsensitive) == 0 || !db.hasTable(tableName))
        return false;
    db.Execute(QStringLiteral("DROP TABLE ") + dao::quoteIdentifier(tableName));
    db.Execute(QStringLiteral("DELETE FROM SESSIONS WHERE Session = ?"), {name});
    trans.Commit();
    return true;
}

}  // namespace db
