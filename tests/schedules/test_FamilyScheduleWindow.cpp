#include "schedules/FamilyFixture.h"

#include "main/frmPlimView.h"
#include "support/ReadableTexts.h"

#include <QTest>

namespace {

using platform::listIndex;

struct WindowRow {
    const char* window;
    const char* caption;
    const char* sourceCaption;
    QStringList items;  // with the state box at "AL"
    int chosen;
    bool note;
};

const WindowRow kRows[] = {
    {"frmSchedulesDME", " Schedule Manager DMEPOS to KELVA", "Source: DMEPOS Table", {"Ceiling", "Floor", "AL State"},
     -1, true},
    {"frmSchedulesLAB", " Schedule Manager Lab to KELVA", "Source: Lab Fee Table",
     {"National", "MidPoint", "LabFloor", "AL State "}, -1, false},
    {"frmSchedulesJCD", " Schedule Manager J-Code to KELVA", "Source: J Code Table",
     {"ASP Fee", "AL Participating ", "AL Non Participating", "AL Limiting"}, -1, false},
    {"frmSchedulesASC", " Schedule Manager ASC Codes to KELVA", "Source: ASC Code Table", {"Local ASC Payment Rate"},
     0, false},
    {"frmSchedulesDRG", " Schedule Manager DRG Rates to KELVA", "Source: DRG Code Table",
     {"DRG Payment", "Relative Weight", "GMLOS", "AMLOS"}, 0, false},
};

class FamilyWindowTest : public FamilyFixture, public ::testing::WithParamInterface<WindowRow> {
protected:
    FamilyScheduleWindow& open()
    {
        platform::Form* f = platform::forms().getByName(GetParam().window);
        EXPECT_NE(f, nullptr);
        return dynamic_cast<FamilyScheduleWindow&>(*f);
    }
    static QStringList items(const QComboBox* box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
};

TEST_P(FamilyWindowTest, OpensWithItsRowOfTheTable)
{
    g().PlimViewActive = -1;
    FamilyScheduleWindow& w = open();
    EXPECT_EQ(w.objectName(), GetParam().window);
    EXPECT_EQ(w.Caption(), g().AppTitle + GetParam().caption);
    EXPECT_EQ(w.lbl(0)->text(), GetParam().sourceCaption);
    EXPECT_EQ(items(w.Combo1), GetParam().items);
    EXPECT_EQ(listIndex(w.Combo1), GetParam().chosen);
    EXPECT_EQ(listIndex(w.Combo2), -1);
    EXPECT_EQ(items(w.Combo2), QStringList({"Office", "Contract", "Third", "Fourth", "Fifth"}));
    EXPECT_EQ(w.Label2->text(), "Sample");
    EXPECT_EQ(w.Label3->text().isEmpty(), !GetParam().note);
    EXPECT_EQ(w.Label1->text(), "If \"Use Tagged Codes Only\" is selected, only codes that are tagged will be "
                                "updated.  All other codes will remain unaffected.");
    EXPECT_TRUE(w.opt(0)->isChecked());
    EXPECT_FALSE(w.Text1->isVisibleTo(&w));
    EXPECT_FALSE(platform::forms().isLoaded<frmPlimView>());
    EXPECT_EQ(g().PlimViewActive, 0);
    w.Show();
    w.opt(1)->click();
    EXPECT_TRUE(testsupport::cutTexts(&w).isEmpty()) << qPrintable(testsupport::cutTexts(&w).join(" | "));
    testsupport::saveShot(&w, GetParam().window);
}

TEST_P(FamilyWindowTest, PercentageKeysAndTheBoxKeptWhileHidden)
{
    FamilyScheduleWindow& w = open();
    w.opt(1)->click();
    for (QChar c : QString("12.5"))
        QTest::keyClick(w.Text1, c.toLatin1());
    EXPECT_EQ(w.Text1->text(), "12.5");
    const QString message = "The percentage increase/decrease amount must be numeric.  Please re-enter.";
    seam.expectMsgBox(message, vbOKOnly);
    QTest::keyClick(w.Text1, 'x');
    seam.expectMsgBox(message, vbOKOnly);
    QTest::keyClick(w.Text1, Qt::Key_Return);
    EXPECT_EQ(w.Text1->text(), "12.5");

    platform::setText(w.Text1, "10");
    w.opt(0)->click();
    EXPECT_FALSE(w.Text1->isVisibleTo(&w));
    w.opt(1)->click();
    EXPECT_TRUE(w.Text1->isVisibleTo(&w));
    EXPECT_EQ(w.Text1->text(), "10");
}

TEST_P(FamilyWindowTest, CancelWritesNothingAndAsksNoReload)
{
    const QStringList before = rows();
    FamilyScheduleWindow& w = open();
    platform::setListIndex(w.Combo1, 0);
    platform::setListIndex(w.Combo2, 0);
    main->txt(0)->show();
    main->txt(1)->show();
    w.btn(1)->click();
    settle();
    EXPECT_EQ(platform::forms().loadedByName(GetParam().window), nullptr);
    EXPECT_EQ(rows(), before);
    EXPECT_EQ(main->setchk->text(), "0");
    EXPECT_EQ(platform::busyCount(), 0);
    // Only the ASC window hides the main window's long description and notes when it closes.
    const bool asc = std::string(GetParam().window) == "frmSchedulesASC";
    EXPECT_EQ(main->txt(0)->isVisibleTo(main), !asc);
    EXPECT_EQ(main->txt(1)->isVisibleTo(main), !asc);
}

INSTANTIATE_TEST_SUITE_P(Families, FamilyWindowTest, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<WindowRow>& info) {
                             return std::string(info.param.window);
                         });

}  // namespace
