#include "MainWindowTest.h"

#include "platform/controls/colours.h"
#include "platform/controls/twips.h"
#include "platform/forms/controls.h"

#include "platform/dao/jetfunctions.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// Column widths read back from the grid are whole pixels: within one pixel of the twips that were set.
constexpr double kPixel = 8;

int twipsWidth(const QWidget* w) { return platform::twips(w->width()); }
int twipsHeight(const QWidget* w) { return platform::twips(w->height()); }
int twipsTop(const QWidget* w) { return platform::twips(w->y()); }
int twipsLeft(const QWidget* w) { return platform::twips(w->x()); }

QString entries(const QString& entry, int n)
{
    QStringList l;
    for (int i = 0; i < n; ++i)
        l << entry;
    return l.join(QLatin1Char(','));
}

class LayoutTest : public MainWindowTest {
protected:
    // The main window on the first session, at a size whose twips are whole pixels.
    frmMain& startNormal(int width = 10485, int height = 8790)
    {
        withFirstSession();
        frmMain& main = start();
        EXPECT_FALSE(programEnded());
        main.hide();  // no resize event of the window's own while a case sets its size
        main.setWindowState(vbNormal);
        main.setWidth(width);
        main.setHeight(height);
        return main;
    }
    // Writes the current session row's lists as the display settings window does.
    static void storeLists(frmMain& main, const QString& colws, const QString& colvs)
    {
        auto& row = main.Data3.Recordset();
        row.Edit();
        row["COLWS"] = dao::Variant(colws);
        row["COLVS"] = dao::Variant(colvs);
        row.Update();
    }
    static platform::DBGridColumn& col(frmMain& main, int i) { return main.dbg->Columns(i); }
};

// ---- Column layout from the session's lists.

TEST_F(LayoutTest, ListsWithHiddenColumnsAndATrailingCommaLayOutTheGrid)
{
    frmMain& main = startNormal();
    ASSERT_EQ(main.dbg->ColumnCount(), 61);
    // 10 widths with a trailing comma; 8 flags, column 4 hidden in the list, column 2 hidden.
    storeLists(main, QStringLiteral("600,900,0,450,500,2400,4000,900,1200,1300,"),
               QStringLiteral("true,FALSE,0,-1,false,True,0,1"));
    main.Recolumnize();
    EXPECT_TRUE(seam.messages().isEmpty()) << seam.messages().join('|').toStdString();

    EXPECT_TRUE(col(main, 0).Visible());
    EXPECT_NEAR(col(main, 0).Width(), 600, kPixel);
    EXPECT_FALSE(col(main, 1).Visible());
    EXPECT_FALSE(col(main, 2).Visible());
    EXPECT_TRUE(col(main, 3).Visible());
    EXPECT_TRUE(col(main, 4).Visible());  // the status column whatever the list says
    EXPECT_NEAR(col(main, 4).Width(), 500, kPixel);
    EXPECT_TRUE(col(main, 7).Visible());
    EXPECT_NEAR(col(main, 7).Width(), 900, kPixel);
    for (int j = 8; j < 61; ++j) {  // beyond the visibility list: hidden; beyond the width list: width 0
        EXPECT_FALSE(col(main, j).Visible()) << j;
        EXPECT_EQ(col(main, j).Width(), j == 8 ? 1200 : j == 9 ? 1300 : 0) << j;
    }
    // Visible columns other than the descriptions sum to 600 + 450 + 500 + 900; the grid is 10485 - 480.
    EXPECT_NEAR(col(main, 5).Width(), 10005 - 530 - 2450, kPixel);
}

TEST_F(LayoutTest, ASixtySecondEntryIsShownAndTheGridKeepsItsLayout)
{
    frmMain& main = startNormal();
    storeLists(main, entries("1000", 61), entries("-1", 61));
    main.Recolumnize();
    ASSERT_TRUE(seam.messages().isEmpty());
    ASSERT_NEAR(col(main, 30).Width(), 1000, kPixel);

    storeLists(main, entries("700", 62), entries("0", 61));
    seam.expectMsgBox(QStringLiteral("Subscript out of range"), vbOKOnly);
    main.Recolumnize();
    EXPECT_TRUE(col(main, 30).Visible());
    EXPECT_NEAR(col(main, 30).Width(), 1000, kPixel);

    storeLists(main, entries("700", 61), entries("0", 61) + QStringLiteral(",true"));
    seam.expectMsgBox(QStringLiteral("Subscript out of range"), vbOKOnly);
    main.Recolumnize();
    EXPECT_TRUE(col(main, 30).Visible());
}

