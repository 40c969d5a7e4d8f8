#include "reports/ReportsFixture.h"

#include "platform/forms/controls.h"
#include "reports/SelectPrinter.h"

namespace {

class PrintSettingsTest : public ReportsFixture {
protected:
    SelectPrinter& open() { return load<SelectPrinter>(); }
    QStringList stored()
    {
        QStringList out;
        for (const char* c : {"PCOLS", "PLENGTH", "PFSIZE", "DEFPRT"})
            out << (parms(c).isNull() ? QStringLiteral("<null>") : parms(c).toString());
        return out;
    }
};

TEST_F(PrintSettingsTest, NullShowsTheDefaultsAndReturnStoresThem)
{
    setParms("PCOLS = NULL, PLENGTH = NULL, PFSIZE = NULL, DEFPRT = NULL");
    SelectPrinter& w = open();
    EXPECT_EQ(w.Caption(), "Special Print Settings");
    EXPECT_EQ(w.Text1(0)->text(), "90");
    EXPECT_EQ(w.Text1(1)->text(), "52");
    EXPECT_EQ(w.Text1(2)->text(), "10");
    EXPECT_EQ(w.Combo2->currentText(), "Courier");
    ASSERT_EQ(w.Combo2->count(), 2);
    EXPECT_EQ(w.Combo2->itemText(1), "Courier New");
    w.Command1->click();
    EXPECT_FALSE(platform::forms().isLoaded<SelectPrinter>());
    EXPECT_EQ(stored(), (QStringList{"90", "52", "10", "Courier"}));
}

TEST_F(PrintSettingsTest, ReturnWritesTheFilledBoxes)
{
    setParms("PCOLS = 100, PLENGTH = 60, PFSIZE = 9.5, DEFPRT = 'Courier'");
    struct Case {
        const char* name;
        std::function<void(SelectPrinter&)> edit;
        QStringList after;
    };
    const Case cases[] = {
        {"typed font", [](SelectPrinter& w) { w.Combo2->setEditText("Courier New"); },
         {"100", "60", "9.5", "Courier New"}},
        {"picked font", [](SelectPrinter& w) { w.Combo2->setCurrentIndex(1); }, {"100", "60", "9.5", "Courier New"}},
        {"empty font", [](SelectPrinter& w) { w.Combo2->setEditText(""); }, {"100", "60", "9.5", "Courier"}},
        {"empty lines box",
         [](SelectPrinter& w) {
             platform::setText(w.Text1(1), "");
             platform::setText(w.Text1(0), "80");
         },
         {"80", "60", "9.5", "Courier"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SelectPrinter& w = open();
        c.edit(w);
        w.Command1_Click();
        EXPECT_EQ(stored(), c.after);
        settle();
    }
}

TEST_F(PrintSettingsTest, TheCloseBoxChangesNothing)
{
    setParms("PCOLS = 100, PLENGTH = 60, PFSIZE = 9, DEFPRT = 'Courier New'");
    SelectPrinter& w = open();
    EXPECT_EQ(w.Combo2->currentText(), "Courier New");
    platform::setText(w.Text1(0), "70");
    w.Combo2->setEditText("Courier");
    w.close();
    EXPECT_FALSE(platform::forms().isLoaded<SelectPrinter>());
    EXPECT_EQ(stored(), (QStringList{"100", "60", "9", "Courier New"}));
}

TEST_F(PrintSettingsTest, SettingsThatCannotPrintAreRefused)
{
    const QString message = QStringLiteral(
        "Characters per line must be a whole number of at least 6, lines per page at least 3, and the font size "
        "above 0.");
    setParms("PCOLS = 100, PLENGTH = 60, PFSIZE = 9, DEFPRT = 'Courier'");
    SelectPrinter& w = open();
    struct Case {
        int box;
        const char* text;
    };
    for (const Case& c : {Case{1, "abc"}, Case{1, "2"}, Case{1, "0"}, Case{0, "5"}, Case{0, "7.5"},
                          Case{2, "0"}, Case{2, "-1"}, Case{2, "x"}}) {
        SCOPED_TRACE(c.text);
        const QString before = w.Text1(c.box)->text();
        platform::setText(w.Text1(c.box), c.text);
        w.Combo2->setEditText("Courier New");
        seam.expectMsgBox(message, vbOKOnly);
        w.Command1_Click();
        EXPECT_TRUE(platform::forms().isLoaded<SelectPrinter>());
        EXPECT_EQ(stored(), (QStringList{"100", "60", "9", "Courier"}));
        platform::setText(w.Text1(c.box), before);
    }
    // The limits themselves print.
    platform::setText(w.Text1(0), "6");
    platform::setText(w.Text1(1), "3");
    platform::setText(w.Text1(2), "0.5");
    w.Command1_Click();
    EXPECT_EQ(stored(), (QStringList{"6", "3", "0.5", "Courier New"}));
}

}  // namespace
