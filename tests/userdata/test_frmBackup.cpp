#include "userdata/BackupFixture.h"
#include "support/ReadableTexts.h"
#include "support/SampleDb.h"

#include "export/ExprtInd.h"
#include "userdata/frmBackup.h"

#include "db/feeformulas.h"
#include "platform/controls/BusyCursor.h"
#include "platform/dao/Transaction.h"
#include "platform/dao/jetfunctions.h"
#include "platform/forms/controls.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <gmock/gmock.h>

namespace {

QStringList column(dao::Database& d, const QString& sql)
{
    QStringList out;
    dao::Recordset rs = d.OpenRecordset(sql);
    for (; !rs.EOF(); rs.MoveNext())
        out << (rs[0].Value().isNull() ? QStringLiteral("<null>") : rs[0].Value().toString());
    return out;
}

dao::Variant cell(dao::Database& d, const QString& codemod, const QString& col)
{
    return d.scalar(QStringLiteral("SELECT \"%1\" FROM Data0000Bkp WHERE Codemod = ?").arg(col), {codemod});
}

QString shown(const dao::Variant& v)
{
    return v.isNull() ? QStringLiteral("<null>") : v.toString();
}

// ---- A complete backup of three sessions.

TEST_F(BackupTest, ThreeSessionsGiveTheirFilesRowsInQueryOrderAndTheWindowCloses)
{
    addThreeSessions();
    platform::SetBusyCursor(11);
    platform::SetBusyCursor(11);
    backupCompletes();

    EXPECT_FALSE(forms().isLoaded<frmBackup>());
    EXPECT_FALSE(forms().isLoaded<ExprtInd>());
    EXPECT_EQ(platform::busyCount(), 1);  // lowered once, never raised
    platform::SetBusyCursor(0);

    std::map<QString, QByteArray> files = backupFolderFiles();
    QStringList names;
    for (const auto& [name, bytes] : files)
        names << name;
    EXPECT_EQ(names, QStringList({"DATA0001.mdb", "DATA0002.mdb", "DATA00031.mdb", "backupAllSess.mdb"}));
    EXPECT_FALSE(QDir(backupFile(".newset")).exists());

    dao::Database all = openBackup("backupAllSess.mdb");
    EXPECT_EQ(column(all, "SELECT Session FROM allsessions ORDER BY rowid"),
              QStringList({"Office", "Restored", "Clinic"}));
    EXPECT_EQ(column(all, "SELECT SESTAB FROM allsessions ORDER BY rowid"),
              QStringList({"DATA0001", "DATA00031", "DATA0002"}));
    for (const QString table : {"DATA0001", "DATA00031", "DATA0002"}) {
        SCOPED_TRACE(table.toStdString());
        dao::Database one = openBackup(table + ".mdb");
        EXPECT_EQ(column(one, "SELECT SESTAB FROM SESSIONSBKP"), QStringList({table}));
        EXPECT_EQ(column(one, "SELECT Codemod FROM Data0000Bkp ORDER BY rowid"),
                  QStringList({"0001F", "71010", "99213"}));
    }
}

TEST_F(BackupTest, SessionRowsCarryTheirTwentyThreeColumnsAndNoLayout)
{
    addThreeSessions();
    backupCompletes();
    dao::Database restored = openBackup("DATA00031.mdb");
    dao::Recordset row = restored.OpenRecordset(QStringLiteral("SESSIONSBKP"));
    EXPECT_EQ(row.FieldCount(), 23);
    EXPECT_EQ(row["Session"].Value().toString(), "Restored");
    EXPECT_DOUBLE_EQ(row["CURCONVA"].Value().toDouble(), 0.05);
    EXPECT_DOUBLE_EQ(row["CURWORKGPCI"].Value().toDouble(), 1.094);
    EXPECT_EQ(row["GEOLOC"].Value().toString(), "NEW YORK - MANHATTAN");
    EXPECT_EQ(row["SelectZip"].Value().toString(), "10001");
    EXPECT_EQ(row["S1NAME"].Value().toString(), "S1");
    dao::Database office = openBackup("DATA0001.mdb");
    EXPECT_EQ(shown(office.scalar("SELECT S1NAME FROM SESSIONSBKP")), "Office fees");

    dao::Database all = openBackup("backupAllSess.mdb");
    EXPECT_EQ(shown(all.scalar("SELECT GEOLOC FROM allsessions WHERE SESTAB = 'DATA00031'")), "NEW YORK - MANHATTAN");
}

struct ColumnCase {
    const char* name;
    const char* codemod;
    const char* column;
    const char* expected;  // "<null>" for an empty column
};

class BackupColumnTest : public BackupTest, public ::testing::WithParamInterface<ColumnCase> {};

TEST_P(BackupColumnTest, OfficeFileHoldsTheConvertedValue)
{
    addThreeSessions();
    backupCompletes();
    dao::Database office = openBackup("DATA0001.mdb");
    EXPECT_EQ(shown(cell(office, GetParam().codemod, GetParam().column)), QString::fromLatin1(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BackupColumnTest,
    ::testing::Values(ColumnCase{"RvuAsTextWithoutLeadingZero", "99213", "NFTPERVU", ".50"},
                      ColumnCase{"RvuTwelve", "71010", "NFTPERVU", "12.00"},
                      ColumnCase{"OtherRvuAsNumber", "99213", "FTPERVU", "0.4"},
                      ColumnCase{"UnpricedParticipating", "71010", "QNPART", "0.00"},
                      ColumnCase{"UnpricedFacilityLimiting", "71010", "QFLC", "0.00"},
                      ColumnCase{"NullRvuStaysEmpty", "0001F", "WORKZ", "<null>"},
                      ColumnCase{"NullRvuLeavesAmountEmpty", "0001F", "QNPART", "<null>"},
                      ColumnCase{"NullRvuLeavesLimitingEmpty", "0001F", "QFLC", "<null>"},
                      ColumnCase{"EmptyNoteStaysEmpty", "71010", "Notes", "<null>"},
                      ColumnCase{"CapitalXsAreEmpty", "99213", "USRDF", "<null>"},
                      ColumnCase{"SmallXsAreCopied", "71010", "USRDF", "xxxxxxx"},
                      ColumnCase{"UserField", "0001F", "USRDF", "A1"},
                      ColumnCase{"NullTag", "71010", "Tag", "<null>"},
                      ColumnCase{"TaggedTag", "99213", "Tag", "+"},
                      ColumnCase{"ZeroLengthTag", "0001F", "Tag", ""},
                      ColumnCase{"OwnSchedule", "99213", "S1", "101.5"},
                      ColumnCase{"GlobalUnchanged", "99213", "Global", "XXX"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BackupTest, LongNoteIsCutTo150CharactersWithItsLineBreakMadeBlanks)
{
    addThreeSessions();
    backupCompletes();
    dao::Database office = openBackup("DATA0001.mdb");
    EXPECT_EQ(cell(office, "99213", "Notes").toString(), QString(60, 'a') + "  " + QString(88, 'b'));
}

TEST_F(BackupTest, AmountsOfEachFileUseThatSessionsOwnFactors)
{
    addThreeSessions();
    backupCompletes();
    struct Expected {
        const char* file;
        db::FeeFactors f;
    };
    const Expected files[] = {{"DATA0001.mdb", {1.0, 1.0, 1.0, 1.0, 35.8228}},
                              {"DATA00031.mdb", {1.0, 1.094, 1.2, 0.7, 1.05 * 35.8228}}};
    for (const Expected& e : files) {
        SCOPED_TRACE(e.file);
        dao::Database d = openBackup(e.file);
        const db::FeeAmounts n = db::feeAmounts(e.f, 0.97, 1.0, 0.07, 1);
        const db::FeeAmounts f = db::feeAmounts(e.f, 0.97, 0.4, 0.07, 1);
        const QString pattern = QStringLiteral("#0.00");
        EXPECT_EQ(cell(d, "99213", "QNPART").toString(), jet::format(n.participating, pattern));
        EXPECT_EQ(cell(d, "99213", "QNNPART").toString(), jet::format(n.nonParticipating, pattern));
        EXPECT_EQ(cell(d, "99213", "QNLC").toString(), jet::format(n.limiting, pattern));
        EXPECT_EQ(cell(d, "99213", "QFPART").toString(), jet::format(f.participating, pattern));
        EXPECT_EQ(cell(d, "99213", "QFNPART").toString(), jet::format(f.nonParticipating, pattern));
        EXPECT_EQ(cell(d, "99213", "QFLC").toString(), jet::format(f.limiting, pattern));
    }
    // The two localities give different amounts.
    dao::Database a = openBackup("DATA0001.mdb");
    dao::Database b = openBackup("DATA00031.mdb");
    EXPECT_NE(cell(a, "99213", "QNPART").toString(), cell(b, "99213", "QNPART").toString());
    EXPECT_EQ(cell(b, "99213", "Freq2").toDouble(), 4);
}

TEST_F(BackupTest, OnlyDefaultGivesAnEmptyListAndNoProgressWindow)
{
    addCode({{"CODEMOD", "99213"}, {"calcflag", 1}});
    backupCompletes();
    std::map<QString, QByteArray> files = backupFolderFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files.begin()->first, "backupAllSess.mdb");
    dao::Database all = openBackup("backupAllSess.mdb");
    EXPECT_EQ(all.scalar("SELECT COUNT(*) FROM allsessions").toDouble(), 0);
    EXPECT_EQ(seam.doEventsCount(), 1);  // only the closing one: no session showed the progress window
    EXPECT_FALSE(forms().isLoaded<ExprtInd>());
}

TEST_F(BackupTest, TheMainDatabaseIsUnchanged)
{
    addThreeSessions();
    const QStringList before = testsupport::tableRows(db(), "DATA0001");
    backupCompletes();
    EXPECT_EQ(testsupport::tableRows(db(), "DATA0001"), before);
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM SESSIONS").toDouble(), 4);
}

// ---- The previous set, and the files that are no part of it.

TEST_F(BackupTest, PreviousSetIsReplacedWhileTagListsAndTheUsersFilesStay)
{
    addThreeSessions();
    backupCompletes();
    // A session deleted since: its file belongs to the previous set.
    QFile::copy(backupFile("DATA0002.mdb"), backupFile("data0009.MDB"));
    for (const QString name : {"taglist.mdb", "my notes.txt"}) {
        QFile f(backupFile(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("kept " + name.toUtf8());
    }
    db().Execute("DELETE FROM SESSIONS WHERE SESTAB = 'DATA0002'");
    backupCompletes();

    std::map<QString, QByteArray> files = backupFolderFiles();
    QStringList names;
    for (const auto& [name, bytes] : files)
        names << name;
    EXPECT_EQ(names, QStringList({"DATA0001.mdb", "DATA00031.mdb", "backupAllSess.mdb", "my notes.txt", "taglist.mdb"}));
    EXPECT_EQ(files["taglist.mdb"], "kept taglist.mdb");
    EXPECT_EQ(files["my notes.txt"], "kept my notes.txt");
}

TEST_F(BackupTest, NoBackupFolderIsCreated)
{
    addThreeSessions();
    ASSERT_TRUE(QDir(backupFile("")).removeRecursively());
    backupCompletes();
    EXPECT_TRUE(QFile::exists(backupFile("DATA0002.mdb")));
}

TEST_F(BackupTest, LeftoverOfAnInterruptedRunIsRemoved)
{
    addThreeSessions();
    QDir(folder.path()).mkpath("backup/.newset");
    QFile half(backupFile(".newset/DATA0001.mdb"));
    ASSERT_TRUE(half.open(QIODevice::WriteOnly));
    half.write("half");
    half.close();
    backupCompletes();
    EXPECT_FALSE(QDir(backupFile(".newset")).exists());
    dao::Database office = openBackup("DATA0001.mdb");
    EXPECT_EQ(column(office, "SELECT COUNT(*) FROM Data0000Bkp"), QStringList({"3"}));
}

// ---- Failures keep the previous set.

class BackupFailureTest : public BackupTest {
protected:
    void SetUp() override
    {
        BackupTest::SetUp();
        addThreeSessions();
        backupCompletes();
        previous = backupFolderFiles();
        ASSERT_EQ(previous.size(), 4u);
    }
    void expectPreviousSetKept()
    {
        EXPECT_TRUE(forms().isLoaded<frmBackup>());
        EXPECT_FALSE(forms().isLoaded<ExprtInd>());
        EXPECT_TRUE(backupFolderFiles() == previous);
        EXPECT_FALSE(QDir(backupFile(".newset")).exists());
    }
    std::map<QString, QByteArray> previous;
};

TEST_F(BackupFailureTest, SecondCodeTableMissing)
{
    db().Execute("DROP TABLE DATA00031");
    EXPECT_THAT(backupFails("Error creating backup tables.").toStdString(), ::testing::HasSubstr("DATA00031"));
    expectPreviousSetKept();
}

TEST_F(BackupFailureTest, SessionTableWithoutRows)
{
    db().Execute("DELETE FROM DATA0002");
    EXPECT_EQ(backupFails("Error creating backup tables."), "No current record.");
    expectPreviousSetKept();
}

TEST_F(BackupFailureTest, SessionTemplateMissing)
{
    ASSERT_TRUE(QFile::remove(programFile("backup.mdb")));
    EXPECT_EQ(backupFails("Error creating backup tables."),
              "Could not find file '" + QDir::toNativeSeparators(programFile("backup.mdb")) + "'.");
    expectPreviousSetKept();
}

TEST_F(BackupFailureTest, AllSessionsTemplateMissing)
{
    ASSERT_TRUE(QFile::remove(programFile("backupAllSess.mdb")));
    EXPECT_EQ(backupFails("Error creating backup directory."),
              "Could not find file '" + QDir::toNativeSeparators(programFile("backupAllSess.mdb")) + "'.");
    expectPreviousSetKept();
}

// ---- While it runs.

TEST_F(BackupTest, SecondClickAndClosingDuringTheBackupDoNothing)
{
    addThreeSessions();
    frmBackup& w = load<frmBackup>();
    int attempts = 0;
    clickEverythingWhileRunning(attempts);
    seam.expectMsgBox(QStringLiteral("Backup complete"), vbOKOnly);
    w.Command1->click();  // through the button's wiring
    settle();
    EXPECT_EQ(attempts, 1);
    EXPECT_EQ(seam.messages(), QStringList({"Backup complete"}));
    EXPECT_EQ(backupFolderFiles().size(), 4u);
    EXPECT_FALSE(forms().isLoaded<frmBackup>());
}

TEST_F(BackupTest, CancelUnloadsTheWindow)
{
    frmBackup& w = load<frmBackup>();
    w.Show();
    w.Command4->click();
    EXPECT_FALSE(forms().isLoaded<frmBackup>());
}

TEST_F(BackupTest, ProgressBarOfFiveHundredCodesStopsShortThenFills)
{
    {
        dao::Transaction t(db());
        for (int i = 0; i < 500; ++i)
            addCode({{"CODEMOD", QStringLiteral("%1").arg(10000 + i)}, {"WORKZ", 1.0}, {"NF98WORK", 1.0},
                     {"F98WORK", 1.0}, {"MRVU", 0.1}, {"calcflag", 1}});
        t.Commit();
    }
    addSession("Big", "DATA0001");
    std::vector<std::pair<double, double>> bar;
    QString caption;
    bool label2Hidden = false;
    seam.onDoEvents([&] {
        ExprtInd& p = forms().get<ExprtInd>();
        caption = p.Caption();
        label2Hidden = p.Label2->isHidden();
        EXPECT_TRUE(p.isVisible());
        QApplication::processEvents();
        testsupport::saveShot(&p, QStringLiteral("exprtind_during_backup"));
        QObject::connect(&p, &ExprtInd::prg1Changed, [&](double max, double value) { bar.emplace_back(max, value); });
    });
    backupCompletes();
    EXPECT_EQ(caption, "Backup");
    EXPECT_TRUE(label2Hidden);
    ASSERT_GE(bar.size(), 502u);
    EXPECT_EQ(bar.front(), std::make_pair(2500.0, 0.0));
    const auto filled = std::find(bar.begin(), bar.end(), std::make_pair(2500.0, 2500.0));
    ASSERT_NE(filled, bar.end());
    ASSERT_NE(filled, bar.begin());
    EXPECT_EQ(*(filled - 1), std::make_pair(2500.0, 500.0));
}

}  // namespace

namespace {

TEST_F(BackupTest, WindowTextsShowWhole)
{
    frmBackup& w = load<frmBackup>();
    w.Show();
    QApplication::processEvents();
    testsupport::saveShot(&w, QStringLiteral("frmBackup"));
    EXPECT_EQ(testsupport::cutTexts(&w), QStringList());
    EXPECT_EQ(w.Caption(), "Backup / Restore");
}

}  // namespace
