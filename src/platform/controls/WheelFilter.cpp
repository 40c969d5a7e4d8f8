#include "platform/controls/WheelFilter.h"

#include "platform/controls/DBGrid.h"
#include "platform/forms/guarded.h"

#include <QWheelEvent>

namespace platform {

WheelFilter::WheelFilter(DBGrid& grid) : QObject(&grid)
{
    QPointer<DBGrid> target = &grid;
    scroll_ = [target](int rows) {
        if (target)
            target->Scroll(0, rows);
    };
    grid.viewport()->installEventFilter(this);
}

WheelFilter::WheelFilter(QObject* target, std::function<void(int)> scroll) : QObject(target), scroll_(std::move(scroll))
{
    target->installEventFilter(this);
}

int WheelFilter::wheel(int delta)
{
    carried_ += delta;
    const int notches = carried_ / 120;  // toward zero; the rest waits for the next movement
    carried_ -= notches * 120;
    const int rows = -3 * notches;
    if (rows != 0 && scroll_)
        guarded([&] { scroll_(rows); });
    return rows;
}

bool WheelFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    wheel(static_cast<QWheelEvent*>(event)->angleDelta().y());
    return true;
}

}  // namespace platform
