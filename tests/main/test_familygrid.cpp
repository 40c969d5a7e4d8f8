#include "MainWindowTest.h"

#include "platform/dao/jetfunctions.h"
#include "platform/forms/controls.h"

#include <QHeaderView>
#include <QTest>

namespace {

enum { Kelva, KelvaOpps, Dmepos, LabFees, JCodes, AscCodes, DrgCodes };

struct GridCase {
    const char* name;
    int view;
    int family;  // the handlers' family number
    platform::DBGrid* frmMain::*grid;
    platform::DataControl frmMain::*data;
    const char* table;
};

void PrintTo(const GridCase& c, std::ostream* os)
{
    *os << c.name;
}

const GridCase kCases[] = {
    {"DMEPOS", Dmepos, 0, &frmMain::DBGrid1, &frmMain::Data5, "DME"},
    {"Lab", LabFees, 1, &frmMain::DBGrid2, &frmMain::Data6, "LAB"},
    {"JCodes", JCodes, 2, &frmMain::DBGrid3, &frmMain::Data7, "JCD"},
    {"ASC", AscCodes, 3, &frmMain::DBGrid4, &frmMain::Data13, "ASC"},
    {"DRG", DrgCodes, 4, &frmMain::DBGrid5, &frmMain::Data9, "DRG"},
};

class FamilyGridTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        withFirstSession();
        db().Execute("UPDATE SESSIONS SET CURUSEADJ = -1");
    }
    void startMain()
    {
        main = &start();
        ASSERT_FALSE(programEnded());
        settleStarted();
    }
    void choose(int view) { platform::setListIndex(main->cmboCurrentView, view); }
    // The current cell moved as a keyboard move does.
    void goTo(platform::DBGrid* grid, int row, int col) { grid->setCurrentIndex(grid->model()->index(row, col)); }
    static QPoint cell(platform::DBGrid* grid, int row, int col)
    {
        return grid->visualRect(grid->model()->index(row, col)).center();
    }
    static void click(platform::DBGrid* grid, int row, int col)
    {
        QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell(grid, row, col));
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell(grid, row, col));
    }
    static QString tag(platform::DBGrid* grid, int row) { return grid->storedValue(row, 0).toString(); }
    static QString flipped(const QString& t) { return t == "+" ? QString() : QString("+"); }
    // Moves a family's grid to the first row of a key.
    void rowOf(platform::DataControl& data, const char* key, const QString& code)
    {
        data.Recordset().FindFirst(QString("%1 = ?").arg(key), {code});
        ASSERT_FALSE(data.Recordset().NoMatch()) << qPrintable(code);
    }

    frmMain* main = nullptr;
};

class FamilyGridEventsTest : public FamilyGridTest, public ::testing::WithParamInterface<GridCase> {
protected:
    platform::DBGrid* grid() { return main->*GetParam().grid; }
    platform::DataControl& data() { return main->*GetParam().data; }
    void enter()
    {
        startMain();
        choose(GetParam().view);
        ASSERT_TRUE(grid()->isVisibleTo(main));
        ASSERT_GT(grid()->model()->rowCount(), 4);
        grid()->horizontalScrollBar()->setValue(0);
    }
};

TEST_P(FamilyGridEventsTest, ClickOnATagCellTogglesOnceAndLeavesColumnOne)
{
    enter();
    const QString before = tag(grid(), 2);
    click(grid(), 2, 0);
    EXPECT_EQ(tag(grid(), 2), flipped(before));
    EXPECT_EQ(grid()->currentRow(), 2);
    EXPECT_EQ(grid()->Col(), 1);
    EXPECT_EQ(main->GridClickPending, 0);
    click(grid(), 2, 0);
    EXPECT_EQ(tag(grid(), 2), before);
    EXPECT_EQ(grid()->Col(), 1);
}

TEST_P(FamilyGridEventsTest, PressThatMovesNoCellThenKeyboardIntoTheTagColumnTogglesNothing)
{
    enter();
    const QString before = tag(grid(), 3);
    goTo(grid(), 3, 1);
    click(grid(), 3, 1);  // the current cell
    EXPECT_EQ(main->GridClickPending, 0);
    QTest::keyClick(grid(), Qt::Key_Left);
    EXPECT_EQ(grid()->Col(), 0);
    EXPECT_EQ(tag(grid(), 3), before);

    // A press on a heading.
    goTo(grid(), 3, 1);
    QHeaderView* header = grid()->horizontalHeader();
    const QPoint heading(header->sectionViewportPosition(2) + 5, header->height() / 2);
    QTest::mousePress(header->viewport(), Qt::LeftButton, Qt::NoModifier, heading);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, Qt::NoModifier, heading);
    QTest::keyClick(grid(), Qt::Key_Left);
    EXPECT_EQ(grid()->Col(), 0);
    EXPECT_EQ(tag(grid(), 3), before);
}

