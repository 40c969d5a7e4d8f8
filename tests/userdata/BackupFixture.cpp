#include "userdata/BackupFixture.h"

#include "buildsettings.h"
#include "support/SampleDb.h"
#include "userdata/frmBackup.h"

#include "db/sessions.h"
#include "platform/dao/Transaction.h"

#include <QDir>
#include <QFile>

void BackupTest::SetUp()
{
    SeamTest::SetUp();
    g() = Globals{};
    g().ProgramFolder = folder.path();
    g().DbConnect = testsupport::programConnect();
    const QDir data(QStringLiteral(KELVA_DATA_DIR));
    for (const QString name : {"backup.mdb", "backupAllSess.mdb"})
        ASSERT_TRUE(QFile::copy(data.filePath(name), programFile(name)));
    QDir(folder.path()).mkdir(QStringLiteral("backup"));
    {
        dao::Database created = dao::CreateDatabase(programFile("kelva.mdb"));
        db::createSchema(created, {"PARMS_CL", "SESSIONS", "DATA0000"}, true);
        created.SetPassword(QString::fromUtf8(build::DbPassword));
        created.Close();
    }
    g().MainDb = dao::OpenDatabase(programFile("kelva.mdb"), g().DbConnect);
}

void BackupTest::TearDown()
{
    SeamTest::TearDown();
    g() = Globals{};
}

void BackupTest::addCode(const db::ColumnValues& values)
{
    db::insertRow(db(), QStringLiteral("DATA0000"), values);
}

void BackupTest::addSession(const QString& name, const QString& table, const db::ColumnValues& values)
{
    dao::Transaction t(db());
    db::createSessionCodeTable(db(), table, QStringLiteral("DATA0000"));
    db::ColumnValues row = {{"Session", name}, {"SESTAB", table}};
    dao::Recordset dflt = db().OpenRecordset(QStringLiteral("SELECT * FROM SESSIONS WHERE Session = 'Default'"));
    for (const QString& c : db::sessionCopyColumns()) {
        bool given = false;
        for (const auto& [k, v] : values)
            given = given || k.compare(c, Qt::CaseInsensitive) == 0;
        if (!given)
            row.emplace_back(c, dflt[c].Value());
    }
    row.insert(row.end(), values.begin(), values.end());
    db::insertRow(db(), QStringLiteral("SESSIONS"), row);
    t.Commit();
}

void BackupTest::addThreeSessions()
{
    const QString note = QString(60, 'a') + "\r\n" + QString(138, 'b');  // 200 characters
    addCode({{"Tag", "+"}, {"CODEMOD", "99213"}, {"CPT", "99213"}, {"STATUS", "A"}, {"DESC", "Office visit"},
             {"WORKZ", 0.97}, {"NF98WORK", 1.0}, {"F98WORK", 0.4}, {"MRVU", 0.07}, {"NFTPERVU", 0.5},
             {"FTPERVU", 0.4}, {"calcflag", 1}, {"USRDF", "XXXXXXX"}, {"NOTES", note}, {"GLOBAL", "XXX"}});
    addCode({{"CODEMOD", "71010"}, {"CPT", "71010"}, {"STATUS", "A"}, {"WORKZ", 0.18}, {"NF98WORK", 0.5},
             {"F98WORK", 0.5}, {"MRVU", 0.01}, {"NFTPERVU", 12.0}, {"calcflag", 0}, {"USRDF", "xxxxxxx"},
             {"NOTES", ""}});
    addCode({{"Tag", ""}, {"CODEMOD", "0001F"}, {"CPT", "0001F"}, {"STATUS", "I"}, {"NF98WORK", 0.2},
             {"F98WORK", 0.1}, {"MRVU", 0.0}, {"calcflag", 1}, {"USRDF", "A1"}});
    addSession("Office", "DATA0001", {{"S1NAME", "Office fees"}});
    addSession("Restored", "DATA00031",
               {{"CURWORKGPCI", 1.094}, {"CURPRACGPCI", 1.2}, {"CURMALPGPCI", 0.7}, {"CURCONVA", 0.05},
                {"GEOLOC", "NEW YORK - MANHATTAN"}, {"selectzip", "10001"}, {"rualind", "R"}});
    addSession("Clinic", "DATA0002");
    db().Execute(QStringLiteral("UPDATE DATA0001 SET S1 = 101.5"));
    db().Execute(QStringLiteral("UPDATE DATA00031 SET S1 = 31, Freq2 = 4"));
}

std::map<QString, QByteArray> BackupTest::backupFolderFiles() const
{
    std::map<QString, QByteArray> files;
    const QDir dir(folder.filePath("backup"));
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        files[name] = f.readAll();
    }
    return files;
}

dao::Database BackupTest::openBackup(const QString& name) const
{
    return dao::OpenDatabase(backupFile(name), QStringLiteral("Access"));
}

void BackupTest::backupCompletes()
{
    seam.expectMsgBox(QStringLiteral("Backup complete"), vbOKOnly);
    load<frmBackup>().Command1_Click();
    settle();
}

QString BackupTest::backupFails(const QString& stage)
{
    const qsizetype before = seam.messages().size();
    seam.answerMsgBox(vbOK);
    seam.expectMsgBox(stage, vbOKOnly);
    load<frmBackup>().Command1_Click();
    settle();
    const QStringList shown = seam.messages().mid(before);
    return shown.size() == 2 ? shown.front() : QString();
}

void BackupTest::clickEverythingWhileRunning(int& attempts)
{
    frmBackup& w = load<frmBackup>();
    seam.onDoEvents([&w, &attempts] {
        EXPECT_TRUE(w.backupRunning());
        w.Command1->click();
        w.Command2->click();
        w.Command4->click();
        EXPECT_FALSE(w.Unload());
        ++attempts;
    });
}
