#include "platform/forms/InputBlock.h"

#include <QCoreApplication>
#include <QEvent>

namespace platform {

InputBlock::InputBlock()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

InputBlock::~InputBlock()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool InputBlock::eventFilter(QObject*, QEvent* e)
{
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
        return true;
    case QEvent::Close:
        if (e->spontaneous()) {
            e->ignore();
            return true;
        }
        return false;
    default:
        return false;
    }
}

}  // namespace platform
