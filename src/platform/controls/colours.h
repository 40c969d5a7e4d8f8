#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

namespace platform {

// The old platform's colour numbers: &H00BBGGRR for an RGB colour, &H800000nn (a negative number as a
// signed 32-bit value) for system colour nn, which follows the palette.
inline constexpr qint32 vbSystemColorBase = qint32(0x80000000u);
inline constexpr qint32 vbWindowBackground = qint32(0x80000005u);
inline constexpr qint32 vbWindowText = qint32(0x80000008u);
inline constexpr qint32 vbHighlight = qint32(0x8000000Du);
inline constexpr qint32 vbHighlightText = qint32(0x8000000Eu);
inline constexpr qint32 vbButtonFace = qint32(0x8000000Fu);
inline constexpr qint32 vbButtonText = qint32(0x80000012u);
inline constexpr qint32 vbGrayText = qint32(0x80000011u);
inline constexpr qint32 vbInfoBackground = qint32(0x80000018u);

// RGB(r, g, b) as the old function gave it.
inline constexpr qint32 RGB(int r, int g, int b)
{
    return qint32((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

bool isSystemColor(qint64 number);
// The palette role a system colour number follows (QPalette::Window for unknown ones).
QPalette::ColorRole systemColorRole(qint64 number);
// A colour number as a QColor (system colours from the application's palette).
QColor toQColor(qint64 number);
// A QColor as an RGB colour number.
qint32 colorNumber(const QColor& color);

// BackColor and ForeColor of a control: set from a colour number; read back as the number that was set
// (a system colour stays its number), or the palette's colour as an RGB number when none was set.
void setBackColor(QWidget* control, qint64 number);
void setForeColor(QWidget* control, qint64 number);
qint32 backColor(const QWidget* control);
qint32 foreColor(const QWidget* control);

}  // namespace platform
