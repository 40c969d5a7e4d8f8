#include "MainWindowTest.h"

#include "db/feequery.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"

#include <QSignalBlocker>

namespace {

const QString kUpdateMessage = QStringLiteral(
    "Your current version of KELVA Morvex needs to be updated. Select Help -> Upgrades -> Data Upgrades from the "
    "menu bar.");

// The started program on the sample data, standing on 99213 with nothing pending and the busy cursor down.
class ActivateTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        main = &startOnFirstSession();
        ASSERT_FALSE(programEnded());
        goTo("99213");
        settleStarted();
    }

    void goTo(const QString& codemod) { goToCode(*main, codemod); }
    double fee(int col = db::feecol::NPart) { return main->Data1.Recordset().Fields(col).Value().toDouble(); }
    QString code() { return main->Data1.Recordset()["CODEMOD"].Value().toString(); }
    // What a settings window writes into the current session row.
    void writeSession(const QString& column, const dao::Variant& value)
    {
        auto& row = main->Data3.Recordset();
        row.Edit();
        row[column] = value;
        row.Update();
    }
    // The layout ran when the columns follow the session's visibility list again.
    void hideColumnInSession(int col)
    {
        QStringList vs = main->Data3.Recordset()["COLVS"].Value().toString().split(',');
        ASSERT_GT(vs.size(), col);
        vs[col] = "false";
        writeSession("COLVS", vs.join(','));
    }

    frmMain* main = nullptr;
};

// ---- The reload requests.

TEST_F(ActivateTest, SettingsThenDisplayRequestBeforeActivationStillRequeriesWithTheNewFactors)
{
    const double before = fee();
    ASSERT_GT(before, 0);
    const double cf = g().BaseConvFactor;
    writeSession("CURCONVF", cf * 2);
    main->RequestReload(1);
    hideColumnInSession(5);
    main->RequestReload(2);
    EXPECT_EQ(main->setchk->text(), "1");

    // The window's own focus leaves a request with a layout in it to the activation.
    main->Form_GotFocus();
    EXPECT_EQ(main->setchk->text(), "1");
    EXPECT_DOUBLE_EQ(fee(), before);

    main->Form_Activate();
    EXPECT_EQ(main->setchk->text(), "0");
    EXPECT_EQ(g().BaseConvFactor, cf * 2);
    EXPECT_EQ(code(), "99213");
    EXPECT_NEAR(fee(), before * 2, 0.011);
    EXPECT_FALSE(main->dbg->Columns(5).Visible());
    EXPECT_TRUE(seam.messages().isEmpty()) << qPrintable(seam.messages().join(" | "));
}

struct RequestCase {
    const char* name;
    std::vector<int> requests;
    const char* setchkAfterFocus;  // what Form_GotFocus leaves
    bool requeriedAtFocus;
    bool requeriedAtActivation;
    bool laidOut;
};

class RequestOrderTest : public ActivateTest, public ::testing::WithParamInterface<RequestCase> {};

