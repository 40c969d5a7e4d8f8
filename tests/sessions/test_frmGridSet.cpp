#include "sessions/GridSetFixture.h"

#include "main/frmPlimView.h"
#include "platform/controls/colours.h"
#include "platform/forms/controls.h"
#include "sessions/frmAbout.h"

#include <QTest>

namespace {

using platform::checkValue;

// The defaults the sample ships for the 61 grid columns (COLSTRUCT's COLSTADEF).
const QString kShippedColumns = QStringLiteral(
    "-1,0,-1,-1,-1,-1,0,0,0,0,0,0,0,0,0,0,0,0,0,-1,-1,-1,-1,-1,-1,-1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,-1,-1,"
    "-1,-1,-1,0,0,0,0,0,0,0,0,0,0,0,0");

class GridSetTest : public GridSetFixture {};

TEST_F(GridSetTest, OpensOnTheSessionWithItsTextsAndTheQuickViewClosed)
{
    g().PlimViewActive = -1;
    frmGridSet& w = open();
    EXPECT_EQ(w.Caption(), g().AppTitle + " KELVA Morvex Main Screen Display Settings");
    EXPECT_EQ(w.Label1->text(), "Sample");
    EXPECT_EQ(g().PlimViewActive, 0);
    EXPECT_FALSE(platform::forms().isLoaded<frmPlimView>());
    EXPECT_EQ(w.chk.Count(), 58);
    EXPECT_EQ(w.chk(9)->text(), "Resource Based Non-Facility Practice Expense RVU");
    EXPECT_EQ(w.chk(27)->text(), "Preoperatve Percentage");
    EXPECT_EQ(w.chk(49)->text(), "  F1");
    EXPECT_EQ(w.chk(57)->toolTip(), "OPT is an optional 10 character code identifier.");
    EXPECT_EQ(w.SText(4)->toolTip(), "Rename Schedule 5");
    EXPECT_FALSE(w.chk(0)->isEnabled());
    EXPECT_FALSE(w.chk(1)->isVisibleTo(&w));
    EXPECT_FALSE(w.GDecimal->isVisibleTo(&w));
    // The names come from the grid's captions.
    EXPECT_EQ(w.SText(0)->text(), main->dbg->Columns(44).Caption());
    EXPECT_EQ(w.FText(4)->text(), "Freq5");
    EXPECT_EQ(w.OText(9)->text(), "OPT");
    EXPECT_EQ(w.SText(0)->maxLength(), 25);
    EXPECT_EQ(w.OText(9)->maxLength(), 25);
    EXPECT_EQ(w.OText(0)->text(), "(Default)");
    EXPECT_EQ(checkValue(w.Check1), 0);
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(GridSetTest, AFreshSessionsSixtyOneEntriesOpenAndApplyWritesFiftyEight)
{
    ASSERT_EQ(entries(session("COLVS")).size(), 61);
    frmGridSet& w = open();
    EXPECT_EQ(ticked(w), colvs(58, {0, 2, 3, 4, 5, 19, 20, 21, 22, 23, 24, 25, 44, 45, 46, 47, 48}).split(','));
    w.cmdApply->click();
    const QStringList stored = entries(session("COLVS"));
    EXPECT_EQ(stored.size(), 58);
    EXPECT_EQ(stored, ticked(w));
    EXPECT_FALSE(platform::forms().isLoaded<frmGridSet>());
}

TEST_F(GridSetTest, AShortListLeavesTheMissingBoxesToTheGrid)
{
    // 40 entries, the grid still laid out from the shipped 61: of the boxes past 40 only those whose
    // columns the grid shows (44 to 48) are ticked.
    setSession(QStringLiteral("COLVS = '%1'").arg(colvs(40, {2, 7})));
    frmGridSet& w = open();
    const QStringList boxes = ticked(w);
    EXPECT_EQ(boxes[7], "true");
    for (int i = 40; i < 58; ++i)
        EXPECT_EQ(boxes[i], (i >= 44 && i <= 48) ? "true" : "false") << i;
    w.cmdApply_Click();
    EXPECT_EQ(entries(session("COLVS")).size(), 58);
}

TEST_F(GridSetTest, ListsThatCannotBeReadWholeStillOpen)
{
    struct Case {
        const char* name;
        dao::Variant colvs;
        std::vector<int> tickedBoxes;  // besides the columns the grid shows
    };
    const std::vector<Case> cases = {
        {"Null", dao::Variant(), {}},
        {"bad entries", dao::Variant("true,,xyz,1,0,FALSE,True,nonsense"), {0, 3, 6}},
        {"past 58", dao::Variant(colvs(70, {8, 60, 65})), {8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db().Execute("UPDATE SESSIONS SET COLVS = ? WHERE Session = 'Sample'", {c.colvs});
        setSession("Session = Session");
        const std::vector<bool> read = frmGridSet::readColumnList(c.colvs);
        ASSERT_EQ(read.size(), 58u);
        for (int i = 0; i < 58; ++i)
            EXPECT_EQ(read[size_t(i)], std::count(c.tickedBoxes.begin(), c.tickedBoxes.end(), i) == 1) << i;
        frmGridSet& w = open();
        for (int i : c.tickedBoxes)
            EXPECT_EQ(checkValue(w.chk(i)), 1) << i;
        EXPECT_TRUE(seam.messages().isEmpty());
        w.cmdCancel_Click();
        settle();
    }
}

TEST_F(GridSetTest, BoxesNeverShownKeepTheirEntriesThroughApply)
{
    setSession(QStringLiteral("COLVS = '%1'").arg(colvs(58, {1, 2, 26, 43, 54, 56, 57})), true);
    frmGridSet& w = open();
    w.cmdApply_Click();
    const QStringList stored = entries(session("COLVS"));
    for (int i : {1, 26, 43, 54, 56, 57})
        EXPECT_EQ(stored[i], "true") << i;
    for (int i : {27, 42, 55})
        EXPECT_EQ(stored[i], "false") << i;
    // The status column is always shown, so its box is ticked again at every opening.
    EXPECT_EQ(stored[4], "true");
}

TEST_F(GridSetTest, ANullScheduleNameStoresTheGridsCaption)
{
    setSession("S3NAME = 'Third'", true);
    ASSERT_EQ(main->dbg->Columns(46).Caption(), "Third");
    setSession("S3NAME = NULL", true);
    frmGridSet& w = open();
    EXPECT_EQ(w.SText(2)->text(), "S3");
    w.cmdApply_Click();
    EXPECT_EQ(session("S3NAME").toString(), "S3");
}

TEST_F(GridSetTest, ApplyShowsTheNewCaptionsAndColumnsAtTheNextActivation)
{
    frmGridSet& w = open();
    platform::setText(w.SText(0), "Office");
    platform::setText(w.FText(1), "Visits");
    platform::setText(w.OText(9), "Chart");
    platform::setCheckValue(w.chk(19), 0);
    platform::setCheckValue(w.chk(50), 1);
    platform::setCheckValue(w.GDecimal, 1);
    w.cmdApply->click();

    EXPECT_EQ(session("S1NAME").toString(), "Office");
    EXPECT_EQ(session("F2NAME").toString(), "Visits");
    EXPECT_EQ(session("OPTName").toString(), "Chart");
    EXPECT_EQ(session("GDEC").toLongLong(), -1);
    EXPECT_EQ(main->setchk->text(), "2");
    // Nothing shows before the main window is activated again.
    EXPECT_EQ(main->dbg->Columns(44).Caption(), "S1");

    main->Form_Activate();
    EXPECT_EQ(main->setchk->text(), "0");
    EXPECT_EQ(main->dbg->Columns(44).Caption(), "Office");
    EXPECT_EQ(main->dbg->Columns(50).Caption(), "Visits");
    EXPECT_EQ(main->dbg->Columns(57).Caption(), "Chart");
    EXPECT_FALSE(main->dbg->Columns(19).Visible());
    EXPECT_TRUE(main->dbg->Columns(50).Visible());
    for (int col : {58, 59, 60})
        EXPECT_FALSE(main->dbg->Columns(col).Visible()) << col;
}

TEST_F(GridSetTest, ApplyKeepsAPendingRequery)
{
    main->RequestReload(1);
    frmGridSet& w = open();
    w.cmdApply_Click();
    EXPECT_EQ(main->setchk->text(), "1");
    EXPECT_TRUE(main->ReloadLayoutAsked);
}

TEST_F(GridSetTest, ARefusedApplyShowsItsMessageWritesNothingAndStaysOpen)
{
    db().Execute("CREATE TRIGGER refuse BEFORE UPDATE ON SESSIONS BEGIN SELECT RAISE(ABORT, 'row is locked'); END");
    frmGridSet& w = open();
    platform::setText(w.SText(0), "Office");
    platform::setCheckValue(w.chk(19), 0);
    const QString before = session("COLVS").toString();
    seam.expectMsgBox("row is locked", vbOKOnly);
    w.cmdApply_Click();
    EXPECT_TRUE(platform::forms().isLoaded<frmGridSet>());
    EXPECT_EQ(session("COLVS").toString(), before);
    EXPECT_EQ(session("S1NAME").toString(), "S1");
    EXPECT_EQ(main->Data3.Recordset()["S1NAME"].Value().toString(), "S1");
    EXPECT_EQ(main->setchk->text(), "0");
}

// ---- The description boxes.

struct DescriptionCase {
    const char* name;
    bool shortStored, longStored;
    std::vector<std::pair<int, int>> clicks;  // box (-1 descchk, 5, 6) and its new value, in order
    bool shortAfter, longAfter, enabled;
};

class DescriptionTest : public GridSetFixture, public ::testing::WithParamInterface<DescriptionCase> {};

TEST_P(DescriptionTest, FollowsTheDescriptionChoice)
{
    const DescriptionCase& c = GetParam();
    std::initializer_list<int> none = {};
    QStringList list = colvs(58, none).split(',');
    list[5] = c.shortStored ? "true" : "false";
    list[6] = c.longStored ? "true" : "false";
    setSession(QStringLiteral("COLVS = '%1'").arg(list.join(',')), true);
    frmGridSet& w = open();
    EXPECT_EQ(checkValue(w.descchk), 0);
    EXPECT_FALSE(w.chk(5)->isEnabled());
    for (auto [box, value] : c.clicks)
        platform::setCheckValue(box < 0 ? w.descchk : w.chk(box), value);
    EXPECT_EQ(checkValue(w.chk(5)), c.shortAfter ? 1 : 0);
    EXPECT_EQ(checkValue(w.chk(6)), c.longAfter ? 1 : 0);
    EXPECT_EQ(w.chk(5)->isEnabled(), c.enabled);
    EXPECT_EQ(w.chk(6)->isEnabled(), c.enabled);
    w.cmdApply_Click();
    const QStringList stored = entries(session("COLVS"));
    EXPECT_EQ(stored[5], c.shortAfter ? "true" : "false");
    EXPECT_EQ(stored[6], c.longAfter ? "true" : "false");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DescriptionTest,
    ::testing::Values(
        DescriptionCase{"NeitherTickedGivesShort", false, false, {{-1, 1}}, true, false, true},
        DescriptionCase{"LongKept", false, true, {{-1, 1}}, false, true, true},
        DescriptionCase{"BothKept", true, true, {{-1, 1}}, true, true, true},
        DescriptionCase{"UntickingClearsBoth", true, false, {{-1, 1}, {-1, 0}}, false, false, false},
        DescriptionCase{"LongTakesOverFromShort", false, false, {{-1, 1}, {6, 1}}, false, true, true},
        DescriptionCase{"UntickingShortTicksLong", false, false, {{-1, 1}, {5, 0}}, false, true, true},
        DescriptionCase{"StoredKeptWhileNotChosen", true, false, {}, true, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The name boxes.

TEST_F(GridSetTest, AnEmptiedNameBoxShowsItsMessageAndKeepsTheFocus)
{
    frmGridSet& w = open();
    w.Show();
    const struct {
        QLineEdit* box;
        const char* message;
    } cases[] = {
        {w.SText(1), "User defined fee schedule names must be at least 1 character long."},
        {w.FText(3), "User defined frequency names must be at least 1 character long."},
        {w.OText(9), "User defined field name must be at least 1 character long."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        platform::SetFocus(c.box);
        platform::setText(c.box, "");
        seam.expectMsgBox(c.message, vbOKOnly);
        platform::SetFocus(w.SText(0) == c.box ? w.SText(1) : w.SText(0));
        settle();
        EXPECT_EQ(w.ActiveControl(), c.box);
        // A name of blanks is a name.
        platform::setText(c.box, " ");
        platform::SetFocus(w.cmdApply);
        settle();
        EXPECT_EQ(w.ActiveControl(), w.cmdApply);
    }
    EXPECT_EQ(seam.messages().size(), 3);
}

// ---- Colours.

struct ColourCase {
    const char* caption;
    bool text;  // Option1 (GCOLOR, fore colour), else Option2 (bcolor, back colour)
    int index;
    qint64 stored;
};

class ColourTest : public GridSetFixture, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(ColourTest, StoresItsValueAndPaintsTheMainScreen)
{
    const ColourCase& c = GetParam();
    // Stored colours that match no option: nothing is selected at the opening.
    setParms("GCOLOR = 1, bcolor = 1");
    platform::setForeColor(main->DBGrid5, 1);
    platform::setBackColor(main->DBGrid5, 1);
    frmGridSet& w = open();
    QRadioButton* option = c.text ? w.Option1(c.index) : w.Option2(c.index);
    EXPECT_EQ(option->text(), c.caption);
    option->click();

    EXPECT_EQ(parms(c.text ? "GCOLOR" : "bcolor").toLongLong(), c.stored);
    auto colour = [&c](QWidget* control) { return c.text ? platform::foreColor(control) : platform::backColor(control); };
    for (QWidget* painted : std::vector<QWidget*>{main->Combo1, main->Label4, main->kelvacf, main->Text2(2), main->dbg,
                                                  main->txt(1), main->Text1(0), main->plimlist, main->cmboCurrentView,
                                                  main->DBGrid1, main->DBGrid4, main->Combo3})
        EXPECT_EQ(colour(painted), c.stored) << qPrintable(painted->objectName());
    EXPECT_EQ(colour(main->DBGrid5), 1);

    // Kept after Cancel.
    w.cmdCancel->click();
    EXPECT_EQ(parms(c.text ? "GCOLOR" : "bcolor").toLongLong(), c.stored);
    EXPECT_EQ(colour(main->dbg), c.stored);
}

INSTANTIATE_TEST_SUITE_P(Options, ColourTest,
                         ::testing::Values(ColourCase{"Black", true, 0, -2147483630},
                                           ColourCase{"Green", true, 1, 32768}, ColourCase{"Red", true, 2, 255},
                                           ColourCase{"Blue", true, 3, 12582912},
                                           ColourCase{"Maroon", true, 4, 8388736},
                                           ColourCase{"White", false, 0, 16777215},
                                           ColourCase{"Light Green", false, 1, 15925232},
                                           ColourCase{"Pink", false, 2, 16054271},
                                           ColourCase{"Light Blue", false, 3, 16119004},
                                           ColourCase{"Light Yellow", false, 4, 14941183}),
                         [](const auto& info) {
                             std::string name = info.param.caption;
                             name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
                             return name;
                         });

TEST_F(GridSetTest, OpeningSelectsTheStoredColoursOrNone)
{
    setParms("GCOLOR = 999, bcolor = 16777215");
    platform::setForeColor(main->dbg, 123);
    platform::setBackColor(main->dbg, 456);
    frmGridSet& w = open();
    for (auto [i, o] : w.Option1)
        EXPECT_FALSE(o->isChecked()) << i;
    EXPECT_TRUE(w.Option2(0)->isChecked());
    EXPECT_EQ(platform::foreColor(main->dbg), 123);
    EXPECT_EQ(platform::backColor(main->dbg), 16777215);  // painted again with the stored colour
    EXPECT_EQ(parms("GCOLOR").toLongLong(), 999);
    w.cmdCancel_Click();
    settle();

    setParms("GCOLOR = 8388736, bcolor = 14941183");
    frmGridSet& again = open();
    EXPECT_TRUE(again.Option1(4)->isChecked());
    EXPECT_TRUE(again.Option2(4)->isChecked());
}

// ---- The export folder.

TEST_F(GridSetTest, ExportPathsAsTickedOrRefused)
{
    QTemporaryDir folder;
    const QString odd = folder.path() + "/o'brien,x";
    const struct {
        QString typed;
        bool refused;
        QString stored;
    } cases[] = {
        {"(Default)", true, "(Default)"},
        {"", true, "(Default)"},
        {"   ", true, "(Default)"},
        {odd, false, odd + "/"},
        {folder.path() + "/", false, folder.path() + "/"},
        {"/", false, "/"},
    };
    frmGridSet& w = open();
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.typed));
        setParms("exportpath = '(Default)'");
        platform::setCheckValue(w.Check1, 0);
        platform::setText(w.OText(0), c.typed);
        if (c.refused)
            seam.expectMsgBox("A valid path must be entered", vbOKOnly);
        w.Check1->click();
        EXPECT_EQ(checkValue(w.Check1), c.refused ? 0 : 1);
        EXPECT_EQ(parms("exportpath").toString(), c.stored);
        EXPECT_EQ(main->Data2.Recordset()["exportpath"].Value().toString(), c.stored);
        if (!c.refused) {
            EXPECT_EQ(w.OText(0)->text(), c.stored);
        }
    }
}

TEST_F(GridSetTest, AStoredFolderIsCompletedAtTheOpening)
{
    setParms("exportpath = '/srv/exports'");
    frmGridSet& w = open();
    EXPECT_EQ(w.OText(0)->text(), "/srv/exports/");
    EXPECT_EQ(checkValue(w.Check1), 1);
    EXPECT_EQ(parms("exportpath").toString(), "/srv/exports/");
    w.cmdCancel_Click();
    settle();

    setParms("exportpath = ''");
    seam.expectMsgBox("A valid path must be entered", vbOKOnly);
    frmGridSet& empty = open();
    EXPECT_EQ(checkValue(empty.Check1), 0);
}

TEST_F(GridSetTest, OnlyAKeyInThePathBoxUnticksTheSaving)
{
    setParms("exportpath = '/srv/exports/'");
    frmGridSet& w = open();
    w.Show();
    ASSERT_EQ(checkValue(w.Check1), 1);
    QTest::keyClick(w.OText(9), Qt::Key_X);
    EXPECT_EQ(checkValue(w.Check1), 1);
    EXPECT_EQ(w.OText(9)->text(), "OPTx");

    platform::SetFocus(w.OText(0));
    w.OText(0)->setCursorPosition(w.OText(0)->text().size());
    QTest::keyClick(w.OText(0), Qt::Key_A);
    EXPECT_EQ(checkValue(w.Check1), 0);
    EXPECT_EQ(w.OText(0)->text(), "/srv/exports/a");
    EXPECT_EQ(parms("exportpath").toString(), "/srv/exports/");
}

TEST_F(GridSetTest, RefusedFolderAndColourWritesAreSaid)
{
    frmGridSet& w = open();
    db().Execute("CREATE TRIGGER refuse BEFORE UPDATE ON PARMS_CL "
                 "BEGIN SELECT RAISE(ABORT, 'parameters are locked'); END");
    platform::setText(w.OText(0), "/srv/exports");
    seam.expectMsgBox("parameters are locked", vbOKOnly);
    w.Check1->click();
    EXPECT_EQ(checkValue(w.Check1), 0);
    EXPECT_EQ(parms("exportpath").toString(), "(Default)");

    seam.expectMsgBox("parameters are locked", vbOKOnly);
    w.Option2(2)->click();
    EXPECT_EQ(parms("bcolor").toLongLong(), 16777215);
    EXPECT_EQ(main->Data2.Recordset()["bcolor"].Value().toLongLong(), 16777215);
    EXPECT_TRUE(platform::forms().isLoaded<frmGridSet>());
}

TEST_F(GridSetTest, RestoreDefaultsThenCancelKeepsTheColumnsButNotTheFolder)
{
    setSession(QStringLiteral("COLVS = '%1'").arg(colvs(58, {2, 7, 8, 9})), true);
    setParms("exportpath = '/srv/exports/'");
    db().Execute(QStringLiteral("UPDATE SESSIONS SET COLVS = '%1' WHERE Session = 'Default'").arg(colvs(61, {2, 3})));
    frmGridSet& w = open();
    seam.expectMsgBox("This screen has been updated to show your initial default settings.  Click 'OK' to close this "
                      "message then 'Apply' to make these changes to the main screen or 'Cancel' to return with no "
                      "update.",
                      vbOKOnly);
    w.cmdDefaults->click();
    EXPECT_EQ(ticked(w), colvs(58, {2, 3}).split(','));
    EXPECT_EQ(w.OText(0)->text(), "(Default)");
    EXPECT_EQ(parms("exportpath").toString(), "(Default)");
    w.cmdCancel->click();
    EXPECT_EQ(session("COLVS").toString(), colvs(58, {2, 7, 8, 9}));
    EXPECT_EQ(parms("exportpath").toString(), "(Default)");
}

TEST_F(GridSetTest, WithoutADefaultRowRestoreDefaultsResetsOnlyTheFolder)
{
    db().Execute("UPDATE SESSIONS SET Session = 'Old defaults' WHERE Session = 'Default'");
    setParms("exportpath = '/srv/exports/'");
    frmGridSet& w = open();
    const QStringList before = ticked(w);
    seam.answerMsgBox(vbOK);
    w.cmdDefaults_Click();
    EXPECT_EQ(ticked(w), before);
    EXPECT_EQ(parms("exportpath").toString(), "(Default)");
}

// ---- Reached through the main window's menus.

TEST_F(GridSetTest, TheMenusShowTheSettingsAndTheAboutWindowModally)
{
    bool settingsShown = false, aboutShown = false;
    seam.onModal<frmGridSet>([&](frmGridSet& w) {
        settingsShown = true;
        EXPECT_EQ(w.Label1->text(), "Sample");
        w.cmdCancel->click();
    });
    main->mnuSettings(0)->trigger();
    seam.onModal<frmAbout>([&](frmAbout& w) {
        aboutShown = true;
        EXPECT_EQ(w.lbl(2)->text(), "Version: 2014.0.0");
        w.btn(0)->click();
    });
    main->mnuhelp(5)->trigger();
    EXPECT_TRUE(settingsShown);
    EXPECT_TRUE(aboutShown);
    EXPECT_TRUE(seam.messages().isEmpty()) << qPrintable(seam.messages().join(" | "));
}

}  // namespace