TEST_P(FamilyGridEventsTest, DoubleClickOutsideTheTagColumnTogglesOnceAndOpensNoEditor)
{
    enter();
    const QString before = tag(grid(), 4);
    // As the user's double click arrives: a press and release, then the second press as a double click.
    click(grid(), 4, 1);
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, cell(grid(), 4, 1));
    EXPECT_EQ(tag(grid(), 4), flipped(before));
    EXPECT_FALSE(grid()->isEditing());
    EXPECT_EQ(grid()->currentRow(), 4);
}

TEST_P(FamilyGridEventsTest, TypedKeysChangeNoCellAndMoveNoRow)
{
    enter();
    goTo(grid(), 1, 1);
    const int last = grid()->model()->rowCount() - 1;
    const QString lastKey = grid()->cellText(last, 1);
    const QString shown = grid()->cellText(1, 1);
    // The first character of another row's key would move a list's own search there.
    QTest::keyClicks(grid(), lastKey.left(1) + "E7x");
    EXPECT_EQ(grid()->currentRow(), 1);
    EXPECT_EQ(grid()->Col(), 1);
    EXPECT_FALSE(grid()->isEditing());
    EXPECT_EQ(grid()->cellText(1, 1), shown);
    EXPECT_TRUE(seam.messages().isEmpty()) << qPrintable(seam.messages().join('|'));
}

TEST_P(FamilyGridEventsTest, WithAnEmptyGridEveryHandlerDoesNothing)
{
    db().Execute(QString("DELETE FROM %1").arg(GetParam().table));
    startMain();
    choose(GetParam().view);
    ASSERT_FALSE(data().hasCurrentRecord());
    const int family = GetParam().family;
    const QString box = main->Text1(0)->text();
    const QString detail = main->txt(0)->text();
    main->FamilyGrid_MouseDown(family, platform::vbLeftButton, 0, 0, 0);
    main->FamilyGrid_Click(family);
    main->FamilyGrid_RowColChange(family);
    main->FamilyGrid_DblClick(family);
    main->FamilyGrid_MouseUp(family, platform::vbLeftButton, 0, 0, 0);
    main->FamilyData_Reposition(family);
    EXPECT_EQ(main->Text1(0)->text(), box);
    if (family != 4) {
        EXPECT_EQ(main->txt(0)->text(), detail);
    }
    EXPECT_EQ(main->GridClickPending, 0);
    EXPECT_TRUE(seam.messages().isEmpty()) << qPrintable(seam.messages().join('|'));
}

INSTANTIATE_TEST_SUITE_P(Grids, FamilyGridEventsTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<GridCase>& info) { return std::string(info.param.name); });

// ---- Per family.

TEST_F(FamilyGridTest, JCodeRowEnablesTheCrosswalkButtonAndFillsItsBoxes)
{
    startMain();
    choose(JCodes);
    dao::Recordset& rs = main->Data7.Recordset();
    ASSERT_GT(rs.RecordCount(), 2);
    const QString with = rs.cell(0, 1).toString();
    const QString without = rs.cell(1, 1).toString();
    db().Execute("DELETE FROM crosswalk WHERE [HCPCS Code] = ?", {without});
    db().Execute("UPDATE JCD SET Description = '', notes = NULL WHERE HCPCS = ?", {without});
    db().Execute("UPDATE JCD SET Description = 'Drug A', notes = 'Note A' WHERE HCPCS = ?", {with});
    main->Data12.Refresh();
    main->Data7.Refresh();

    goTo(main->DBGrid3, 0, 1);
    goTo(main->DBGrid3, 1, 1);
    EXPECT_FALSE(main->Command5->isEnabled());
    EXPECT_EQ(main->txt(2)->text(), "");
    EXPECT_EQ(main->txt(3)->text(), "");
    EXPECT_EQ(main->strGridCodeJCD, without);
    goTo(main->DBGrid3, 0, 1);
    EXPECT_TRUE(main->Command5->isEnabled());
    EXPECT_EQ(main->txt(2)->text(), "Drug A");
    EXPECT_EQ(main->txt(3)->text(), "Note A");
    EXPECT_EQ(main->strGridCodeJCD, with);
}

