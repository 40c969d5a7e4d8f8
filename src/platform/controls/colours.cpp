#include "platform/controls/colours.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>

namespace platform {

bool isSystemColor(qint64 number)
{
    return (quint32(qint32(number)) & 0xFF000000u) == 0x80000000u;
}

QPalette::ColorRole systemColorRole(qint64 number)
{
    switch (quint32(qint32(number)) & 0xFFu) {
    case 0x00: return QPalette::Button;           // scroll bars
    case 0x01: return QPalette::Dark;             // desktop
    case 0x02: return QPalette::Highlight;        // active title bar
    case 0x03: return QPalette::Mid;              // inactive title bar
    case 0x04: return QPalette::Window;           // menu bar
    case 0x05: return QPalette::Base;             // window background
    case 0x06: return QPalette::Shadow;           // window frame
    case 0x07: return QPalette::WindowText;       // menu text
    case 0x08: return QPalette::Text;             // window text
    case 0x09: return QPalette::HighlightedText;  // title bar text
    case 0x0A: return QPalette::Window;           // active border
    case 0x0B: return QPalette::Window;           // inactive border
    case 0x0C: return QPalette::Dark;             // application workspace
    case 0x0D: return QPalette::Highlight;
    case 0x0E: return QPalette::HighlightedText;
    case 0x0F: return QPalette::Button;           // button face
    case 0x10: return QPalette::Dark;             // button shadow
    case 0x11: return QPalette::PlaceholderText;  // grey text
    case 0x12: return QPalette::ButtonText;
    case 0x13: return QPalette::PlaceholderText;  // inactive caption text
    case 0x14: return QPalette::Light;            // 3D highlight
    case 0x15: return QPalette::Shadow;           // 3D dark shadow
    case 0x16: return QPalette::Midlight;         // 3D light
    case 0x17: return QPalette::ToolTipText;
    case 0x18: return QPalette::ToolTipBase;
    default: return QPalette::Window;
    }
}

QColor toQColor(qint64 number)
{
    if (isSystemColor(number))
        return QApplication::palette().color(QPalette::Active, systemColorRole(number));
    const quint32 n = quint32(qint32(number));
    return QColor(int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF));
}

qint32 colorNumber(const QColor& color)
{
    return RGB(color.red(), color.green(), color.blue());
}

namespace {

void setColor(QWidget* control, const char* property, bool background, qint64 number)
{
    control->setProperty(property, QVariant::fromValue(qint32(number)));
    QPalette palette = control->palette();
    const QColor c = toQColor(number);
    if (background) {
        palette.setColor(QPalette::Window, c);
        palette.setColor(QPalette::Base, c);
        palette.setColor(QPalette::Button, c);
        control->setAutoFillBackground(true);
    } else {
        palette.setColor(QPalette::WindowText, c);
        palette.setColor(QPalette::Text, c);
        palette.setColor(QPalette::ButtonText, c);
    }
    control->setPalette(palette);
}

qint32 readColor(const QWidget* control, const char* property, QPalette::ColorRole role)
{
    const QVariant stored = control->property(property);
    if (stored.isValid())
        return stored.value<qint32>();
    return colorNumber(control->palette().color(role));
}

}  // namespace

void setBackColor(QWidget* control, qint64 number)
{
    setColor(control, "vbBackColor", true, number);
}

void setForeColor(QWidget* control, qint64 number)
{
    setColor(control, "vbForeColor", false, number);
}

qint32 backColor(const QWidget* control)
{
    return readColor(control, "vbBackColor", control->backgroundRole());
}

qint32 foreColor(const QWidget* control)
{
    return readColor(control, "vbForeColor", control->foregroundRole());
}

}  // namespace platform
