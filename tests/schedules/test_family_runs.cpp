#include "schedules/FamilyFixture.h"

#include "platform/controls/BusyCursor.h"
#include "platform/forms/FormRegistry.h"

namespace {

const QString kM1 = "The fees and/or schedule selections cannot be blank..  Please correct and try again.";
const QString kM3 = "The percentage increase/decrease box can not be blank.  If you enter a 0 (zero percent) you "
                    "will copy the source to the destination.";

// LAB: 80001 tagged (AL 40), 80002 untagged (AL 20), 80005 tagged (AL Null) in the session; 80003 tagged
// (AL Null) and 80004 untagged (AL 30) missing from it. The session also holds 80002 tagged and the
// physician code 99213 (tagged, S1 7).
class LabRunTest : public FamilyFixture {
protected:
    void SetUp() override
    {
        FamilyFixture::SetUp();
        dao::Database d = db();
        d.Execute("DELETE FROM LAB");
        struct Row {
            const char* code;
            dao::Variant tag, al;
        };
        for (const Row& r : {Row{"80001", "+", 40.0}, Row{"80002", dao::Variant(), 20.0},
                             Row{"80003", "+", dao::Variant()}, Row{"80004", dao::Variant(), 30.0},
                             Row{"80005", "+", dao::Variant()}})
            db::insertRow(d, "LAB", {{"CODEMOD", r.code}, {"HCPCS", r.code}, {"Mod", ""}, {"TAG", r.tag},
                                     {"Description", QString("Lab test ") + r.code}, {"AL", r.al},
                                     {"NationalLimit", 50.0}});
        addSession("80001", dao::Variant(), 1);
        addSession("80002", "+", 2);
        addSession("80005", dao::Variant(), 5);
    }
};

TEST_F(LabRunTest, CopyOverAllCodesWritesMatchesMirrorsTagsAndAddsTheMissing)
{
    run<frmSchedulesLAB>(3, 0);
    EXPECT_EQ(main->setchk->text(), "2");
    EXPECT_FALSE(platform::forms().isLoaded<frmSchedulesLAB>());
    EXPECT_EQ(platform::busyCount(), 0);
    EXPECT_DOUBLE_EQ(stored("S1", "80001").toDouble(), 40);
    EXPECT_EQ(stored("typeof(S1)", "80001").toString(), "real");
    EXPECT_EQ(stored("Tag", "80001").toString(), "+");
    EXPECT_TRUE(stored("Tag", "80002").isNull());  // untagged in LAB
    EXPECT_TRUE(stored("S1", "80005").isNull());   // a Null source empties the schedule
    EXPECT_DOUBLE_EQ(stored("S1", "99213").toDouble(), 7);
    EXPECT_EQ(stored("Tag", "99213").toString(), "+");
    // Added rows: code, description, tag, fee, zeros, the other schedules Null.
    EXPECT_EQ(count(), 6);
    EXPECT_TRUE(stored("S1", "80003").isNull());
    EXPECT_EQ(stored("Tag", "80003").toString(), "+");
    EXPECT_DOUBLE_EQ(stored("S1", "80004").toDouble(), 30);
    EXPECT_EQ(stored("CPT", "80004").toString(), "80004");
    EXPECT_EQ(stored("\"DESC\"", "80004").toString(), "Lab test 80004");
    for (const char* zero : {"WORKZ", "NFBPERVU", "MRVU", "FTTOTAL", "CWORK", "Freq1", "Freq5"})
        EXPECT_EQ(stored(QString("typeof(%1) || ':' || %1").arg(zero), "80004").toString(), "real:0.0") << zero;
    EXPECT_TRUE(stored("S2", "80004").isNull());
    EXPECT_TRUE(stored("LDESC", "80004").isNull());

    // Again: nothing more is added, the same values are written.
    const QStringList after = rows();
    run<frmSchedulesLAB>(3, 0);
    EXPECT_EQ(rows(), after);
}

TEST_F(LabRunTest, CalculateScalesTheSourceAndKeepsNulls)
{
    const struct {
        const char* percent;
        double fee80001;
        double fee80004;
    } cases[] = {{"12.5", 45, 33.75}, {"-100", 0, 0}, {"0", 40, 30}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percent);
        run<frmSchedulesLAB>(3, 0, false, c.percent);
        EXPECT_DOUBLE_EQ(stored("S1", "80001").toDouble(), c.fee80001);
        EXPECT_DOUBLE_EQ(stored("S1", "80004").toDouble(), c.fee80004);
        EXPECT_TRUE(stored("S1", "80003").isNull());
        EXPECT_TRUE(stored("S1", "80005").isNull());
        EXPECT_EQ(platform::busyCount(), 0);
        db().Execute("DELETE FROM DATA0001 WHERE CODEMOD IN ('80003', '80004')");
    }
}