TEST_F(FamilyGridTest, GapCodeCaptionInTheDmeposViewOnly)
{
    db().Execute("UPDATE DATA0001 SET STATUS = 'g' WHERE CPT IN ('A4326', ?)", {QString("80048")});
    startMain();
    choose(Dmepos);
    rowOf(main->Data5, "HCPCS", "A4326");
    EXPECT_EQ(main->CodeDetailFrame->title(), "Details for A4326- GAP Code");
    EXPECT_EQ(main->strCurCodeDME, "A4326");
    EXPECT_EQ(main->Data1.Recordset()["CODEMOD"].Value().toString(), "A4326");

    choose(LabFees);
    const QString lab = main->Data6.Recordset().cell(2, 1).toString();
    db().Execute("UPDATE DATA0001 SET STATUS = 'G' WHERE CPT = ?", {lab});
    main->ViewAllRecs();
    rowOf(main->Data6, "HCPCS", lab);
    EXPECT_EQ(main->CodeDetailFrame->title(), "Details for " + lab);
    EXPECT_EQ(main->Data1.Recordset()["CPT"].Value().toString(), lab);
}

TEST_F(FamilyGridTest, LabCodeWithoutPhysicianRowIsNotAvailable)
{
    const QString lab = db().scalar("SELECT HCPCS FROM LAB ORDER BY HCPCS DESC").toString();
    db().Execute("DELETE FROM DATA0001 WHERE CPT = ?", {lab});
    const QString withRow = db().scalar("SELECT HCPCS FROM LAB WHERE HCPCS IN (SELECT CPT FROM DATA0001) "
                                        "AND Description <> '' ORDER BY HCPCS DESC").toString();
    ASSERT_FALSE(withRow.isEmpty());
    db().Execute("UPDATE DATA0001 SET LDESC = NULL WHERE CPT = ?", {withRow});
    startMain();
    choose(LabFees);
    rowOf(main->Data6, "HCPCS", lab);
    EXPECT_EQ(main->CodeDetailFrame->title(), "Details for " + lab);
    EXPECT_FALSE(main->lblData(0)->isVisibleTo(main));
    EXPECT_EQ(main->txt(1)->text(), "");
    EXPECT_EQ(main->txt(0)->text(), "Not Available");

    // A Lab code with physician details (here without a long description) shows the Lab row's own description,
    // also after a typed edit.
    rowOf(main->Data6, "HCPCS", withRow);
    const QString description = main->Data6.Recordset()["Description"].Value().toString();
    EXPECT_TRUE(main->lblData(0)->isVisibleTo(main));
    EXPECT_EQ(main->txt(0)->text(), description);
    main->show();
    QTest::keyClicks(main->txt(0), "x");
    EXPECT_EQ(main->txt(0)->text(), description);

    rowOf(main->Data6, "HCPCS", lab);
    EXPECT_EQ(main->txt(0)->text(), "Not Available");
    main->hide();
}

TEST_F(FamilyGridTest, DmeposRowMovesTheMainGridWhileTheDmeposGridStaysOnTheChosenRow)
{
    startMain();
    choose(Dmepos);
    dao::Recordset& rs = main->Data5.Recordset();
    rowOf(main->Data5, "CODEMOD", "A4377AW");
    const int chosen = int(rs.AbsolutePosition());
    goTo(main->DBGrid1, 0, 1);
    goTo(main->DBGrid1, chosen, 1);
    EXPECT_EQ(main->DBGrid1->currentRow(), chosen);
    EXPECT_EQ(rs["CODEMOD"].Value().toString(), "A4377AW");
    dao::Recordset& physician = main->Data1.Recordset();
    EXPECT_EQ(physician["CODEMOD"].Value().toString(), "A4377");
    // The main grid's row handling ran: its current code and the fee box follow it.
    EXPECT_EQ(main->strCurrentCpt, "A4377");
    const int fee = int(dao::CLng(main->CurrentSession().value(db::SessionRow::PLIMCOL)));
    EXPECT_EQ(main->Text1(1)->text(), "$" + jet::format(physician.Fields(fee).Value(), "#0.00"));
    EXPECT_EQ(main->strGridCodeDME, "A4377");
    EXPECT_TRUE(seam.messages().isEmpty()) << qPrintable(seam.messages().join('|'));
}

}  // namespace
