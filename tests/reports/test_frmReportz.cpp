#include "reports/ReportsFixture.h"

#include "platform/forms/controls.h"
#include "platform/seam/Printer.h"
#include "reports/SelectPrinter.h"
#include "reports/reportitems.h"

namespace {

using platform::checkValue;

class ReportBuilderTest : public ReportsFixture {};

const QStringList kAllButCode = [] {
    QStringList l;
    for (int i = 1; i < reports::kReportItems; ++i)
        l << reports::reportItemText(i);
    return l;
}();

TEST_F(ReportBuilderTest, LastPrintOnLoading)
{
    struct Case {
        const char* name;
        dao::Variant lastPrint;
        QString lower, upper;
        QStringList chosen;
        QStringList numbers;
        int orientationAfter;  // the printer's, starting from landscape
    };
    const Case cases[] = {
        {"null", dao::Variant(), "00000", "ZZZZZZ", {"Code"}, {"0"}, 2},
        {"tagged", "Tag,Tag,1,Code,Frequency1,Description", "00000", "ZZZZZZ",
         {"Code", "Description", "Frequency1"}, {"0", "1", "17"}, 1},
        {"bounds taken", "10000,20000,0,Code", "10000", "20000", {"Code"}, {"0"}, 2},
        {"bounds refused", "0000,zzzzzz,0,Code,Work RVU", "00000", "ZZZZZZ", {"Code", "Work RVU"}, {"0", "10"}, 2},
        {"one field", "10000", "10000", "ZZZZZZ", {"Code"}, {"0"}, 2},
        {"two fields", "10000,20000", "10000", "20000", {"Code"}, {"0"}, 2},
        {"odd orientation", "10000,20000,7,Global Fee Period,No Such Item", "10000", "20000",
         {"Code", "Global Fee Period"}, {"0", "11"}, 2},
        {"empty", "", "00000", "ZZZZZZ", {"Code"}, {"0"}, 2},
        {"one tag", "Tag,20000,0", "00000", "ZZZZZZ", {"Code"}, {"0"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setParms(QStringLiteral("Last_Print = ?"), {c.lastPrint});
        seam.printer().setOrientation(2);
        platform::forms().unloadIfLoaded<frmReportz>();
        settle();
        frmReportz& w = openCustom();
        EXPECT_EQ(w.txt(0)->text(), c.lower);
        EXPECT_EQ(w.txt(1)->text(), c.upper);
        EXPECT_EQ(checkValue(w.chk), 0);
        EXPECT_TRUE(w.opt(0)->isChecked());
        EXPECT_EQ(texts(w.lst(1)), c.chosen);
        EXPECT_EQ(chosenNumbers(w), c.numbers);
        EXPECT_EQ(seam.printer().Orientation(), c.orientationAfter);
        EXPECT_EQ(w.lst(0)->count(), w.lst(2)->count());
        EXPECT_EQ(w.lst(0)->count() + w.lst(1)->count(), reports::kReportItems);
        EXPECT_FALSE(w.Frame3->isVisibleTo(&w));
        EXPECT_TRUE(w.lst(1)->isEnabled());
    }
    EXPECT_TRUE(g().ReportDbName.endsWith("kelva.mdb"));
    EXPECT_TRUE(g().ReportDbConnect.startsWith(";DATABASE="));
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(ReportBuilderTest, MovesKeepTheNumbersAligned)
{
    frmReportz& w = openCustom();
    EXPECT_EQ(texts(w.lst(0)), kAllButCode);
    EXPECT_EQ(w.Caption(), "Reports");
    for (const QStringList& order : {QStringList{"Work RVU", "Description"}, QStringList{"Description", "Work RVU"}}) {
        w.btn(5)->click();
        selectAvailable(w, order);
        w.btn(4)->click();
        EXPECT_EQ(texts(w.lst(1)), (QStringList{"Code", "Description", "Work RVU"}));
        EXPECT_EQ(chosenNumbers(w), (QStringList{"0", "1", "10"}));
    }
    // Back to the end of the available list, by double click.
    selectChosen(w, "Description");
    w.lst_DblClick(1);
    EXPECT_EQ(texts(w.lst(0)).last(), "Description");
    EXPECT_EQ(texts(w.lst(2)).last(), "1");
    EXPECT_EQ(texts(w.lst(1)), (QStringList{"Code", "Work RVU"}));

    // "Code" with Delete changes nothing.
    selectChosen(w, "Code");
    int key = 46;
    w.lst_KeyDown(1, key, 0);
    EXPECT_EQ(texts(w.lst(1)), (QStringList{"Code", "Work RVU"}));

    // Enter on the available list moves too.
    w.lst(0)->clearSelection();
    selectAvailable(w, {"Frequency5"});
    key = 13;
    w.lst_KeyDown(0, key, 0);
    EXPECT_EQ(texts(w.lst(1)), (QStringList{"Code", "Work RVU", "Frequency5"}));

    // Shift+Up and Shift+Down swap in both lists; "Code" swaps too; Up without Shift does not.
    selectChosen(w, "Frequency5");
    key = 38;
    w.lst_KeyDown(1, key, 0);
    EXPECT_EQ(texts(w.lst(1)), (QStringList{"Code", "Work RVU", "Frequency5"}));
    w.lst_KeyDown(1, key, platform::vbShiftMask);
    EXPECT_EQ(texts(w.lst(1)), (QStringList{"Code", "Frequency5", "Work RVU"}));
    EXPECT_EQ(chosenNumbers(w), (QStringList{"0", "21", "10"}));
    selectChosen(w, "Code");
    key = 40;
    w.lst_KeyDown(1, key, platform::vbShiftMask);
    EXPECT_EQ(texts(w.lst(1)), (QStringList{"Frequency5", "Code", "Work RVU"}));
    EXPECT_EQ(chosenNumbers(w), (QStringList{"21", "0", "10"}));

    // "<<" resets.
    w.btn(5)->click();
    EXPECT_EQ(texts(w.lst(0)), kAllButCode);
    EXPECT_EQ(texts(w.lst(1)), QStringList{"Code"});
    EXPECT_EQ(chosenNumbers(w), QStringList{"0"});
}

TEST_F(ReportBuilderTest, RangeChecks)
{
    frmReportz& w = openCustom();
    platform::setText(w.txt(0), "99213");
    platform::setText(w.txt(1), "99213");
    seam.expectMsgBox("Value too low; enter a higher value", vbOKOnly);
    w.txt_LostFocus(1);
    EXPECT_EQ(w.txt(1)->text(), "ZZZZZZ");

    platform::setText(w.txt(1), "10000");
    seam.expectMsgBox("Value too high; enter a lower value", vbOKOnly);
    w.txt_LostFocus(0);
    EXPECT_EQ(w.txt(0)->text(), "00000");

    platform::setText(w.txt(0), "0");
    platform::setText(w.txt(1), "ZZZZZZ");
    seam.expectMsgBox("Value to low; enter a higher value", vbOKOnly);
    w.txt_LostFocus(0);
    EXPECT_EQ(w.txt(0)->text(), "00000");

    platform::setText(w.txt(1), "zzz");
    seam.expectMsgBox("Value to high; enter a lower value", vbOKOnly);
    w.txt_LostFocus(1);
    EXPECT_EQ(w.txt(1)->text(), "ZZZZZZ");

    // A sixth character in an overlay.
    platform::setText(w.txtText1, "12345");
    seam.expectMsgBox("Code entered is too long", vbOKOnly);
    platform::setText(w.txtText1, "123456");
    EXPECT_EQ(w.txtText1->text(), "");
}

TEST_F(ReportBuilderTest, TheOverlayKeepsItsOwnTextThroughTheFocus)
{
    setParms(QStringLiteral("Last_Print = '10000,ZZZZZZ,0,Code'"));
    frmReportz& w = openCustom();
    w.Show();
    ASSERT_EQ(w.txt(0)->text(), "10000");
    platform::SetFocus(w.txt(0));
    EXPECT_FALSE(w.txt(0)->isVisible());
    EXPECT_TRUE(w.txtText0->isVisible());
    EXPECT_EQ(w.txtText0->text(), "00000");
    platform::SetFocus(w.txtText0);
    platform::SetFocus(w.btn(0));
    EXPECT_TRUE(w.txt(0)->isVisible());
    EXPECT_FALSE(w.txtText0->isVisible());
    EXPECT_EQ(w.txt(0)->text(), "00000");
    w.Unload();
}

TEST_F(ReportBuilderTest, PreselectedNumbersFixTheChosenList)
{
    frmReportz& w = load<frmReportz>();
    for (const char* n : {"0", "1", "8", "2", "23", "x"})
        platform::addItem(w.lst(4), n);
    w.Form_Activate();
    EXPECT_EQ(texts(w.lst(1)), (QStringList{"Code", "Description", "Total Non Facility KELVA Units",
                                            "Non Facility Participating Fee"}));
    EXPECT_EQ(chosenNumbers(w), (QStringList{"0", "1", "8", "2"}));
    EXPECT_FALSE(w.lst(1)->isEnabled());
    EXPECT_TRUE(w.Frame3->isVisibleTo(&w));
    EXPECT_FALSE(w.lbl(0)->isVisibleTo(&w));
    // A second activation (back from the settings) rebuilds the same list.
    w.Form_Activate();
    EXPECT_EQ(chosenNumbers(w), (QStringList{"0", "1", "8", "2"}));
}

TEST_F(ReportBuilderTest, Commands)
{
    frmReportz& w = openCustom();
    w.btn(3)->click();
    const auto help = seam.calls("Help");
    ASSERT_EQ(help.size(), 1u);
    EXPECT_TRUE(help[0].text.endsWith("morvex.chm"));
    EXPECT_EQ(help[0].flags, 170);

    seam.answerPrinterDialog(false);
    w.btn(2)->click();
    EXPECT_EQ(seam.printer().PrinterName(), "");
    seam.choosePrinter("Office Laser");
    w.btn(2)->click();
    EXPECT_EQ(seam.printer().PrinterName(), "Office Laser");
    EXPECT_TRUE(seam.messages().isEmpty());

    // The orientation options set the printer's orientation.
    platform::setOptionValue(w.opt(1), true);
    EXPECT_EQ(seam.printer().Orientation(), 2);
    platform::setOptionValue(w.opt(0), true);
    EXPECT_EQ(seam.printer().Orientation(), 1);

    seam.onModal<SelectPrinter>([](SelectPrinter& s) { s.Unload(); });
    w.btn(6)->click();
    EXPECT_EQ(seam.calls("ShowModal").back().text, "SelectPrinter");

    w.btn(0)->click();
    EXPECT_FALSE(platform::forms().isLoaded<frmReportz>());
}

TEST_F(ReportBuilderTest, OpensByName)
{
    EXPECT_NE(platform::forms().getByName("frmReportz"), nullptr);
    EXPECT_NE(platform::forms().getByName("frmReports"), nullptr);
    EXPECT_NE(platform::forms().getByName("SelectPrinter"), nullptr);
}

}  // namespace
