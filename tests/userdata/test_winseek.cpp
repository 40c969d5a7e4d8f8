#include "userdata/BackupFixture.h"
#include "support/ReadableTexts.h"
#include "support/SampleDb.h"

#include "buildsettings.h"
#include "userdata/WinSeek.h"
#include "userdata/prioryear.h"

#include "db/schema.h"
#include "db/sessions.h"
#include "platform/controls/BusyCursor.h"
#include "platform/forms/controls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

void touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

QStringList items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// ---- The search over a tree of its own.

class WinSeekSearchTest : public BackupTest {
protected:
    void SetUp() override
    {
        BackupTest::SetUp();
        root = QDir(tree.path()).filePath("root");
        touch(root + "/aQDX/Parms.MDB");
        touch(root + "/aQDX/sub1/parms.mdb");
        touch(root + "/aQDX/kelva.mdb");
        touch(root + "/b/parms.mdb");
        touch(root + "/cQDX/other.txt");
        touch(root + "/parms.mdb");
        QFile::link(root, root + "/cQDX/loop");  // a link back up is not followed
        QDir::setCurrent(folder.path());
    }
    void TearDown() override
    {
        QDir::setCurrent(folder.path());
        platform::SetBusyCursor(0);
        BackupTest::TearDown();
    }
    WinSeek& window()
    {
        WinSeek& w = load<WinSeek>();
        w.drvList = {root};
        return w;
    }
    // Records the folder entered at each of `count` folders, running `extra` at the folder numbered `at`.
    void expectFolders(WinSeek& w, int count, int at = -1, std::function<void()> extra = {})
    {
        for (int i = 0; i < count; ++i)
            seam.onDoEvents([&w, this, i, at, extra] {
                entered << QDir(root).relativeFilePath(w.dirList.path);
                if (i == at && extra)
                    extra();
            });
    }
    QTemporaryDir tree;
    QString root;
    QStringList entered;
};

TEST_F(WinSeekSearchTest, WalkEntersSubfoldersLastToFirstAndListsFilesOnTheWayBack)
{
    WinSeek& w = window();
    EXPECT_EQ(w.cmdSearch->text(), "&Begin Search");
    EXPECT_EQ(w.cmdExit->text(), "&Cancel");
    QString during;
    w.Show();
    expectFolders(w, 5, 0, [&] {
        during = w.cmdSearch->text() + "|" + w.cmdExit->text() + "|" + w.Frame2->title() + "|" + w.Label2->text();
        QApplication::processEvents();
        testsupport::saveShot(&w, QStringLiteral("WinSeek_searching"));
    });
    w.cmdSearch_Click();
    QApplication::processEvents();
    testsupport::saveShot(&w, QStringLiteral("WinSeek_search_complete"));
    EXPECT_EQ(testsupport::cutTexts(&w), QStringList());
    EXPECT_EQ(entered, QStringList({".", "cQDX", "b", "aQDX", "aQDX/sub1"}));
    EXPECT_EQ(during, "&Stop Search|Skip this drive|Status:| *** Searching Drive " + root + " ***");
    EXPECT_EQ(items(w.lstFoundFiles), QStringList({root + "/aQDX/sub1/parms.mdb", root + "/aQDX/Parms.MDB"}));
    EXPECT_EQ(w.lblCount->text(), " 2");
    EXPECT_EQ(w.cmdSearch->text(), "&Continue");
    EXPECT_FALSE(w.cmdSearch->isEnabled());
    EXPECT_EQ(w.cmdExit->text(), "E&xit");
    EXPECT_EQ(w.Frame2->title(), "Instructions:");
    EXPECT_EQ(w.Label2->text(), " *** Search Complete ***");
    EXPECT_TRUE(w.Label4->text().startsWith(" 2 files were found.  \n\n You should now select"));
    EXPECT_FALSE(w.Frame1->isVisibleTo(&w));
    EXPECT_EQ(platform::busyCount(), 0);

    w.lstFoundFiles_Click();
    EXPECT_TRUE(w.cmdSearch->isEnabled());
    // "&Continue": the plain count, the prior-database choice (cancelled here), the window closes.
    seam.expectMsgBox(prioryear::kNote, vbOKCancel, vbCancel, prioryear::kNoteTitle);
    w.cmdSearch_Click();
    EXPECT_FALSE(forms().isLoaded<WinSeek>());
    EXPECT_EQ(w.lblCount->text(), "2");  // deleted only when events run
}

