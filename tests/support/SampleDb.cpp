#include "support/SampleDb.h"

#include "buildsettings.h"
#include "db/schema.h"
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
    for (const char* name : {"kelva.mdb", "export.mdb", "backup.mdb", "backupAllSess.mdb", "kvdis.txt"})
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
    s.table = QStringLiteral("DATA0001");
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

    // The columns the wizard copies from "Default" into the new row.
    QStringList copied{"CURCONVF", "CURCONVA", "CURUSEADJ", "CURWORKGPCI", "CURPRACGPCI", "CURMALPGPCI", "COLWS", "COLVS"};
    for (int i = 1; i <= 5; ++i)
        copied << QStringLiteral("S%1NAME").arg(i);
    for (int i = 0; i <= 25; ++i)
        copied << QStringLiteral("CV%1").arg(i, 2, 10, QLatin1Char('0'));
    for (int i = 2; i <= 31; ++i)
        copied << QStringLiteral("CW%1").arg(i, 2, 10, QLatin1Char('0'));
    copied << QStringLiteral("PLIMCOL");
    for (int i = 1; i <= 5; ++i)
        copied << QStringLiteral("F%1NAME").arg(i);

    dao::Transaction trans(db);
    const std::vector<dao::Variant> locality{s.work, s.pract, s.malp, s.geoloc};
    db.Execute(QStringLiteral("UPDATE SESSIONS SET PLIMCOL = 19, CURWORKGPCI = ?, CURPRACGPCI = ?, CURMALPGPCI = ?, "
                              "GEOLOC = ? WHERE Session = 'Default'"),
               locality);
    db.Execute(QStringLiteral("UPDATE PARMS_CL SET SESCOUNT = 1, CARRIER = ?, Loc = ?"), {s.carrier, s.loc});
    db::createSessionTable(db, s.table);
    db.Execute(QStringLiteral("INSERT INTO SESSIONS (Session, SESTAB, %1) SELECT ?, ?, %1 FROM SESSIONS "
                              "WHERE Session = 'Default'")
                   .arg(copied.join(QStringLiteral(", "))),
               {name, s.table});
    db.Execute(QStringLiteral("UPDATE SESSIONS SET CV44 = -1, CV45 = -1, CURWORKGPCI = ?, CURPRACGPCI = ?, "
                              "CURMALPGPCI = ?, GEOLOC = ? WHERE Session = ?"),
               {s.work, s.pract, s.malp, s.geoloc, name});
    db.Execute(QStringLiteral("UPDATE PARMS_CL SET SESCOUNT = 2, CURSES = ?, CreateTables = 1"), {name});
    trans.Commit();
    return s;
}

}  // namespace testsupport