TEST_F(LayoutTest, FailingListsAreReportedAndNothingBeyondTheCaptionsIsApplied)
{
    struct Case {
        const char* name;
        dao::Variant colws, colvs;
        const char* message;
    };
    const Case cases[] = {
        {"Null widths", dao::Variant(), dao::Variant(entries("0", 61)), "Invalid use of Null"},
        {"two commas", dao::Variant("400,,900"), dao::Variant(entries("0", 61)), "Type mismatch"},
        {"word in the flags", dao::Variant(entries("700", 61)), dao::Variant("true,maybe"), "Type mismatch"},
        {"width overflow", dao::Variant("40000,1"), dao::Variant(entries("0", 61)), "Overflow"},
    };
    frmMain& main = startNormal();
    storeLists(main, entries("1000", 61), entries("-1", 61));
    main.Recolumnize();
    for (const Case& c : cases) {
        auto& row = main.Data3.Recordset();
        row.Edit();
        row["COLWS"] = c.colws;
        row["COLVS"] = c.colvs;
        row.Update();
        seam.expectMsgBox(QString::fromLatin1(c.message), vbOKOnly);
        main.Recolumnize();
        EXPECT_TRUE(col(main, 30).Visible()) << c.name;
        EXPECT_NEAR(col(main, 30).Width(), 1000, kPixel) << c.name;
    }
}

TEST_F(LayoutTest, CaptionsFormatsAndLocksFollowTheFixedRules)
{
    frmMain& main = startNormal();
    db().Execute(QStringLiteral("UPDATE SESSIONS SET S1NAME = 'Cash', S3NAME = NULL, F2NAME = 'Visits', "
                                "OPTName = NULL WHERE Session = 'Sample'"));
    main.Data3.Refresh();
    main.Data3.Recordset().FindFirst(QStringLiteral("Session = 'Sample'"));
    main.Recolumnize();
    ASSERT_TRUE(seam.messages().isEmpty());

    EXPECT_EQ(col(main, 4).Caption(), "Sta");          // COLSTRUCT
    EXPECT_EQ(col(main, 41).Caption(), "WORKC");       // Null COLCAP: the field's name
    EXPECT_EQ(col(main, 44).Caption(), "Cash");        // the session's name
    EXPECT_EQ(col(main, 46).Caption(), "S3");          // Null name: COLSTRUCT's caption
    EXPECT_EQ(col(main, 50).Caption(), "Visits");
    EXPECT_EQ(col(main, 57).Caption(), "OPT");
    EXPECT_EQ(col(main, 19).Alignment(), 1);
    EXPECT_EQ(col(main, 0).Alignment(), 2);

    EXPECT_EQ(col(main, 19).NumberFormat(), QStringLiteral("###,##0.00;;\\-\\-\\-\\ \\ "));
    EXPECT_EQ(col(main, 45).NumberFormat(), QStringLiteral("###,##0.00;;"));
    EXPECT_TRUE(col(main, 25).NumberFormat().isEmpty());
    EXPECT_TRUE(col(main, 2).Locked());
    EXPECT_TRUE(col(main, 43).Locked());
    EXPECT_TRUE(col(main, 1).Locked());  // only the user's own columns are typed into
    EXPECT_FALSE(col(main, 44).Locked());

    // What the grid shows: amounts right-aligned with two decimals, zero as hyphens.
    const int row = main.dbg->currentRow();
    ASSERT_GE(row, 0);
    const QString fee = main.dbg->cellText(row, 19);
    EXPECT_TRUE(fee.contains(QRegularExpression(QStringLiteral("^(\\d{1,3}(,\\d{3})*\\.\\d\\d|---  )$"))))
        << fee.toStdString();
}