TEST_F(WinSeekSearchTest, CurrentFoldersFilesAndItsMainDatabaseAreLeftOut)
{
    QDir::setCurrent(root + "/aQDX/sub1");
    touch(root + "/aQDX/sub1/kelva.mdb");
    WinSeek& w = window();
    w.txtSearchSpec->setText("*.mdb");
    expectFolders(w, 5);
    w.cmdSearch_Click();
    EXPECT_EQ(items(w.lstFoundFiles), QStringList({root + "/aQDX/kelva.mdb", root + "/aQDX/Parms.MDB"}));
}

TEST_F(WinSeekSearchTest, StopEndsTheWalkWhileTheFoldersOnTheWayBackListTheirFiles)
{
    WinSeek& w = window();
    touch(root + "/cQDX/parms.mdb");
    expectFolders(w, 2, 1, [&] { w.cmdSearch_Click(); });
    w.cmdSearch_Click();
    EXPECT_EQ(entered, QStringList({".", "cQDX"}));
    EXPECT_EQ(items(w.lstFoundFiles), QStringList({root + "/cQDX/parms.mdb"}));
    EXPECT_EQ(w.cmdSearch->text(), "&Continue");
}

TEST_F(WinSeekSearchTest, SkipEndsTheDriveAndTheGrandparentListsTheFolderItWasLeftAt)
{
    WinSeek& w = window();
    w.drvList = {root, root + "/cQDX"};
    expectFolders(w, 6, 4, [&] { w.cmdExit_Click(); });
    w.cmdSearch_Click();
    EXPECT_EQ(entered, QStringList({".", "cQDX", "b", "aQDX", "aQDX/sub1", "cQDX"}));
    EXPECT_EQ(items(w.lstFoundFiles), QStringList({root + "/aQDX/sub1/parms.mdb"}));
}

TEST_F(WinSeekSearchTest, FolderGoneDuringTheWalkIsPassedOver)
{
    WinSeek& w = window();
    expectFolders(w, 5, 2, [&] { QDir(root + "/b").removeRecursively(); });
    w.cmdSearch_Click();
    EXPECT_EQ(entered, QStringList({".", "cQDX", "b", "aQDX", "aQDX/sub1"}));
    EXPECT_EQ(w.lblCount->text(), " 2");
}

TEST_F(WinSeekSearchTest, NoRootsEndAtOnceAndMissingOnesAreReported)
{
    WinSeek& w = window();
    w.drvList = {};
    w.cmdSearch_Click();
    EXPECT_EQ(seam.doEventsCount(), 0);
    EXPECT_EQ(w.lblCount->text(), "0");
    EXPECT_EQ(w.cmdSearch->text(), "&Continue");

    WinSeek& again = [&]() -> WinSeek& {
        w.Unload();
        settle();
        return window();
    }();
    again.drvList = {root + "/missing"};
    again.cmdSearch_Click();
    EXPECT_EQ(again.Label2->text(), " *** Search Complete ***");
    EXPECT_EQ(seam.doEventsCount(), 0);
}

TEST_F(WinSeekSearchTest, EnterStartsTheSearchFromTheKeyboard)
{
    WinSeek& w = window();
    w.drvList = {};
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    EXPECT_EQ(w.cmdSearch->text(), "&Continue");
    EXPECT_EQ(w.Label2->text(), " *** Search Complete ***");
}

TEST_F(WinSeekSearchTest, ClosingDuringTheWalkEndsItAndLeavesTheProgramFolderCurrent)
{
    WinSeek& w = window();
    QDir::setCurrent(tree.path());
    expectFolders(w, 2, 1, [&] { w.btn_Click(1); });
    w.cmdSearch_Click();
    EXPECT_EQ(entered.size(), 2);
    EXPECT_FALSE(forms().isLoaded<WinSeek>());
    EXPECT_EQ(platform::busyCount(), 0);
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(folder.path()).canonicalPath());
}

