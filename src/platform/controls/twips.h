#pragma once

#include <QRect>
#include <QWidget>
#include <cmath>

namespace platform {

inline constexpr int kTwipsPerPixel = 15;

// Twips to pixels, rounded to the nearest pixel.
inline int tw(int twips)
{
    return static_cast<int>(std::lround(twips / double(kTwipsPerPixel)));
}
// Pixels to twips.
inline int twips(int pixels)
{
    return pixels * kTwipsPerPixel;
}
inline QRect twRect(int left, int top, int width, int height)
{
    return QRect(tw(left), tw(top), tw(width), tw(height));
}
// Places a control as the old designer did: left, top, width and height in twips.
inline void place(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(twRect(left, top, width, height));
}

}  // namespace platform
