#include "platform/forms/Form.h"

#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QFocusEvent>

namespace platform {

void useDesignFont(QWidget* windowOrPanel)
{
    QFont font = windowOrPanel->font();
    font.setFamily(QStringLiteral("DejaVu Sans Condensed"));
    font.setPointSizeF(8);
    windowOrPanel->setFont(font);
}

void raiseWindow(QWidget& window)
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        window.raise();
}

Form::Form(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
}

Form::~Form() = default;

void Form::Show(int modal)
{
    if (modal == vbModal) {
        seam().ShowModal(*this);
        return;
    }
    show();
    raiseWindow(*this);
    activateWindow();
    // The shown window is the active one before Show returns, as it was; Qt's own activation event that
    // follows finds it active already.
    if (loaded_ && !unloading_)
        forms().activated(*this);
}

bool Form::Unload()
{
    return forms().Unload(*this, vbFormCode);
}

int Form::Width() const
{
    return twips(width()) + kFrameWidthTwips;
}

int Form::Height() const
{
    return twips(height()) + kFrameHeightTwips;
}

void Form::setWidth(int value)
{
    resize(std::max(0, tw(value - kFrameWidthTwips)), height());
}

void Form::setHeight(int value)
{
    resize(width(), std::max(0, tw(value - kFrameHeightTwips)));
}

int Form::Left() const
{
    return twips(x());
}

int Form::Top() const
{
    return twips(y());
}

void Form::Move(int left, int top)
{
    move(tw(left), tw(top));
}

void Form::Move(int left, int top, int width, int height)
{
    Move(left, top);
    setWidth(width);
    setHeight(height);
}

int Form::ScaleWidth() const
{
    return twips(width());
}

int Form::ScaleHeight() const
{
    return twips(height());
}

int Form::WindowState() const
{
    if (windowState() & Qt::WindowMinimized)
        return vbMinimized;
    if (windowState() & Qt::WindowMaximized)
        return vbMaximized;
    return vbNormal;
}

void Form::setWindowState(int state)
{
    Qt::WindowStates s = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == vbMinimized)
        s |= Qt::WindowMinimized;
    else if (state == vbMaximized)
        s |= Qt::WindowMaximized;
    QWidget::setWindowState(s);
}

QWidget* Form::ActiveControl() const
{
    // While the focus moves, the control getting it (what a lost-focus handler asks for).
    QWidget* w = platform::ActiveControl();
    return w && w->window() == this ? w : focusWidget();
}

bool Form::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && loaded_ && !unloading_)
        forms().activated(*this);
    return QWidget::event(e);
}

void Form::showEvent(QShowEvent* e)
{
    // The window itself takes the focus only when none of its controls can.
    bool controlTakesFocus = false;
    for (QWidget* child : findChildren<QWidget*>())
        if (child->focusPolicy() != Qt::NoFocus && child->isEnabled() && !child->isHidden()) {
            controlTakesFocus = true;
            break;
        }
    setFocusPolicy(controlTakesFocus ? Qt::NoFocus : Qt::StrongFocus);
    QWidget::showEvent(e);
}

void Form::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    if (!e->spontaneous())
        emit modalEnded();
}

void Form::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (loaded_ && !unloading_)
        guarded([this] { Form_Resize(); });
}

void Form::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange && loaded_ && !unloading_)
        guarded([this] { Form_Resize(); });
}

void Form::closeEvent(QCloseEvent* e)
{
    // The window's close box: the registry unloads it with the cause "closed by the user".
    if (unloading_) {
        e->accept();
        return;
    }
    if (forms().Unload(*this, vbFormControlMenu))
        e->accept();
    else
        e->ignore();
}

void Form::focusInEvent(QFocusEvent* e)
{
    QWidget::focusInEvent(e);
    if (loaded_ && isOldFocusChange(e, this))
        guarded([this] { Form_GotFocus(); });
}

void Form::focusOutEvent(QFocusEvent* e)
{
    QWidget::focusOutEvent(e);
    if (loaded_ && isOldFocusChange(e, this))
        guarded([this] { Form_LostFocus(); });
}

}  // namespace platform
