#include "userdata/BackupFixture.h"
#include "support/ReadableTexts.h"
#include "support/SampleDb.h"

#include "app/endprogram.h"
#include "export/ExprtInd.h"
#include "userdata/frmBackup.h"
#include "userdata/restore.h"

#include "db/sessions.h"
#include "platform/controls/BusyCursor.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <map>

namespace {

using restore::kComplete;
using restore::kQuestion;
using restore::kQuestionTitle;
using restore::kStageNoBackup;
using restore::kStagePrevious;
using restore::kStageTables;

QString shown(const dao::Variant& v)
{
    return v.isNull() ? QStringLiteral("<null>") : v.toString();
}

// A backup set of two sessions, Main (DATA0001) and Office (DATA0003), and then a database that holds only
// "Default" and a first session of its own, Mine (DATA0001), whose "Default" row has changed since.
class RestoreTest : public BackupTest {
protected:
    void SetUp() override
    {
        BackupTest::SetUp();
        resetProgramEnded();
        addCode({{"CODEMOD", "99213"}, {"CPT", "99213"}, {"calcflag", 1}, {"USRDF", "A1"}});
        addCode({{"CODEMOD", "71010"}, {"CPT", "71010"}, {"calcflag", 1}});
        addCode({{"CODEMOD", "0001F"}, {"CPT", "0001F"}, {"calcflag", 1}});
        addCode({{"CODEMOD", "99214"}, {"CPT", "99214"}, {"calcflag", 1}});
        addSession("Main", "DATA0001");
        addSession("Office", "DATA0003",
                   {{"S2NAME", "Dr. O'Neil"}, {"F1NAME", "Visits"}, {"OPTName", "Note's"}, {"selectzip", "10001"},
                    {"CURCONVF", 50.0}, {"GEOLOC", "NEW YORK - MANHATTAN"}});
        db().Execute("UPDATE DATA0001 SET S1 = 11 WHERE CODEMOD = '99213'");
        db().Execute("UPDATE DATA0003 SET Tag = '+', S1 = 5, USRDF = 'it''s' WHERE CODEMOD = '99213'");
        db().Execute("UPDATE DATA0003 SET S1 = 12.5 WHERE CODEMOD = '71010'");
        db().Execute("UPDATE DATA0003 SET S2 = 7, Freq5 = -2 WHERE CODEMOD = '0001F'");
        backupCompletes();

        db().Execute("DROP TABLE DATA0003");
        db().Execute("DROP TABLE DATA0001");
        db().Execute("DELETE FROM SESSIONS WHERE SESTAB <> 'DATA0000'");
        addSession("Mine", "DATA0001");
        // What changed in "Default" since the backup reaches the restored sessions.
        db().Execute("UPDATE DATA0000 SET S3 = 9, DESC = 'Now' WHERE CODEMOD = '99214'");
        db().Execute("UPDATE SESSIONS SET CURCONVF = 40.5, CURWORKGPCI = 1.1, CURPRACGPCI = 1.2, CURMALPGPCI = 0.9, "
                     "CURUSEADJ = 0, GEOLOC = 'TEXAS - HOUSTON', PLIMCOL = 44, COLWS = '100,200', "
                     "COLVS = 'true,false', CV00 = 0, CV03 = -1, CV44 = -1 WHERE Session = 'Default'");
    }
    void TearDown() override
    {
        resetProgramEnded();
        platform::SetBusyCursor(0);
        BackupTest::TearDown();
    }

    // Every table's rows, and the list of tables.
    std::map<QString, QStringList> snapshot()
    {
        std::map<QString, QStringList> all;
        for (const QString& table : db().TableNames())
            all[table] = testsupport::tableRows(db(), table, QStringLiteral("rowid"));
        return all;
    }
    QStringList sessions() { return db::sessionNames(db()); }
    QString sessionOf(const QString& table)
    {
        return shown(db().scalar("SELECT Session FROM SESSIONS WHERE SESTAB = ?", {table}));
    }
    QString cell(const QString& table, const QString& codemod, const QString& column)
    {
        return shown(db().scalar("SELECT \"" + column + "\" FROM \"" + table + "\" WHERE CODEMOD = ?", {codemod}));
    }
    QString sessionCell(const QString& table, const QString& column)
    {
        return shown(db().scalar("SELECT \"" + column + "\" FROM SESSIONS WHERE SESTAB = ?", {table}));
    }
    void execBackup(const QString& file, const QString& sql)
    {
        dao::Database d = openBackup(file);
        d.Execute(sql);
        d.Close();
    }