TEST_F(LayoutTest, TheSessionRowIsFoundByItsName)
{
    withFirstSession();
    db().Execute(QStringLiteral("UPDATE SESSIONS SET Session = 'Dr. O''Neil \"Main\"', S1NAME = 'Cash' "
                                "WHERE Session = 'Sample'"));
    db().Execute(QStringLiteral("UPDATE PARMS_CL SET CURSES = 'Dr. O''Neil \"Main\"'"));
    frmMain& main = start();
    ASSERT_FALSE(programEnded());
    main.Data3.Recordset().MoveFirst();  // "Default"
    main.Recolumnize();
    EXPECT_TRUE(seam.messages().isEmpty()) << seam.messages().join('|').toStdString();
    EXPECT_EQ(main.Data3.Recordset()["Session"].Value().toString(), QStringLiteral("Dr. O'Neil \"Main\""));
    EXPECT_EQ(col(main, 44).Caption(), "Cash");
}

// ---- The default layout.

TEST_F(LayoutTest, AFreshDatabaseGetsTheDefaultLayoutFromColstruct)
{
    frmMain& main = startNormal();
    db().Execute(QStringLiteral("UPDATE SESSIONS SET COLWS = NULL, COLVS = NULL"));
    main.ResetDefaultColumnLayout();

    QStringList widths, flags;
    dao::Recordset cs = db().OpenRecordset(QStringLiteral("SELECT COLWS, COLSTADEF FROM COLSTRUCT ORDER BY COLNO"));
    for (; !cs.EOF(); cs.MoveNext()) {
        widths << dao::CStr(cs["COLWS"].Value());
        flags << dao::CStr(cs["COLSTADEF"].Value());
    }
    ASSERT_EQ(widths.size(), 61);
    dao::Recordset rows = db().OpenRecordset(QStringLiteral("SELECT Session, COLWS, COLVS FROM SESSIONS"));
    ASSERT_EQ(rows["Session"].Value().toString(), "Default");
    EXPECT_EQ(rows["COLWS"].Value().toString(), widths.join(','));
    EXPECT_EQ(rows["COLVS"].Value().toString(), flags.join(','));
    rows.MoveNext();
    EXPECT_TRUE(rows["COLWS"].Value().isNull());  // only the first row

    // The lists it writes are ones the layout reads: 61 entries each.
    main.Data3.Refresh();
    main.Recolumnize();
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_TRUE(col(main, 19).Visible());
    EXPECT_FALSE(col(main, 1).Visible());
    EXPECT_FALSE(col(main, 60).Visible());
}

// ---- The "KELVA OPPS" view and back.

TEST_F(LayoutTest, OppsViewForcesItsColumnsAndTheSessionListFollowsTheView)
{
    frmMain& main = startNormal();
    QStringList flags = entries("-1", 61).split(',');
    flags[19] = "0";
    flags[22] = "0";
    storeLists(main, entries("800", 61), flags.join(','));
    // The OPPS view lays out from the "Default" row's list.
    main.Data3.Recordset().FindFirst("Session = 'Default'");
    storeLists(main, entries("800", 61), flags.join(','));
    main.Data3.Recordset().FindFirst("Session = 'Sample'");

    platform::setListIndex(main.cmboCurrentView, 1);
    EXPECT_TRUE(seam.messages().isEmpty()) << seam.messages().join('|').toStdString();
    EXPECT_EQ(main.cmboCurrentView->currentText(), "KELVA OPPS");
    EXPECT_FALSE(col(main, 16).Visible());
    EXPECT_TRUE(col(main, 19).Visible());
    EXPECT_TRUE(col(main, 22).Visible());
    for (int j : {44, 48, 49, 53, 57})
        EXPECT_FALSE(col(main, j).Visible()) << j;
    EXPECT_TRUE(col(main, 54).Visible());
    EXPECT_NEAR(col(main, 19).Width(), 800, kPixel);
    EXPECT_FALSE(main.Combo1->isEnabled());
    EXPECT_TRUE(main.Command2->isVisibleTo(&main));
    EXPECT_TRUE(main.dbg->isVisibleTo(&main));
    EXPECT_FALSE(main.DBGrid1->isVisibleTo(&main));
    // The session's own list is left alone.
    EXPECT_EQ(main.Data3.Recordset()["COLVS"].Value().toString(), flags.join(','));

    platform::setListIndex(main.cmboCurrentView, 0);
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_TRUE(col(main, 16).Visible());
    EXPECT_FALSE(col(main, 19).Visible());
    EXPECT_TRUE(col(main, 44).Visible());
    EXPECT_TRUE(main.Combo1->isEnabled());
}

