#include "MainWindowTest.h"

#include "platform/forms/FormRegistry.h"
#include "reports/frmReports.h"
#include "sessions/frmGridSet.h"
#include "sessions/frmKelva.h"

#include <QPointer>
#include <QSignalBlocker>

namespace {

class ToolbarTest : public MainWindowTest {
protected:
    void startMain()
    {
        main = &startOnFirstSession();
        ASSERT_FALSE(programEnded());
        settleStarted();
    }
    void choose(int view) { platform::setListIndex(main->cmboCurrentView, view); }
    void click(int button) { main->Toolbar1Buttons(button)->trigger(); }
    bool loaded(const char* name) { return platform::forms().loadedByName(QString::fromLatin1(name)) != nullptr; }

    frmMain* main = nullptr;
};

// One view of the tagged round trip: its table, where its two tagged rows are, its grid and data control.
struct ViewCase {
    int view;
    const char* table;
    const char* twoRows;  // a WHERE clause picking two rows the view shows
    platform::DBGrid* frmMain::*grid;
    platform::DataControl frmMain::*data;
};

const ViewCase kCases[] = {
    {0, "DATA0001", "CODEMOD IN ('99213', '99214')", &frmMain::dbg, &frmMain::Data1},
    {1, "DATAOPPSVIEW",
     "rowid IN (SELECT rowid FROM DATAOPPSVIEW WHERE carrier = (SELECT CARRIER FROM PARMS_CL) AND "
     "locality = (SELECT Loc FROM PARMS_CL) ORDER BY CODEMOD LIMIT 2)",
     &frmMain::dbg, &frmMain::Data1},
    {2, "DME", "rowid IN (SELECT rowid FROM DME ORDER BY HCPCS LIMIT 2)", &frmMain::DBGrid1, &frmMain::Data5},
    {3, "LAB", "rowid IN (SELECT rowid FROM LAB ORDER BY HCPCS LIMIT 2)", &frmMain::DBGrid2, &frmMain::Data6},
    {4, "JCD", "rowid IN (SELECT rowid FROM JCD ORDER BY HCPCS LIMIT 2)", &frmMain::DBGrid3, &frmMain::Data7},
};

}  // namespace

TEST_F(ToolbarTest, ViewTaggedAndViewAllInEveryViewWithAndWithoutTaggedCodes)
{
    startMain();
    for (const ViewCase& c : kCases) {
        SCOPED_TRACE(c.view);
        choose(c.view);
        platform::DataControl& data = main->*(c.data);
        platform::DBGrid* grid = main->*(c.grid);
        const qint64 all = data.Recordset().RecordCount();
        ASSERT_GT(all, 2);
        const qsizetype messagesBefore = seam.messages().size();

        // No tagged code: one message, every code again, the button unchanged, the cursor normal.
        seam.expectMsgBox("There are no tagged codes.", vbOKOnly);
        click(3);
        EXPECT_EQ(main->ViewTaggedCaption(), "View Tagged");
        EXPECT_EQ(data.Recordset().RecordCount(), all);
        EXPECT_EQ(platform::busyCount(), 0);

        // Two tagged codes, the Tag column hidden: only they are shown with the Tag column, and the same click
        // does not switch back.
        db().Execute(QStringLiteral("UPDATE [%1] SET TAG = '+' WHERE %2").arg(c.table, c.twoRows));
        grid->Columns(0).setVisible(false);
        click(3);
        EXPECT_EQ(main->ViewTaggedCaption(), "View All");
        EXPECT_EQ(data.Recordset().RecordCount(), 2);
        EXPECT_TRUE(grid->Columns(0).Visible());
        EXPECT_EQ(platform::busyCount(), 0);

        // "View All": every code, the Tag column left shown.
        click(3);
        EXPECT_EQ(main->ViewTaggedCaption(), "View Tagged");
        EXPECT_EQ(data.Recordset().RecordCount(), all);
        EXPECT_TRUE(grid->Columns(0).Visible());
        EXPECT_EQ(platform::busyCount(), 0);
        EXPECT_EQ(seam.messages().size(), messagesBefore + 1);
        db().Execute(QStringLiteral("UPDATE [%1] SET TAG = Null").arg(c.table));
    }
}

