#include "MainWindowTest.h"

#include "db/feequery.h"
#include "db/sessions.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"

namespace {

// The started program on the sample data with two sessions of different localities: "Sample" in Manhattan
// (current) and "Coast" in Los Angeles, the grid on 99213.
class SessionSwitchTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        first = withFirstSession();
        dao::Database d = db();
        d.Execute("UPDATE SESSIONS SET CURUSEADJ = -1");
        dao::Recordset la = d.OpenRecordset(
            "SELECT CARRIER, LOCCODE, WORK, PRACT, MALP FROM LOCATION WHERE STATE = 'CALIFORNIA' AND "
            "\"DESC\" = 'LOS ANGELES'");
        ASSERT_FALSE(la.EOF());
        laCarrier = la["CARRIER"].Value().toString();
        laLoc = la["LOCCODE"].Value().toString();
        db::NewSession coast;
        coast.name = "Coast";
        coast.number = 2;
        coast.values = {{"CURWORKGPCI", la["WORK"].Value()}, {"CURPRACGPCI", la["PRACT"].Value()},
                        {"CURMALPGPCI", la["MALP"].Value()}, {"GEOLOC", "CALIFORNIA - LOS ANGELES"},
                        {"CURUSEADJ", -1}, {"S2NAME", "Contract"}};
        la.Close();
        db::createSession(d, coast);
        d.Execute("UPDATE PARMS_CL SET SESCOUNT = 3");
        d.Execute("UPDATE DATA0002 SET S2 = 77.25 WHERE CODEMOD = '99213'");

        main = &start();
        ASSERT_FALSE(programEnded());
        goTo("99213");
        settleStarted();
    }

    void goTo(const QString& codemod) { goToCode(*main, codemod); }
    void choose(const QString& text)
    {
        const int i = main->Combo1->findText(text);
        ASSERT_GE(i, 0) << qPrintable(text);
        platform::setListIndex(main->Combo1, i);
    }
    double fee() { return main->Data1.Recordset().Fields(db::feecol::NPart).Value().toDouble(); }
    QString code() { return main->Data1.Recordset()["CODEMOD"].Value().toString(); }
    QString sessionRow() { return main->Data3.Recordset()["Session"].Value().toString(); }

    testsupport::FirstSession first;
    QString laCarrier, laLoc;
    frmMain* main = nullptr;
};

TEST_F(SessionSwitchTest, SwitchingChangesTheAmountsOfTheSameCodeAndTheCarrierAndLocality)
{
    const double manhattan = fee();
    EXPECT_EQ(main->mnuFileExport(0)->text(), "KELVA Session: Sample");

    choose("Coast");
    EXPECT_EQ(parms("CURSES").toString(), "Coast");
    EXPECT_EQ(sessionRow(), "Coast");
    EXPECT_EQ(g().CurSesName, "Coast");
    EXPECT_EQ(g().CurSesTab, "DATA0002");
    EXPECT_EQ(main->Combo1->currentText(), "Coast");
    EXPECT_EQ(main->mnuFileExport(0)->text(), "KELVA Session: Coast");
    EXPECT_EQ(parms("CARRIER").toString(), laCarrier);
    EXPECT_EQ(parms("Loc").toString(), laLoc);
    EXPECT_EQ(main->Data1.Recordset().source().contains("DATA0002"), true);
    goTo("99213");
    const double losAngeles = fee();
    EXPECT_GT(manhattan, 0);
    EXPECT_GT(losAngeles, 0);
    EXPECT_NE(losAngeles, manhattan);
    EXPECT_EQ(main->plimlist->itemText(7), "Contract");

    choose("Sample");
    EXPECT_EQ(parms("CURSES").toString(), "Sample");
    EXPECT_EQ(parms("CARRIER").toString(), first.carrier);
    EXPECT_EQ(parms("Loc").toString(), first.loc);
    goTo("99213");
    EXPECT_DOUBLE_EQ(fee(), manhattan);
    EXPECT_EQ(platform::busyCount(), 0);
    EXPECT_TRUE(seam.messages().isEmpty()) << qPrintable(seam.messages().join(" | "));
}

TEST_F(SessionSwitchTest, ASessionShowingASchedulePutsItsKindAndFeeOnThePanel)
{
    db().Execute("UPDATE SESSIONS SET PLIMCOL = 45 WHERE Session = 'Coast'");
    main->Data3.Refresh();
    main->Data3.Recordset().FindFirst("Session = 'Sample'");
    choose("Coast");
    EXPECT_EQ(main->plimlist->currentIndex(), 7);
    EXPECT_EQ(main->plimlist->currentText(), "Contract");
    EXPECT_EQ(main->Text1(1)->text(), frmPlimView::FeeText(main->Data1.Recordset().Fields(45).Value()));
    goTo("99213");
    EXPECT_EQ(main->Data1.Recordset().Fields(45).Value().toDouble(), 77.25);
}