TEST_F(LabRunTest, TaggedOnlyFollowsTheLabTags)
{
    run<frmSchedulesLAB>(3, 0, true, "10");
    EXPECT_DOUBLE_EQ(stored("S1", "80001").toDouble(), 44);
    EXPECT_EQ(stored("Tag", "80001").toString(), "+");
    EXPECT_DOUBLE_EQ(stored("S1", "80002").toDouble(), 2);  // untagged in LAB: untouched, tag kept
    EXPECT_EQ(stored("Tag", "80002").toString(), "+");
    EXPECT_EQ(count("CODEMOD = '80003'"), 1);
    EXPECT_EQ(count("CODEMOD = '80004'"), 0);

    // No tagged row in LAB: nothing changes, M5 still shown, the window closes.
    db().Execute("UPDATE LAB SET TAG = NULL");
    const QStringList before = rows();
    run<frmSchedulesLAB>(0, 1, true);
    EXPECT_EQ(rows(), before);
    EXPECT_FALSE(platform::forms().isLoaded<frmSchedulesLAB>());
}

TEST_F(LabRunTest, RefusalsKeepTheWindowAndAskTheReload)
{
    const QStringList before = rows();
    auto& w = load<frmSchedulesLAB>();
    platform::setListIndex(w.Combo2, 0);
    seam.expectMsgBox(kM1, vbOKOnly);
    w.btn_Click(0);
    EXPECT_EQ(main->setchk->text(), "2");
    w.opt(1)->click();
    platform::setListIndex(w.Combo2, -1);
    seam.expectMsgBox(kM3, vbOKOnly);  // before the lists
    w.btn_Click(0);
    platform::setText(w.Text1, "5");
    seam.expectMsgBox("The source and destination fields must both be selected.  Please correct.", vbOKOnly);
    w.btn_Click(0);
    // A state box naming a schedule column: the source can not be the destination.
    platform::setComboText(main->Combo3, "S1");
    w.opt(0)->click();
    platform::setListIndex(w.Combo1, 3);
    platform::setListIndex(w.Combo2, 0);
    seam.expectMsgBox("The source and destination fields can not be the same.  Please correct and try again.",
                      vbOKOnly);
    w.btn_Click(0);
    EXPECT_TRUE(platform::forms().isLoaded<frmSchedulesLAB>());
    EXPECT_EQ(rows(), before);
}

TEST_F(LabRunTest, AStateThatNamesNoColumnWritesNothing)
{
    auto& w = load<frmSchedulesLAB>();
    EXPECT_EQ(w.Combo1->itemText(3), "AL State ");
    // The box holds another family's state once another view is shown.
    platform::setComboText(main->Combo3, "CA9");
    const QStringList before = rows();
    platform::setListIndex(w.Combo1, 3);
    platform::setListIndex(w.Combo2, 0);
    seam.expectMsgBox("Item not found in this collection.", vbOKOnly);
    w.btn_Click(0);
    EXPECT_EQ(rows(), before);
    EXPECT_TRUE(platform::forms().isLoaded<frmSchedulesLAB>());
    EXPECT_EQ(platform::busyCount(), 0);
    // The state read at the click: the caption still shows the old one.
    platform::setComboText(main->Combo3, "NationalLimit");
    seam.expectMsgBox("User defined schedules have been changed", vbOKOnly);
    w.btn_Click(0);
    EXPECT_DOUBLE_EQ(stored("S1", "80001").toDouble(), 50);
}

TEST_F(LabRunTest, AFailingInsertLeavesTheSessionTableAsItWas)
{
    db().Execute("CREATE TRIGGER refuse BEFORE INSERT ON DATA0001 BEGIN SELECT RAISE(ABORT, 'no new rows'); END");
    const QStringList before = rows();
    auto& w = load<frmSchedulesLAB>();
    platform::setListIndex(w.Combo1, 3);
    platform::setListIndex(w.Combo2, 0);
    seam.expectMsgBox("no new rows", vbOKOnly);
    w.btn_Click(0);
    EXPECT_EQ(rows(), before);  // the updates before the insert are undone
    EXPECT_TRUE(platform::forms().isLoaded<frmSchedulesLAB>());
    EXPECT_EQ(platform::busyCount(), 0);
}