TEST_F(ToolbarTest, ViewAllPutsTheMainGridBackOnTheCodeShown)
{
    startMain();
    db().Execute("UPDATE DATA0001 SET TAG = '+' WHERE CODEMOD IN ('99213', '99214')");
    click(3);
    ASSERT_EQ(main->ViewTaggedCaption(), "View All");
    goToCode(*main, "99214");
    click(3);
    EXPECT_EQ(main->CurrentCodemod(), "99214");
    EXPECT_EQ(main->strCurrentCpt, "99214");
}

TEST_F(ToolbarTest, NoViewChosenOpensAndSwitchesNothing)
{
    startMain();
    const qint64 all = main->Data1.Recordset().RecordCount();
    {
        const QSignalBlocker block(main->cmboCurrentView);
        main->cmboCurrentView->setCurrentIndex(-1);
    }
    for (int b : {3, 4, 5, 6})
        click(b);
    EXPECT_EQ(main->ViewTaggedCaption(), "View Tagged");
    EXPECT_EQ(main->Data1.Recordset().RecordCount(), all);
    for (const char* n : {"frmTag", "frmSchedules", "frmSearch"})
        EXPECT_FALSE(loaded(n)) << n;
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(ToolbarTest, EveryClickClearsTheGridClickSoAMovedRowTogglesNoTag)
{
    startMain();
    db().Execute("UPDATE DATA0001 SET TAG = '+' WHERE CODEMOD IN ('99213', '99214')");
    main->dbg->setCol(0);
    main->GridClickPending = -1;
    click(3);
    EXPECT_EQ(main->GridClickPending, 0);
    click(3);
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM DATA0001 WHERE TAG = '+'").toLongLong(), 2);
}

TEST_F(ToolbarTest, DisplayBringsTheOpenWindowForwardAndKelvaOpensAFreshOne)
{
    startMain();
    main->cmbNewCodes->setVisible(true);
    click(1);
    frmGridSet* gridSet = platform::forms().loadedOrNull<frmGridSet>();
    ASSERT_NE(gridSet, nullptr);
    EXPECT_TRUE(gridSet->isVisible());
    gridSet->SText(0)->setText("Edited");
    click(1);
    EXPECT_EQ(platform::forms().loadedOrNull<frmGridSet>(), gridSet);
    EXPECT_EQ(gridSet->SText(0)->text(), "Edited");

    goToCode(*main, "99214");
    click(2);
    QPointer<frmKelva> kelva = platform::forms().loadedOrNull<frmKelva>();
    ASSERT_NE(kelva, nullptr);
    EXPECT_TRUE(kelva->isVisible());
    EXPECT_EQ(main->strCurrentCpt, "99214");
    EXPECT_FALSE(main->cmbNewCodes->isVisible());
    click(2);
    settle();
    EXPECT_TRUE(kelva.isNull());  // the open one was unloaded, a new one loaded
    EXPECT_NE(platform::forms().loadedOrNull<frmKelva>(), nullptr);
}

TEST_F(ToolbarTest, OppsOpensThePhysicianWindowsAndFamilyViewsTheirTwins)
{
    startMain();
    choose(1);
    click(6);  // Fee Manager
    EXPECT_TRUE(loaded("frmSchedules"));
    int reports = 0;
    seam.onModal<frmReports>([&](frmReports& f) { ++reports, f.Unload(); });
    click(8);
    EXPECT_EQ(reports, 1);
    choose(2);
    click(6);
    EXPECT_TRUE(loaded("frmSchedulesDME"));
    if (!platform::FormRegistry::hasName("frmReportOther")) {
        click(8);  // the family report chooser is not part of this build: nothing opens
        EXPECT_FALSE(loaded("frmReports"));
    }
}
