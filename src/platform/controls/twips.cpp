#include "platform/controls/twips.h"

#include <QVariant>
#include <algorithm>

namespace platform {

namespace {

// The twips a control was given, kept beside its pixels: a size read from the pixels alone would drift
// by up to 14 twips at every layout.
constexpr const char* kLeft = "kelvaTwipsLeft";
constexpr const char* kTop = "kelvaTwipsTop";
constexpr const char* kWidth = "kelvaTwipsWidth";
constexpr const char* kHeight = "kelvaTwipsHeight";

int twipsOf(const QWidget* control, const char* property, int pixels)
{
    const QVariant v = control->property(property);
    if (v.isValid() && tw(v.toInt()) == pixels)
        return v.toInt();
    return twips(pixels);
}

}  // namespace

void place(QWidget* control, int left, int top, int width, int height)
{
    width = std::max(0, width);
    height = std::max(0, height);
    control->setProperty(kLeft, left);
    control->setProperty(kTop, top);
    control->setProperty(kWidth, width);
    control->setProperty(kHeight, height);
    control->setGeometry(twRect(left, top, width, height));
}

int leftOf(const QWidget* control)
{
    return twipsOf(control, kLeft, control->x());
}

int topOf(const QWidget* control)
{
    return twipsOf(control, kTop, control->y());
}

int widthOf(const QWidget* control)
{
    return twipsOf(control, kWidth, control->width());
}

int heightOf(const QWidget* control)
{
    return twipsOf(control, kHeight, control->height());
}

void setLeftOf(QWidget* control, int twips)
{
    place(control, twips, topOf(control), widthOf(control), heightOf(control));
}

void setTopOf(QWidget* control, int twips)
{
    place(control, leftOf(control), twips, widthOf(control), heightOf(control));
}

void setWidthOf(QWidget* control, int twips)
{
    place(control, leftOf(control), topOf(control), twips, heightOf(control));
}

void setHeightOf(QWidget* control, int twips)
{
    place(control, leftOf(control), topOf(control), widthOf(control), twips);
}

QGroupBox* newFrame(QWidget* parent, const QString& caption, int left, int top, int width, int height)
{
    auto* frame = new QGroupBox(caption, parent);
    place(frame, left, top, width, height);
    return frame;
}

QLabel* newLabel(QWidget* parent, const QString& text, int left, int top, int width, int height)
{
    auto* label = new QLabel(text, parent);
    place(label, left, top, width, height);
    return label;
}

}  // namespace platform
