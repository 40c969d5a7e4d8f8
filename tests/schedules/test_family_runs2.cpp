#include "schedules/FamilyFixture.h"

#include "db/jcodefees.h"
#include "platform/controls/BusyCursor.h"
#include "platform/forms/FormRegistry.h"
#include "support/ReadableTexts.h"

#include <functional>

namespace {

const QString kM3 = "The percentage increase/decrease box can not be blank.  If you enter a 0 (zero percent) you "
                    "will copy the source to the destination.";

// JCD (JCDSTATE "CA"): J0001 tagged, CA 10.00, AZ 12.30, ASP 5 and J0005 (CA 0, ASP 3, S2 1) in the session;
// J0002 (CA 1.50, AZ Null), J0003 (CA 0.50), J0004 (CA Null, ASP 3) and J0006 (CA 12.30) missing.
class JCodeRunTest : public FamilyFixture {
protected:
    void SetUp() override
    {
        FamilyFixture::SetUp();
        dao::Database d = db();
        d.Execute("DELETE FROM JCD");
        d.Execute("UPDATE PARMS_CL SET JCDSTATE = 'CA'");
        main->Data2.Refresh();
        struct Row {
            const char* code;
            dao::Variant tag, ca, az, asp;
        };
        for (const Row& r : {Row{"J0001", "+", 10.0, 12.3, 5.0}, Row{"J0002", dao::Variant(), 1.5, dao::Variant(), 2.0},
                             Row{"J0003", dao::Variant(), 0.5, 1.0, 2.0},
                             Row{"J0004", dao::Variant(), dao::Variant(), 1.0, 3.0},
                             Row{"J0005", dao::Variant(), 0.0, 1.0, 3.0}, Row{"J0006", dao::Variant(), 12.3, 1.0, 2.0}})
            db::insertRow(d, "JCD", {{"Codemod", r.code}, {"HCPCS", r.code}, {"Mod", "JW"}, {"Tag", r.tag},
                                     {"Description", QString("Drug ") + r.code}, {"CA", r.ca}, {"AZ", r.az},
                                     {"MMA", r.asp}});
        platform::setComboText(main->Combo3, "CA");
        reset();
    }
    void reset()
    {
        db().Execute("DELETE FROM DATA0001 WHERE substr(CODEMOD, 1, 1) = 'J'");
        addSession("J0001", dao::Variant(), 1);
        addSession("J0005", dao::Variant(), 1);
    }
    double s2(const char* code) { return stored("S2", code).toDouble(); }
};

TEST_F(JCodeRunTest, AmountsOfTheJCodeViewThroughTheRun)
{
    // The view's rule typed out: 95 % in whole cents, then 115 % of that in whole cents.
    const struct {
        const char* code;
        double price, nonPar, limiting;
    } rows[] = {{"J0001", 10.00, 9.50, 10.92}, {"J0002", 1.50, 1.42, 1.63}, {"J0003", 0.50, 0.48, 0.55},
                {"J0006", 12.30, 11.68, 13.43}};
    for (int position : {1, 2, 3}) {
        SCOPED_TRACE(position);
        reset();
        run<frmSchedulesJCD>(position, 1);
        for (const auto& r : rows)
            EXPECT_DOUBLE_EQ(s2(r.code), position == 1 ? r.price : position == 2 ? r.nonPar : r.limiting) << r.code;
    }
    const struct {
        const char* percent;
        int position;
        double j0001;
    } calc[] = {{"10", 1, 11.00}, {"10", 3, 12.01}, {"-100", 3, 0}, {"0", 3, 10.92}, {"0", 2, 9.50}};
    for (const auto& c : calc) {
        SCOPED_TRACE(std::string(c.percent) + " at " + std::to_string(c.position));
        reset();
        run<frmSchedulesJCD>(c.position, 1, false, c.percent);
        EXPECT_DOUBLE_EQ(s2("J0001"), c.j0001);
    }
    EXPECT_EQ(db::jcodeAmounts("JCD.\"CA\"").participating, "(JCD.\"CA\")");
}

TEST_F(JCodeRunTest, CopyWritesPricedCodesOnlyAndAddsTheMissing)
{
    run<frmSchedulesJCD>(1, 1);
    EXPECT_EQ(stored("Tag", "J0001").toString(), "+");
    EXPECT_DOUBLE_EQ(s2("J0001"), 10);
    EXPECT_DOUBLE_EQ(s2("J0005"), 2.5);  // CA 0: untouched
    EXPECT_EQ(count("CODEMOD = 'J0004'"), 0);
    EXPECT_EQ(stored("CPT", "J0002").toString(), "J0002");
    EXPECT_EQ(stored("MOD", "J0002").toString(), "JW");
    EXPECT_EQ(stored("\"DESC\"", "J0002").toString(), "Drug J0002");
    EXPECT_DOUBLE_EQ(stored("NFTTOTAL", "J0002").toDouble(), 0);
    EXPECT_TRUE(stored("NFTTOTAL", "J0002").isNumeric());
    EXPECT_TRUE(stored("S1", "J0002").isNull());
    const QStringList after = rows();
    run<frmSchedulesJCD>(1, 1);
    EXPECT_EQ(rows(), after);

    // The ASP fee, too, only for the codes priced in the state.
    reset();
    db().Execute("DELETE FROM DATA0001 WHERE CODEMOD <> 'J0005' AND substr(CODEMOD, 1, 1) = 'J'");
    run<frmSchedulesJCD>(0, 1);
    EXPECT_DOUBLE_EQ(s2("J0005"), 2.5);
    EXPECT_EQ(count("CODEMOD = 'J0004'"), 0);
    EXPECT_DOUBLE_EQ(s2("J0003"), 2);
}

TEST_F(JCodeRunTest, PricesOfTheStateBoxForTheCodesPricedInJcdState)
{
    platform::setComboText(main->Combo3, "AZ");
    run<frmSchedulesJCD>(1, 1);
    EXPECT_DOUBLE_EQ(s2("J0001"), 12.3);
    EXPECT_TRUE(stored("S2", "J0002").isNull());  // a Null AZ price empties the destination
    EXPECT_EQ(count("CODEMOD = 'J0004'"), 0);    // Null in CA
}

TEST_F(JCodeRunTest, TaggedOnlyWithoutTaggedCodesChangesNothing)
{
    db().Execute("UPDATE JCD SET Tag = NULL");
    const QStringList before = rows();
    run<frmSchedulesJCD>(1, 1, true);
    EXPECT_EQ(rows(), before);
    EXPECT_FALSE(platform::forms().isLoaded<frmSchedulesJCD>());
}

// ASC (wage index 0.9876): 10001 (100) and its modifier row 1000126, 10002 (123.45), 10003 (payment Null)
// and 10004 (100, tagged in ASC) in the session; 10001 is tagged in the session only.
class AscRunTest : public FamilyFixture {
protected:
    void SetUp() override
    {
        FamilyFixture::SetUp();
        dao::Database d = db();
        d.Execute("DELETE FROM \"ASC\"");
        struct Row {
            const char* code;
            dao::Variant tag, payment;
        };
        for (const Row& r : {Row{"10001", dao::Variant(), 100.0}, Row{"10002", dao::Variant(), 123.45},
                             Row{"10003", dao::Variant(), dao::Variant()}, Row{"10004", "+", 100.0},
                             Row{"10005", dao::Variant(), 50.0}})
            db::insertRow(d, "ASC", {{"CODE", r.code}, {"Tag", r.tag}, {"trans_payment", r.payment}});
        addSession("10001", "+", 1);
        addSession("1000126", dao::Variant(), 3);
        addSession("10002", dao::Variant(), 1);
        addSession("10003", dao::Variant(), 9);
        addSession("10004", dao::Variant(), 1);
        platform::setText(main->ascwr, "0.9876");
    }
};

TEST_F(AscRunTest, LocalPaymentRateCopiedAndCalculated)
{
    const struct {
        const char* percent;  // nullptr: Copy
        double fee;
    } cases[] = {{nullptr, 99.38}, {"10", 109.32}, {"2.5", 101.86}, {"-100", 0}, {"0", 99.38}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percent ? c.percent : "copy");
        run<frmSchedulesASC>(0, 0, false, c.percent ? QString(c.percent) : QString());
        EXPECT_DOUBLE_EQ(stored("S1", "10001").toDouble(), c.fee);
        EXPECT_DOUBLE_EQ(stored("S1", "1000126").toDouble(), 3);
        EXPECT_TRUE(stored("S1", "10003").isNull());
        EXPECT_EQ(stored("Tag", "10001").toString(), "+");
        EXPECT_EQ(count(), 6);  // no code added
        EXPECT_EQ(platform::busyCount(), 0);
    }
    platform::setText(main->ascwr, "1.0325");
    run<frmSchedulesASC>(0, 0);
    EXPECT_DOUBLE_EQ(stored("S1", "10002").toDouble(), 125.46);
}

