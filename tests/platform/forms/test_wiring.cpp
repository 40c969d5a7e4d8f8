#include "support/SeamTest.h"

#include "platform/controls/DBGrid.h"
#include "platform/controls/ScrollBar.h"
#include "platform/controls/twips.h"
#include "platform/forms/controls.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

using namespace platform;

namespace {

using WiringTest = SeamTest;

TEST_F(WiringTest, EveryKindOfEventRunsItsProcedureAndStopsAFailureThere)
{
    QWidget window;
    ControlArray<QPushButton> btn;
    btn.add(0, new QPushButton(&window));
    btn.add(3, new QPushButton(&window));
    auto* Command1 = new QPushButton(&window);
    QAction mnuItem(nullptr);
    ScrollBar bar(Qt::Vertical, &window);
    bar.setMax(10);
    auto* grid = new DBGrid(&window);
    QStringList log;

    onClick(btn, [&](int Index) { log << QStringLiteral("btn_Click %1").arg(Index); });
    onClick(Command1, [&] { throw dao::Error(3021, QStringLiteral("No current record.")); });
    onClick(&mnuItem, [&] { log << QStringLiteral("mnuItem_Click"); });
    onChange(&bar, [&](bool byUser) { log << QStringLiteral("bar_Change %1").arg(byUser); });
    onKeyPress(grid, [&](int& KeyAscii) { KeyAscii = 0; });

    btn(3)->click();
    btn(0)->click();
    mnuItem.trigger();
    bar.setValue(4);
    ASSERT_TRUE(grid->KeyPress);
    int key = 'a';
    grid->KeyPress(key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(log, QStringList({"btn_Click 3", "btn_Click 0", "mnuItem_Click", "bar_Change 0"}));

    // A failure the procedure did not trap is the old run-time error, shown once; the click returns.
    seam.expectMsgBox(QStringLiteral("Run-time error '3021':\r\n\r\nNo current record."), vbOKOnly);
    Command1->click();
}

TEST_F(WiringTest, GridEventsThrowingReachNoCaller)
{
    DBGrid grid;
    onRowColChange(&grid, [](qint64, int) { throw std::runtime_error("broken"); });
    seam.expectMsgBox(QStringLiteral("Run-time error '5':\r\n\r\nbroken"), vbOKOnly);
    EXPECT_NO_THROW(grid.RowColChange(0, 0));
}

// Twips set are twips read, also where 15 do not divide them; a size the layout changed reads as pixels.
TEST(Geometry, TwipsSetReadBackExactly)
{
    QWidget parent;
    auto* w = new QWidget(&parent);
    place(w, 4105, 6100, 7500, 553);
    EXPECT_EQ(leftOf(w), 4105);
    EXPECT_EQ(topOf(w), 6100);
    EXPECT_EQ(widthOf(w), 7500);
    EXPECT_EQ(heightOf(w), 553);
    EXPECT_EQ(w->geometry(), QRect(274, 407, 500, 37));

    setTopOf(w, 6161);
    setWidthOf(w, 3107);
    EXPECT_EQ(leftOf(w), 4105);
    EXPECT_EQ(topOf(w), 6161);
    EXPECT_EQ(widthOf(w), 3107);
    EXPECT_EQ(heightOf(w), 553);
    setLeftOf(w, 1);
    setHeightOf(w, -40);  // no negative size
    EXPECT_EQ(leftOf(w), 1);
    EXPECT_EQ(heightOf(w), 0);

    w->resize(100, 20);  // moved by something else: the pixels decide
    EXPECT_EQ(widthOf(w), 1500);
    EXPECT_EQ(heightOf(w), 300);
    EXPECT_EQ(leftOf(w), 1);
}

}  // namespace