// ---- The carry-over.

class CarryOverTest : public BackupTest {
protected:
    void SetUp() override
    {
        BackupTest::SetUp();
        for (const char* code : {"99213", "71010", "0001F", "99214", "A0001"})
            addCode({{"CODEMOD", code}, {"CPT", code}, {"S1", 1.0}, {"Freq2", 2.0}, {"S5", 5.0}, {"Tag", "+"}});
        addSession("Current", "DATA0001");
        g().CurSesTab = " DATA0001 ";
        priorFile = QDir(prior.path()).filePath("kelva.mdb");
        dao::Database p = dao::CreateDatabase(priorFile);
        db::createSchema(p, {"PARMS_CL", "SESSIONS", "DATA0000"}, true);
        p.SetPassword(QString::fromUtf8(build::DbPassword));
        db::insertRow(p, "SESSIONS", {{"Session", "Last year"}, {"SESTAB", "DATA0004"}});
        db::insertRow(p, "SESSIONS", {{"Session", "Empty"}, {"SESTAB", "DATA0005"}});
        db::createSessionCodeTable(p, "DATA0004", "");
        db::createSessionCodeTable(p, "DATA0005", "");
        priorCode(p, "DATA0004", {{"CODEMOD", "99213"}, {"S1", 0.0}, {"Freq2", 3.0}});
        priorCode(p, "DATA0004", {{"CODEMOD", "71010"}, {"S1", 0.0}, {"S2", -4.0}, {"Freq1", 0.0}});
        priorCode(p, "DATA0004", {{"CODEMOD", "0001F  "}, {"S3", 12.25}, {"S1", -1.0}});
        priorCode(p, "DATA0004", {{"CODEMOD", "99999"}, {"S1", 7.0}});
        priorCode(p, "DATA0005", {{"CODEMOD", "99213"}, {"S1", -2.0}});
        p.Close();
    }
    void TearDown() override
    {
        QDir::setCurrent(folder.path());
        platform::SetBusyCursor(0);
        BackupTest::TearDown();
    }
    static void priorCode(dao::Database& p, const QString& table, const db::ColumnValues& values)
    {
        db::insertRow(p, table, values);
    }
    // "Import" with the note answered OK and the dialog answered with `file`.
    WinSeek& imported(const QString& file)
    {
        WinSeek& w = load<WinSeek>();
        seam.expectMsgBox(prioryear::kNote, vbOKCancel, vbOK, prioryear::kNoteTitle);
        seam.answerFileDialog(file);
        w.btn_Click(2);
        return w;
    }
    QString cell(const QString& codemod, const QString& column)
    {
        const dao::Variant v = db().scalar("SELECT \"" + column + "\" FROM DATA0001 WHERE CODEMOD = ?", {codemod});
        return v.isNull() ? "<null>" : v.toString();
    }
    QTemporaryDir prior;
    QString priorFile;
};

TEST_F(CarryOverTest, ImportListsThePriorSessionsAndTheDialogStartsInTheProgramFolder)
{
    WinSeek& w = imported(priorFile);
    const auto dialogs = seam.calls("FileOpen");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, "kelva.mdb");
    EXPECT_EQ(dialogs[0].detail, "kelva.mdb|kelva.mdb @ " + folder.path());
    EXPECT_EQ(items(w.List1), QStringList({"Last year", "Empty"}));
    EXPECT_TRUE(w.Frame2->isVisibleTo(&w));
    EXPECT_FALSE(w.btn(2)->isEnabled());
    EXPECT_FALSE(w.btn(0)->isEnabled());
    EXPECT_EQ(w.lblCount->text(), "0");
    platform::setListIndex(w.List1, 1);
    EXPECT_TRUE(w.btn(0)->isEnabled());
    EXPECT_EQ(w.PriorSessionTable, "DATA0005");
}