    void restoreCompletes()
    {
        seam.expectMsgBox(kQuestion, vbYesNo, vbYes, kQuestionTitle);
        seam.expectMsgBox(kComplete, vbOKOnly);
        load<frmBackup>().Command2_Click();
        settle();
        EXPECT_TRUE(programEnded());
        EXPECT_FALSE(forms().isLoaded<frmBackup>());
        EXPECT_FALSE(forms().isLoaded<ExprtInd>());
    }
    // Expects the question, then the failure's description (returned) and `stage`; every table as it was.
    QString restoreFails(const QString& stage)
    {
        const std::map<QString, QStringList> before = snapshot();
        seam.expectMsgBox(kQuestion, vbYesNo, vbYes, kQuestionTitle);
        const qsizetype shownBefore = seam.messages().size();
        seam.answerMsgBox(vbOK);
        seam.expectMsgBox(stage, vbOKOnly);
        QDir::setCurrent(QDir::tempPath());
        load<frmBackup>().Command2_Click();
        settle();
        EXPECT_TRUE(before == snapshot());
        EXPECT_FALSE(programEnded());
        EXPECT_TRUE(forms().isLoaded<frmBackup>());
        EXPECT_FALSE(forms().isLoaded<ExprtInd>());
        EXPECT_FALSE(forms().get<frmBackup>().backupRunning());
        EXPECT_EQ(platform::busyCount(), 0);
        EXPECT_EQ(QDir::current().canonicalPath(), QDir(folder.path()).canonicalPath());
        const QStringList texts = seam.messages().mid(shownBefore);
        EXPECT_EQ(texts.size(), 3);  // the question, the description, the stage
        return texts.size() == 3 ? texts[1] : QString();
    }
};

// ---- A complete restore.

TEST_F(RestoreTest, SessionsComeBackAsNewTablesAndTheFirstTakesTheOwnFirstSessionsPlace)
{
    restoreCompletes();
    EXPECT_EQ(sessions(), QStringList({"Default", "Main", "Office"}));
    EXPECT_EQ(sessionOf("DATA00011"), "Main");
    EXPECT_EQ(sessionOf("DATA00031"), "Office");
    EXPECT_EQ(sessionOf("DATA0001"), "<null>");
    // The own first session's table stays; nothing else changes name.
    EXPECT_EQ(db().TableNames(), QStringList({"DATA0000", "DATA0001", "DATA00011", "DATA00031", "PARMS_CL", "SESSIONS"}));
    const dao::TableDef restored = db().tableDef("DATA00031");
    ASSERT_EQ(restored.indexes.size(), 1u);
    EXPECT_EQ(restored.indexes[0].name, restore::kRestoredIndex);
    EXPECT_TRUE(restored.indexes[0].unique);
    EXPECT_EQ(restored.fields.size(), db().tableDef("DATA0000").fields.size());
}

struct CodeCase {
    const char* table;
    const char* codemod;
    const char* column;
    const char* expected;
};

class RestoreCodeTest : public RestoreTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(RestoreCodeTest, RestoredCodeHoldsTheValue)
{
    restoreCompletes();
    const CodeCase& c = GetParam();
    EXPECT_EQ(cell(c.table, c.codemod, c.column), QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RestoreCodeTest,
    ::testing::Values(CodeCase{"DATA00031", "99213", "Tag", "+"}, CodeCase{"DATA00031", "99213", "S1", "5"},
                      CodeCase{"DATA00031", "99213", "USRDF", "it's"},
                      CodeCase{"DATA00031", "71010", "Tag", "<null>"}, CodeCase{"DATA00031", "71010", "S1", "12.5"},
                      CodeCase{"DATA00031", "0001F", "S1", "<null>"}, CodeCase{"DATA00031", "0001F", "S2", "7"},
                      CodeCase{"DATA00031", "0001F", "Freq5", "-2"},
                      // Nothing backed up: the row as DATA0000 holds it now.
                      CodeCase{"DATA00031", "99214", "S3", "9"}, CodeCase{"DATA00031", "99214", "DESC", "Now"},
                      CodeCase{"DATA00031", "99214", "Tag", "<null>"},
                      CodeCase{"DATA00011", "99213", "S1", "11"}, CodeCase{"DATA00011", "99213", "USRDF", "A1"},
                      CodeCase{"DATA00011", "71010", "S1", "<null>"}),
    [](const auto& info) {
        return std::string(info.param.table) + "_" + info.param.codemod + "_" + info.param.column;
    });

TEST_F(RestoreTest, NewRowsTakeDefaultsSettingsWithTheBackedUpNames)
{
    restoreCompletes();
    const std::map<QString, QString> expected = {
        {"CURCONVF", "40.5"},       {"CURUSEADJ", "0"},        {"CURWORKGPCI", "1.1"},
        {"CURPRACGPCI", "1.2"},     {"CURMALPGPCI", "0.9"},    {"GEOLOC", "TEXAS - HOUSTON"},
        {"PLIMCOL", "44"},          {"COLWS", "100,200"},      {"COLVS", "true,false"},
        {"CV03", "-1"},             {"CV44", "-1"},            {"CV00", "0"},
        {"S2NAME", "Dr. O'Neil"},   {"S1NAME", "S1"},          {"F1NAME", "Visits"},
        {"OPTName", "Note's"},      {"selectzip", "10001"},    {"CURCONVA", "0"},
        {"rualind", "<null>"}};
    for (const auto& [column, value] : expected)
        EXPECT_EQ(sessionCell("DATA00031", column), value) << column.toStdString();
    EXPECT_EQ(sessionCell("DATA00011", "CURCONVF"), "40.5");
    EXPECT_EQ(sessionCell("DATA00011", "selectzip"), "");
}

TEST_F(RestoreTest, ParameterRowIsUntouched)
{
    const QStringList before = testsupport::tableRows(db(), "PARMS_CL", "rowid");
    restoreCompletes();
    EXPECT_EQ(testsupport::tableRows(db(), "PARMS_CL", "rowid"), before);
}

TEST_F(RestoreTest, EmptyListDeletesNothingAndEndsTheProgram)
{
    execBackup("backupAllSess.mdb", "DELETE FROM allsessions");
    const std::map<QString, QStringList> before = snapshot();
    restoreCompletes();
    EXPECT_TRUE(before == snapshot());
    EXPECT_EQ(sessions(), QStringList({"Default", "Mine"}));
}

TEST_F(RestoreTest, ModelTableRowIsSkippedOnlyInItsOwnLetterCase)
{
    execBackup("backupAllSess.mdb", "DELETE FROM allsessions");
    execBackup("backupAllSess.mdb", "INSERT INTO allsessions (Session, SESTAB) VALUES ('Skipped', 'DATA0000')");
    execBackup("backupAllSess.mdb", "INSERT INTO allsessions (Session, SESTAB) VALUES ('Lower', 'Data0000')");
    ASSERT_TRUE(QFile::copy(backupFile("DATA0003.mdb"), backupFile("Data0000.mdb")));
    restoreCompletes();
    EXPECT_EQ(sessions(), QStringList({"Default", "Mine", "Lower"}));
    EXPECT_EQ(sessionOf("Data00001"), "Lower");
    EXPECT_EQ(cell("Data00001", "0001F", "S2"), "7");
}

TEST_F(RestoreTest, SetOfARestoredDatabaseGivesItsFirstSessionAnotherOne)
{
    ASSERT_TRUE(QFile::rename(backupFile("DATA0001.mdb"), backupFile("DATA00011.mdb")));
    execBackup("backupAllSess.mdb", "UPDATE allsessions SET SESTAB = 'DATA00011' WHERE SESTAB = 'DATA0001'");
    restoreCompletes();
    EXPECT_EQ(sessions(), QStringList({"Default", "Main", "Office"}));
    EXPECT_EQ(sessionOf("DATA000111"), "Main");
    EXPECT_EQ(cell("DATA000111", "99213", "S1"), "11");
}

TEST_F(RestoreTest, WithoutABackedUpFirstSessionTheOwnOneStays)
{
    execBackup("backupAllSess.mdb", "DELETE FROM allsessions WHERE SESTAB = 'DATA0001'");
    restoreCompletes();
    EXPECT_EQ(sessions(), QStringList({"Default", "Mine", "Office"}));
    EXPECT_EQ(sessionOf("DATA0001"), "Mine");
}

// ---- Nothing to do, or No.

struct NothingCase {
    const char* name;
    bool removeFolder;
    bool emptyFolder;
};

class RestoreNothingTest : public RestoreTest, public ::testing::WithParamInterface<NothingCase> {};

TEST_P(RestoreNothingTest, NothingChangesAndTheWindowStaysOpen)
{
    const NothingCase& c = GetParam();
    if (c.removeFolder) {
        ASSERT_TRUE(QDir(backupFile("")).removeRecursively());
    }
    if (c.emptyFolder) {
        QDir dir(backupFile(""));
        for (const QString& f : dir.entryList(QDir::Files))
            ASSERT_TRUE(dir.remove(f));
        dir.mkdir(".newset");  // a folder is no backup information
    }
    const std::map<QString, QStringList> before = snapshot();
    if (c.removeFolder || c.emptyFolder)
        seam.expectMsgBox(kStageNoBackup, vbOKOnly);
    else
        seam.expectMsgBox(kQuestion, vbYesNo, vbNo, kQuestionTitle);
    load<frmBackup>().Show();
    load<frmBackup>().Command2_Click();
    settle();
    EXPECT_TRUE(before == snapshot());
    EXPECT_EQ(seam.messages().size(), 2);  // "Backup complete" of the fixture and this one
    EXPECT_TRUE(forms().isLoaded<frmBackup>());
    EXPECT_FALSE(forms().isLoaded<ExprtInd>());
    EXPECT_FALSE(programEnded());
}

INSTANTIATE_TEST_SUITE_P(Cases, RestoreNothingTest,
                         ::testing::Values(NothingCase{"NoBackupFolder", true, false},
                                           NothingCase{"EmptyBackupFolder", false, true},
                                           NothingCase{"AnsweredNo", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Failures leave every table as it was.

TEST_F(RestoreTest, SecondRestoreStopsAtTheFirstSession)
{
    restoreCompletes();
    resetProgramEnded();
    EXPECT_EQ(restoreFails(kStagePrevious), "Table 'DATA00011' already exists.");
}

TEST_F(RestoreTest, NameHeldByAnotherSessionFails)
{
    addSession("office", "DATA0002");
    EXPECT_FALSE(restoreFails(kStageTables).isEmpty());
}

TEST_F(RestoreTest, MissingSessionFileFails)
{
    ASSERT_TRUE(QFile::remove(backupFile("DATA0003.mdb")));
    EXPECT_EQ(restoreFails(kStagePrevious),
              "Could not find file '" + QDir::toNativeSeparators(backupFile("DATA0003.mdb")) + "'.");
}

TEST_F(RestoreTest, MissingSessionListFailsBeforeAnySession)
{
    ASSERT_TRUE(QFile::remove(backupFile("backupAllSess.mdb")));
    EXPECT_FALSE(restoreFails(kStageNoBackup).isEmpty());
}

TEST_F(RestoreTest, TriggerFailingAtTheSecondSessionUndoesTheFirst)
{
    db().Execute("CREATE TRIGGER refuse BEFORE INSERT ON SESSIONS WHEN NEW.SESTAB = 'DATA00031' "
                 "BEGIN SELECT RAISE(ABORT, 'Office refused'); END");
    EXPECT_EQ(restoreFails(kStageTables), "Office refused");
}

// ---- While it runs.

TEST_F(RestoreTest, BarRunsToTheCodeCountPlusTwoThousandAndFillsWhenASessionEnds)
{
    std::vector<std::pair<double, double>> bar;
    QString caption, label;
    bool label2Hidden = false;
    seam.onDoEvents([&] {
        ExprtInd& p = forms().get<ExprtInd>();
        caption = p.Caption();
        label = p.Label1->text();
        label2Hidden = p.Label2->isHidden();
        QApplication::processEvents();
        testsupport::saveShot(&p, QStringLiteral("exprtind_during_restore"));
        EXPECT_EQ(testsupport::cutTexts(&p), QStringList());
        QObject::connect(&p, &ExprtInd::prg1Changed, [&](double max, double value) { bar.emplace_back(max, value); });
    });
    restoreCompletes();
    EXPECT_EQ(caption, "Restoring");
    EXPECT_EQ(label, "Performing Restore");
    EXPECT_TRUE(label2Hidden);
    // Session Main: its four codes, then full; session Office starts again from 0.
    ASSERT_GE(bar.size(), 6u);
    EXPECT_EQ(bar[0], std::make_pair(2004.0, 0.0));
    EXPECT_EQ(bar[4], std::make_pair(2004.0, 4.0));
    EXPECT_EQ(bar[5], std::make_pair(2004.0, 2004.0));
    EXPECT_EQ(bar[6], std::make_pair(2004.0, 0.0));
}

TEST_F(RestoreTest, ClicksDuringTheRestoreStartNothing)
{
    int attempts = 0;
    clickEverythingWhileRunning(attempts);
    restoreCompletes();
    EXPECT_EQ(attempts, 1);
    EXPECT_EQ(seam.messages(), QStringList({"Backup complete", kQuestion, kComplete}));
    EXPECT_EQ(sessions(), QStringList({"Default", "Main", "Office"}));
}

}  // namespace

// ---- As a user sees it: the program's own message boxes, each looked at and answered.

#include "platform/seam/QtSeam.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>

namespace {

// Answers each message box that comes up with the button of that text, after saving its picture.
class MessageBoxAnswers : public QObject {
public:
    explicit MessageBoxAnswers(QStringList answers) : answers_(std::move(answers))
    {
        connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
        timer_.start(50);
    }
    QStringList seen;

private:
    void answer()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || answers_.isEmpty())
            return;
        seen << box->windowTitle() + " | " + box->text();
        testsupport::saveShot(box, QStringLiteral("restore_message_%1").arg(seen.size()));
        const QString wanted = answers_.takeFirst();
        for (QAbstractButton* b : box->buttons())
            if (b->text().remove('&') == wanted) {
                b->click();
                return;
            }
    }
    QStringList answers_;
    QTimer timer_;
};

TEST_F(RestoreTest, AsTheUserSeesItTheQuestionTheProgressAndTheClosingMessage)
{
    // An earlier case's end of the program leaves Qt's quit pending, which would close every message box
    // at once: one turn of the application's own loop clears it.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    platform::QtSeam qt;
    platform::Seam* scripted = platform::setSeam(&qt);
    frmBackup& w = load<frmBackup>();
    w.Show();
    QApplication::processEvents();
    testsupport::saveShot(&w, QStringLiteral("restore_frmBackup"));
    MessageBoxAnswers answers({"Yes", "OK"});
    w.Command2->click();
    platform::setSeam(scripted);
    settle();
    ASSERT_EQ(answers.seen.size(), 2);
    EXPECT_EQ(answers.seen[0], "Restoring | " + kQuestion);
    EXPECT_TRUE(answers.seen[1].endsWith("| " + kComplete));
    EXPECT_TRUE(programEnded());
    EXPECT_EQ(sessions(), QStringList({"Default", "Main", "Office"}));
}

}  // namespace
