#include "main/MainWindowTest.h"

#include "update/gapmerge.h"

namespace {

class GapMenuTest : public MainWindowTest {
protected:
    QString status(const QString& table, const QString& codemod)
    {
        return db().scalar("SELECT STATUS FROM [" + table + "] WHERE CODEMOD = ?", {codemod}).toString();
    }
};

}  // namespace

TEST_F(GapMenuTest, GapCodeUpdateMergesAndEndsTheProgram)
{
    const auto first = withFirstSession();
    db().Execute("UPDATE SESSIONS SET CURUSEADJ = -1");
    const QString code = db().scalar("SELECT Codemod FROM GAP ORDER BY rowid").toString();
    const QString before = status(first.table, code);
    frmMain& w = start();
    settleStarted();

    seam.expectMsgBox("Gap Update complete.  The application will need to be restarted.", vbOKOnly);
    w.mnuupgrades(2)->trigger();
    EXPECT_TRUE(programEnded());
    EXPECT_EQ(status(first.table, code), before + "g");
    EXPECT_EQ(status("DATA0000", code), before + "g");
    EXPECT_EQ(parms("gapdate").toString(), "2014-06-16");
}

TEST_F(GapMenuTest, AFailedGapCodeUpdateEndsTheProgramToo)
{
    withFirstSession();
    db().Execute("UPDATE SESSIONS SET CURUSEADJ = -1");
    frmMain& w = start();
    settleStarted();
    db().Execute("DROP TABLE GAP");

    seam.expectMsgBox("no such table: GAP", vbOKOnly);
    seam.expectMsgBox("An error has occurred in updating with Gap information ", vbOKOnly);
    w.mnuupgrades(2)->trigger();
    EXPECT_TRUE(programEnded());
    EXPECT_TRUE(parms("gapdate").isNull());
}