// DME: E0100 (juris D, category 01, ceiling 100, floor 80, AL 90) in the session with notes "old";
// E0200RR (second modifier RR, juris D, category 02) missing; E0300 twice (first Mod2 empty, ceiling 10,
// then Mod2 KX, ceiling 99) missing.
class DmeRunTest : public FamilyFixture {
protected:
    void SetUp() override
    {
        FamilyFixture::SetUp();
        dao::Database d = db();
        d.Execute("DELETE FROM DME");
        d.Execute("DELETE FROM DMECATS");
        db::insertRow(d, "DMECATS", {{"CAT", "01"}, {"CATDESC", "Cat one"}});
        db::insertRow(d, "DMECATS", {{"CAT", "02"}, {"CATDESC", "Cat two"}});
        struct Row {
            const char* code;
            const char* mod2;
            const char* catg;
            double ceiling;
            dao::Variant tag;
        };
        for (const Row& r : {Row{"E0100", "", "01", 100, "+"}, Row{"E0200RR", "RR", "02", 50, dao::Variant()},
                             Row{"E0300", "", "01", 10, dao::Variant()}, Row{"E0300", "KX", "02", 99, "+"}})
            db::insertRow(d, "DME", {{"CODEMOD", r.code}, {"HCPCS", QString(r.code).left(5)}, {"Mod", ""},
                                     {"Mod2", r.mod2}, {"JURIS", "D"}, {"CATG", r.catg}, {"TAG", r.tag},
                                     {"Ceiling", r.ceiling}, {"Floor", 80.0}, {"AL", 90.0}, {"AZ", 70.0},
                                     {"Description", "Walker"}, {"LDESC", "Folding walker"}});
        addSession("E0100", dao::Variant(), 1, "old");
    }
};

TEST_F(DmeRunTest, CopyWritesFeesNotesTagsAndNewRows)
{
    run<frmSchedulesDME>(0, 0);
    EXPECT_DOUBLE_EQ(stored("S1", "E0100").toDouble(), 100);
    EXPECT_EQ(stored("NOTES", "E0100").toString(), "old DMERC jurisdiction  - Category: Cat one");
    EXPECT_EQ(stored("Tag", "E0100").toString(), "+");
    EXPECT_EQ(stored("\"DESC\"", "E0200RR").toString(), "Walker (2nd modifier - RR)");
    EXPECT_EQ(stored("LDESC", "E0200RR").toString(), "Folding walker (2nd modifier - RR)");
    EXPECT_EQ(stored("NOTES", "E0200RR").toString(), "DMERC jurisciction  -  Category: Cat two");
    // One key, two DME rows: the first one, once.
    EXPECT_EQ(count("CODEMOD = 'E0300'"), 1);
    EXPECT_DOUBLE_EQ(stored("S1", "E0300").toDouble(), 10);
    EXPECT_EQ(stored("\"DESC\"", "E0300").toString(), "Walker");

    // Each run appends its notes again.
    run<frmSchedulesDME>(0, 0);
    EXPECT_EQ(stored("NOTES", "E0100").toString(),
              "old DMERC jurisdiction  - Category: Cat one DMERC jurisdiction  - Category: Cat one");
}

TEST_F(DmeRunTest, CalculateByPercentage)
{
    const struct {
        const char* percent;
        double fee;
    } cases[] = {{"10", 110}, {"-10", 90}, {"0", 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percent);
        run<frmSchedulesDME>(0, 1, false, c.percent);
        EXPECT_DOUBLE_EQ(stored("S2", "E0100").toDouble(), c.fee);
        EXPECT_TRUE(stored("NOTES", "E0100").toString().endsWith("jurisdiction  - Category: Cat one"));
        EXPECT_EQ(stored("NOTES", "E0200RR").toString(), "DMERC jurisciction  -  Category: 02");
        EXPECT_EQ(platform::busyCount(), 0);
        db().Execute("DELETE FROM DATA0001 WHERE CODEMOD <> 'E0100' AND CODEMOD <> '99213'");
    }
}

TEST_F(DmeRunTest, CalculateOnTaggedCodesWritesTheCategoryCode)
{
    auto& w = load<frmSchedulesDME>();
    w.opt(1)->click();
    platform::setText(w.Text1, "0");
    platform::setListIndex(w.Combo1, 1);
    platform::setListIndex(w.Combo2, 0);
    platform::setCheckValue(w.chk, 1);
    seam.expectMsgBox("User defined schedules have been changed", vbOKOnly);
    w.btn_Click(0);
    EXPECT_EQ(w.SkippedRows, 1);
    settle();
    EXPECT_DOUBLE_EQ(stored("S1", "E0100").toDouble(), 80);
    EXPECT_EQ(stored("NOTES", "E0100").toString(), "old DMERC jurisdiction  - Category: 01");
    EXPECT_EQ(count("CODEMOD = 'E0200RR'"), 0);  // untagged
    // The tagged second E0300 row is not the first of its key: left out and counted.
    EXPECT_EQ(count("CODEMOD = 'E0300'"), 0);
}

TEST_F(DmeRunTest, TheStateColumnIsTheOneTheBoxNamesAtTheClick)
{
    auto& w = load<frmSchedulesDME>();
    EXPECT_EQ(w.Combo1->itemText(2), "AL State");
    platform::setComboText(main->Combo3, "AZ");
    platform::setListIndex(w.Combo1, 2);
    platform::setListIndex(w.Combo2, 4);
    seam.expectMsgBox("User defined schedules have been changed", vbOKOnly);
    w.btn_Click(0);
    EXPECT_DOUBLE_EQ(stored("S5", "E0100").toDouble(), 70);
}

}  // namespace