TEST_F(LayoutTest, LongDescriptionBoxesShowOnlyBesideTheCollapsedPanel)
{
    frmMain& main = startNormal();
    main.btnMore->setText(QStringLiteral("<< Less"));
    platform::setListIndex(main.cmboCurrentView, 0);
    EXPECT_EQ(main.btnMore->text(), QStringLiteral("More >>"));  // "KELVA" narrows the panel again
    main.btnMore->setText(QStringLiteral("<< Less"));
    main.Recolumnize();
    EXPECT_FALSE(main.txt(0)->isVisibleTo(&main));
    EXPECT_FALSE(main.txt(1)->isVisibleTo(&main));
    main.btnMore->setText(QStringLiteral("More >>"));
    main.Recolumnize();
    EXPECT_TRUE(main.txt(0)->isVisibleTo(&main));
    EXPECT_TRUE(main.txt(1)->isVisibleTo(&main));
    EXPECT_TRUE(main.lbl(10)->isVisibleTo(&main));
}

// ---- Window geometry.

TEST_F(LayoutTest, WindowSizesGiveTheGridsAndPanelsTheirSizes)
{
    struct Case {
        int width, height;
        int gridWidth, gridHeight;
        int frame1, frame4;
    };
    const Case cases[] = {
        {4020, 4005, 4520, 140, 9300, 5745},       // below the layout's floor: 5000 x 5040
        {9600, 5790, 9120, 890, 9300, 5745},       // the resize handler's floor
        {9900, 7890, 9420, 2990, 9300, 5745},
        {15480, 11190, 15000, 6290, 14880, 8280},  // 1024 x 768
        {28920, 16395, 28440, 11495, 28320, 21720},
    };
    frmMain& main = startNormal();
    for (const Case& c : cases) {
        main.setWidth(c.width);
        main.setHeight(c.height);
        main.Recolumnize();
        ASSERT_TRUE(seam.messages().isEmpty()) << c.width;
        EXPECT_GE(main.Width(), 4995) << c.width;
        EXPECT_GE(main.Height(), 5040) << c.width;
        EXPECT_NEAR(twipsWidth(main.dbg), c.gridWidth, kPixel) << c.width;
        EXPECT_NEAR(twipsHeight(main.dbg), c.gridHeight, kPixel) << c.width;
        EXPECT_NEAR(twipsWidth(main.Frame1), c.frame1, kPixel) << c.width;
        EXPECT_NEAR(twipsWidth(main.Frame4), c.frame4, kPixel) << c.width;

        const int gridTop = twipsTop(main.dbg);
        const int gridBottom = gridTop + c.gridHeight;
        for (platform::DBGrid* g : {main.DBGrid1, main.DBGrid2, main.DBGrid3, main.DBGrid4, main.DBGrid5}) {
            EXPECT_EQ(g->geometry().topLeft(), main.dbg->geometry().topLeft());
            EXPECT_EQ(g->width(), main.dbg->width());
        }
        EXPECT_NEAR(twipsHeight(main.DBGrid1), c.gridHeight, kPixel);
        EXPECT_NEAR(twipsHeight(main.DBGrid4), c.gridHeight + 1250, kPixel);
        EXPECT_NEAR(twipsHeight(main.DBGrid5), c.gridHeight + 1475, kPixel);
        EXPECT_NEAR(twipsTop(main.CodeDetailFrame), gridBottom + 50, kPixel);
        EXPECT_NEAR(twipsTop(main.txt(0)), gridBottom + 150, kPixel);
        EXPECT_NEAR(twipsTop(main.Frame8), gridBottom - 50, kPixel);
        EXPECT_NEAR(twipsTop(main.txt(1)), gridBottom + 150 + twipsHeight(main.txt(0)) + 150, kPixel);
        // The scroll bar over the grid's right edge, as tall as the grid.
        EXPECT_NEAR(twipsHeight(main.dbgscroll), c.gridHeight, kPixel);
        EXPECT_NEAR(twipsLeft(main.dbgscroll) + twipsWidth(main.dbgscroll), twipsLeft(main.dbg) + c.gridWidth,
                    2 * kPixel);
        // Long description and notes right of the collapsed detail frame, 400 short of the right edge.
        const int window = std::max(c.width, 5000);
        const int boxWidth = std::max(500, window - twipsWidth(main.CodeDetailFrame) - 1400);
        EXPECT_NEAR(twipsWidth(main.txt(0)), boxWidth, 2 * kPixel) << c.width;
        EXPECT_NEAR(twipsLeft(main.txt(1)), window - boxWidth - 400, 2 * kPixel) << c.width;
    }
}

