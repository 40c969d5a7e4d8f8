#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QRect>
#include <QString>
#include <QWidget>
#include <cmath>
#include <utility>

// Control geometry in twips, as the old designer and code had it: 15 twips make a pixel.
//
//   place(btn, 120, 240, 1200, 315);   // left, top, width, height
//   setTopOf(lbl, topOf(box) + heightOf(box) + 60);
//   widthOf(grid)                      // what was set reads back exactly, never rounded to whole pixels
//
// The names end in "Of" so that they read the same inside a window's own procedures, where the window's
// Left()/Width()/setWidth() (its outer size, Form) would otherwise hide them. A width or height below 0
// is taken as 0.
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

// Places a control: left, top, width and height in twips (the old Move with all four).
void place(QWidget* control, int left, int top, int width, int height);

// Left, Top, Width, Height in twips: the twips last set while the control's pixels still agree with them,
// else the pixels (a size the layout or the user changed) in twips.
int leftOf(const QWidget* control);
int topOf(const QWidget* control);
int widthOf(const QWidget* control);
int heightOf(const QWidget* control);

// One of the four set, the other three kept.
void setLeftOf(QWidget* control, int twips);
void setTopOf(QWidget* control, int twips);
void setWidthOf(QWidget* control, int twips);
void setHeightOf(QWidget* control, int twips);

// A new control of type T in parent, named as the old control and placed in twips; args go to T's
// constructor before the parent: newControl<QPushButton>(this, "Command1", 5640, 2940, 1335, 420, "Continue").
template <class T, class... Args>
T* newControl(QWidget* parent, const QString& name, int left, int top, int width, int height, Args&&... args)
{
    T* control = new T(std::forward<Args>(args)..., parent);
    control->setObjectName(name);
    place(control, left, top, width, height);
    return control;
}

// An unnamed frame or caption label of a window's design, placed in twips (default: one line of text).
QGroupBox* newFrame(QWidget* parent, const QString& caption, int left, int top, int width, int height);
QLabel* newLabel(QWidget* parent, const QString& text, int left, int top, int width, int height = 255);

}  // namespace platform