TEST_F(CarryOverTest, DialogStartsInThePriorFolderOfTheHomeFolderWhenItHoldsAMainDatabase)
{
    QTemporaryDir home;
    EXPECT_EQ(prioryear::initialFolder(home.path(), "/prog"), "/prog");
    touch(QDir(home.path()).filePath("KELVA Morvex 2014/kelva.mdb"));
    EXPECT_EQ(prioryear::initialFolder(home.path(), "/prog"), QDir(home.path()).filePath("KELVA Morvex 2014"));
}

TEST_F(CarryOverTest, OwnDatabaseIsRefusedByItsExactNameOnly)
{
    WinSeek& w = load<WinSeek>();
    seam.expectMsgBox(prioryear::kNote, vbOKCancel, vbOK, prioryear::kNoteTitle);
    seam.answerFileDialog(folder.path() + "/kelva.mdb");
    seam.expectMsgBox(prioryear::kOwnDatabase, vbOKOnly);
    seam.answerFileDialog(folder.path() + "/./kelva.mdb");
    w.btn_Click(2);
    EXPECT_EQ(seam.calls("FileOpen").size(), 2u);
    EXPECT_EQ(items(w.List1), QStringList({"Current"}));
}

TEST_F(CarryOverTest, CancelledDialogShowsTheStageAndTheCancel)
{
    WinSeek& w = load<WinSeek>();
    seam.expectMsgBox(prioryear::kNote, vbOKCancel, vbOK, prioryear::kNoteTitle);
    seam.cancelFileDialog();
    seam.expectMsgBox(prioryear::kStageNotImported, vbOKOnly);
    seam.expectMsgBox("Cancel was selected.", vbOKOnly);
    w.btn_Click(2);
    EXPECT_TRUE(w.btn(2)->isEnabled());
    EXPECT_EQ(platform::busyCount(), 0);
}

TEST_F(CarryOverTest, PriorDatabaseWithOnlyDefaultListsNothingAndSaysNothing)
{
    {
        dao::Database p = dao::OpenDatabase(priorFile, g().DbConnect);
        p.Execute("DELETE FROM SESSIONS WHERE Session <> 'Default'");
    }
    WinSeek& w = imported(priorFile);
    EXPECT_EQ(w.List1->count(), 0);
    EXPECT_FALSE(w.Frame2->isVisibleTo(&w));
    EXPECT_TRUE(w.btn(2)->isEnabled());
    EXPECT_EQ(seam.messages().size(), 1);  // the note only
}

TEST_F(CarryOverTest, FileThatIsNoDatabaseFailsAsUnknown)
{
    const QString old = QDir(prior.path()).filePath("old/kelva.mdb");
    QDir().mkpath(QFileInfo(old).path());
    QFile f(old);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("\0\1\0\0Standard Jet DB", 19) + QByteArray(4000, '\x5a'));
    f.close();
    const qsizetype before = seam.messages().size();
    seam.answerMsgBox(vbOK);  // the note
    seam.answerFileDialog(old);
    seam.expectMsgBox(prioryear::kStageUnknown, vbOKOnly);
    seam.answerMsgBox(vbOK);
    WinSeek& w = load<WinSeek>();
    w.btn_Click(2);
    EXPECT_EQ(seam.messages().size() - before, 3);
    EXPECT_TRUE(seam.messages().last().startsWith("Unrecognized database format"));
    EXPECT_EQ(w.List1->count(), 0);
    EXPECT_EQ(platform::busyCount(), 0);
}

