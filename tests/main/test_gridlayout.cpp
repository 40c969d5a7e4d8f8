#include "main/gridlayout.h"

#include "platform/dao/Error.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

using namespace gridlayout;

namespace {

QString repeated(const QString& entry, int n, const QString& tail = {})
{
    QStringList l;
    for (int i = 0; i < n; ++i)
        l << entry;
    return l.join(QLatin1Char(',')) + tail;
}

int errorNumber(const std::function<void()>& f)
{
    try {
        f();
    } catch (const dao::Error& e) {
        return e.number;
    }
    return 0;
}

}  // namespace

TEST(WidthTable, HiddenColumnsTrailingCommaAndShortList)
{
    const WidthTable t = WidthTable::parse(QStringLiteral("400,900,0, 700,"));
    EXPECT_EQ(t.count(), 4);
    EXPECT_EQ(t.width(0), 400);
    EXPECT_EQ(t.width(2), 0);
    EXPECT_EQ(t.width(3), 700);
    EXPECT_EQ(t.width(4), 0);  // beyond the list
    EXPECT_EQ(t.width(60), 0);
}

TEST(WidthTable, EntriesRoundHalfToEvenAndTheLastStaysTextUntilApplied)
{
    const WidthTable t = WidthTable::parse(QStringLiteral("400.5,401.5,2.5e2,oops"));
    EXPECT_EQ(t.width(0), 400);
    EXPECT_EQ(t.width(1), 402);
    EXPECT_EQ(t.width(2), 250);
    EXPECT_EQ(t.count(), 4);
    EXPECT_EQ(errorNumber([&] { t.width(3); }), 13);  // read only when applied
    EXPECT_DOUBLE_EQ(WidthTable::parse(QStringLiteral("1,1234.5")).width(1), 1234.5);
}

TEST(WidthTable, Failures)
{
    struct Case {
        const char* name;
        QString list;
        int error;
    };
    const Case cases[] = {
        {"two commas in a row", QStringLiteral("400,,900"), 13},
        {"leading comma", QStringLiteral(",400"), 13},
        {"word before the end", QStringLiteral("400,wide,900"), 13},
        {"above the integer range", QStringLiteral("32768,1"), 6},
        {"below the integer range", QStringLiteral("-32769,1"), 6},
        {"62 entries", repeated(QStringLiteral("100"), 62), 9},
        {"62 entries, the last empty-looking", repeated(QStringLiteral("100"), 61, QStringLiteral(",x")), 9},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorNumber([&] { WidthTable::parse(c.list); }), c.error) << c.name;
}

TEST(WidthTable, SixtyOneEntriesAreAccepted)
{
    const WidthTable plain = WidthTable::parse(repeated(QStringLiteral("100"), 61));
    const WidthTable comma = WidthTable::parse(repeated(QStringLiteral("100"), 61, QStringLiteral(",")));
    EXPECT_EQ(plain.count(), 61);
    EXPECT_EQ(comma.count(), 61);
    EXPECT_EQ(plain.width(60), 100);
    EXPECT_EQ(comma.width(60), 100);
    EXPECT_EQ(errorNumber([&] { plain.width(61); }), 9);
    EXPECT_EQ(WidthTable::parse(QString()).count(), 0);
}

TEST(VisibilityTable, EntriesAndFailures)
{
    const VisibilityTable t = VisibilityTable::parse(QStringLiteral("true,FALSE,-1,0,2.5, True ,"));
    EXPECT_EQ(t.count(), 6);
    const bool expected[] = {true, false, true, false, true, true, false};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(t.visible(i), expected[i]) << i;
    EXPECT_FALSE(t.visible(60));
    EXPECT_EQ(VisibilityTable::parse(QString()).count(), 0);

    EXPECT_EQ(errorNumber([] { VisibilityTable::parse(QStringLiteral("true,yes")); }), 13);  // last entry too
    EXPECT_EQ(errorNumber([] { VisibilityTable::parse(QStringLiteral("true,,false")); }), 13);
    EXPECT_EQ(errorNumber([] { VisibilityTable::parse(repeated(QStringLiteral("0"), 62)); }), 9);
    EXPECT_EQ(VisibilityTable::parse(repeated(QStringLiteral("-1"), 61)).count(), 61);
}

