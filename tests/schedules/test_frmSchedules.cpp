#include "schedules/SchedulesFixture.h"

#include "main/frmPlimView.h"
#include "support/ReadableTexts.h"

#include <QTest>

namespace {

using platform::listIndex;

class SchedulesWindowTest : public SchedulesFixture {
protected:
    static QStringList items(const QComboBox* box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
    static std::vector<int> setOptions(const frmSchedules& w)
    {
        std::vector<int> out;
        for (auto [i, o] : w.opt)
            if (o->isChecked())
                out.push_back(i);
        return out;
    }
    // Types a key into a box as the keyboard does, through the window's key filter.
    static void type(QLineEdit* box, const QString& keys)
    {
        for (QChar c : keys)
            QTest::keyClick(box, c.toLatin1());
    }
};

TEST_F(SchedulesWindowTest, OpensInKelvaWithItsListsAndTexts)
{
    g().PlimViewActive = -1;
    frmSchedules& w = open();
    EXPECT_EQ(w.Caption(), g().AppTitle + " Schedule Manager");
    EXPECT_FALSE(platform::forms().isLoaded<frmPlimView>());
    EXPECT_EQ(g().PlimViewActive, 0);
    EXPECT_EQ(w.Label2->text(), "Sample");
    EXPECT_EQ(w.SSTab1->tabText(0), "   User Defined Schedules S1 - S5   ");
    EXPECT_EQ(w.SSTab1->tabText(1), "   User Defined Frequencies Freq1 - Freq5   ");
    EXPECT_TRUE(w.SSTab1->isTabEnabled(1));
    EXPECT_EQ(setOptions(w), std::vector<int>{0});
    EXPECT_EQ(w.SSTab1->currentIndex(), 0);

    const QString loc = main->Label4->text();
    ASSERT_FALSE(loc.isEmpty());
    const QStringList sources = items(w.Combo1);
    ASSERT_EQ(sources.size(), 23);
    EXPECT_EQ(listIndex(w.Combo1), -1);
    EXPECT_EQ(sources[0], "Non Facility Participating Fee");
    EXPECT_EQ(sources[8], "Total Adjusted Non-Facility RVU (" + loc + ")");
    EXPECT_EQ(sources[9], "Total Adjusted Facility RVU (" + loc + ")");
    EXPECT_EQ(sources[14], "Work RVU Adjusted (" + loc + ")");
    for (int k : {15, 16, 17})
        EXPECT_TRUE(sources[k].endsWith(" (" + loc + ")")) << k;
    EXPECT_EQ(sources.mid(18), QStringList({"Office", "Contract", "Third", "Fourth", "Fifth"}));
    EXPECT_EQ(items(w.Combo2), QStringList({"Office", "Contract", "Third", "Fourth", "Fifth", "All Schedules (S1-S5)"}));
    // A Null frequency name shows its column's own name.
    EXPECT_EQ(items(w.Combo3), QStringList({"Visits", "Freq2", "Freq3", "Freq4", "Freq5"}));
    EXPECT_EQ(items(w.Combo4).mid(2), QStringList({"Freq3", "Freq4", "Freq5", "All Frequencies(F1-F5)"}));

    EXPECT_TRUE(w.lbl(0)->isVisibleTo(&w));
    EXPECT_FALSE(w.Text1->isVisibleTo(&w));
    EXPECT_FALSE(w.lbl(4)->isVisibleTo(&w));
    EXPECT_EQ(w.lbl(4)->text(), "Please select the schedule to be cleared.  Note that there is no \"undo\" to this "
                                "operation.  Current information for this schedule will be cleared!");
    EXPECT_EQ(w.Text3->maxLength(), 8);
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_TRUE(testsupport::cutTexts(&w).isEmpty()) << qPrintable(testsupport::cutTexts(&w).join(" | "));
    testsupport::saveShot(&w, "frmSchedules_schedules");
}

TEST_F(SchedulesWindowTest, OpensInKelvaOppsWithTwoSourcesAndNoFrequencies)
{
    showView("KELVA OPPS");
    frmSchedules& w = open();
    for (int i : {3, 4, 5})
        EXPECT_FALSE(w.opt(i)->isEnabled()) << i;
    EXPECT_TRUE(w.opt(2)->isEnabled());
    EXPECT_FALSE(w.SSTab1->isTabEnabled(1));
    EXPECT_EQ(items(w.Combo1), QStringList({"Non Facility Participating Fee", "Facility Participating Fee"}));
    EXPECT_EQ(items(w.Combo2).size(), 6);
    EXPECT_EQ(w.Combo3->count(), 0);
    EXPECT_EQ(w.Combo4->count(), 0);
}

TEST_F(SchedulesWindowTest, EachActionLaysTheWindowOut)
{
    frmSchedules& w = open();
    w.opt(3)->click();
    EXPECT_EQ(items(w.Combo1), QStringList({"Office", "Contract", "Third", "Fourth", "Fifth"}));

    w.opt(1)->click();
    EXPECT_FALSE(w.Combo1->isVisibleTo(&w));
    EXPECT_FALSE(w.lbl(0)->isVisibleTo(&w));
    EXPECT_TRUE(w.lbl(4)->isVisibleTo(&w));
    EXPECT_EQ(w.lbl(1)->text(), "Schedule To Clear:");

    choose(w.Combo2, 2);
    w.opt(2)->click();
    EXPECT_TRUE(w.Text1->isVisibleTo(&w));
    EXPECT_TRUE(w.Text3->isVisibleTo(&w));
    EXPECT_EQ(w.lbl(10)->text(), "User Defined Conversion Factor");
    EXPECT_EQ(w.Combo1->count(), 23);
    EXPECT_EQ(listIndex(w.Combo2), 2);  // the destination stays as chosen
    testsupport::saveShot(&w, "frmSchedules_calculate");
    EXPECT_TRUE(testsupport::cutTexts(&w).isEmpty()) << qPrintable(testsupport::cutTexts(&w).join(" | "));

    w.opt(0)->click();
    EXPECT_EQ(w.lbl(1)->text(), "Destination: KELVA Table S1 - S5");
    EXPECT_FALSE(w.Text1->isVisibleTo(&w));
    EXPECT_FALSE(w.lbl(4)->isVisibleTo(&w));
    EXPECT_EQ(listIndex(w.Combo1), -1);
}

TEST_F(SchedulesWindowTest, ImportAndExportSayWhereTheyAreAndGoBackToCopy)
{
    frmSchedules& w = open();
    for (int i : {4, 5}) {
        w.opt(2)->click();
        seam.expectMsgBox("Importing and Exporting of user defined Fee Schedules are available under file on the "
                          "menu bar.",
                          vbOKOnly);
        w.opt(i)->click();
        EXPECT_EQ(setOptions(w), std::vector<int>{0}) << i;
        EXPECT_EQ(w.Combo1->count(), 23);
    }
    w.SSTab1->setCurrentIndex(1);
    for (int i : {7, 9}) {
        w.opt(6)->click();
        seam.expectMsgBox("Importing and Exporting of user defined Frequencies are available under file on the menu "
                          "bar.",
                          vbOKOnly);
        w.opt(i)->click();
        EXPECT_EQ(setOptions(w), std::vector<int>{11}) << i;
    }
}

TEST_F(SchedulesWindowTest, TabSwitchesLeaveOneOptionSet)
{
    frmSchedules& w = open();
    w.opt(2)->click();
    w.SSTab1->setCurrentIndex(1);
    EXPECT_EQ(setOptions(w), std::vector<int>{11});
    EXPECT_TRUE(w.Combo3->isVisibleTo(&w));
    EXPECT_FALSE(w.Text2->isVisibleTo(&w));
    w.opt(8)->click();
    EXPECT_EQ(setOptions(w), std::vector<int>{8});
    EXPECT_FALSE(w.Combo3->isVisibleTo(&w));
    EXPECT_TRUE(w.Combo4->isVisibleTo(&w));
    EXPECT_TRUE(w.Label8->isVisibleTo(&w));
    EXPECT_TRUE(w.lbl(7)->isVisibleTo(&w));
    EXPECT_TRUE(testsupport::cutTexts(&w).isEmpty()) << qPrintable(testsupport::cutTexts(&w).join(" | "));
    w.opt(6)->click();
    EXPECT_TRUE(w.Text2->isVisibleTo(&w));
    EXPECT_FALSE(w.lbl(7)->isVisibleTo(&w));
    testsupport::saveShot(&w, "frmSchedules_frequencies");
    EXPECT_TRUE(testsupport::cutTexts(&w).isEmpty()) << qPrintable(testsupport::cutTexts(&w).join(" | "));
    w.SSTab1->setCurrentIndex(0);
    EXPECT_EQ(setOptions(w), std::vector<int>{0});
    EXPECT_EQ(w.Combo1->count(), 23);
}

TEST_F(SchedulesWindowTest, PercentageAndConversionFactorKeepEachOtherEmpty)
{
    frmSchedules& w = open();
    w.opt(2)->click();
    type(w.Text3, "38");
    EXPECT_EQ(w.Text3->text(), "38");
    type(w.Text1, "5");
    EXPECT_EQ(w.Text1->text(), "5");
    EXPECT_EQ(w.Text3->text(), "");
    w.Text3_GotFocus();
    EXPECT_EQ(w.Text1->text(), "");

    type(w.Text1, "12.5");
    EXPECT_EQ(w.Text1->text(), "12.5");
    seam.expectMsgBox("The percentage increase/decrease amount must be numeric.  Please re-enter.", vbOKOnly);
    type(w.Text1, "a");
    EXPECT_EQ(w.Text1->text(), "12.5");
    w.Text1->setFocus();
    int enter = 13;
    w.Text1_KeyPress(enter);
    EXPECT_EQ(enter, 0);
    EXPECT_EQ(w.ActiveControl(), w.btn(0));
}

TEST_F(SchedulesWindowTest, ConversionFactorWarnsAndKeepsItsText)
{
    frmSchedules& w = open();
    const struct {
        const char* text;
        const char* message;  // nullptr: none
    } cases[] = {
        {"", "Entry is not numeric"},
        {"  ", "Entry is not numeric"},
        {"abc", "Entry is not numeric"},
        {"37.12345", "Cannot exceed 4 numbers behind the decimal"},
        {"37.1234", nullptr},
        {"38", nullptr},
        {"12345", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        w.Text3->setText(c.text);
        if (c.message)
            seam.expectMsgBox(c.message, vbOKOnly);
        w.Text3_LostFocus();
        EXPECT_EQ(w.Text3->text(), c.text);
        seam.verifyNothingLeft();
    }
}

TEST_F(SchedulesWindowTest, CancelClosesAndHelpOpensItsTopic)
{
    frmSchedules& w = open();
    w.btnHelp->click();
    ASSERT_EQ(seam.calls("Help").size(), 1u);
    EXPECT_TRUE(seam.calls("Help")[0].text.endsWith("morvex.chm"));
    EXPECT_EQ(seam.calls("Help")[0].flags, 580);
    const QStringList before = rows();
    w.btn(1)->click();
    settle();
    EXPECT_FALSE(platform::forms().isLoaded<frmSchedules>());
    EXPECT_EQ(platform::busyCount(), 0);
    EXPECT_EQ(rows(), before);
}

TEST_F(SchedulesWindowTest, OpensByName)
{
    platform::Form* w = platform::forms().getByName("frmSchedules");
    ASSERT_NE(w, nullptr);
    EXPECT_NE(dynamic_cast<frmSchedules*>(w), nullptr);
}

}  // namespace
