#include "support/SampleDb.h"

#include "buildsettings.h"
#include "db/schema.h"
#include "db/sessions.h"
#include "platform/dao/Transaction.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace testsupport {

namespace {

void copyOrFail(const QString& from, const QString& to)
{
    if (!QFile::copy(from, to))
        ADD_FAILURE() << "cannot copy " << from.toStdString() << " (build the target sample_data first)";
    QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

}  // namespace

QString programConnect()
{
    return QStringLiteral(";PWD=") + QString::fromUtf8(build::DbPassword);
}

SampleDb::SampleDb()
{
    copyOrFail(QStringLiteral(KELVA_SAMPLE_DB), path());
}

dao::Database SampleDb::open() const
{
    return dao::OpenDatabase(path(), programConnect());
}

ProgramFolder::ProgramFolder()
{
    const QDir data(QStringLiteral(KELVA_DATA_DIR));
    for (const char* name : {"kelva.mdb", "export.mdb", "backup.mdb", "backupAllSess.mdb", "kvdis.txt", "export.xls",
                             "export.wk1", "export.dbf"})
        copyOrFail(data.filePath(QString::fromLatin1(name)), file(QString::fromLatin1(name)));
    QDir(dir.path()).mkdir(QStringLiteral("backup"));
}

FixtureDb::FixtureDb(const QStringList& tables, bool seedRows, bool password)
{
    database = dao::CreateDatabase(path());
    db::createSchema(database, tables, seedRows);
    if (password)
        database.SetPassword(QString::fromUtf8(build::DbPassword));
}

FixtureDb::~FixtureDb()
{
    database.Close();
}

FirstSession makeFirstSession(dao::Database& db, const QString& name, const QString& state, const QString& desc)
{
    FirstSession s;
    s.name = name;
    dao::Recordset loc = db.OpenRecordset(
        QStringLiteral("SELECT STATE, \"DESC\", CARRIER, LOCCODE, WORK, PRACT, MALP FROM LOCATION "
                       "WHERE STATE = ? AND \"DESC\" = ?"),
        {state, desc});
    if (loc.EOF())
        throw dao::Error(dao::errItemNotFound, QStringLiteral("No locality ") + state + " - " + desc);
    s.geoloc = loc["STATE"].Value().toString() + " - " + loc["DESC"].Value().toString();
    s.carrier = loc["CARRIER"].Value().toString();
    s.loc = loc["LOCCODE"].Value().toString();
    s.work = loc["WORK"].Value().toDouble();
    s.pract = loc["PRACT"].Value().toDouble();
    s.malp = loc["MALP"].Value().toDouble();
    loc.Close();

    dao::Transaction trans(db);
    db.Execute(QStringLiteral("UPDATE SESSIONS SET PLIMCOL = 19, CURWORKGPCI = ?, CURPRACGPCI = ?, CURMALPGPCI = ?, "
                              "GEOLOC = ? WHERE Session = 'Default'"),
               {s.work, s.pract, s.malp, s.geoloc});
    db.Execute(QStringLiteral("UPDATE PARMS_CL SET SESCOUNT = 1, CARRIER = ?, Loc = ?"), {s.carrier, s.loc});
    db::NewSession session;
    session.name = name;
    session.number = 1;
    session.values = {{"CV44", -1}, {"CV45", -1}, {"CURWORKGPCI", s.work}, {"CURPRACGPCI", s.pract},
                      {"CURMALPGPCI", s.malp}, {"GEOLOC", s.geoloc}};
    s.table = db::createSession(db, session);
    db.Execute(QStringLiteral("UPDATE PARMS_CL SET SESCOUNT = 2, CURSES = ?, CreateTables = 1"), {name});
    trans.Commit();
    return s;
}

QStringList tableRows(dao::Database& db, const QString& table, const QString& orderBy)
{
    QStringList rows;
    dao::Recordset rs = db.OpenRecordset("SELECT * FROM " + dao::quoteIdentifier(table) + " ORDER BY " + orderBy);
    for (; !rs.EOF(); rs.MoveNext()) {
        QStringList cells;
        for (int i = 0; i < rs.FieldCount(); ++i)
            cells << (rs[i].Value().isNull() ? QStringLiteral("<null>") : rs[i].Value().toString());
        rows << cells.join('|');
    }
    return rows;
}

QStringList rowTexts(dao::Database d, const QString& sql)
{
    QStringList out;
    dao::Recordset rs = d.OpenRecordset(sql);
    for (; !rs.EOF(); rs.MoveNext()) {
        QStringList cells;
        for (int i = 0; i < rs.FieldCount(); ++i)
            cells << (rs.Fields(i).Value().isNull() ? QStringLiteral("<null>") : rs.Fields(i).Value().toString());
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

}  // namespace testsupport
