#include "reports/ReportsFixture.h"

#include "main/frmPlimView.h"
#include "platform/forms/controls.h"
#include "reports/frmReports.h"
#include "reports/reportitems.h"

namespace {

class ChooserTest : public ReportsFixture {
protected:
    frmReports& open()
    {
        // Shown modeless here, so it is the active window the builder returns to.
        frmReports& w = load<frmReports>();
        w.Show();
        return w;
    }
    struct Seen {
        QString frame;
        QStringList chosen, numbers;
        bool listEnabled = true;
    };
    // Answers the builder's next modal show: records what it shows and closes it.
    void recordBuilder(Seen& seen)
    {
        seam.onModal<frmReportz>([&seen](frmReportz& r) {
            seen.frame = r.Frame3->isVisibleTo(&r) ? r.Frame3->title() : QString();
            seen.chosen = texts(r.lst(1));
            seen.numbers = texts(r.lst(3));
            seen.listEnabled = r.lst(1)->isEnabled();
            r.btn(0)->click();
        });
    }
};

TEST_F(ChooserTest, OpensWithTheCaptionsAndNoOptionOn)
{
    g().PlimViewActive = -1;
    frmReports& w = open();
    EXPECT_EQ(w.Caption(), g().AppTitle + " Reports");
    EXPECT_EQ(w.Label1->text(), "Sample");
    EXPECT_EQ(g().PlimViewActive, 0);
    EXPECT_FALSE(platform::forms().isLoaded<frmPlimView>());
    EXPECT_EQ(w.rptopt.Count(), 14);
    EXPECT_EQ(w.rptopt(0)->text(),
              " 1.Code, Mod, Description, Total Non Facility KELVA Units, Non Facility Participating Fee");
    EXPECT_EQ(w.rptopt(8)->text(), " 9.Code, Mod, Total Non Facility KELVA Units, Non Facility Non-Participating Fee");
    EXPECT_EQ(w.rptopt(12)->text(), "13.Code, Mod, Total Facility KELVA Units, Facility Limiting Fee");
    EXPECT_EQ(w.rptopt(13)->text(), "Custom Reports");
    for (auto [i, o] : w.rptopt)
        EXPECT_FALSE(o->isChecked()) << i;
}

TEST_F(ChooserTest, EveryLayoutThroughTheChooserAndThroughTheMenusCall)
{
    for (const reports::PreselectedLayout& layout : reports::preselectedLayouts()) {
        SCOPED_TRACE(layout.number);
        QStringList expected, numbers;
        for (int item : layout.items) {
            expected << reports::reportItemText(item);
            numbers << QString::number(item);
        }
        const QString frame = QStringLiteral("Preselected Report #%1").arg(layout.number);

        frmReports& w = open();
        w.rptopt(layout.number - 1)->click();
        Seen seen;
        recordBuilder(seen);
        w.Command1->click();
        EXPECT_EQ(seen.frame, frame);
        EXPECT_EQ(seen.chosen, expected);
        EXPECT_EQ(seen.numbers, numbers);
        EXPECT_FALSE(seen.listEnabled);
        EXPECT_TRUE(w.Command1->isEnabled());
        EXPECT_TRUE(w.Command2->isEnabled());
        EXPECT_TRUE(w.rptopt(layout.number - 1)->isChecked());
        w.Command2->click();
        EXPECT_FALSE(platform::forms().isLoaded<frmReports>());
        settle();

        Seen direct;
        recordBuilder(direct);
        reports::openPreselectedReport(layout.number, layout.items);
        EXPECT_EQ(direct.frame, frame);
        EXPECT_EQ(direct.chosen, expected);
        EXPECT_FALSE(direct.listEnabled);
        settle();
    }
    EXPECT_EQ(platform::busyCount(), 0);
}

TEST_F(ChooserTest, SevenAndNineWordForWord)
{
    const auto& layouts = reports::preselectedLayouts();
    Seen seven, nine;
    recordBuilder(seven);
    reports::openPreselectedReport(7, layouts[6].items);
    recordBuilder(nine);
    reports::openPreselectedReport(9, layouts[8].items);
    EXPECT_EQ(seven.chosen, (QStringList{"Code", "User Schedule 1", "User Schedule 2", "User Schedule 3",
                                         "User Schedule 4", "User Schedule 5"}));
    EXPECT_EQ(nine.chosen,
              (QStringList{"Code", "Total Non Facility KELVA Units", "Non Facility Non Participating Fee"}));
}

TEST_F(ChooserTest, TheTwoFramesAreKeptExclusive)
{
    frmReports& w = open();
    w.rptopt(13)->click();
    w.rptopt(4)->click();
    EXPECT_FALSE(w.rptopt(13)->isChecked());
    EXPECT_TRUE(w.rptopt(4)->isChecked());
    w.rptopt(13)->click();
    EXPECT_TRUE(w.rptopt(13)->isChecked());
    for (int i = 0; i < 13; ++i)
        EXPECT_FALSE(w.rptopt(i)->isChecked()) << i;
}

TEST_F(ChooserTest, NextWithNothingChosenDisablesUntilTheNextActivation)
{
    frmReports& w = open();
    w.Command1->click();
    EXPECT_TRUE(seam.calls("ShowModal").empty());
    EXPECT_FALSE(w.Command1->isEnabled());
    EXPECT_FALSE(w.Command2->isEnabled());
    w.Form_Activate();
    EXPECT_TRUE(w.Command1->isEnabled());
    EXPECT_TRUE(w.Command2->isEnabled());
}

TEST_F(ChooserTest, CustomReportsOpensTheLastCustomReport)
{
    setParms("Last_Print = '10000,20000,0,Code,Work RVU,Description'");
    frmReports& w = open();
    w.rptopt(13)->click();
    Seen seen;
    recordBuilder(seen);
    w.Command1->click();
    EXPECT_EQ(seen.frame, "");
    EXPECT_EQ(seen.chosen, (QStringList{"Code", "Description", "Work RVU"}));
    EXPECT_TRUE(seen.listEnabled);
}

}  // namespace
