// The wiring calls of controls.h for buttons, menus, scroll bars, bound labels, data controls and grids:
// each sets the control's own event (or connects its signal) to the handler run through guarded().
#include "platform/controls/BoundControls.h"
#include "platform/controls/DBGrid.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/ScrollBar.h"
#include "platform/forms/controls.h"
#include "platform/forms/guarded.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QMenu>

namespace platform {

namespace {

// The handler wrapped so that whatever it lets through stops here.
template <class... Args>
std::function<void(Args...)> guardedHandler(std::function<void(Args...)> handler)
{
    return [h = std::move(handler)](Args... args) { guarded([&] { h(std::forward<Args>(args)...); }); };
}

}  // namespace

void onClick(QAbstractButton* button, std::function<void()> handler)
{
    QObject::connect(button, &QAbstractButton::clicked, button, guardedHandler(std::move(handler)));
}

void onClick(QAction* item, std::function<void()> handler)
{
    QObject::connect(item, &QAction::triggered, item, guardedHandler(std::move(handler)));
}

void onOpen(QMenu* menu, std::function<void()> handler)
{
    QObject::connect(menu, &QMenu::aboutToShow, menu, guardedHandler(std::move(handler)));
}

void onChange(ScrollBar* bar, std::function<void(bool)> handler)
{
    bar->onChange(guardedHandler(std::move(handler)));
}

void onScroll(ScrollBar* bar, std::function<void()> handler)
{
    bar->onScroll(guardedHandler(std::move(handler)));
}

void onChange(BoundLabel* label, std::function<void()> handler)
{
    label->onChange(guardedHandler(std::move(handler)));
}

void onReposition(DataControl& data, std::function<void()> handler)
{
    data.onReposition(guardedHandler(std::move(handler)));
}

void onClick(QAbstractItemView* view, std::function<void()> handler)
{
    QObject::connect(view, &QAbstractItemView::clicked, view, guardedHandler(std::move(handler)));
}

void onRowColChange(DBGrid* grid, std::function<void(qint64, int)> handler)
{
    grid->RowColChange = guardedHandler(std::move(handler));
}

void onDblClick(DBGrid* grid, std::function<void()> handler)
{
    grid->DblClick = guardedHandler(std::move(handler));
}

void onMouseDown(DBGrid* grid, std::function<void(int, int, double, double)> handler)
{
    grid->MouseDown = guardedHandler(std::move(handler));
}

void onMouseUp(DBGrid* grid, std::function<void(int, int, double, double)> handler)
{
    grid->MouseUp = guardedHandler(std::move(handler));
}

void onClick(DBGrid* grid, std::function<void()> handler)
{
    grid->Click = guardedHandler(std::move(handler));
}

void onKeyDown(DBGrid* grid, std::function<void(int&, int)> handler)
{
    grid->KeyDown = guardedHandler(std::move(handler));
}

void onKeyPress(DBGrid* grid, std::function<void(int&)> handler)
{
    grid->KeyPress = guardedHandler(std::move(handler));
}

void onChange(DBGrid* grid, std::function<void()> handler)
{
    grid->Change = guardedHandler(std::move(handler));
}

void onAfterColUpdate(DBGrid* grid, std::function<void(int)> handler)
{
    grid->AfterColUpdate = guardedHandler(std::move(handler));
}

void onHeadClick(DBGrid* grid, std::function<void(int)> handler)
{
    grid->HeadClick = guardedHandler(std::move(handler));
}

void onError(DBGrid* grid, std::function<void(int, int&)> handler)
{
    grid->Error = guardedHandler(std::move(handler));
}

void onGotFocus(DBGrid* grid, std::function<void()> handler)
{
    grid->GotFocus = guardedHandler(std::move(handler));
}

void onLostFocus(DBGrid* grid, std::function<void()> handler)
{
    grid->LostFocus = guardedHandler(std::move(handler));
}

}  // namespace platform