TEST_F(AscRunTest, TaggedOnlyReadsTheAscTags)
{
    run<frmSchedulesASC>(0, 0, true);
    EXPECT_DOUBLE_EQ(stored("S1", "10004").toDouble(), 99.38);
    EXPECT_DOUBLE_EQ(stored("S1", "10001").toDouble(), 1);
}

TEST_F(AscRunTest, RefusalsOfThePercentageAndTheWageIndex)
{
    const QStringList before = rows();
    auto& w = load<frmSchedulesASC>();
    w.opt(1)->click();
    seam.expectMsgBox(kM3, vbOKOnly);  // even without a destination
    w.btn_Click(0);
    w.opt(0)->click();
    platform::setListIndex(w.Combo2, 0);
    for (const char* index : {"", "abc"}) {
        platform::setText(main->ascwr, index);
        seam.expectMsgBox("The wage index in use is not a number.", vbOKOnly);
        w.btn_Click(0);
    }
    EXPECT_EQ(rows(), before);
    EXPECT_TRUE(platform::forms().isLoaded<frmSchedulesASC>());
    EXPECT_EQ(platform::busyCount(), 0);
    EXPECT_EQ(main->setchk->text(), "2");
}

// DRG (base rate 5370): 1 (ARW 1.5, MDC 05, SURG), 5 (ARW 2, tagged), 1000 (ARW 3),
// 7 (MDC and type Null); the session holds DRG005 (edited description and notes), DRG1000 and a row DRG5.
class DrgRunTest : public FamilyFixture {
protected:
    void SetUp() override
    {
        FamilyFixture::SetUp();
        dao::Database d = db();
        d.Execute("DELETE FROM DRG");
        db::insertRow(d, "DRG", {{"DRG", 1}, {"ARW", 1.5}, {"MDC", "05"}, {"DRGTYPE", "SURG"}, {"DESC", "Heart"},
                                 {"GMLOS", 4.2}, {"AMLOS", 5.1}});
        db::insertRow(d, "DRG", {{"DRG", 5}, {"ARW", 2.0}, {"MDC", "01"}, {"DRGTYPE", "MED"}, {"DESC", "Brain"},
                                 {"TAG", "+"}});
        db::insertRow(d, "DRG", {{"DRG", 1000}, {"ARW", 3.0}, {"DESC", "Other"}});
        db::insertRow(d, "DRG", {{"DRG", 7}, {"ARW", 1.0}, {"DESC", "Seventh"}});
        addSession("DRG005", dao::Variant(), 1, "mine");
        d.Execute("UPDATE DATA0001 SET \"DESC\" = 'edited' WHERE CODEMOD = 'DRG005'");
        addSession("DRG5", dao::Variant(), 7);
        addSession("DRG1000", dao::Variant(), 1);
        platform::setComboText(main->Combo4, "5370");
    }
};