TEST_F(LayoutTest, MinimisedWindowTakesCaptionsAndAlignmentsOnly)
{
    frmMain& main = startNormal();
    storeLists(main, entries("1000", 61), entries("-1", 61));
    main.Recolumnize();
    const int gridWidth = main.dbg->width();
    db().Execute(QStringLiteral("UPDATE COLSTRUCT SET COLCAP = 'Zip', COLAL = 0 WHERE COLNO = 3"));
    storeLists(main, entries("500", 61), entries("0", 61));
    main.setWindowState(vbMinimized);
    main.setWidth(20000);
    main.Recolumnize();
    EXPECT_EQ(col(main, 3).Caption(), "Zip");
    EXPECT_EQ(col(main, 3).Alignment(), 0);
    EXPECT_TRUE(col(main, 30).Visible());
    EXPECT_NEAR(col(main, 30).Width(), 1000, kPixel);
    EXPECT_EQ(main.dbg->width(), gridWidth);
}

// ---- Display defaults of the start-up.

TEST_F(LayoutTest, FeeChoiceListAgreesWithTheFeeBox)
{
    withFirstSession();
    db().Execute(QStringLiteral("UPDATE SESSIONS SET PLIMCOL = 21, S3NAME = NULL, S1NAME = 'Cash'"));
    frmMain& main = start();
    ASSERT_FALSE(programEnded());
    ASSERT_EQ(main.plimlist->count(), 11);
    EXPECT_EQ(main.plimlist->currentText(), "Non Facility Limiting Fee");
    EXPECT_EQ(main.plimlist->itemText(6), "Cash");
    EXPECT_EQ(main.plimlist->itemText(8), "S3");
    main.Data1.Recordset().MoveFirst();
    main.FillFeeChoiceList();
    const QString expected =
        QStringLiteral("$") + jet::format(main.Data1.Recordset().Fields(21).Value(), QStringLiteral("#0.00"));
    EXPECT_EQ(main.Text1(1)->text(), expected);
    EXPECT_EQ(main.plimlist->currentText(), "Non Facility Limiting Fee");
}

TEST_F(LayoutTest, NullColoursGetTheShippedOnes)
{
    withFirstSession();
    db().Execute(QStringLiteral("UPDATE PARMS_CL SET GCOLOR = NULL, bcolor = NULL"));
    frmMain& main = start();
    ASSERT_FALSE(programEnded());
    EXPECT_EQ(platform::foreColor(main.dbg), -2147483630);
    EXPECT_EQ(platform::backColor(main.dbg), 16777215);
    EXPECT_EQ(platform::backColor(main.cmbNewCodes), 16777215);
    EXPECT_EQ(platform::foreColor(main.Check1), -2147483630);
}

TEST_F(LayoutTest, StoredColoursReachEveryListedControl)
{
    withFirstSession();
    db().Execute(QStringLiteral("UPDATE PARMS_CL SET GCOLOR = 255, bcolor = 65535"));
    frmMain& main = start();
    ASSERT_FALSE(programEnded());
    for (QWidget* w : std::initializer_list<QWidget*>{main.Combo1, main.dbg, main.DBGrid5, main.Text1(1), main.Combo3})
        EXPECT_EQ(platform::foreColor(w), 255) << w->objectName().toStdString();
    for (QWidget* w : std::initializer_list<QWidget*>{main.Combo1, main.dbg, main.txt(1), main.plimlist})
        EXPECT_EQ(platform::backColor(w), 65535) << w->objectName().toStdString();
    EXPECT_NE(platform::backColor(main.Check1), 65535);
}

