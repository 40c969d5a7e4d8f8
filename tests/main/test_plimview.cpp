#include "MainWindowTest.h"

#include "db/feequery.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"

#include <QSignalBlocker>

namespace {

const QString kMinimizeMessage = QStringLiteral(
    "The main KELVA Morvex display will now be minimized.  To reopen it click on the active KELVA Morvex item on "
    "your task bar.");

// The started program on the sample data (which holds 71010, 7101026 and 71010TC), the grid on 99213; the
// quick view opened as the user opens it.
class PlimViewTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        main = &startOnFirstSession();
        ASSERT_FALSE(programEnded());
        ASSERT_TRUE(seam.messages().isEmpty()) << qPrintable(seam.messages().join(" | "));
    }

    void mainTo(const QString& codemod)
    {
        main->Data1.Recordset().FindFirst("CODEMOD = ?", {codemod});
        ASSERT_FALSE(main->Data1.Recordset().NoMatch()) << qPrintable(codemod);
    }
    frmPlimView& open()
    {
        seam.expectMsgBox(kMinimizeMessage, vbOKOnly);
        main->Command2_Click();
        return *platform::forms().loadedOrNull<frmPlimView>();
    }
    dao::Recordset& mainRows() { return main->Data1.Recordset(); }
    QString mainCode() { return mainRows()["CODEMOD"].Value().toString(); }
    QString viewCode(frmPlimView& v) { return v.Data1.Recordset()["CODEMOD"].Value().toString(); }
    // The user types into the code box and presses Enter.
    void type(frmPlimView& v, const QString& text)
    {
        platform::SetFocus(v.Text1(0));
        platform::setText(v.Text1(0), text);
        int key = 13;
        v.Text1_KeyDown(0, key, 0);
    }
    QString feeOf(dao::Recordset& rs, int col) { return frmPlimView::FeeText(rs.Fields(col).Value()); }

    frmMain* main = nullptr;
};

