#include "platform/controls/ScrollBar.h"

#include "platform/dao/Error.h"
#include "platform/forms/guarded.h"

namespace platform {

ScrollBar::ScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setRange(0, 32767);
    setSingleStep(1);
    setPageStep(1);
    // The old bar told of a drag when the thumb was let go, and of the drag itself through Scroll.
    setTracking(false);
    connect(this, &QScrollBar::valueChanged, this, [this] {
        const bool byUser = !programSet_;
        emit changed(byUser);
        if (change_)
            guarded([&] { change_(byUser); });
    });
    connect(this, &QScrollBar::sliderMoved, this, [this] {
        if (scroll_)
            guarded(scroll_);
    });
}

void ScrollBar::setValue(int v)
{
    if (v < minimum() || v > maximum())
        throw dao::Error(380, QStringLiteral("Invalid property value"));
    programSet_ = true;
    QScrollBar::setValue(v);
    programSet_ = false;
}

}  // namespace platform
