#include "MainWindowTest.h"

#include "db/feequery.h"
#include "db/schema.h"
#include "db/sessions.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"

#include <QSignalBlocker>
#include <memory>

namespace {

using testsupport::FixtureDb;

// A main window that is not started: its data controls sit on a small database with a first session
// "Sample" (GPCIs 1, conversion factor 37.3374) owning DATA0001, and a second session "Other".
class FeeGridTest : public SeamTest {
protected:
    void SetUp() override
    {
        SeamTest::SetUp();
        g() = Globals{};
        dao::Database& d = db();
        g().MainDb = d;  // the grid's layout reads the session's columns through it
        db::insertRow(d, "LOCATION", {{"STATE", "NEW YORK"}, {"ST", "NY"}, {"DESC", "MANHATTAN"},
                                      {"CARRIER", "13202"}, {"LOCCODE", "01"}, {"WORK", 1.0},
                                      {"PRACT", 1.0}, {"MALP", 1.0}});
        session = testsupport::makeFirstSession(d);
        d.Execute("UPDATE SESSIONS SET CURCONVF = 37.3374, CURCONVA = 0, S1NAME = 'Medicaid', PLIMCOL = 44, "
                  "CURUSEADJ = -1 WHERE Session = 'Sample'");
        d.Execute("INSERT INTO SESSIONS (Session, SESTAB, CURCONVF, CURCONVA, CURUSEADJ, CURWORKGPCI, CURPRACGPCI, "
                  "CURMALPGPCI, S1NAME, S2NAME, S3NAME, S4NAME, S5NAME, GEOLOC, PLIMCOL) VALUES ('Other', "
                  "'DATA0002', 36, 0.05, 0, 1, 0.967, 1.2, 'A', 'B', 'C', 'D', 'E', 'CALIFORNIA - LOS ANGELES', 19)");
        db::createSessionCodeTable(d, "DATA0002", "DATA0000");
        addCode("10000", 1.5, 1.2, 0.8, 0.1);
        addCode("10003", 0, 0.125, 0.625, 0);
        addCode("0999926", 2, 1, 1, 0);
        addCode("9921326", 1, 1, 1, 0.1);

        main = std::make_unique<frmMain>();
        for (platform::DataControl* c : {&main->Data1, &main->Data2, &main->Data3})
            c->setDatabase(d);
        main->Data2.Refresh();
        main->Data3.Refresh();
        platform::fillList(main->Combo1, {"< - Make New Session - >", "Sample", "Other"});
        for (const char* view : {"KELVA OPPS", "DMEPOS"})
            platform::addItem(main->cmboCurrentView, view);
        showView("KELVA");
        onSession("Sample");
    }
    void TearDown() override
    {
        main.reset();
        SeamTest::TearDown();
        g() = Globals{};
    }

    dao::Database& db() { return fixture.db(); }
    void addCode(const QString& codemod, double workz, double nf, double f, double mrvu, const dao::Variant& tag = {},
                 const QString& table = "DATA0001")
    {
        db::insertRow(db(), table, {{"Tag", tag}, {"CODEMOD", codemod}, {"CPT", codemod.left(5)},
                                    {"MOD", codemod.mid(5)}, {"WORKZ", workz}, {"NF98WORK", nf}, {"F98WORK", f},
                                    {"MRVU", mrvu}, {"calcflag", 1}, {"S1", 12.5}});
    }
    // Makes a session current in the parameter row and puts Data3 on its row, as the start-up and the
    // session switch do.
    void onSession(const QString& name)
    {
        auto& parms = main->Data2.Recordset();
        parms.MoveFirst();
        parms.Edit();
        parms["CURSES"] = dao::Variant(name);
        parms.Update();
        main->Data3.Recordset().FindFirst("Session = ?", {name});
        ASSERT_FALSE(main->Data3.Recordset().NoMatch());
    }
    void showView(const QString& text)
    {
        const QSignalBlocker block(main->cmboCurrentView);
        main->cmboCurrentView->setCurrentIndex(main->cmboCurrentView->findText(text));
    }
    dao::Recordset& rows() { return main->Data1.Recordset(); }
    QStringList codes()
    {
        QStringList out;
        for (int r = 0; r < rows().rowCount(); ++r)
            out << rows().cell(r, db::feecol::CodeMod).toString();
        return out;
    }
    QString currentCode() { return rows().Fields(db::feecol::CodeMod).Value().toString(); }
    void tag(const QStringList& codes)
    {
        db().Execute("UPDATE DATA0001 SET Tag = NULL");
        for (const QString& c : codes)
            db().Execute("UPDATE DATA0001 SET Tag = '+' WHERE CODEMOD = ?", {c});
    }