TEST_F(PlimViewTest, OpeningShowsTheCurrentCodeAndFeeAndStepsAside)
{
    db().Execute("UPDATE SESSIONS SET PLIMCOL = 21 WHERE Session = 'Sample'");
    main->Data3.Refresh();
    main->Data3.Recordset().FindFirst("Session = 'Sample'");
    mainTo("99213");
    const qint64 position = mainRows().AbsolutePosition();

    frmPlimView& v = open();
    EXPECT_EQ(g().PlimViewActive, -1);
    EXPECT_EQ(g().SkipRecolumnize, -1);
    EXPECT_EQ(main->WindowState(), vbMinimized);
    EXPECT_TRUE(v.isVisible());
    EXPECT_TRUE(v.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(v.Caption(), "KELVA Morvex Window");
    EXPECT_EQ(v.Text1(0)->text(), "99213 ");
    EXPECT_EQ(v.Text1(1)->text(), feeOf(mainRows(), db::feecol::NLC));
    EXPECT_NE(v.Text1(1)->text(), "$");
    // The list names the kind the fee box shows.
    EXPECT_EQ(v.plimlist->currentText(), "Non Facility Limiting Fee");
    EXPECT_EQ(v.plimlist->count(), 11);
    EXPECT_EQ(v.plimscroll->Max(), mainRows().RecordCount() - 1);
    EXPECT_EQ(v.plimscroll->Value(), position);
    EXPECT_EQ(v.Data1.Recordset().AbsolutePosition(), position);
    EXPECT_TRUE(v.Command2->isVisibleTo(&v));
    EXPECT_FALSE(v.Command1->isVisibleTo(&v));

    // Restoring the main window closes it.
    main->setWindowState(vbNormal);
    EXPECT_FALSE(platform::forms().isLoaded<frmPlimView>());
    EXPECT_EQ(g().PlimViewActive, 0);
    EXPECT_EQ(g().SkipRecolumnize, 0);
}

TEST_F(PlimViewTest, StepsWithTheMainGridAndStopsAtTheLastRow)
{
    mainTo("99213");
    const qint64 position = mainRows().AbsolutePosition();
    frmPlimView& v = open();
    v.plimscroll->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(mainRows().AbsolutePosition(), position + 1);
    EXPECT_EQ(v.Data1.Recordset().AbsolutePosition(), position + 1);
    EXPECT_EQ(viewCode(v), mainCode());
    EXPECT_EQ(v.Text1(0)->text(), frmPlimView::CodeText(mainRows()));

    v.plimscroll->triggerAction(QAbstractSlider::SliderSingleStepSub);
    v.plimscroll->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(mainRows().AbsolutePosition(), position - 1);
    EXPECT_EQ(viewCode(v), mainCode());

    v.plimscroll->triggerAction(QAbstractSlider::SliderToMaximum);
    const qint64 last = mainRows().RecordCount() - 1;
    EXPECT_EQ(mainRows().AbsolutePosition(), last);
    v.plimscroll->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(mainRows().AbsolutePosition(), last);
    EXPECT_EQ(v.Data1.Recordset().AbsolutePosition(), last);
    EXPECT_FALSE(mainRows().EOF());

    // A shorter list after a re-query clamps the bar: the program's change moves no row.
    v.plimscroll->setMax(10);
    EXPECT_EQ(mainRows().AbsolutePosition(), last);
}

struct LookupCase {
    const char* typed;
    const char* found;
};

class PlimLookupTest : public PlimViewTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(PlimLookupTest, FindsTheCodeAndMovesTheMainGridToIt)
{
    mainTo("99213");
    frmPlimView& v = open();
    type(v, QString::fromUtf8(GetParam().typed));
    EXPECT_EQ(viewCode(v), GetParam().found);
    EXPECT_EQ(mainCode(), GetParam().found);
    EXPECT_EQ(v.plimscroll->Value(), v.Data1.Recordset().AbsolutePosition());
    EXPECT_EQ(v.Text1(0)->text(), frmPlimView::CodeText(v.Data1.Recordset()));
    EXPECT_TRUE(v.Command2->isVisibleTo(&v));
    EXPECT_FALSE(v.Command1->isVisibleTo(&v));
    EXPECT_EQ(seam.messages().size(), 1u) << "the opening message only";
}

INSTANTIATE_TEST_SUITE_P(Codes, PlimLookupTest,
                         ::testing::Values(LookupCase{"71010", "71010"}, LookupCase{" 71010 ", "71010"},
                                           LookupCase{"71010 26", "7101026"}, LookupCase{"71010-26", "7101026"},
                                           LookupCase{"7101026", "7101026"}, LookupCase{"71010 TC", "71010TC"},
                                           LookupCase{"99213 ", "99213"}));

TEST_F(PlimViewTest, ACodeNotFoundIsSaidAndTheRowStays)
{
    mainTo("99213");
    frmPlimView& v = open();
    for (const char* typed : {"00000", "71010 99", "O'Brien"}) {
        seam.expectMsgBox("New code not found", vbOKOnly);
        type(v, typed);
        EXPECT_EQ(viewCode(v), "99213") << typed;
        EXPECT_EQ(mainCode(), "99213") << typed;
        EXPECT_EQ(v.Text1(0)->text(), "99213 ") << typed;
        EXPECT_TRUE(v.windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_TRUE(v.Command2->isVisibleTo(&v));
    }
}

TEST_F(PlimViewTest, EscPutsTheSavedRowBackWithoutALookup)
{
    mainTo("7101026");
    frmPlimView& v = open();
    platform::SetFocus(v.Text1(0));
    EXPECT_TRUE(v.Command1->isVisibleTo(&v));
    EXPECT_EQ(v.Text1(0)->text(), "") << "entering the code box empties it";
    platform::setText(v.Text1(0), "9921");
    int key = 27;
    v.Text1_KeyDown(0, key, 0);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(viewCode(v), "7101026");
    EXPECT_EQ(mainCode(), "7101026");
    EXPECT_EQ(v.Text1(0)->text(), "71010 26");
    EXPECT_EQ(seam.messages().size(), 1u) << qPrintable(seam.messages().join(" | "));
    EXPECT_TRUE(v.Command2->isVisibleTo(&v));
}

TEST_F(PlimViewTest, ChoosingAFeeKindStoresItAndShowsItOnBothPanels)
{
    mainTo("99213");
    frmPlimView& v = open();
    platform::SetFocus(v.plimlist);
    platform::setListIndex(v.plimlist, 5);
    EXPECT_EQ(db().scalar("SELECT PLIMCOL FROM SESSIONS WHERE Session = 'Sample'").toLongLong(), 24);
    const QString flc = feeOf(v.Data1.Recordset(), db::feecol::FLC);
    EXPECT_EQ(v.Text1(1)->text(), flc);
    EXPECT_EQ(main->Text1(1)->text(), flc);
    EXPECT_EQ(main->plimlist->currentIndex(), 5);
    EXPECT_EQ(main->Data3.Recordset()["Session"].Value().toString(), "Sample");

    // While the code panel's list has the focus, the code panel is left alone.
    g().PlimListHasFocus = -1;
    platform::setText(main->Text1(1), "as it was");
    platform::setListIndex(v.plimlist, 0);
    EXPECT_EQ(db().scalar("SELECT PLIMCOL FROM SESSIONS WHERE Session = 'Sample'").toLongLong(), 19);
    EXPECT_EQ(main->Text1(1)->text(), "as it was");
    EXPECT_EQ(main->plimlist->currentIndex(), 5);

    // A selection the program makes stores nothing.
    g().PlimListHasFocus = 0;
    platform::SetFocus(v.Text1(1));
    platform::setListIndex(v.plimlist, 3);
    EXPECT_EQ(db().scalar("SELECT PLIMCOL FROM SESSIONS WHERE Session = 'Sample'").toLongLong(), 19);
}

TEST_F(PlimViewTest, TwoSchedulesOfTheSameNameAreStoredByPosition)
{
    db().Execute("UPDATE SESSIONS SET S2NAME = 'Same', S4NAME = 'Same' WHERE Session = 'Sample'");
    main->Data3.Refresh();
    main->Data3.Recordset().FindFirst("Session = 'Sample'");
    main->LoadSessionSettings();
    frmPlimView& v = open();
    platform::SetFocus(v.plimlist);
    platform::setListIndex(v.plimlist, 7);
    EXPECT_EQ(db().scalar("SELECT PLIMCOL FROM SESSIONS WHERE Session = 'Sample'").toLongLong(), 45);
}

TEST_F(PlimViewTest, AnEmptyListShowsADollarAndMovesNothing)
{
    seam.expectMsgBox("There are no tagged codes.", vbOKOnly);
    main->ViewTagRecs();
    ASSERT_EQ(mainRows().RecordCount(), 0);
    frmPlimView& v = open();
    EXPECT_EQ(v.Text1(1)->text(), "$");
    EXPECT_EQ(v.Text1(0)->text(), "");
    v.plimscroll->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    type(v, "99213");
    EXPECT_EQ(v.Text1(1)->text(), "$");
    EXPECT_EQ(v.Text1(0)->text(), "");
    EXPECT_FALSE(programEnded());
}

TEST_F(PlimViewTest, HelpOpensTopic150AndClosingClearsTheFlags)
{
    frmPlimView& v = open();
    v.Command3->click();
    const auto help = seam.calls("Help");
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].flags, 150);
    EXPECT_TRUE(help[0].text.endsWith("morvex.chm"));

    platform::SetFocus(v.Text1(0));
    platform::setText(v.Text1(0), "00000");
    EXPECT_TRUE(platform::forms().Unload(v, vbFormControlMenu));  // closing runs no lookup
    EXPECT_EQ(g().PlimViewActive, 0);
    EXPECT_EQ(g().PlimViewHasFocus, 0);
    EXPECT_EQ(main->WindowState(), vbMinimized);
}

}  // namespace