TEST(ColumnRules, LocksFormatsOppsAndCaptions)
{
    const QString hyphens = QStringLiteral("###,##0.00;;\\-\\-\\-\\ \\ ");
    const QString decimals = QStringLiteral("###,##0.00;;");
    for (int col = 0; col < kGridColumns; ++col) {
        EXPECT_EQ(lockedColumn(col), col == 0 || (col >= 2 && col <= 43)) << col;
        const QString f = numberFormat(col);
        if (col >= 7 && col <= 24)
            EXPECT_EQ(f, hyphens) << col;
        else if (col >= 44 && col <= 48)
            EXPECT_EQ(f, decimals) << col;
        else
            EXPECT_TRUE(f.isEmpty()) << col;
    }
    EXPECT_EQ(oppsVisibility(16), false);
    EXPECT_EQ(oppsVisibility(19), true);
    EXPECT_EQ(oppsVisibility(22), true);
    for (int col : {44, 48, 49, 53, 57})
        EXPECT_EQ(oppsVisibility(col), false) << col;
    for (int col : {4, 5, 15, 17, 18, 20, 21, 23, 24, 54, 56, 58})
        EXPECT_FALSE(oppsVisibility(col).has_value()) << col;
    EXPECT_EQ(sessionCaptionField(44), "S1NAME");
    EXPECT_EQ(sessionCaptionField(48), "S5NAME");
    EXPECT_EQ(sessionCaptionField(49), "F1NAME");
    EXPECT_EQ(sessionCaptionField(53), "F5NAME");
    EXPECT_EQ(sessionCaptionField(57), "OPTName");
    EXPECT_TRUE(sessionCaptionField(43).isEmpty());
    EXPECT_TRUE(sessionCaptionField(54).isEmpty());
}

TEST(ColumnRules, DescriptionTakesTheSpareWidth)
{
    struct Case {
        int grid;
        double sum;
        int current;
        int expected;
    };
    const Case cases[] = {
        {10000, 6000, 2400, 3470},  // the room left
        {10000, 9700, 2400, 2400},  // no room: keeps its width
        {10000, 9700, 300, 500},    // ... but not below 500
        {10000, 9599, 2400, 500},   // room, yet 10000 - 530 - 9599 is below 500
        {10000, 9200, 2400, 500},
        {10000, 9600, 800, 800},    // width less 400 equal to the sum is no room
    };
    for (const Case& c : cases)
        EXPECT_EQ(descriptionWidth(c.grid, c.sum, c.current), c.expected) << c.grid << " " << c.sum;
}

TEST(Geometry, WindowSizesAtBelowAndAboveTheMinimum)
{
    struct Case {
        Size window;
        Size laidOut;  // after the layout's own floor
        Size grid;
        int ascHeight;
        int drgHeight;
    };
    const Case cases[] = {
        {{4000, 4000}, {5000, 5040}, {4520, 140}, 1390, 1615},
        {{5000, 5040}, {5000, 5040}, {4520, 140}, 1390, 1615},
        {{9600, 5800}, {9600, 5800}, {9120, 900}, 2150, 2375},  // the resize handler's floor
        {{15480, 11190}, {15480, 11190}, {15000, 6290}, 7540, 7765},  // 1024 x 768 maximised
        {{28920, 16395}, {28920, 16395}, {28440, 11495}, 12745, 12970},
    };
    for (const Case& c : cases) {
        const Size w = layoutMinimum(c.window);
        EXPECT_EQ(w, c.laidOut) << c.window.width;
        EXPECT_EQ(mainGridSize(w), c.grid) << c.window.width;
        EXPECT_EQ(ascGridHeight(mainGridSize(w).height), c.ascHeight);
        EXPECT_EQ(drgGridHeight(w.height), c.drgHeight);
        EXPECT_EQ(drgGridHeight(w.height) - mainGridSize(w).height, 1475);
    }
    EXPECT_EQ(resizeMinimum({4000, 4000}), (Size{9600, 5800}));
    EXPECT_EQ(resizeMinimum({9600, 5800}), (Size{9600, 5800}));
    EXPECT_EQ(resizeMinimum({9601, 5801}), (Size{9601, 5801}));
}

TEST(Geometry, TopPanelAndNotesBoxes)
{
    EXPECT_EQ(topPanel(5000), (TopPanel{9300, 5745}));
    EXPECT_EQ(topPanel(9900), (TopPanel{9300, 5745}));
    EXPECT_EQ(topPanel(9901), (TopPanel{9301, 2701}));
    EXPECT_EQ(topPanel(15480), (TopPanel{14880, 8280}));

    EXPECT_EQ(notesBoxes(15480, 5000), (NotesBoxes{6000, 9080}));  // left = frame width + 1000
    EXPECT_EQ(notesBoxes(6000, 5000), (NotesBoxes{5100, 500}));    // never narrower than 500
}

TEST(Geometry, FamilySpareColumns)
{
    EXPECT_EQ(spareColumnWidth(9120, 6000, 580), 2540);          // DMEPOS description
    EXPECT_EQ(spareColumnWidth(9120, 6000, 550, 300), 2870);     // ASC spacer counts its own width
    EXPECT_EQ(spareColumnWidth(9120, 12000, 530), 500);          // columns wider than the grid
}