TEST_F(DrgRunTest, CopyWritesAndAddsTheDrgRows)
{
    run<frmSchedulesDRG>(0, 0);
    EXPECT_DOUBLE_EQ(stored("S1", "DRG001").toDouble(), 8055);
    EXPECT_DOUBLE_EQ(stored("S1", "DRG005").toDouble(), 10740);
    EXPECT_DOUBLE_EQ(stored("S1", "DRG1000").toDouble(), 16110);
    EXPECT_DOUBLE_EQ(stored("S1", "DRG5").toDouble(), 7);
    EXPECT_EQ(stored("CPT", "DRG001").toString(), "DRG001");
    EXPECT_EQ(stored("\"DESC\"", "DRG001").toString(), "DRG:Heart");
    EXPECT_EQ(stored("LDESC", "DRG001").toString(), "DRG:  Heart");
    EXPECT_EQ(stored("NOTES", "DRG001").toString(), "MDC CODE: 05   DRG Type: SURG");
    EXPECT_EQ(stored("NOTES", "DRG007").toString(), "MDC CODE:    DRG Type: ");
    EXPECT_TRUE(stored("S2", "DRG001").isNull());
    EXPECT_EQ(stored("\"DESC\"", "DRG005").toString(), "edited");
    EXPECT_EQ(stored("NOTES", "DRG005").toString(), "mine");
    EXPECT_TRUE(stored("Tag", "DRG005").isNull());  // tagged in DRG: the session's tag stays
    const QStringList after = rows();
    run<frmSchedulesDRG>(0, 0);
    EXPECT_EQ(rows(), after);
}

TEST_F(DrgRunTest, CalculateAndTheOtherSources)
{
    const struct {
        int source;
        const char* percent;
        double fee;
    } cases[] = {{0, "100", 16110}, {0, "0", 8055}, {1, nullptr, 1.5}, {2, nullptr, 4.2}, {3, "10", 5.61}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        run<frmSchedulesDRG>(c.source, 2, false, c.percent ? QString(c.percent) : QString());
        EXPECT_NEAR(stored("S3", "DRG001").toDouble(), c.fee, 1e-9);
    }
}

TEST_F(DrgRunTest, TaggedOnlyLeavesUntaggedDrgsAlone)
{
    run<frmSchedulesDRG>(1, 0, true);
    EXPECT_DOUBLE_EQ(stored("S1", "DRG005").toDouble(), 2);
    EXPECT_EQ(count("CODEMOD = 'DRG001'"), 0);
    EXPECT_DOUBLE_EQ(stored("S1", "DRG1000").toDouble(), 1);
}