    FixtureDb fixture;
    testsupport::FirstSession session;
    std::unique_ptr<frmMain> main;
};

// ---- Session values.

TEST_F(FeeGridTest, LoadFillsTheValuesThePanelAndTheFeeList)
{
    onSession("Other");
    main->LoadSessionSettings();
    EXPECT_EQ(g().CurSesName, "Other");
    EXPECT_EQ(g().CurSesTab, "DATA0002");
    EXPECT_EQ(g().BaseConvFactor, 36);
    EXPECT_EQ(g().ConvFactorAdj, 0.05);
    EXPECT_EQ(g().ConvFactor, (0.05 + 1) * 36);
    EXPECT_EQ(g().UseWorkAdj, 0);
    EXPECT_EQ(g().PracGpci, 0.967);
    EXPECT_EQ(g().WorkAdjuster, 1.0);
    EXPECT_EQ(main->Combo1->currentText(), "Other");
    EXPECT_EQ(main->kelvacf->text(), "36");
    EXPECT_EQ(main->Text2(0)->text(), "1.000");
    EXPECT_EQ(main->Text2(1)->text(), "0.967");
    EXPECT_EQ(main->Text2(2)->text(), "1.200");
    EXPECT_EQ(main->Label4->text(), "CALIFORNIA - LOS ANGELES");
    EXPECT_EQ(platform::checkValue(main->Check1), 0);
    ASSERT_EQ(main->plimlist->count(), 11);
    EXPECT_EQ(main->plimlist->itemText(0), "Non Facility Participating Fee");
    EXPECT_EQ(main->plimlist->itemText(5), "Facility Limiting Fee");
    EXPECT_EQ(main->plimlist->itemText(6), "A");
    EXPECT_EQ(main->plimlist->itemText(10), "E");
    EXPECT_EQ(main->plimlist->currentIndex(), 0);

    onSession("Sample");
    main->LoadSessionSettings();
    EXPECT_EQ(g().ConvFactor, 37.3374);
    EXPECT_EQ(main->kelvacf->text(), "37.3374");
    EXPECT_EQ(main->Label4->text(), session.geoloc);
    EXPECT_EQ(platform::checkValue(main->Check1), 1);
    EXPECT_EQ(g().UseWorkAdj, -1);
    EXPECT_EQ(main->plimlist->currentText(), "Medicaid");
}

struct PlimcolCase {
    dao::Variant plimcol;
    const char* s1name;
    int index;
};

TEST_F(FeeGridTest, FeeKindIsSelectedByPositionWithoutWritingBack)
{
    const PlimcolCase cases[] = {
        {19, "Medicaid", 0}, {24, "Medicaid", 5}, {44, "Medicaid", 6}, {48, "Medicaid", 10},
        {25, "Medicaid", -1}, {dao::Variant(), "Medicaid", -1},
        // A schedule named like a Medicare amount is still the schedule's entry.
        {44, "Facility Limiting Fee", 6},  // S1NAME holds 25 characters
    };
    for (const PlimcolCase& c : cases) {
        SCOPED_TRACE(qPrintable(c.plimcol.toString() + " " + c.s1name));
        db().Execute("UPDATE SESSIONS SET PLIMCOL = ?, S1NAME = ? WHERE Session = 'Sample'", {c.plimcol, c.s1name});
        main->Data3.Refresh();
        onSession("Sample");
        main->LoadSessionSettings();
        EXPECT_EQ(main->plimlist->currentIndex(), c.index);
        EXPECT_EQ(db().scalar("SELECT PLIMCOL FROM SESSIONS WHERE Session = 'Sample'"), c.plimcol);
    }
}

TEST_F(FeeGridTest, RowThatCannotBeReadWholeLeavesThePreviousSession)
{
    main->LoadSessionSettings();
    const Globals before = g();
    for (const char* column : {"CURCONVF", "CURUSEADJ", "CURWORKGPCI", "CURPRACGPCI", "CURMALPGPCI"}) {
        SCOPED_TRACE(column);
        db().Execute(QString("UPDATE SESSIONS SET %1 = NULL WHERE Session = 'Other'").arg(column));
        main->Data3.Refresh();
        onSession("Other");
        try {
            main->LoadSessionSettings();
            ADD_FAILURE() << "no error";
        } catch (const dao::Error& e) {
            EXPECT_EQ(e.number, 94);
            EXPECT_EQ(e.description, "Invalid use of Null");
        }
        EXPECT_EQ(g().CurSesName, before.CurSesName);
        EXPECT_EQ(g().CurSesTab, before.CurSesTab);
        EXPECT_EQ(g().ConvFactor, before.ConvFactor);
        EXPECT_EQ(g().WorkGpci, before.WorkGpci);
        EXPECT_EQ(g().MalpGpci, before.MalpGpci);
        EXPECT_EQ(g().UseWorkAdj, before.UseWorkAdj);
        EXPECT_EQ(main->Combo1->currentText(), "Sample");
        EXPECT_EQ(main->kelvacf->text(), "37.3374");
        EXPECT_EQ(main->Label4->text(), session.geoloc);
        EXPECT_EQ(main->plimlist->itemText(6), "Medicaid");
        db().Execute(QString("UPDATE SESSIONS SET %1 = (SELECT %1 FROM SESSIONS WHERE Session = 'Default') "
                             "WHERE Session = 'Other'").arg(column));
    }
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(FeeGridTest, UnnamedScheduleKeepsItsColumnCaption)
{
    main->LoadSessionSettings();
    main->ViewAllRecs();
    main->dbg->Columns(db::feecol::S1 + 2).setCaption("Cash");
    db().Execute("UPDATE SESSIONS SET S3NAME = NULL, GEOLOC = NULL WHERE Session = 'Sample'");
    main->Data3.Refresh();
    onSession("Sample");
    main->LoadSessionSettings();
    EXPECT_EQ(main->plimlist->itemText(8), "Cash");
    EXPECT_EQ(main->plimlist->itemText(9), "S4");
    EXPECT_EQ(main->Label4->text(), session.geoloc);  // a Null locality keeps the caption
}

TEST_F(FeeGridTest, MirroringTheSwitchWhileLoadingStoresAndQueriesNothing)
{
    // Sample's switch is on, the box is clear: loading ticks it without a click.
    ASSERT_EQ(platform::checkValue(main->Check1), 0);
    main->LoadSessionSettings();
    EXPECT_EQ(platform::checkValue(main->Check1), 1);
    EXPECT_FALSE(main->Data1.hasRecordset());
    EXPECT_EQ(platform::busyCount(), 0);
}

TEST_F(FeeGridTest, ClickingTheSwitchStoresItAndQueriesTheListShown)
{
    main->LoadSessionSettings();
    main->ViewAllRecs();
    platform::setCheckValue(main->Check1, 0);  // as the settings window copies its box
    EXPECT_EQ(db().scalar("SELECT CURUSEADJ FROM SESSIONS WHERE Session = 'Sample'").toLongLong(), 0);
    EXPECT_FALSE(main->Data1.RecordSource().contains("TAG ='+'"));
    EXPECT_EQ(rows().RecordCount(), 4);
    EXPECT_EQ(platform::busyCount(), 0);
    // The switch changes no amount.
    rows().FindFirst("CODEMOD = ?", {QString("10000")});
    EXPECT_NEAR(rows().Fields(db::feecol::NPart).Value().toDouble(), 104.54, 1e-9);

    tag({"10000", "10003"});
    main->setViewTaggedCaption("View All");
    platform::setCheckValue(main->Check1, 1);
    EXPECT_EQ(db().scalar("SELECT CURUSEADJ FROM SESSIONS WHERE Session = 'Sample'").toLongLong(), -1);
    EXPECT_TRUE(main->Data1.RecordSource().contains("TAG ='+'"));
    EXPECT_EQ(codes(), QStringList({"10000", "10003"}));
    EXPECT_EQ(platform::busyCount(), 0);
}

// ---- The all-codes list.

TEST_F(FeeGridTest, AllCodesWithTheirAmountsInCodeOrder)
{
    main->LoadSessionSettings();
    main->ViewAllRecs();
    EXPECT_EQ(main->dbg->ColumnCount(), db::feecol::Count);
    EXPECT_EQ(codes(), QStringList({"0999926", "10000", "10003", "9921326"}));
    rows().FindFirst("CODEMOD = ?", {QString("10000")});
    const double expected[6] = {104.54, 99.31, 114.21, 89.61, 85.13, 97.90};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(rows().Fields(db::feecol::NPart + i).Value().toDouble(), expected[i], 1e-9) << i;
    EXPECT_EQ(main->plimscroll->Max(), 3);
    EXPECT_EQ(main->dbgscroll->Max(), 3);
    EXPECT_EQ(main->plimscroll->LargeChange(), 1);
    EXPECT_EQ(main->dbg->MarqueeStyle(), 3);
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(FeeGridTest, FamilyViewsAndPaddedTableNamesQueryTheSessionTable)
{
    main->LoadSessionSettings();
    showView("DMEPOS");
    g().CurSesTab = "  DATA0001  ";
    main->ViewAllRecs();
    EXPECT_EQ(rows().RecordCount(), 4);
    EXPECT_TRUE(main->Data1.RecordSource().contains("FROM \"DATA0001\""));
}

TEST_F(FeeGridTest, OppsViewShowsTheCarrierAndLocalityOfTheParameterRow)
{
    main->LoadSessionSettings();
    auto opps = [&](const QString& codemod, const QString& carrier, const QString& loc, double nft) {
        db::insertRow(db(), "DATAOPPSVIEW", {{"CODEMOD", codemod}, {"CPT", codemod.left(5)}, {"WORKZ", 1.5},
                                             {"NF98WORK", 1.2}, {"F98WORK", 0.8}, {"MRVU", 0.1}, {"calcflag", 1},
                                             {"NFTTOTAL", nft}, {"FTTOTAL", nft - 10}, {"carrier", carrier},
                                             {"locality", loc}});
    };
    opps("10000", session.carrier, session.loc, 90);
    opps("20000", session.carrier, session.loc, 50);
    opps("10000", session.carrier, "99", 70);
    showView("KELVA OPPS");
    main->ViewAllRecs();
    EXPECT_EQ(codes(), QStringList({"10000", "20000"}));
    rows().MoveFirst();
    EXPECT_EQ(rows().Fields(db::feecol::NPart).Value().toDouble(), 90);
    EXPECT_EQ(rows().Fields(db::feecol::FPart).Value().toDouble(), 80);
    EXPECT_NEAR(rows().Fields(db::feecol::NNPart).Value().toDouble(), 99.31, 1e-9);
    EXPECT_NEAR(rows().Fields(db::feecol::NLC).Value().toDouble(), 114.21, 1e-9);
    EXPECT_EQ(main->dbgscroll->Max(), 1);
}

TEST_F(FeeGridTest, GridReturnsToTheCodeInTheCodeBox)
{
    main->LoadSessionSettings();
    const struct {
        const char* box;
        const char* row;
    } cases[] = {
        {"10003", "10003"},
        {"  9921326 ", "9921326"},
        {"99213-26", "9921326"},
        {"99213 26", "9921326"},
        {"O'Neil", "0999926"},  // not a code: the first row, no message
        {"", "0999926"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        {
            // The box as a program step left it, without its own lookup.
            const QSignalBlocker quiet(main->Text1(0));
            main->Text1(0)->setText(c.box);
        }
        main->ViewAllRecs();
        EXPECT_EQ(currentCode(), c.row);
    }
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(FeeGridTest, EmptyListIsAnEmptyGridWithoutError)
{
    main->LoadSessionSettings();
    platform::setText(main->Text1(0), "10000");
    main->ViewAllRecs();
    ASSERT_EQ(main->dbgscroll->Max(), 3);
    platform::setText(main->Text1(1), "$104.54");
    db().Execute("DELETE FROM DATA0001");
    main->ViewAllRecs();
    EXPECT_EQ(rows().RecordCount(), 0);
    EXPECT_EQ(main->dbgscroll->Max(), 0);
    EXPECT_EQ(main->plimscroll->Max(), 0);
    EXPECT_EQ(main->Text1(0)->text(), "");
    EXPECT_EQ(main->Text1(1)->text(), "");
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(FeeGridTest, FailingAllCodesQueryReachesTheCaller)
{
    main->LoadSessionSettings();
    g().CurSesTab = "DATA0099";
    EXPECT_THROW(main->ViewAllRecs(), dao::Error);
}

// ---- The tagged list.

TEST_F(FeeGridTest, TaggedListSetsTheBarsOrSaysThereIsNone)
{
    for (int i = 0; i < 10; ++i)
        addCode(QString("3%1").arg(i, 4, 10, QChar('0')), 1, 1, 1, 0);
    main->LoadSessionSettings();
    const struct {
        QStringList tagged;
        bool message;
        int max, plimLarge;
    } cases[] = {
        {{}, true, 13, 1},  // the bars keep the all-codes ranges
        {{"10003"}, false, 0, 1},
        {{"10000", "10003", "0999926", "9921326", "30000", "30001", "30002", "30003", "30004", "30005", "30006",
          "30007"},
         false, 11, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.tagged.join(",")));
        main->ViewAllRecs();
        g().NoTaggedCodes = 0;
        tag(c.tagged);
        if (c.message)
            seam.expectMsgBox("There are no tagged codes.", vbOKOnly);
        main->ViewTagRecs();
        seam.verifyNothingLeft();
        EXPECT_EQ(g().NoTaggedCodes, c.message ? -1 : 0);
        EXPECT_EQ(rows().RecordCount(), c.tagged.size());
        EXPECT_EQ(main->plimscroll->Max(), c.max);
        EXPECT_EQ(main->dbgscroll->Max(), c.max);
        EXPECT_EQ(main->plimscroll->LargeChange(), c.plimLarge);
    }
    EXPECT_EQ(seam.messages().size(), 1);
}

TEST_F(FeeGridTest, TaggedListReturnsToTheCodeWhenItIsTagged)
{
    main->LoadSessionSettings();
    tag({"10000", "10003", "9921326"});
    platform::setText(main->Text1(0), "10003");
    main->ViewTagRecs();
    EXPECT_EQ(currentCode(), "10003");
    platform::setText(main->Text1(0), "0999926");
    main->ViewTagRecs();
    EXPECT_EQ(currentCode(), "10000");
}

TEST_F(FeeGridTest, TaggedListShowsARealErrorAsItself)
{
    main->LoadSessionSettings();
    g().CurSesTab = "DATA0099";
    seam.answerMsgBox(vbOK);
    main->ViewTagRecs();
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_NE(seam.messages()[0], "There are no tagged codes.");
    EXPECT_TRUE(seam.messages()[0].contains("DATA0099")) << qPrintable(seam.messages()[0]);
    EXPECT_EQ(g().NoTaggedCodes, 0);
}

// ---- The quick view follows the lists.

TEST_F(FeeGridTest, OpenQuickViewGetsTheSameFeeKindsAndRange)
{
    frmPlimView& view = load<frmPlimView>();
    g().PlimViewActive = -1;
    main->LoadSessionSettings();
    ASSERT_EQ(view.plimlist->count(), 11);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(view.plimlist->itemText(i), main->plimlist->itemText(i));
    EXPECT_EQ(view.plimlist->currentIndex(), 6);
    main->ViewAllRecs();
    EXPECT_EQ(view.plimscroll->Max(), 3);

    g().PlimViewActive = 0;
    db().Execute("UPDATE SESSIONS SET S1NAME = 'Changed' WHERE Session = 'Sample'");
    main->Data3.Refresh();
    onSession("Sample");
    main->LoadSessionSettings();
    EXPECT_EQ(main->plimlist->itemText(6), "Changed");
    EXPECT_EQ(view.plimlist->itemText(6), "Medicaid");
}

// ---- The started program on the sample data.

class FeeGridStartupTest : public MainWindowTest {};

TEST_F(FeeGridStartupTest, StartedWindowShowsEverySampleCodeWithItsAmounts)
{
    withFirstSession();
    dao::Database d = db();
    d.Execute("UPDATE SESSIONS SET CURUSEADJ = -1");
    const qint64 count = d.scalar("SELECT COUNT(*) FROM DATA0001").toLongLong();
    frmMain& main = start();
    ASSERT_FALSE(programEnded());
    auto& rs = main.Data1.Recordset();
    EXPECT_EQ(rs.RecordCount(), count);
    EXPECT_EQ(main.dbgscroll->Max(), count - 1);
    db::FeeFactors f;
    f.workGpci = g().WorkGpci;
    f.pracGpci = g().PracGpci;
    f.malpGpci = g().MalpGpci;
    f.convFactor = g().ConvFactor;
    int checked = 0;
    for (int r = 0; r < rs.rowCount(); r += 997) {
        const QString codemod = rs.cell(r, db::feecol::CodeMod).toString();
        dao::Recordset src = d.OpenRecordset("SELECT WORKZ, NF98WORK, F98WORK, MRVU, calcflag FROM DATA0001 "
                                             "WHERE CODEMOD = ?", {codemod});
        const db::FeeAmounts a = db::feeAmounts(f, src["WORKZ"].Value().toDouble(), src["NF98WORK"].Value().toDouble(),
                                                src["MRVU"].Value().toDouble(), src["calcflag"].Value().toDouble());
        EXPECT_NEAR(rs.cell(r, db::feecol::NPart).toDouble(), a.participating, 1e-9) << qPrintable(codemod);
        EXPECT_NEAR(rs.cell(r, db::feecol::NNPart).toDouble(), a.nonParticipating, 1e-9) << qPrintable(codemod);
        EXPECT_NEAR(rs.cell(r, db::feecol::NLC).toDouble(), a.limiting, 1e-9) << qPrintable(codemod);
        ++checked;
    }
    EXPECT_GT(checked, 10);
    EXPECT_EQ(main.plimlist->count(), 11);
}

}  // namespace
