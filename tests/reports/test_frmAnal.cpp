#include "AnalysisFixture.h"

#include "platform/controls/BusyCursor.h"

#include <QApplication>

namespace {

// Null, 0 and positive values in schedules and frequencies; 20000 and 90210 are tagged.
const QStringList kMixed = {
    "10000||+|10|0|5|3||0",      "10001|26||0|25|||2|",    "20000||+|||7.5|4||",
    "30000|||12.5|||2|0|",      "90210|TC|+|100|1|1|12||", "40000|||||||||",
};

class AnalysisTest : public AnalysisFixture {};

TEST_F(AnalysisTest, GridRowsAreThoseOfTheQueryForEveryViewingOption)
{
    setCodes(kMixed);
    frmAnal& w = open();
    platform::setListIndex(w.Combo1(0), 1);
    const QString select = "SELECT CPT, [MOD], S2 as SES, Freq1 AS FREQ, [S2]*[Freq1] AS STotal FROM DATA0001";
    const char* tails[4] = {" WHERE TAG = '+' order by CPT, [MOD]", " WHERE S2 > 0 order by CPT, [MOD]",
                            " WHERE Freq1 > 0 order by CPT, [MOD]", " order by CPT, [MOD]"};
    const int counts[4] = {3, 2, 4, 6};
    for (int option : {0, 1, 2, 3}) {
        SCOPED_TRACE(option);
        w.Option1(option)->click();
        EXPECT_EQ(gridRows(w), queryRows(select + tails[option]));
        EXPECT_EQ(w.Data1.Recordset().rowCount(), counts[option]);
    }
    EXPECT_EQ(w.adbg(0)->Columns(2).Caption(), "$ S2");
    EXPECT_EQ(w.adbg(0)->Columns(3).Caption(), "Freq1");
    // "Fixed" two decimals, "Currency" with its sign and groups.
    w.Data1.Recordset().FindFirst("CPT = '90210'");
    EXPECT_EQ(w.adbg(0)->Columns(2).Text(), "1.00");
    db().Execute("UPDATE DATA0001 SET S2 = 1234.5, Freq1 = 10 WHERE CPT = '90210'");
    w.Command1_Click();
    w.Data1.Recordset().FindFirst("CPT = '90210'");
    EXPECT_EQ(w.adbg(0)->Columns(4).Text(), "$12,345.00");
}

TEST_F(AnalysisTest, StartsOnTheFirstScheduleFreq1AndFeesAboveZero)
{
    setCodes(kMixed);
    frmAnal& w = open();
    EXPECT_EQ(platform::busyCount(), 0);
    EXPECT_EQ(w.Caption(), g().AppTitle + " KELVA Morvex Frequency/Utilization Analysis");
    EXPECT_EQ(w.Label1(50)->text(), "Sample");
    EXPECT_EQ(w.Combo1(1)->currentText(), "Freq1");
    EXPECT_TRUE(w.Option1(1)->isChecked());
    EXPECT_EQ(w.ListHolder(0)->text(), "1");
    EXPECT_EQ(w.ListHolder(1)->text(), "1");
    EXPECT_EQ(w.tlbl(6)->text(), "S1 x Freq1: ");
    // S1 x Freq1 = 10 x 3 + 100 x 12 + 12.5 x 2: the totals cover every code, whatever the option.
    EXPECT_EQ(w.tdsp(0)->text(), "$1,255.00");
    EXPECT_EQ(w.tdsp(6)->text(), "$1,255.00");
    EXPECT_EQ(w.tdsp(1)->text(), "$50.00");
    EXPECT_EQ(w.tdsp(2)->text(), "$0.00");  // 5 x 0; 7.5 x Null and 1 x Null are no product
    EXPECT_EQ(w.tdsp(3)->text(), "0");      // no product at all
    // Typing never changes a list.
    QTest::keyClicks(w.Combo1(0), "S3");
    QTest::keyClicks(w.Combo1(1), "F");
    EXPECT_EQ(w.Combo1(0)->currentIndex(), 0);
    EXPECT_EQ(w.Combo1(1)->currentIndex(), 0);
}

TEST_F(AnalysisTest, ScheduleEntriesAndTheirColumns)
{
    setCodes(kMixed);
    nameSchedules({"PPO", "S2", "Base S1 copy", "", "A long schedule name here"});
    frmAnal& w = open();
    QStringList entries;
    for (int i = 0; i < w.Combo1(0)->count(); ++i)
        entries << w.Combo1(0)->itemText(i);
    EXPECT_EQ(entries, QStringList({"PPO (S1)", "S2", "Base S1 copy (S3)", "S4",
                                    "A long schedule name here (S5)"}));
    EXPECT_EQ(w.adbg(0)->Columns(2).Caption(), "$ PPO (S1)");

    platform::setListIndex(w.Combo1(0), 2);
    EXPECT_EQ(w.adbg(0)->Columns(2).Caption(), "$ Base S1 copy (S3)");
    EXPECT_EQ(gridRows(w), queryRows("SELECT CPT, [MOD], S3, Freq1, S3*Freq1 FROM DATA0001 WHERE S3 > 0 "
                                     "ORDER BY CPT, [MOD]"));
    EXPECT_EQ(w.tlbl(6)->text(), "Base S1 copy (S3) x Freq1: ");
    platform::setListIndex(w.Combo1(1), 2);  // Freq3: 5 x Null, 7.5 x Null, 1 x Null
    EXPECT_EQ(w.tdsp(6)->text(), "$0.00");

    platform::setListIndex(w.Combo1(0), 4);
    EXPECT_EQ(w.adbg(0)->Columns(2).Caption(), "$ A long schedule nam");
    EXPECT_EQ(w.tlbl(6)->text(), "g schedule name here (S5) x Freq3: ");  // the last 25 characters
    w.Command1_Click();
    EXPECT_EQ(w.tlbl(6)->text(), " name here (S5) x Freq3: ");  // the last 15

    // The entry already chosen reloads nothing: a changed row is not shown until another load.
    db().Execute("UPDATE DATA0001 SET S5 = 9, Freq3 = 9");
    platform::setListIndex(w.Combo1(0), 4);
    EXPECT_TRUE(w.fra(0)->isVisible() || gridRows(w).isEmpty());
    w.Option1(3)->click();
    EXPECT_EQ(gridRows(w).size(), 6);
    EXPECT_EQ(gridRows(w).first(), "10000|<null>|9|9|81");
}

TEST_F(AnalysisTest, PercentagesOfTheCurrentTotalOverTheShownRows)
{
    setCodes({"10000|||100|||3||", "10001|||300|||1||", "10002|||50|||||"});
    frmAnal& w = open();
    w.Option1(3)->click();
    ASSERT_EQ(w.tdsp(6)->text(), "$600.00");
    EXPECT_EQ(w.perc->rowCount(), 3);
    EXPECT_EQ(w.percFixedRows(), 2);
    EXPECT_EQ(percentages(w), QStringList({"0", "0", "0"}));  // a load resets them
    w.updateit();
    EXPECT_EQ(percentages(w), QStringList({"50.00", "50.00", "0"}));

    // A current total of "0" stops the pass at its first row.
    db().Execute("UPDATE DATA0001 SET Freq1 = 0");
    w.Command1_Click();
    ASSERT_EQ(w.tdsp(6)->text(), "$0.00");
    w.perc->item(1, 0)->setText("kept");
    platform::setText(w.tdsp(6), "0");
    w.updateit();
    EXPECT_EQ(percentages(w), QStringList({"0", "kept", "0"}));

    QStringList twelve;
    for (int i = 0; i < 12; ++i)
        twelve << QStringLiteral("%1|||1|||1||").arg(11000 + i);
    setCodes(twelve);
    w.Command1_Click();
    EXPECT_EQ(w.perc->rowCount(), 10);
    EXPECT_EQ(w.percFixedRows(), 9);
    EXPECT_EQ(w.lastPercRow(), 9);
    w.updateit();
    EXPECT_EQ(percentages(w).first(), "8.33");
}

TEST_F(AnalysisTest, KeysTheCellsAccept)
{
    setCodes({"10000|||12.5|||3||"});
    frmAnal& w = open();
    const struct {
        int col;
        const char* typed;
        const char* shown;
    } cases[] = {
        {2, "1.5.2", "1.52"}, {2, "a-7", "7"}, {3, "4.5", "45"}, {3, "x-9", "9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        type(w, 0, c.col, c.typed);
        EXPECT_EQ(editor(w)->text(), c.shown);
        enter(w);
    }
    EXPECT_EQ(stored("S1", "10000").toDouble(), 7);
    EXPECT_EQ(stored("Freq1", "10000").toDouble(), 9);
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(AnalysisTest, ValuesOutOfRangeBecomeZeroAndEachValueLandsInItsColumnAndRow)
{
    setCodes({"10000|||1|||1|1|", "10001|||2|||2|2|", "10002|||3|||3|3|"});
    frmAnal& w = open();
    platform::setListIndex(w.Combo1(1), 1);  // Freq2 beside S1
    const struct {
        int row, col;
        const char* text;
        const char* message;  // nullptr: none
        const char* column;
        double stored;
    } cases[] = {
        {0, 2, "1000000", nullptr, "S1", 1000000},
        {1, 2, "1000001", "This item must be less than or equal to 1,000,000.", "S1", 0},
        {2, 3, "0", nullptr, "Freq2", 0},
        {1, 3, "-5", "This item must be greater than or equal to zero.", "Freq2", 0},
        {0, 3, "abc", nullptr, "Freq2", 0},
        {2, 3, "250", nullptr, "Freq2", 250},
    };
    w.Option1(3)->click();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.message)
            seam.expectMsgBox(c.message, vbOKOnly);
        type(w, c.row, c.col, "");
        w.adbg(0)->setText(c.text);  // pasted
        enter(w);
        const QString codemod = QStringLiteral("1000%1").arg(c.row);
        EXPECT_EQ(stored(c.column, codemod).toDouble(), c.stored);
    }
    // Nothing else moved: Freq1 of every row and S1 of the last stay as they were.
    EXPECT_EQ(queryRows("SELECT S1, Freq1 FROM DATA0001 ORDER BY CODEMOD"),
              QStringList({"1000000|1", "0|2", "3|3"}));
}

TEST_F(AnalysisTest, LeavingTheGridAfterOneEditMovesTheScheduleBoxByTheRowsDifference)
{
    setCodes({"10000|||10|||2||", "10001|||20|||1||"});
    frmAnal& w = open();
    ASSERT_EQ(w.tdsp(0)->text(), "$40.00");
    w.updateit();

    type(w, 0, 2, "15");
    enter(w);
    w.adbg_LostFocus();
    EXPECT_EQ(w.tdsp(0)->text(), "$50.00");        // 40 - 20 + 30
    EXPECT_EQ(w.tdsp(6)->text(), "$40.00");        // the divisor stays
    EXPECT_EQ(percentages(w), QStringList({"75.00", "50.00"}));  // 30 / 40 and 20 / 40

    // Leaving again without an edit leaves the box as it is.
    w.adbg_LostFocus();
    EXPECT_EQ(w.tdsp(0)->text(), "$50.00");

    // With Freq2 chosen beside S1 the box is left as it was.
    platform::setListIndex(w.Combo1(1), 1);
    w.Option1(3)->click();
    type(w, 1, 2, "99");
    enter(w);
    w.adbg_LostFocus();
    EXPECT_EQ(w.tdsp(0)->text(), "$50.00");

    // After a move to another row the product kept is no longer the row's.
    platform::setListIndex(w.Combo1(1), 0);
    type(w, 0, 3, "3");
    enter(w);
    w.adbg(0)->setCurrentIndex(w.adbg(0)->model()->index(1, 2));
    w.adbg_LostFocus();
    EXPECT_EQ(w.tdsp(0)->text(), "$50.00");
    settle();
    EXPECT_EQ(w.adbg(0)->Columns(4).Text(), "$99.00");  // the gross follows the stored values
    EXPECT_EQ(w.adbg(0)->storedValue(0, 4).toDouble(), 45);

    w.Command1_Click();
    EXPECT_EQ(w.tdsp(0)->text(), "$144.00");  // 15 x 3 + 99 x 1
    EXPECT_EQ(w.tdsp(6)->text(), "$144.00");
}

TEST_F(AnalysisTest, NoCodesPanelAndTheNextLoad)
{
    setCodes({"10000|||10|||2||"});
    frmAnal& w = open();
    w.show();
    EXPECT_FALSE(w.fra(0)->isVisible());
    w.Option1(0)->click();  // nothing tagged
    EXPECT_TRUE(w.fra(0)->isVisible());
    EXPECT_EQ(w.Label2->text(), "There are no CPT codes for this Viewing Option.  Please select another schedule with "
                                "Fees > $0 or Frequencies > 0 or tagged codes.");
    EXPECT_EQ(platform::busyCount(), 0);
    w.Option1(2)->click();
    EXPECT_FALSE(w.fra(0)->isVisible());
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(AnalysisTest, AMissingSessionTableIsReportedOnceAndShowsTheNoCodesPanel)
{
    setCodes({"10000|||10|||2||"});
    db().Execute("UPDATE SESSIONS SET SESTAB = 'DATA0999' WHERE Session = 'Sample'");
    main->Data3.Refresh();
    main->Data3.Recordset().FindFirst("Session = 'Sample'");
    seam.answerMsgBox(vbOK);
    frmAnal& w = open();
    w.show();
    ASSERT_EQ(seam.messages().size(), 1u);
    EXPECT_TRUE(seam.messages().front().contains("DATA0999")) << qPrintable(seam.messages().front());
    EXPECT_TRUE(w.fra(0)->isVisible());
    EXPECT_EQ(platform::busyCount(), 0);
}

TEST_F(AnalysisTest, AfterASessionSwitchTheNextLoadReadsTheNewSessionsTable)
{
    setCodes({"10000|||10|||2||"});
    db().Execute("CREATE TABLE DATA0002 AS SELECT * FROM DATA0001");
    setCodes({"55555|||7|||7||"}, "DATA0002");
    db().Execute("INSERT INTO SESSIONS (Session, SESTAB) VALUES ('Other', 'DATA0002')");
    frmAnal& w = open();
    w.Show();
    main->Data3.Refresh();
    main->Data3.Recordset().FindFirst("Session = 'Other'");
    w.Command1_Click();
    EXPECT_EQ(gridRows(w), QStringList({"55555|<null>|7|7|49"}));
    EXPECT_EQ(w.tdsp(6)->text(), "$49.00");
    EXPECT_EQ(w.Label1(50)->text(), "Sample");
}

TEST_F(AnalysisTest, CloseRefreshesTheMainGridAndEveryOpenerEndsWithTheCursorDown)
{
    setCodes({"10000|||10|||2||"});
    frmAnal& w = open();
    w.Show();
    EXPECT_EQ(platform::busyCount(), 0);
    db().Execute("UPDATE DATA0001 SET S1 = 4321");
    w.btn(0)->click();
    settle();
    EXPECT_FALSE(platform::forms().isLoaded<frmAnal>());
    main->Data1.Recordset().MoveFirst();
    EXPECT_EQ(main->Data1.Recordset()["S1"].Value().toDouble(), 4321);

    // The two menus open it modally.
    for (int i = 0; i < 2; ++i) {
        seam.onModal<frmAnal>([](frmAnal& m) { m.btn_Click(0); });
        frmAnal& modal = open();
        modal.Show(vbModal);
        EXPECT_EQ(platform::busyCount(), 0);
    }
}

}  // namespace
