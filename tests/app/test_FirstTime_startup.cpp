#include "main/MainWindowTest.h"

#include "app/FirstTime.h"
#include "app/frmSplash.h"
#include "platform/dao/Recordset.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "sessions/frmSLocation.h"

namespace {

// The start-up on the shipped database: the agreement, then the wizard, then the main window.
class FirstRunStartupTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        seam.onModal<frmSplash>([](frmSplash& s) { s.btn(0)->click(); });
    }
};

TEST_F(FirstRunStartupTest, TheMainWindowStartsOnTheWizardsSession)
{
    seam.onModal<frmSLocation>([](frmSLocation& l) {
        platform::setListIndex(l.cmb, l.cmb->findText("NEW YORK"));
        const int rows = l.DBGrid1->model()->rowCount();
        for (int r = 0; r < rows; ++r) {
            if (l.DBGrid1->cellText(r, 2) == "MANHATTAN") {
                l.DBGrid1->setCurrentIndex(l.DBGrid1->model()->index(r, 0));
                break;
            }
        }
        l.DBGrid1_Click();
        l.btn(2)->click();
    });
    seam.onModal<FirstTime>([](FirstTime& w) {
        EXPECT_EQ(w.txtSession->text(), "");
        w.txtSession->setText("Main Office");
        w.btn(1)->click();
        w.btn(1)->click();
    });
    frmMain& main = start();
    ASSERT_FALSE(programEnded());
    EXPECT_FALSE(forms().isLoaded<FirstTime>());
    EXPECT_EQ(main.WindowState(), vbMaximized);
    EXPECT_EQ(main.Combo1->count(), 2);
    EXPECT_EQ(main.Combo1->currentText(), "Main Office");
    EXPECT_EQ(g().CurSesTab, "DATA0001");
    EXPECT_EQ(main.Data3.Recordset()["Session"].Value().toString(), "Main Office");
    // The live parameter row and the file agree.
    for (const char* column : {"CURSES", "CreateTables", "SESCOUNT", "CARRIER", "Loc"})
        EXPECT_EQ(main.Data2.Recordset()[column].Value().toString(), parms(column).toString()) << column;
    EXPECT_EQ(parms("CURSES").toString(), "Main Office");
    EXPECT_EQ(parms("CreateTables").toLongLong(), 1);
    EXPECT_EQ(parms("SESCOUNT").toLongLong(), 2);
    EXPECT_EQ(db().scalar("SELECT GEOLOC FROM SESSIONS WHERE Session = 'Main Office'").toString(),
              "NEW YORK - MANHATTAN");
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM DATA0001").toLongLong(),
              db().scalar("SELECT COUNT(*) FROM DATA0000").toLongLong());
}

TEST_F(FirstRunStartupTest, CancelInTheWizardEndsTheProgram)
{
    seam.onModal<FirstTime>([](FirstTime& w) { w.btn(0)->click(); });
    start();
    EXPECT_TRUE(programEnded());
    EXPECT_FALSE(forms().isLoaded<frmMain>());
    EXPECT_FALSE(forms().isLoaded<FirstTime>());
    EXPECT_EQ(parms("CreateTables").toLongLong(), 0);
    EXPECT_FALSE(db().hasTable("DATA0001"));
}

}  // namespace
