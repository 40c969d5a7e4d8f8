#include "MainWindowTest.h"

#include "app/frmExpireMsg.h"
#include "app/frmSplash.h"
#include "app/singleinstance.h"
#include "db/sessions.h"
#include "main/frmPlimView.h"
#include "platform/forms/FormRegistry.h"

#include <QDir>
#include <QFile>

namespace {

const QString kWarningTitle = QStringLiteral("Work Adjuster Setting Warning");

class StartupTest : public MainWindowTest {};

// ---- The agreement window at start-up.

TEST_F(StartupTest, FreshDatabaseShowsTheAgreementAndCancelEndsTheProgram)
{
    bool shown = false;
    seam.onModal<frmSplash>([&](frmSplash& s) {
        shown = true;
        EXPECT_TRUE(s.txt->toPlainText().endsWith(QStringLiteral("\r\n")) || s.txt->toPlainText().endsWith('\n'));
        EXPECT_FALSE(s.txt->toPlainText().trimmed().isEmpty());
        s.btn(1)->click();
    });
    start();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(programEnded());
    EXPECT_FALSE(platform::forms().isLoaded<frmMain>());
    EXPECT_FALSE(platform::forms().isLoaded<frmSplash>());
    EXPECT_EQ(parms("SHOW_DISC").toLongLong(), -1);
    EXPECT_EQ(parms("CreateTables").toLongLong(), 0);
}

struct CancelCase {
    const char* name;
    bool ticked;
    bool closeBox;
};

class AgreementCancelTest : public StartupTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(AgreementCancelTest, EndsTheProgramAndWritesNothing)
{
    withFirstSession(true);
    seam.onModal<frmSplash>([](frmSplash& s) {
        s.chk->setChecked(GetParam().ticked);
        if (GetParam().closeBox)
            s.close();
        else
            s.btn(1)->click();
    });
    start();
    EXPECT_TRUE(programEnded());
    EXPECT_EQ(programExitCode(), 0);
    EXPECT_FALSE(platform::forms().isLoaded<frmMain>());
    EXPECT_EQ(parms("SHOW_DISC").toLongLong(), -1);
    EXPECT_TRUE(seam.messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Ways, AgreementCancelTest,
                         ::testing::Values(CancelCase{"CancelButton", false, false},
                                           CancelCase{"CancelButtonTicked", true, false},
                                           CancelCase{"CloseBox", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupTest, AcceptWithTheBoxTickedClearsTheAgreementForGood)
{
    withFirstSession(true);
    seam.onModal<frmSplash>([](frmSplash& s) {
        s.chk->setChecked(true);
        s.btn(0)->click();
    });
    frmMain& main = start();
    EXPECT_FALSE(programEnded());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(parms("SHOW_DISC").toLongLong(), 0);
}

TEST_F(StartupTest, AcceptWithoutTheTickKeepsTheAgreementForTheNextStart)
{
    withFirstSession(true);
    seam.onModal<frmSplash>([](frmSplash& s) { s.btn(0)->click(); });
    start();
    EXPECT_FALSE(programEnded());
    EXPECT_EQ(parms("SHOW_DISC").toLongLong(), -1);
}

TEST_F(StartupTest, MissingAgreementTextStopsTheProgramNamingTheFile)
{
    withFirstSession(true);
    ASSERT_TRUE(QFile::remove(folder.file("kvdis.txt")));
    seam.answerMsgBox(vbOK);
    start();
    EXPECT_TRUE(programEnded());
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(seam.messages().at(0).startsWith(QStringLiteral("Run-time error '53':")));
    EXPECT_TRUE(seam.messages().at(0).contains(QStringLiteral("kvdis.txt")));
}

// ---- The main database.

TEST_F(StartupTest, WrongPasswordEndsTheProgramBeforeAnyWindowShows)
{
    {
        dao::Database d = db();
        d.SetPassword(QStringLiteral("Another1234"));
    }
    seam.expectMsgBox(QStringLiteral("Run-time error '3031':\r\n\r\nNot a valid password."), vbOKOnly);
    frmMain& main = start();
    EXPECT_TRUE(programEnded());
    EXPECT_EQ(programExitCode(), 1);
    EXPECT_FALSE(main.isVisible());
    EXPECT_FALSE(g().MainDb.isOpen());
}

TEST_F(StartupTest, MissingDatabaseEndsTheProgramBeforeAnyWindowShows)
{
    ASSERT_TRUE(QFile::remove(folder.mainDb()));
    seam.answerMsgBox(vbOK);
    start();
    EXPECT_TRUE(programEnded());
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(seam.messages().at(0).startsWith(QStringLiteral("Run-time error '3024':\r\n\r\n")));
    EXPECT_TRUE(seam.messages().at(0).contains(QStringLiteral("kelva.mdb")));
    EXPECT_TRUE(seam.calls(QStringLiteral("ShowModal")).empty());
}

TEST_F(StartupTest, SecondInstanceEndsWithoutOpeningTheDatabase)
{
    SingleInstance first(folder.path());
    ASSERT_TRUE(first.acquired());
    start();
    EXPECT_TRUE(programEnded());
    EXPECT_FALSE(g().MainDb.isOpen());
    EXPECT_TRUE(seam.calls().empty());
}

TEST_F(StartupTest, LockThatCannotBeMadeSaysWhyAndEndsWithAFailure)
{
    // A folder in the lock file's place; as root, a read-only folder would not stop the lock.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral(".kelva.lock")));
    seam.answerMsgBox(vbOK);
    start();
    EXPECT_TRUE(programEnded());
    EXPECT_EQ(programExitCode(), 1);
    EXPECT_FALSE(g().MainDb.isOpen());
    ASSERT_EQ(seam.messages().size(), 1);
    const QString message = seam.messages().at(0);
    EXPECT_TRUE(message.startsWith(QStringLiteral("KELVA Morvex cannot start"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("\".kelva.lock\""))) << message.toStdString();
    EXPECT_TRUE(message.contains(folder.path())) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("Is a directory"))) << message.toStdString();
}

// ---- Parameter row and sessions.

TEST_F(StartupTest, StartsOnTheFirstSessionWithTitleAndSessionList)
{
    withFirstSession();
    frmMain& main = start();
    ASSERT_FALSE(programEnded());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.Caption(), QStringLiteral("KELVA Morvex\u00AE 2014 "));
    EXPECT_EQ(g().AppTitle, QStringLiteral("KELVA Morvex\u00AE 2014 "));
    EXPECT_EQ(g().YearSuffix, QStringLiteral("14"));
    EXPECT_EQ(g().WorkAdjuster, 1.0);
    EXPECT_EQ(g().CurSesTab, QStringLiteral("DATA0001"));
    EXPECT_EQ(main.setchk->text(), QStringLiteral("0"));
    ASSERT_EQ(main.Combo1->count(), 2);
    EXPECT_EQ(main.Combo1->itemText(0), QStringLiteral("< - Make New Session - >"));
    EXPECT_EQ(main.Combo1->itemText(1), QStringLiteral("Sample"));
    EXPECT_EQ(main.Data3.Recordset()[QStringLiteral("Session")].Value().toString(), QStringLiteral("Sample"));
    EXPECT_EQ(main.cmboCurrentView->itemText(0), QStringLiteral("KELVA"));
    EXPECT_EQ(main.ViewTaggedCaption(), QStringLiteral("View Tagged"));
    EXPECT_TRUE(seam.messages().isEmpty()) << seam.messages().join(" | ").toStdString();
}

TEST_F(StartupTest, SessionListLeavesOutDefaultWhereverItStands)
{
    withFirstSession();
    {
        dao::Database d = db();
        d.Execute(QStringLiteral("INSERT INTO SESSIONS (Session, SESTAB, CURCONVF, CURCONVA, CURUSEADJ, "
                                 "CURWORKGPCI, CURPRACGPCI, CURMALPGPCI, COLWS, COLVS) SELECT 'Another', 'DATA0002', "
                                 "CURCONVF, CURCONVA, CURUSEADJ, CURWORKGPCI, CURPRACGPCI, CURMALPGPCI, COLWS, COLVS "
                                 "FROM SESSIONS WHERE Session = 'Sample'"));
    }
    frmMain& main = start();
    QStringList items;
    for (int i = 0; i < main.Combo1->count(); ++i)
        items << main.Combo1->itemText(i);
    EXPECT_EQ(items, QStringList({"< - Make New Session - >", "Sample", "Another"}));
}

TEST_F(StartupTest, CursesNamingNoSessionSettlesOnTheFirstRealSessionAndStoresIt)
{
    withFirstSession();
    db().Execute(QStringLiteral("UPDATE PARMS_CL SET CURSES = 'Gone'"));
    frmMain& main = start();
    EXPECT_EQ(main.Data3.Recordset()[QStringLiteral("Session")].Value().toString(), QStringLiteral("Sample"));
    EXPECT_EQ(parms("CURSES").toString(), QStringLiteral("Sample"));
    EXPECT_EQ(g().CurSesTab, QStringLiteral("DATA0001"));
}

TEST_F(StartupTest, OnlyTheDefaultSessionEndsTheProgram)
{
    db().Execute(QStringLiteral("UPDATE PARMS_CL SET CreateTables = 1, SHOW_DISC = 0"));
    seam.answerMsgBox(vbOK);
    start();
    EXPECT_TRUE(programEnded());
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(seam.messages().at(0).startsWith(QStringLiteral("Run-time error '3021':")));
}

struct StateCase {
    const char* name;
    const char* column;
    dao::Variant stored;
    const char* expected;
};

class StateDefaultTest : public StartupTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(StateDefaultTest, NullGetsItsDefaultAndAnyTextStays)
{
    withFirstSession();
    db().Execute(QStringLiteral("UPDATE PARMS_CL SET %1 = ?").arg(QString::fromLatin1(GetParam().column)),
                 {GetParam().stored});
    start();
    EXPECT_FALSE(programEnded());
    const dao::Variant after = parms(QString::fromLatin1(GetParam().column));
    EXPECT_FALSE(after.isNull());
    EXPECT_EQ(after.toString(), QString::fromLatin1(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    States, StateDefaultTest,
    ::testing::Values(StateCase{"DmeNull", "DMESTATE", dao::Variant(), "AL"},
                      StateCase{"LabNull", "LABSTATE", dao::Variant(), "AL"},
                      StateCase{"JcdNull", "JCDSTATE", dao::Variant(), "CA"},
                      StateCase{"DmeKept", "DMESTATE", dao::Variant("NY"), "NY"},
                      StateCase{"JcdKept", "JCDSTATE", dao::Variant("TX"), "TX"},
                      StateCase{"DmeEmptyTextStays", "DMESTATE", dao::Variant(""), ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupTest, DmeposStateShowsInTheStateBox)
{
    withFirstSession();
    frmMain& main = start();
    EXPECT_EQ(main.Combo3->currentText(), QStringLiteral("AL"));
}

TEST_F(StartupTest, StartsWhenTheFirstRowsTagIsTheZeroLengthText)
{
    withFirstSession();
    {
        dao::Database d = db();
        d.Execute(QStringLiteral("UPDATE SESSIONS SET CURUSEADJ = -1"));
        d.Execute(QStringLiteral("UPDATE DATA0001 SET Tag = '' WHERE CODEMOD = (SELECT min(CODEMOD) FROM DATA0001) "
                                 "OR rowid = (SELECT min(rowid) FROM DATA0001)"));
    }
    frmMain& main = start();
    settleStarted();
    ASSERT_FALSE(programEnded());
    EXPECT_TRUE(main.isVisible());
    auto& rs = main.Data1.Recordset();
    rs.MoveFirst();
    EXPECT_EQ(rs.Fields(0).Value().toString(), QString());
    EXPECT_FALSE(main.Text1(0)->text().isEmpty());
}

// ---- A failure while the grid is filled.

struct BrokenSessionCase {
    const char* name;
    const char* statement;  // run on the program's database before the start
};

class BrokenSessionStartTest : public StartupTest, public ::testing::WithParamInterface<BrokenSessionCase> {};

// The current session's table cannot be read: the start-up says so once and leaves a visible window that
// still holds the single-instance lock and can switch to a good session.
TEST_P(BrokenSessionStartTest, ShowsOneMessageThenTheWindowThatCanSwitchToAGoodSession)
{
    withFirstSession();
    {
        dao::Database d = db();
        d.Execute(QStringLiteral("UPDATE SESSIONS SET CURUSEADJ = -1"));
        db::createSession(d, {QStringLiteral("Good"), QStringLiteral("Sample"), 2, {}});
        d.Execute(QString::fromLatin1(GetParam().statement));
    }
    seam.answerMsgBox(vbOK);
    frmMain& main = start();
    ASSERT_FALSE(programEnded());
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_FALSE(seam.messages().at(0).startsWith(QStringLiteral("Run-time error")));
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(platform::busyCount(), 0);

    // A second start finds the program running.
    EXPECT_FALSE(SingleInstance(folder.path()).acquired());

    const int good = main.Combo1->findText(QStringLiteral("Good"));
    ASSERT_GT(good, 0);
    platform::setListIndex(main.Combo1, good);
    EXPECT_EQ(seam.messages().size(), 1) << qPrintable(seam.messages().join(" | "));
    EXPECT_EQ(parms(QStringLiteral("CURSES")).toString(), QStringLiteral("Good"));
    EXPECT_EQ(g().CurSesTab, QStringLiteral("DATA0002"));
    EXPECT_GT(main.Data1.Recordset().RecordCount(), 0);
    EXPECT_GT(main.dbg->ColumnCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, BrokenSessionStartTest,
    ::testing::Values(BrokenSessionCase{"TableDropped", "DROP TABLE DATA0001"},
                      BrokenSessionCase{"SestabNamesNoTable",
                                        "UPDATE SESSIONS SET SESTAB = 'DATA0099' WHERE Session = 'Sample'"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The dated notices.

struct NoticeCase {
    const char* name;
    QDate today;
    int expmsg;
    int shown;            // how often the notice window is shown
    bool updateNotice;    // Label2 carries the update text
};

class NoticeTest : public StartupTest, public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(NoticeTest, ShowsInsideItsDateWindowOnly)
{
    withFirstSession();
    db().Execute(QStringLiteral("UPDATE PARMS_CL SET EXPMSG = ?"), {GetParam().expmsg});
    seam.setNow(QDateTime(GetParam().today, QTime(10, 0)));
    int shown = 0;
    QString label2;
    for (int i = 0; i < GetParam().shown; ++i)
        seam.onModal<frmExpireMsg>([&](frmExpireMsg& w) {
            ++shown;
            label2 = w.Label2->text();
            w.Command1->click();
        });
    start();
    EXPECT_EQ(shown, GetParam().shown);
    EXPECT_EQ(label2.startsWith(QStringLiteral("KELVA Morvex Update Notification - ")), GetParam().updateNotice);
    EXPECT_FALSE(programEnded());
}

INSTANTIATE_TEST_SUITE_P(Dates, NoticeTest,
                         ::testing::Values(NoticeCase{"LastOctober", QDate(2014, 10, 31), 0, 0, false},
                                           NoticeCase{"FirstNovember", QDate(2014, 11, 1), 0, 1, true},
                                           NoticeCase{"NewYearOnceOnly", QDate(2015, 1, 1), 0, 1, true},
                                           NoticeCase{"SecondJanuary", QDate(2015, 1, 2), 0, 1, false},
                                           NoticeCase{"SecondJanuaryTurnedOff", QDate(2015, 1, 2), 2, 0, false},
                                           NoticeCase{"NovemberEvenWhenTurnedOff", QDate(2014, 11, 20), 2, 1, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupTest, ReminderTickedTurnsTheOldDataReminderOff)
{
    withFirstSession();
    seam.setNow(QDateTime(QDate(2015, 3, 1), QTime(10, 0)));
    seam.onModal<frmExpireMsg>([](frmExpireMsg& w) {
        w.Check1->setChecked(true);
        w.Command1->click();
    });
    start();
    EXPECT_EQ(parms("EXPMSG").toLongLong(), 2);
}

// ---- The work-adjuster warning.

class WorkAdjusterTest : public StartupTest, public ::testing::WithParamInterface<int> {};

TEST_P(WorkAdjusterTest, YesStoresTheSwitchNoLeavesItForTheNextStart)
{
    const int answer = GetParam();
    withFirstSession();
    db().Execute(QStringLiteral("UPDATE SESSIONS SET CURUSEADJ = 0 WHERE Session = 'Sample'"));
    seam.expectMsgBox(QStringLiteral("Note: The required .8806 work adjuster setting was left unchecked from the "
                                     "last session of KELVA Morvex.  For accurate Medicare fee schedules, this "
                                     "setting must be enabled. Select YES to reset this default on. Select NO "
                                     "to continue this KELVA Morvex session without the work adjuster. If you "
                                     "are uncertain on how to answer this question, we recommend selecting "
                                     "YES."),
                      vbYesNo, answer, kWarningTitle);
    start();
    const dao::Variant stored = db().scalar(QStringLiteral("SELECT CURUSEADJ FROM SESSIONS WHERE Session = 'Sample'"));
    EXPECT_EQ(stored.toBool(), answer == vbYes);
    EXPECT_EQ(g().WorkAdjuster, 1.0);
}

INSTANTIATE_TEST_SUITE_P(Answers, WorkAdjusterTest, ::testing::Values(vbNo, vbYes),
                         [](const auto& info) { return std::string(info.param == vbYes ? "Yes" : "No"); });

TEST_F(StartupTest, NullWorkAdjusterShowsNoWarning)
{
    withFirstSession();
    db().Execute(QStringLiteral("UPDATE SESSIONS SET CURUSEADJ = NULL WHERE Session = 'Sample'"));
    // The session values cannot take a Null switch: the start-up says so and goes no further.
    seam.answerMsgBox(vbOK);
    start();
    for (const auto& call : seam.calls(QStringLiteral("MsgBox")))
        EXPECT_NE(call.title, kWarningTitle);
}

// ---- Resize and shut-down.

TEST_F(StartupTest, ResizeKeepsTheMinimumSizeAndHonoursSkipRecolumnize)
{
    withFirstSession();
    frmMain& main = start();
    main.setWindowState(vbNormal);
    main.setWidth(6000);
    main.setHeight(4000);
    main.Form_Resize();
    // Twips become whole pixels: 15 twips a pixel.
    EXPECT_NEAR(main.Width(), 9600, 15);
    EXPECT_NEAR(main.Height(), 5800, 15);

    g().SkipRecolumnize = -1;
    main.Form_Resize();
    EXPECT_EQ(g().SkipRecolumnize, 0);
}

TEST_F(StartupTest, ClosingTheMainWindowClosesTheQuickViewAndEndsTheProgram)
{
    withFirstSession();
    frmMain& main = start();
    load<frmPlimView>();
    g().PlimViewActive = -1;
    EXPECT_TRUE(platform::forms().Unload(main, vbFormControlMenu));
    EXPECT_FALSE(platform::forms().isLoaded<frmPlimView>());
    EXPECT_TRUE(platform::forms().loaded().empty());
    EXPECT_TRUE(programEnded());
}

TEST_F(StartupTest, RestoringTheWindowClosesTheQuickView)
{
    withFirstSession();
    frmMain& main = start();
    load<frmPlimView>();
    g().PlimViewActive = -1;
    main.Form_Resize();
    EXPECT_FALSE(platform::forms().isLoaded<frmPlimView>());
    EXPECT_EQ(g().PlimViewActive, 0);
}

}  // namespace

TEST_F(StartupTest, FederalRegisterMenuWithoutTheDocumentSaysSo)
{
    frmMain& w = startOnFirstSession();
    ASSERT_FALSE(programEnded());
    seam.shellResult(2);
    seam.expectMsgBox("Could not open a pdf reader for viewing document.", vbOKOnly);
    w.mnumain(6)->trigger();
}