TEST_P(RequestOrderTest, FocusAndActivationCarryOutWhatWasAsked)
{
    const RequestCase& c = GetParam();
    const double before = fee();
    writeSession("CURCONVF", g().BaseConvFactor * 2);
    hideColumnInSession(5);
    for (int r : c.requests)
        main->RequestReload(r);

    main->Form_GotFocus();
    EXPECT_EQ(main->setchk->text(), c.setchkAfterFocus);
    EXPECT_NEAR(fee(), c.requeriedAtFocus ? before * 2 : before, 0.011);
    EXPECT_TRUE(main->dbg->Columns(5).Visible()) << "the focus lays nothing out";

    main->Form_Activate();
    EXPECT_EQ(main->setchk->text(), "0");
    const bool requeried = c.requeriedAtFocus || c.requeriedAtActivation;
    EXPECT_NEAR(fee(), requeried ? before * 2 : before, 0.011);
    EXPECT_EQ(main->dbg->Columns(5).Visible(), !c.laidOut);
    EXPECT_EQ(code(), "99213");
    EXPECT_EQ(platform::busyCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, RequestOrderTest,
    ::testing::Values(RequestCase{"SettingsOnly", {1}, "0", true, false, false},
                      RequestCase{"DisplayOnly", {2}, "2", false, false, true},
                      RequestCase{"SettingsThenDisplay", {1, 2}, "1", false, true, true},
                      RequestCase{"DisplayThenSettings", {2, 1}, "1", false, true, true},
                      RequestCase{"SettingsTwice", {1, 1}, "0", true, false, false},
                      RequestCase{"Nothing", {}, "0", false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ActivateTest, WhileTheQuickViewIsOpenARequestIsHandledWithoutALayout)
{
    hideColumnInSession(5);
    main->RequestReload(2);
    g().SkipRecolumnize = -1;
    main->Form_Activate();
    EXPECT_EQ(main->setchk->text(), "0");
    EXPECT_TRUE(main->dbg->Columns(5).Visible());
    EXPECT_EQ(g().SkipRecolumnize, -1);
}

TEST_F(ActivateTest, AFailingRequestIsReportedOnceAndDropped)
{
    writeSession("SESTAB", "DATA0099");
    main->RequestReload(1);
    seam.answerMsgBox(vbOK);
    main->Form_Activate();
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(seam.messages()[0].contains("DATA0099")) << qPrintable(seam.messages()[0]);
    EXPECT_EQ(main->setchk->text(), "0");
    EXPECT_EQ(platform::busyCount(), 0);
    EXPECT_FALSE(programEnded());

    main->Form_Activate();
    EXPECT_EQ(seam.messages().size(), 1);

    // At the focus too: said once, dropped.
    main->RequestReload(1);
    seam.answerMsgBox(vbOK);
    main->Form_GotFocus();
    EXPECT_EQ(seam.messages().size(), 2);
    EXPECT_EQ(main->setchk->text(), "0");
}

TEST_F(ActivateTest, AScheduleFeeKindRewritesTheFeeBoxesAMedicareKindLeavesThem)
{
    g().PlimViewActive = -1;
    frmPlimView& view = load<frmPlimView>();
    db().Execute("UPDATE DATA0001 SET S3 = 12.5 WHERE CODEMOD = '99213'");
    main->Data1.Refresh();
    goTo("99213");

    writeSession("PLIMCOL", 19);
    platform::setText(main->Text1(1), "as it was");
    platform::setText(view.Text1(1), "as it was");
    main->RequestReload(2);
    main->Form_Activate();
    // (the grid's own row handling may write the code panel's box; the reload leaves the quick view's alone)
    EXPECT_EQ(view.Text1(1)->text(), "as it was");

    writeSession("PLIMCOL", 46);
    main->RequestReload(1);
    main->Form_Activate();
    EXPECT_EQ(main->Text1(1)->text(), "$12.50");
    EXPECT_EQ(view.Text1(1)->text(), "$12.50");
}

TEST_F(ActivateTest, EveryActivationLowersTheBusyCursorOnceAndNeverBelowNothing)
{
    platform::SetBusyCursor(11);
    platform::SetBusyCursor(11);
    main->Form_Activate();
    EXPECT_EQ(platform::busyCount(), 1);
    main->Form_Activate();
    main->Form_Activate();
    EXPECT_EQ(platform::busyCount(), 0);
    platform::SetBusyCursor(11);
    main->Form_GotFocus();
    EXPECT_EQ(platform::busyCount(), 0);
}

TEST_F(ActivateTest, ActivationReturnsTheGridToTheCodeInTheCodeBox)
{
    main->Data1.Recordset().MoveFirst();
    {
        const QSignalBlocker block(main->Text1(0));
        main->Text1(0)->setText("7101026");
    }
    g().strCurrentCodemod = "7101026";
    main->Form_Activate();
    EXPECT_EQ(code(), "7101026");
}

// ---- Placement by view.

struct PlacementCase {
    int view;
    std::optional<bool> panelShown;  // nullopt: left as it was
    std::optional<int> panelWidth;   // twips; nullopt: left as it was
    bool detailShown;
    std::optional<bool> moreShown;
    int grid;  // 0 dbg, 1..5 DBGrid1..5
};

class PlacementTest : public ActivateTest, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(PlacementTest, PanelAndScrollBarFollowTheView)
{
    const PlacementCase& c = GetParam();
    for (const char* v : {"KELVA OPPS", "DMEPOS", "Lab Fees", "J Codes", "ASC Codes", "DRG Codes"})
        if (main->cmboCurrentView->findText(v) < 0)
            platform::addItem(main->cmboCurrentView, v);
    {
        const QSignalBlocker block(main->cmboCurrentView);
        main->cmboCurrentView->setCurrentIndex(c.view);
    }
    // A state the placement must change (or keep).
    main->CodeDetailFrame->setVisible(true);
    main->CodeDetailFrame->resize(platform::tw(11500), main->CodeDetailFrame->height());
    main->btnMore->setVisible(true);
    main->btnMore->setText("<< Less");
    main->DBGrid1->resize(main->DBGrid1->width(), 111);
    main->DBGrid5->resize(main->DBGrid5->width(), 222);
    main->dbg->resize(main->dbg->width(), 333);

    main->PlaceForView();
    EXPECT_EQ(main->CodeDetailFrame->isVisibleTo(main), c.panelShown.value_or(true));
    EXPECT_EQ(main->CodeDetailFrame->width(), platform::tw(c.panelWidth.value_or(11500)));
    EXPECT_EQ(main->txt(0)->isVisibleTo(main->CodeDetailFrame), c.detailShown);
    EXPECT_EQ(main->txt(1)->isVisibleTo(main->CodeDetailFrame), c.detailShown);
    EXPECT_EQ(main->btnMore->isVisibleTo(main->CodeDetailFrame), c.moreShown.value_or(true));
    if (c.panelWidth) {
        EXPECT_EQ(main->btnHelp->x() + main->btnHelp->width(), main->CodeDetailFrame->width());
        if (c.moreShown.value_or(false)) {
            EXPECT_EQ(main->btnMore->x() + main->btnMore->width(), main->CodeDetailFrame->width());
            EXPECT_EQ(main->btnMore->text(), "More >>");
        }
    }
    const platform::DBGrid* grids[] = {main->dbg, main->DBGrid1, main->DBGrid2, main->DBGrid3, main->DBGrid4,
                                       main->DBGrid5};
    EXPECT_EQ(main->dbgscroll->height(), grids[c.grid]->height());
}

INSTANTIATE_TEST_SUITE_P(Views, PlacementTest,
                         ::testing::Values(PlacementCase{0, true, 3105, true, true, 0},
                                           PlacementCase{1, true, 3105, true, true, 0},
                                           PlacementCase{2, std::nullopt, 10000, false, false, 1},
                                           PlacementCase{3, true, 3105, true, true, 2},
                                           PlacementCase{4, false, 10000, false, false, 3},
                                           PlacementCase{5, false, 10000, false, false, 4},
                                           PlacementCase{6, false, std::nullopt, false, std::nullopt, 5}));

// ---- The data date.

struct DateCase {
    const char* name;
    const char* sql;  // what the parameter row holds
    bool message;
};

class DataDateTest : public ActivateTest, public ::testing::WithParamInterface<DateCase> {};

TEST_P(DataDateTest, AsksForAnUpdateOnlyForOldOrUndatedData)
{
    db().Execute(GetParam().sql);
    if (GetParam().message)
        seam.expectMsgBox(kUpdateMessage, vbOKOnly);
    main->Form_Activate();
    EXPECT_EQ(seam.messages().size(), GetParam().message ? 1u : 0u);
    if (GetParam().message) {
        // Every activation asks again.
        seam.expectMsgBox(kUpdateMessage, vbOKOnly);
        main->Form_Activate();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dates, DataDateTest,
    ::testing::Values(DateCase{"DayBefore", "UPDATE PARMS_CL SET dataupdate = '2003-12-03'", true},
                      DateCase{"LateThatDayBefore", "UPDATE PARMS_CL SET dataupdate = '2003-12-03 23:59:00'", true},
                      DateCase{"TheDay", "UPDATE PARMS_CL SET dataupdate = '2003-12-04'", false},
                      DateCase{"Later", "UPDATE PARMS_CL SET dataupdate = '2014-01-01'", false},
                      DateCase{"Null", "UPDATE PARMS_CL SET dataupdate = NULL", false},
                      DateCase{"NoRow", "DELETE FROM PARMS_CL", true},
                      DateCase{"NotADate", "UPDATE PARMS_CL SET dataupdate = 'soon'", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ActivateTest, ADataDateThatCannotBeReadIsThatFailureSaidOnceARun)
{
    db().Execute("ALTER TABLE PARMS_CL RENAME TO PARMS_OLD");
    seam.answerMsgBox(vbOK);
    main->Form_Activate();
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_NE(seam.messages()[0], kUpdateMessage);
    EXPECT_TRUE(seam.messages()[0].contains("parms_cl", Qt::CaseInsensitive)) << qPrintable(seam.messages()[0]);
    main->Form_Activate();
    EXPECT_EQ(seam.messages().size(), 1);
    db().Execute("ALTER TABLE PARMS_OLD RENAME TO PARMS_CL");
}

}  // namespace