TEST_F(SessionSwitchTest, ChoosingTheCurrentSessionQueriesNothingAndSetsTheLocalityAgain)
{
    auto& parmsRow = main->Data2.Recordset();
    parmsRow.Edit();
    parmsRow["CARRIER"] = dao::Variant("99999");
    parmsRow["Loc"] = dao::Variant("77");
    parmsRow.Update();
    main->mnuFileExport(0)->setText("Export Session");
    // A value changed behind the grid's back shows only after a re-query.
    const dao::Variant s1 = main->Data1.Recordset().Fields(db::feecol::S1).Value();
    db().Execute("UPDATE DATA0001 SET S1 = 4321 WHERE CODEMOD = '99213'");

    choose("Sample");
    EXPECT_EQ(main->mnuFileExport(0)->text(), "KELVA Session: Sample");
    EXPECT_EQ(parms("CARRIER").toString(), first.carrier);
    EXPECT_EQ(parms("Loc").toString(), first.loc);
    EXPECT_EQ(code(), "99213");
    EXPECT_EQ(main->Data1.Recordset().Fields(db::feecol::S1).Value(), s1) << "no re-query of the grid";
}

TEST_F(SessionSwitchTest, MakeNewSessionOpensItsWindowAndGoesBackToTheCurrentSession)
{
    choose("< - Make New Session - >");
    EXPECT_EQ(main->Combo1->currentText(), "Sample");
    EXPECT_EQ(parms("CURSES").toString(), "Sample");
    EXPECT_EQ(sessionRow(), "Sample");
    EXPECT_EQ(main->mnuFileExport(0)->text(), "KELVA Session: Sample");
    // The new-session window opens beside the main window.
    EXPECT_EQ(platform::forms().loaded().size(), 2u);
    EXPECT_NE(platform::forms().loadedByName("frmNewSession"), nullptr);
    EXPECT_EQ(platform::busyCount(), 0);
}

TEST_F(SessionSwitchTest, ANameWithoutARowReadsTheListAgainAndStaysOnTheCurrentSession)
{
    platform::addItem(main->Combo1, "Ghost");
    choose("Ghost");
    EXPECT_EQ(parms("CURSES").toString(), "Sample");
    EXPECT_EQ(sessionRow(), "Sample");
    EXPECT_EQ(main->Combo1->currentText(), "Sample");
    EXPECT_EQ(main->Combo1->findText("Ghost"), -1);
    EXPECT_GE(main->Combo1->findText("Coast"), 0);
    EXPECT_EQ(g().CurSesTab, "DATA0001");
    EXPECT_EQ(main->mnuFileExport(0)->text(), "KELVA Session: Sample");
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(SessionSwitchTest, ASessionThatCannotBeShownIsReportedAndTheCurrentOneStays)
{
    db().Execute("DROP TABLE DATA0002");
    const double manhattan = fee();
    seam.answerMsgBox(vbOK);
    choose("Coast");
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(seam.messages()[0].contains("DATA0002")) << qPrintable(seam.messages()[0]);
    EXPECT_FALSE(programEnded());
    EXPECT_EQ(parms("CURSES").toString(), "Sample");
    EXPECT_EQ(sessionRow(), "Sample");
    EXPECT_EQ(g().CurSesTab, "DATA0001");
    EXPECT_EQ(main->Combo1->currentText(), "Sample");
    goTo("99213");
    EXPECT_DOUBLE_EQ(fee(), manhattan);
    EXPECT_EQ(platform::busyCount(), 0);
}

struct LocalityCase {
    const char* name;
    const char* geoloc;
    double workDelta;  // added to the session's work GPCI
    bool found;
};

class LocalityLookupTest : public SessionSwitchTest, public ::testing::WithParamInterface<LocalityCase> {};

TEST_P(LocalityLookupTest, TheSessionsOwnLocalityOrNone)
{
    const LocalityCase& c = GetParam();
    db().Execute("UPDATE SESSIONS SET GEOLOC = ?, CURWORKGPCI = CURWORKGPCI + ? WHERE Session = 'Coast'",
                 {QString::fromUtf8(c.geoloc), c.workDelta});
    main->Data3.Refresh();
    main->Data3.Recordset().FindFirst("Session = 'Sample'");
    choose("Coast");
    if (c.found) {
        EXPECT_EQ(parms("CARRIER").toString(), laCarrier);
        EXPECT_EQ(parms("Loc").toString(), laLoc);
    } else {
        EXPECT_TRUE(parms("CARRIER").isNull());
        EXPECT_TRUE(parms("Loc").isNull());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Localities, LocalityLookupTest,
    ::testing::Values(LocalityCase{"StateAndDescription", "CALIFORNIA - LOS ANGELES", 0, true},
                      LocalityCase{"DescriptionWithoutDash", "LOS ANGELES", 0, true},
                      LocalityCase{"WithinThreeDecimals", "CALIFORNIA - LOS ANGELES", 0.0002, true},
                      LocalityCase{"GpciTypedByHand", "CALIFORNIA - LOS ANGELES", 0.01, false},
                      LocalityCase{"QuoteInDescription", "CALIFORNIA - LOS \"ANGELES", 0, false},
                      LocalityCase{"NoLocality", "", 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionSwitchTest, SwitchingWhileTaggedCodesAreShownShowsTheNewSessionsTaggedCodes)
{
    db().Execute("UPDATE DATA0002 SET Tag = '+' WHERE CODEMOD IN ('71010', '99213')");
    db().Execute("UPDATE DATA0001 SET Tag = '+' WHERE CODEMOD = '99214'");
    main->ViewTagRecs();
    main->setViewTaggedCaption("View All");
    ASSERT_EQ(main->Data1.Recordset().RecordCount(), 1);
    choose("Coast");
    EXPECT_EQ(main->Data1.Recordset().RecordCount(), 2);
    EXPECT_EQ(main->plimscroll->Max(), 1);
}

}  // namespace
