#include "main/MainWindowTest.h"

#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "sessions/frmAbout.h"

namespace {

// The about window over the program folder's sample database; the main window is not needed.
class AboutTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        g().DbConnect = testsupport::programConnect();
        g().AppTitle = QStringLiteral("KELVA Morvex\u00AE 2014 ");
    }
    frmAbout& open() { return load<frmAbout>(); }
    QString first(const QString& table, const QString& column)
    {
        return db().scalar(QStringLiteral("SELECT \"%1\" FROM %2").arg(column, table)).toString();
    }
};

TEST_F(AboutTest, OpensOnTheTitleAndVersion)
{
    frmAbout& w = open();
    EXPECT_EQ(w.Caption(), "About KELVA Morvex\u00AE 2014 ");
    EXPECT_EQ(w.lbl(0)->text(), g().AppTitle);
    EXPECT_EQ(w.lbl(2)->text(), "Version: 2014.0.0");
    EXPECT_TRUE(w.DBGrid1->isHidden());
    const QStringList captions = {"KELVA", "DMEPOS", "Lab Fees", "J-Codes", "ASC", "DRG"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(w.Command1(i)->text(), captions[i]);
        EXPECT_TRUE(w.Command1(i)->isEnabled());
    }
    EXPECT_EQ(w.DBGrid1->Columns(2).Caption(), "Last update");
    EXPECT_EQ(w.DBGrid1->Columns(50).Caption(), "F51");
}

TEST_F(AboutTest, EachDateButtonShowsItsOwnLinesOnly)
{
    frmAbout& w = open();
    w.Command1(0)->click();
    EXPECT_EQ(w.lbl(2)->text(), first("DatesKELVA", "Date") + "\r\n" + first("DatesKELVA", "Date2"));
    w.Command1(5)->click();
    EXPECT_EQ(w.lbl(2)->text(), first("DatesDRG", "Date"));
    w.Command1(1)->click();
    EXPECT_EQ(w.lbl(2)->text(), first("DatesDME", "Date1") + "\r\n" + first("DatesDME", "Date2"));

    w.Command1(3)->click();
    EXPECT_TRUE(w.lbl(2)->isHidden());
    EXPECT_FALSE(w.DBGrid1->isHidden());
    EXPECT_EQ(w.DBGrid1->model()->rowCount(), db().scalar("SELECT COUNT(*) FROM DatesJCD").toLongLong());

    w.Command1(4)->click();
    EXPECT_TRUE(w.DBGrid1->isHidden());
    EXPECT_FALSE(w.lbl(2)->isHidden());
    EXPECT_EQ(w.lbl(2)->text().split("\r\n").size(), 3);

    w.btn(2)->click();
    EXPECT_EQ(w.lbl(2)->text(), "Version: 2014.0.0");
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(AboutTest, EmptyTablesAndNullDatesShowEmptyLines)
{
    db().Execute("DELETE FROM DatesDRG");
    db().Execute("UPDATE DatesASC SET Date2 = NULL");
    frmAbout& w = open();
    w.Command1(5)->click();
    EXPECT_EQ(w.lbl(2)->text(), "");
    w.Command1(4)->click();
    EXPECT_EQ(w.lbl(2)->text(), first("DatesASC", "Date") + "\r\n\r\n" + first("DatesASC", "Date3"));
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(AboutTest, CloseUnloadsTheWindow)
{
    frmAbout& w = open();
    w.Command1(3)->click();
    w.btn(0)->click();
    EXPECT_FALSE(platform::forms().isLoaded<frmAbout>());
}

// Menus open windows by name: a name that is built loads its window once; an unknown one opens nothing.
TEST_F(AboutTest, OpensByNameAndUnknownNamesOpenNothing)
{
    platform::FormRegistry& r = platform::forms();
    EXPECT_EQ(r.loadedByName(QStringLiteral("frmAbout")), nullptr);
    platform::Form* w = r.getByName(QStringLiteral("frmAbout"));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w, r.loadedOrNull<frmAbout>());
    EXPECT_EQ(r.getByName(QStringLiteral("FRMABOUT")), w);
    EXPECT_EQ(r.loadedByName(QStringLiteral("frmAbout")), w);
    EXPECT_FALSE(platform::FormRegistry::hasName(QStringLiteral("frmNoSuchWindow")));
    EXPECT_EQ(r.getByName(QStringLiteral("frmNoSuchWindow")), nullptr);
    EXPECT_TRUE(platform::FormRegistry::hasName(QStringLiteral("frmMain")));
}

}  // namespace

