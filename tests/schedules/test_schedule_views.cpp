#include "schedules/SchedulesFixture.h"

#include "db/sessions.h"
#include "platform/controls/BusyCursor.h"
#include "platform/forms/FormRegistry.h"
#include "support/ReadableTexts.h"

namespace {

using platform::setText;

const QString kCopied = "User defined schedules have been copied";
const QString kChanged = "User defined schedules have been changed";

// The sample's OPPS rows of Manhattan (13202 / 01): 12387 tagged there, 12415 tagged in another locality
// only; in the session 12815 and 99213 (no OPPS row) are tagged.
class OppsRunTest : public SchedulesFixture {
protected:
    void beforeStart() override
    {
        dao::Database d = db();
        d.Execute("UPDATE DATAOPPSVIEW SET Tag = '+' WHERE CODEMOD = '12387' AND carrier = '13202' AND locality = '01'");
        d.Execute("UPDATE DATAOPPSVIEW SET Tag = '+' WHERE CODEMOD = '12415' AND NOT (carrier = '13202' AND "
                  "locality = '01')");
        d.Execute("UPDATE DATA0001 SET Tag = '+' WHERE CODEMOD IN ('12815', '99213')");
    }
    void SetUp() override
    {
        SchedulesFixture::SetUp();
        ASSERT_EQ(first.carrier, "13202");
        ASSERT_EQ(first.loc, "01");
        showView("KELVA OPPS");
    }
    dao::Variant sessionValue(const QString& column, const QString& code)
    {
        return db().scalar(QString("SELECT %1 FROM DATA0001 WHERE CODEMOD = ?").arg(column), {code});
    }
    // Session codes whose column differs from factor times the capped fee of the view's row.
    qint64 differing(const QString& column, double factor)
    {
        return db()
            .scalar(QString("SELECT COUNT(*) FROM DATA0001 s JOIN DATAOPPSVIEW v ON v.CODEMOD = s.CODEMOD AND "
                            "v.carrier = '13202' AND v.locality = '01' WHERE s.%1 IS NULL OR "
                            "abs(s.%1 - round(v.NFTTOTAL * %2, 4)) > 1e-9")
                        .arg(column)
                        .arg(factor))
            .toLongLong();
    }
};

TEST_F(OppsRunTest, CopyWritesTheCappedFeeAndTheViewsTagsOfTheLocality)
{
    // The session's column of the same name holds RVUs, not the capped fee.
    ASSERT_NE(sessionValue("NFTTOTAL", "12387").toDouble(), 288.97);
    frmSchedules& w = open();
    choose(w.Combo1, 0);
    choose(w.Combo2, 1);
    seam.expectMsgBox(kCopied, vbOKOnly);
    w.btn_Click(0);
    EXPECT_EQ(differing("S2", 1), 0);
    EXPECT_DOUBLE_EQ(sessionValue("S2", "12387").toDouble(), 288.97);
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM DATA0001 WHERE S2 IS NOT NULL").toLongLong(), 161);
    EXPECT_EQ(sessionValue("Tag", "12387").toString(), "+");
    EXPECT_TRUE(sessionValue("Tag", "12415").isNull());
    EXPECT_TRUE(sessionValue("Tag", "12815").isNull());  // untagged in the view
    EXPECT_EQ(sessionValue("Tag", "99213").toString(), "+");  // not in the view: untouched

    // Twice the base conversion factor doubles the capped fee and leaves the tags.
    const QStringList tagsBefore = [&] {
        dao::Database d = db();
        return testsupport::tableRows(d, "DATA0001").filter("+|");
    }();
    w.opt(2)->click();
    choose(w.Combo1, 0);
    choose(w.Combo2, 2);
    setText(w.Text3, QString::number(2 * main->kelvacf->text().toDouble(), 'g', 15));
    seam.expectMsgBox(kChanged, vbOKOnly);
    w.btn_Click(0);
    EXPECT_EQ(differing("S3", 2), 0);
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM DATA0001 WHERE S3 IS NOT NULL").toLongLong(), 161);
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM DATA0001 WHERE Tag = '+'").toLongLong(), 2);
    EXPECT_EQ(platform::busyCount(), 0);
}

TEST_F(OppsRunTest, TaggedCopyWritesOnlyTheCodesTaggedInTheView)
{
    frmSchedules& w = open();
    choose(w.Combo1, 1);
    choose(w.Combo2, 0);
    platform::setCheckValue(w.chk, 1);
    seam.expectMsgBox(kCopied, vbOKOnly);
    w.btn_Click(0);
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM DATA0001 WHERE S1 IS NOT NULL").toLongLong(), 1);
    EXPECT_DOUBLE_EQ(sessionValue("S1", "12387").toDouble(), 199.56);
    EXPECT_EQ(sessionValue("Tag", "12815").toString(), "+");
}

TEST_F(OppsRunTest, AListBuiltInTheOtherViewIsBuiltAgainAtActivation)
{
    showView("KELVA");
    frmSchedules& w = open();
    choose(w.Combo1, 10);
    choose(w.Combo2, 0);
    showView("KELVA OPPS");
    platform::forms().activated(*main);
    platform::forms().activated(w);
    ASSERT_EQ(w.Combo1->count(), 2);
    EXPECT_EQ(w.Combo1->itemText(1), "Facility Participating Fee");
    EXPECT_EQ(platform::listIndex(w.Combo1), -1);
    const QStringList before = rows();
    seam.expectMsgBox("The fees and/or schedule selections cannot be blank..  Please correct and try again.", vbOKOnly);
    w.btn_Click(0);
    EXPECT_EQ(rows(), before);
}

// A second session "Other" (DATA0002) beside "Sample".
class SessionRunTest : public SchedulesFixture {
protected:
    void beforeStart() override
    {
        dao::Database d = db();
        db::NewSession other;
        other.name = "Other";
        other.source = "Sample";
        other.number = 2;
        db::createSession(d, other);
        d.Execute("UPDATE PARMS_CL SET SESCOUNT = 3");
    }
};

TEST_F(SessionRunTest, RunWritesTheSessionCurrentAtTheClick)
{
    frmSchedules& w = open();
    choose(w.Combo1, 10);
    choose(w.Combo2, 4);
    platform::setListIndex(main->Combo1, main->Combo1->findText("Other"));
    ASSERT_EQ(g().CurSesTab, "DATA0002");
    seam.expectMsgBox(kCopied, vbOKOnly);
    w.btn_Click(0);
    EXPECT_EQ(w.Label2->text(), "Sample");
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM DATA0002 WHERE S5 IS NULL OR S5 <> WORKZ").toLongLong(), 0);
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM DATA0001 WHERE S5 IS NOT NULL").toLongLong(), 0);
}

TEST_F(SessionRunTest, ARestoredSessionsTableIsWrittenUnderItsName)
{
    dao::Database d = db();
    db::createSessionCodeTable(d, "DATA00031", "DATA0001", "DATA00031Index");
    d.Execute("UPDATE SESSIONS SET SESTAB = 'DATA00031' WHERE Session = 'Sample'");
    main->Data3.Refresh();
    main->Data3.Recordset().FindFirst("Session = 'Sample'");
    frmSchedules& w = open();
    choose(w.Combo1, 13);
    choose(w.Combo2, 0);
    seam.expectMsgBox(kCopied, vbOKOnly);
    w.btn_Click(0);
    EXPECT_EQ(d.scalar("SELECT COUNT(*) FROM DATA00031 WHERE S1 IS NULL OR S1 <> MRVU").toLongLong(), 0);
    EXPECT_EQ(d.scalar("SELECT COUNT(*) FROM DATA0001 WHERE S1 IS NOT NULL").toLongLong(), 0);
}

TEST_F(SessionRunTest, AStatementTheDatabaseRefusesIsSaidAndTheWindowStays)
{
    smallTable();
    db().Execute("CREATE TRIGGER refuse BEFORE UPDATE ON DATA0001 BEGIN SELECT RAISE(ABORT, 'refused here'); END");
    frmSchedules& w = open();
    const QStringList before = rows();
    w.opt(3)->click();
    choose(w.Combo1, 0);
    choose(w.Combo2, 1);
    seam.answerMsgBox(vbOK);
    w.btn_Click(0);
    EXPECT_TRUE(seam.messages().last().contains("refused here")) << qPrintable(seam.messages().last());
    EXPECT_EQ(rows(), before);
    EXPECT_EQ(platform::busyCount(), 0);
    EXPECT_TRUE(platform::forms().isLoaded<frmSchedules>());
    EXPECT_TRUE(w.isVisible());
}

TEST_F(SessionRunTest, TheMainGridShowsTheCopiedSchedule)
{
    frmSchedules& w = open();
    choose(w.Combo1, 0);
    choose(w.Combo2, 0);
    seam.expectMsgBox(kCopied, vbOKOnly);
    w.btn_Click(0);
    goToCode(*main, "99213");
    EXPECT_EQ(main->Data1.Recordset().Fields(db::feecol::S1).Value().toDouble(),
              main->Data1.Recordset().Fields(db::feecol::NPart).Value().toDouble());
    main->show();
    main->resize(1200, 800);
    testsupport::saveShot(main, "frmSchedules_main_after_copy");
}

}  // namespace