TEST_F(DrgRunTest, ABaseRateThatIsNoNumberIsRefused)
{
    const QStringList before = rows();
    auto& w = load<frmSchedulesDRG>();
    platform::setListIndex(w.Combo2, 0);
    for (const char* rate : {"abc", ""}) {
        platform::setComboText(main->Combo4, rate);
        seam.expectMsgBox("The base rate amount must be numeric.  Please re-enter.", vbOKOnly);
        w.btn_Click(0);
    }
    EXPECT_EQ(rows(), before);
    EXPECT_TRUE(platform::forms().isLoaded<frmSchedulesDRG>());
}

// The second statement failing: the first is undone, the message shown, the window left open.
class SecondStatementFailsTest : public FamilyFixture {};

TEST_F(SecondStatementFailsTest, JCodeAndDrgRunsRollBack)
{
    dao::Database d = db();
    d.Execute("DELETE FROM JCD");
    db::insertRow(d, "JCD", {{"Codemod", "J0001"}, {"HCPCS", "J0001"}, {"CA", 10.0}, {"Tag", "+"}});
    db::insertRow(d, "JCD", {{"Codemod", "J0002"}, {"HCPCS", "J0002"}, {"CA", 10.0}});
    d.Execute("UPDATE PARMS_CL SET JCDSTATE = 'CA'");
    main->Data2.Refresh();
    platform::setComboText(main->Combo3, "CA");
    d.Execute("DELETE FROM DRG");
    db::insertRow(d, "DRG", {{"DRG", 1}, {"ARW", 1.5}});
    db::insertRow(d, "DRG", {{"DRG", 2}, {"ARW", 1.5}});
    addSession("J0001", dao::Variant(), 1);
    addSession("DRG001", dao::Variant(), 1);
    platform::setComboText(main->Combo4, "5370");
    d.Execute("CREATE TRIGGER refuse BEFORE INSERT ON DATA0001 BEGIN SELECT RAISE(ABORT, 'no new rows'); END");
    const QStringList before = rows();
    for (const char* window : {"frmSchedulesJCD", "frmSchedulesDRG"}) {
        SCOPED_TRACE(window);
        auto& w = dynamic_cast<FamilyScheduleWindow&>(*platform::forms().getByName(window));
        platform::setListIndex(w.Combo1, 1);
        platform::setListIndex(w.Combo2, 0);
        seam.expectMsgBox("no new rows", vbOKOnly);
        w.btn_Click(0);
        EXPECT_EQ(rows(), before);
        EXPECT_TRUE(w.isLoaded());
        EXPECT_EQ(platform::busyCount(), 0);
    }
}

// On the sample: DRG and J-code rows added by their runs show in the main grid with their schedule.
class FamilyRunsOnTheSample : public SchedulesFixture {};

TEST_F(FamilyRunsOnTheSample, TheGridListsTheAddedRows)
{
    platform::setComboText(main->Combo4, "5370");
    db().Execute("UPDATE PARMS_CL SET JCDSTATE = 'CA'");
    main->Data2.Refresh();
    platform::setComboText(main->Combo3, "CA");
    for (const char* window : {"frmSchedulesDRG", "frmSchedulesJCD"}) {
        auto& w = dynamic_cast<FamilyScheduleWindow&>(*platform::forms().getByName(window));
        platform::setListIndex(w.Combo1, 1);
        platform::setListIndex(w.Combo2, 4);
        seam.expectMsgBox("User defined schedules have been changed", vbOKOnly);
        w.btn_Click(0);
        settle();
    }
    main->ViewAllRecs();
    const qint64 drgs = db().scalar("SELECT count(*) FROM DATA0001 WHERE substr(CODEMOD, 1, 3) = 'DRG' AND S5 > 0").toLongLong();
    const qint64 jcodes = db().scalar("SELECT count(*) FROM DATA0001 WHERE CODEMOD IN (SELECT Codemod FROM JCD "
                                      "WHERE CA > 0) AND S5 > 0").toLongLong();
    EXPECT_GT(drgs, 700);
    EXPECT_GT(jcodes, 100);
    goToCode(*main, "DRG001");
    EXPECT_GT(main->Data1.Recordset().Fields(db::feecol::S5).Value().toDouble(), 0);
    main->show();
    main->resize(1200, 800);
    testsupport::saveShot(main, "family_runs_main_grid_drg");
    const QString jcode = db().scalar("SELECT min(Codemod) FROM JCD WHERE CA > 0").toString();
    goToCode(*main, jcode);
    EXPECT_GT(main->Data1.Recordset().Fields(db::feecol::S5).Value().toDouble(), 0);
    testsupport::saveShot(main, "family_runs_main_grid_jcode");
}

}  // namespace