TEST_F(LayoutTest, FamilyRecordSourcesTakeTheStatesAndTheirDefaults)
{
    withFirstSession();
    db().Execute(QStringLiteral("UPDATE PARMS_CL SET JCDSTATE = NULL, LABSTATE = NULL, DRGCURBASE = 5432.1"));
    frmMain& main = start();
    ASSERT_FALSE(programEnded());
    EXPECT_EQ(parms("JCDSTATE").toString(), "CA");
    EXPECT_EQ(parms("LABSTATE").toString(), "AL");
    EXPECT_TRUE(main.Data7.RecordSource().contains(QStringLiteral("\"CA\" AS PAR")));
    EXPECT_TRUE(main.Data6.RecordSource().contains(QStringLiteral("\"AL\" AS STATE")));
    EXPECT_EQ(main.Combo4->currentText(), "5432.10");

    // Only priced codes, with the non-participating price and limiting charge in cents.
    auto& jcd = main.Data7.Recordset();
    ASSERT_GT(jcd.RecordCount(), 0);
    const qint64 all = db().scalar(QStringLiteral("SELECT COUNT(*) FROM JCD WHERE CA > 0")).toLongLong();
    EXPECT_EQ(jcd.RecordCount(), all);
    for (jcd.MoveFirst(); !jcd.EOF(); jcd.MoveNext()) {
        const double par = jcd["PAR"].Value().toDouble();
        const double nonPar = jcd["NONPAR"].Value().toDouble();
        EXPECT_GT(par, 0);
        EXPECT_DOUBLE_EQ(nonPar, jet::clng(par * .95 * 100) / 100.0);
        EXPECT_DOUBLE_EQ(jcd["LC"].Value().toDouble(), jet::clng(nonPar * 1.15 * 100) / 100.0);
    }
    // The empty wage index leaves the ASC payment empty instead of failing.
    auto& asc = main.Data13.Recordset();
    ASSERT_GT(asc.RecordCount(), 0);
    EXPECT_TRUE(asc["ASCPAYRATE"].Value().isNull());

    EXPECT_EQ(main.DmeStateList.size(), 53);
    EXPECT_EQ(main.LabStateList.size(), 57);
    EXPECT_EQ(main.JcdStateList.size(), 59);
    EXPECT_EQ(main.LabStateList.at(5), "MO2");
    EXPECT_EQ(main.JcdStateList.at(7), "CMS");
    EXPECT_EQ(main.DmeStateList.last(), "VI");
}

TEST_F(LayoutTest, AStateThatIsNoColumnEndsTheStartUpWithItsMessage)
{
    withFirstSession();
    db().Execute(QStringLiteral("UPDATE PARMS_CL SET LABSTATE = 'ZZ'"));
    seam.expectMsgBox(QStringLiteral("Item not found in this collection."), vbOKOnly);
    frmMain& main = start();
    EXPECT_FALSE(programEnded());
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(main.LabStateList.isEmpty());  // the start-up stopped before the state lists
}

TEST_F(LayoutTest, ViewsAndMenusAreReadyAfterTheStartUp)
{
    withFirstSession();
    frmMain& main = start();
    ASSERT_FALSE(programEnded());
    const QStringList views = {"KELVA", "KELVA OPPS", "DMEPOS", "Lab Fees", "J Codes", "ASC Codes", "DRG Codes"};
    ASSERT_EQ(main.cmboCurrentView->count(), views.size());
    for (int i = 0; i < views.size(); ++i)
        EXPECT_EQ(main.cmboCurrentView->itemText(i), views[i]);
    EXPECT_EQ(platform::listIndex(main.cmboCurrentView), 0);
    EXPECT_TRUE(main.cmboCurrentView->isEnabled());
    EXPECT_TRUE(main.Combo1->isEnabled());
    for (QAction* a : {main.mnufile(6), main.mnufile(7), main.mnufile(8), main.mnuFileExport(6),
                       main.mnuFileExport(7), main.mnu_KELVAExportUtility, main.mnuupgrades(1), main.mnuupgrades(2)})
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    EXPECT_EQ(main.cmbNewCodes->font(), main.Text1(0)->font());
    EXPECT_EQ(main.cmbNewCodes->width(), main.Text1(0)->width());
    // The shared scroll bar spans the physician rows.
    EXPECT_EQ(main.dbgscroll->Max(), main.Data1.Recordset().RecordCount() - 1);
    EXPECT_EQ(main.plimscroll->Max(), main.Data1.Recordset().RecordCount() - 1);
    EXPECT_EQ(main.plimscroll->LargeChange(), 1);
}

}  // namespace
