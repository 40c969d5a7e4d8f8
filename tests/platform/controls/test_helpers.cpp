#include "support/SeamTest.h"

#include "platform/controls/BusyCursor.h"
#include "platform/controls/ScrollBar.h"
#include "platform/controls/WheelFilter.h"
#include "platform/controls/colours.h"
#include "platform/controls/twips.h"

#include <QApplication>
#include <QLabel>

using namespace platform;

TEST(TwipsTest, FifteenTwipsAPixel)
{
    EXPECT_EQ(tw(1215), 81);
    EXPECT_EQ(tw(7), 0);
    EXPECT_EQ(tw(8), 1);
    EXPECT_EQ(twips(81), 1215);
    EXPECT_EQ(twRect(150, 300, 1500, 285), QRect(10, 20, 100, 19));
}

TEST(ColourTest, PlatformNumbersToQColorAndBack)
{
    struct Case {
        qint64 number;
        QColor colour;
    };
    for (const Case& c : {Case{RGB(192, 0, 0), QColor(192, 0, 0)}, Case{0x00FF8000, QColor(0, 128, 255)},
                          Case{0x00C0C0C0, QColor(192, 192, 192)}, Case{0, QColor(0, 0, 0)}}) {
        EXPECT_EQ(toQColor(c.number), c.colour) << std::hex << c.number;
        EXPECT_EQ(colorNumber(c.colour), c.number);
    }
    EXPECT_EQ(vbHighlight, -2147483635);
    EXPECT_TRUE(isSystemColor(-2147483633));  // &H8000000F button face, as a signed number
    EXPECT_FALSE(isSystemColor(RGB(255, 255, 255)));
    EXPECT_EQ(systemColorRole(vbHighlight), QPalette::Highlight);
    EXPECT_EQ(systemColorRole(vbWindowBackground), QPalette::Base);
    EXPECT_EQ(toQColor(vbHighlight), QApplication::palette().color(QPalette::Active, QPalette::Highlight));
}

TEST(ColourTest, ASystemColourIsKeptAsItsNumber)
{
    QLabel label;
    setBackColor(&label, vbButtonFace);
    setForeColor(&label, RGB(128, 128, 128));
    EXPECT_EQ(backColor(&label), vbButtonFace);
    EXPECT_EQ(foreColor(&label), RGB(128, 128, 128));
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(128, 128, 128));
}

TEST(ScrollBarTest, ChangeSaysWhoMovedTheBarAndRangeIsPlainInt)
{
    ScrollBar bar(Qt::Vertical);
    std::vector<bool> changes;
    bar.onChange([&](bool byUser) { changes.push_back(byUser); });
    bar.setMax(39999);  // no 32,768 limit
    bar.setLargeChange(25);
    bar.setValue(39999);
    bar.setValue(39999);  // the same value: no change
    bar.triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(changes, (std::vector<bool>{false, true}));
    EXPECT_EQ(bar.Value(), 39974);
    EXPECT_THROW(bar.setValue(40000), dao::Error);
}

TEST(WheelTest, ThreeRowsANotchWithTheRemainderCarried)
{
    struct Step {
        int delta;
        int rows;
        int left;
    };
    // The worked examples: 120; three of 40; -200 then -40; 240.
    const std::vector<std::vector<Step>> cases = {
        {{120, -3, 0}},
        {{40, 0, 40}, {40, 0, 80}, {40, -3, 0}},
        {{-200, 3, -80}, {-40, 3, 0}},
        {{240, -6, 0}},
        {{30, 0, 30}, {30, 0, 60}, {30, 0, 90}, {30, -3, 0}},
    };
    for (const auto& steps : cases) {
        QObject target;
        int scrolled = 0;
        WheelFilter wheel(&target, [&](int rows) { scrolled += rows; });
        int expected = 0;
        for (const Step& s : steps) {
            EXPECT_EQ(wheel.wheel(s.delta), s.rows);
            expected += s.rows;
            EXPECT_EQ(wheel.remainder(), s.left);
        }
        EXPECT_EQ(scrolled, expected);
    }
}

class BusyCursorTest : public SeamTest {};

TEST_F(BusyCursorTest, NestsAndNeverGoesBelowZero)
{
    {
        BusyCursor outer;
        {
            BusyCursor inner;
            EXPECT_EQ(busyCount(), 2);
        }
        EXPECT_EQ(busyCount(), 1);
        EXPECT_EQ(seam.mousePointer(), vbHourglass);
    }
    EXPECT_EQ(busyCount(), 0);
    EXPECT_EQ(seam.mousePointer(), vbDefault);
    SetBusyCursor(0);
    EXPECT_EQ(busyCount(), 0);
    SetBusyCursor(11);
    SetBusyCursor(vbArrow);  // set directly, the count stays
    EXPECT_EQ(seam.mousePointer(), vbArrow);
    EXPECT_EQ(busyCount(), 1);
    SetBusyCursor(0);
}