TEST_F(CarryOverTest, RowsWithAValueAboveZeroAreCopiedWithTheirZerosNegativesAndNulls)
{
    WinSeek& w = imported(priorFile);
    platform::setListIndex(w.List1, 0);
    seam.expectMsgBox(prioryear::kImported, vbOKOnly);
    QDir::setCurrent(prior.path());
    w.btn_Click(0);
    EXPECT_FALSE(forms().isLoaded<WinSeek>());
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(folder.path()).canonicalPath());
    EXPECT_EQ(platform::busyCount(), 0);
    struct Expected {
        const char* codemod;
        const char* column;
        const char* value;
    };
    const Expected expected[] = {
        {"99213", "S1", "0"},     {"99213", "Freq2", "3"},  {"99213", "S5", "5"},   {"99213", "Tag", "+"},
        {"71010", "S1", "1"},     {"71010", "S2", "<null>"},  // zeros and negatives only: not copied
        {"0001F", "S3", "12.25"}, {"0001F", "S1", "-1"},    {"0001F", "Freq2", "2"},  // trailing blanks match
        {"99214", "S1", "1"}};
    for (const Expected& e : expected)
        EXPECT_EQ(cell(e.codemod, e.column), e.value) << e.codemod << " " << e.column;
}

TEST_F(CarryOverTest, NoRowsLeavesTheWindowOpenForAnotherSession)
{
    WinSeek& w = imported(priorFile);
    platform::setListIndex(w.List1, 1);
    seam.expectMsgBox(prioryear::kNoRows, vbOKOnly);
    w.btn_Click(0);
    EXPECT_TRUE(forms().isLoaded<WinSeek>());
    EXPECT_TRUE(w.btn(0)->isEnabled());
    EXPECT_EQ(cell("99213", "S1"), "1");
    platform::setListIndex(w.List1, 0);
    seam.expectMsgBox(prioryear::kImported, vbOKOnly);
    w.btn_Click(0);
    EXPECT_EQ(cell("99213", "S1"), "0");
}

TEST_F(CarryOverTest, TriggerFailingAtTheTenthRowLeavesTheSessionAsItWas)
{
    {
        dao::Database p = dao::OpenDatabase(priorFile, g().DbConnect);
        for (int i = 0; i < 12; ++i) {
            const QString code = QStringLiteral("B%1").arg(i, 4, 10, QLatin1Char('0'));
            db::insertRow(p, "DATA0004", {{"CODEMOD", code}, {"S4", 40.0 + i}});
            addCode({{"CODEMOD", code}, {"CPT", code}});
        }
    }
    db().Execute("DELETE FROM DATA0001");
    db().Execute("INSERT INTO DATA0001 SELECT * FROM DATA0000");
    db().Execute("CREATE TRIGGER refuse BEFORE UPDATE ON DATA0001 WHEN OLD.CODEMOD = 'B0009' "
                 "BEGIN SELECT RAISE(ABORT, 'tenth refused'); END");
    const QStringList before = testsupport::tableRows(db(), "DATA0001");
    WinSeek& w = imported(priorFile);
    platform::setListIndex(w.List1, 0);
    seam.expectMsgBox(prioryear::stageOldRelease(), vbOKOnly);
    seam.expectMsgBox("tenth refused", vbOKOnly);
    w.btn_Click(0);
    EXPECT_EQ(testsupport::tableRows(db(), "DATA0001"), before);
    EXPECT_FALSE(forms().isLoaded<WinSeek>());
    EXPECT_EQ(platform::busyCount(), 0);
    EXPECT_TRUE(prioryear::stageOldRelease().endsWith(" at " + QString::fromUtf8(build::SupportEmail)));
}

// ---- As the user sees it.

TEST_F(CarryOverTest, WindowTextsShowWhole)
{
    WinSeek& w = load<WinSeek>();
    w.Show();
    QApplication::processEvents();
    testsupport::saveShot(&w, QStringLiteral("WinSeek_instructions"));
    EXPECT_EQ(testsupport::cutTexts(&w), QStringList());
    EXPECT_EQ(w.Caption(), "KELVA Find Import File");
    EXPECT_TRUE(w.Label1->text().contains("The default path for the 2013 KELVA Morvex software is C:\\KELVA Morvex 2013."));

    seam.expectMsgBox(prioryear::kNote, vbOKCancel, vbOK, prioryear::kNoteTitle);
    seam.answerFileDialog(priorFile);
    w.btn_Click(2);
    QApplication::processEvents();
    testsupport::saveShot(&w, QStringLiteral("WinSeek_sessions"));
    EXPECT_EQ(testsupport::cutTexts(&w), QStringList());
}

}  // namespace
