#include "platform/forms/controls.h"

#include "platform/dao/Error.h"
#include "platform/controls/twips.h"
#include "platform/forms/guarded.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QRadioButton>
#include <QSignalBlocker>
#include <vector>

namespace platform {

namespace {

// The handlers of one control, kept in a child object that also filters the control's events.
class EventHook : public QObject {
public:
    explicit EventHook(QWidget* control) : QObject(control), control_(control)
    {
        setObjectName(QStringLiteral("kelva_event_hook"));
        control->installEventFilter(this);
    }

    std::function<void()> click;
    std::vector<std::function<void(int&)>> keyPress;
    std::vector<std::function<void(int&, int)>> keyDown, keyUp;
    std::vector<std::function<void(int, int, double, double)>> mouseDown, mouseUp;
    std::vector<std::function<void()>> dblClick, gotFocus, lostFocus;

    void raiseGotFocus()
    {
        for (auto& h : gotFocus)
            guarded([&] { h(); });
    }
    void raiseLostFocus()
    {
        for (auto& h : lostFocus)
            guarded([&] { h(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched != control_)
            return false;
        switch (e->type()) {
        case QEvent::KeyPress:
            return onKey(static_cast<QKeyEvent*>(e), true);
        case QEvent::KeyRelease:
            return onKey(static_cast<QKeyEvent*>(e), false);
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease: {
            auto* m = static_cast<QMouseEvent*>(e);
            auto& list = e->type() == QEvent::MouseButtonPress ? mouseDown : mouseUp;
            const int button = m->button() == Qt::LeftButton    ? vbLeftButton
                               : m->button() == Qt::RightButton ? vbRightButton
                                                                : vbMiddleButton;
            for (auto& h : list)
                guarded([&] {
                    h(button, vbShift(m->modifiers()), twips(1) * m->position().x(), twips(1) * m->position().y());
                });
            return false;
        }
        case QEvent::MouseButtonDblClick:
            for (auto& h : dblClick)
                guarded([&] { h(); });
            return false;
        case QEvent::FocusIn:
        case QEvent::FocusOut: {
            if (!isOldFocusChange(static_cast<QFocusEvent*>(e), control_))
                return false;
            if (e->type() == QEvent::FocusIn)
                raiseGotFocus();
            else
                raiseLostFocus();
            return false;
        }
        default:
            return false;
        }
    }

private:
    bool onKey(QKeyEvent* k, bool down)
    {
        if (resending_)
            return false;
        int code = vbKeyCode(k->key());
        const int shift = vbShift(k->modifiers());
        for (auto& h : down ? keyDown : keyUp) {
            const int before = code;
            if (before != 0)
                guarded([&] { h(code, shift); });
            if (before != 0 && code == 0)
                return true;
        }
        if (!down || keyPress.empty() || k->text().isEmpty())
            return false;
        const int original = k->text().at(0).unicode();
        int ascii = original;
        for (auto& h : keyPress)
            guarded([&] { h(ascii); });
        if (ascii == 0)
            return true;
        if (ascii == original)
            return false;
        // The handler typed another character: deliver that one instead.
        const QChar c(ascii);
        QKeyEvent replaced(QEvent::KeyPress, c.isLetter() ? int(c.toUpper().unicode()) : int(ascii),
                           k->modifiers(), QString(c));
        resending_ = true;
        QApplication::sendEvent(control_, &replaced);
        resending_ = false;
        return true;
    }

    QWidget* control_;
    bool resending_ = false;
};

// Remembers the window that lost the activation last, so that a focus event caused by activation can tell
// where the activation came from.
class ActivationWatch : public QObject {
public:
    QPointer<QWidget> lastDeactivated;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::WindowDeactivate && watched->isWidgetType())
            lastDeactivated = static_cast<QWidget*>(watched)->window();
        return false;
    }
};

ActivationWatch& activationWatch()
{
    static ActivationWatch* watch = [] {
        auto* w = new ActivationWatch;
        w->setParent(qApp);
        qApp->installEventFilter(w);
        return w;
    }();
    return *watch;
}

bool isProgramWindow(const QWidget* window)
{
    return window && window->inherits("platform::Form");
}

EventHook* hook(QWidget* control)
{
    activationWatch();
    if (auto* h = control->findChild<EventHook*>(QStringLiteral("kelva_event_hook"), Qt::FindDirectChildrenOnly))
        return h;
    return new EventHook(control);
}

EventHook* existingHook(const QWidget* control)
{
    return control->findChild<EventHook*>(QStringLiteral("kelva_event_hook"), Qt::FindDirectChildrenOnly);
}

void runClick(QWidget* control)
{
    if (EventHook* h = existingHook(control); h && h->click)
        guarded([&] { h->click(); });
}

QPointer<QWidget> focusArriving;

}  // namespace

namespace {

// What a combo box and a list box share, each in its own words: the current entry and its change.
void setCurrent(QComboBox* list, int index) { list->setCurrentIndex(index); }
void setCurrent(QListWidget* list, int index) { list->setCurrentRow(index); }
int current(const QComboBox* list) { return list->currentIndex(); }
int current(const QListWidget* list) { return list->currentRow(); }
auto currentChanged(QComboBox*) { return &QComboBox::currentIndexChanged; }
auto currentChanged(QListWidget*) { return &QListWidget::currentRowChanged; }

template <class List>
void hookListClick(List* list, std::function<void()> handler)
{
    hook(list)->click = std::move(handler);
    QObject::connect(list, currentChanged(list), list, [list](int index) {
        if (index >= 0)
            runClick(list);
    });
}

template <class List>
void clearAnyList(List* list)
{
    const QSignalBlocker block(list);
    list->clear();
}

template <class List>
void fillAnyList(List* list, const QStringList& items)
{
    const QSignalBlocker block(list);
    list->clear();
    list->addItems(items);
    setCurrent(list, -1);
}

template <class List>
void setAnyListIndex(List* list, int index)
{
    if (index < -1 || index >= list->count())
        throw dao::Error(380, QStringLiteral("Invalid property value"));
    if (index >= 0 && index == current(list)) {
        runClick(list);
        return;
    }
    setCurrent(list, index);
}

}  // namespace

// Both kinds of list, each call once for a combo box and once for a list box.
void onClick(QComboBox* list, std::function<void()> handler) { hookListClick(list, std::move(handler)); }
void onClick(QListWidget* list, std::function<void()> handler) { hookListClick(list, std::move(handler)); }
void clearList(QComboBox* list) { clearAnyList(list); }
void clearList(QListWidget* list) { clearAnyList(list); }
void fillList(QComboBox* list, const QStringList& items) { fillAnyList(list, items); }
void fillList(QListWidget* list, const QStringList& items) { fillAnyList(list, items); }
void setListIndex(QComboBox* list, int index) { setAnyListIndex(list, index); }
void setListIndex(QListWidget* list, int index) { setAnyListIndex(list, index); }
int listIndex(const QComboBox* list) { return current(list); }
int listIndex(const QListWidget* list) { return current(list); }

void addItem(QComboBox* list, const QString& item)
{
    const QSignalBlocker block(list);
    const int index = list->currentIndex();
    list->addItem(item);
    list->setCurrentIndex(index);
}

void addItem(QComboBox* list, const QString& item, int data)
{
    addItem(list, item);
    list->setItemData(list->count() - 1, data);
}

void removeItem(QComboBox* list, int index)
{
    const QSignalBlocker block(list);
    list->removeItem(index);
}

int itemData(const QComboBox* list, int index)
{
    return list->itemData(index).toInt();
}

void addItem(QListWidget* list, const QString& item)
{
    const QSignalBlocker block(list);
    list->addItem(item);
}

void onChange(QLineEdit* box, std::function<void()> handler)
{
    QObject::connect(box, &QLineEdit::textChanged, box, [h = std::move(handler)] { guarded(h); });
}

void onChange(QComboBox* box, std::function<void()> handler)
{
    QObject::connect(box, &QComboBox::editTextChanged, box, [h = std::move(handler)] { guarded(h); });
}

void setText(QLineEdit* box, const QString& text)
{
    if (box->text() != text)
        box->setText(text);
}

void setText(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

void setComboText(QComboBox* box, const QString& text)
{
    if (box->isEditable()) {
        if (box->currentText() != text)
            box->setEditText(text);
        return;
    }
    const int index = box->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index < 0)
        throw dao::Error(383, QStringLiteral("'Text' property is read-only"));
    setListIndex(box, index);
}

void onClick(QCheckBox* box, std::function<void()> handler)
{
    QObject::connect(box, &QCheckBox::stateChanged, box, [h = std::move(handler)] { guarded(h); });
}

void onClick(QRadioButton* option, std::function<void()> handler)
{
    QObject::connect(option, &QRadioButton::toggled, option, [h = std::move(handler)](bool on) {
        if (on)
            guarded(h);
    });
}

int checkValue(const QCheckBox* box)
{
    switch (box->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void setCheckValue(QCheckBox* box, int value)
{
    if (value < 0 || value > 2)
        throw dao::Error(380, QStringLiteral("Invalid property value"));
    if (value == 2)
        box->setTristate(true);
    box->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void setOptionValue(QRadioButton* option, bool value)
{
    option->setChecked(value);
}

void onKeyPress(QWidget* control, std::function<void(int&)> handler)
{
    hook(control)->keyPress.push_back(std::move(handler));
}

void onKeyDown(QWidget* control, std::function<void(int&, int)> handler)
{
    hook(control)->keyDown.push_back(std::move(handler));
}

void onKeyUp(QWidget* control, std::function<void(int&, int)> handler)
{
    hook(control)->keyUp.push_back(std::move(handler));
}

void onMouseDown(QWidget* control, std::function<void(int, int, double, double)> handler)
{
    hook(control)->mouseDown.push_back(std::move(handler));
}

void onMouseUp(QWidget* control, std::function<void(int, int, double, double)> handler)
{
    hook(control)->mouseUp.push_back(std::move(handler));
}

void onDblClick(QWidget* control, std::function<void()> handler)
{
    hook(control)->dblClick.push_back(std::move(handler));
}

void onGotFocus(QWidget* control, std::function<void()> handler)
{
    hook(control)->gotFocus.push_back(std::move(handler));
}

void onLostFocus(QWidget* control, std::function<void()> handler)
{
    hook(control)->lostFocus.push_back(std::move(handler));
}

bool isOldFocusChange(const QFocusEvent* event, const QWidget* control)
{
    switch (event->reason()) {
    case Qt::PopupFocusReason:
        return false;
    case Qt::ActiveWindowFocusReason: {
        const QWidget* own = control->window();
        if (event->type() == QEvent::FocusOut) {
            const QWidget* next = QApplication::activeWindow();
            return isProgramWindow(next) && next != own;
        }
        const QWidget* previous = activationWatch().lastDeactivated;
        return isProgramWindow(previous) && previous != own;
    }
    default:
        return true;
    }
}

QWidget* ActiveControl()
{
    if (focusArriving)
        return focusArriving;
    if (QWidget* w = QApplication::focusWidget())
        return w;
    if (QWidget* window = QApplication::activeWindow())
        return window->focusWidget();
    return nullptr;
}

void SetFocus(QWidget* control)
{
    QWidget* window = control->window();
    if (window->isActiveWindow()) {
        control->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The window is not active (a window being loaded, or tests without a window manager): Qt would only
    // note the focus for later, so the handlers run here, in the old order.
    QPointer<QWidget> leaving = window->focusWidget();
    if (leaving == control)
        return;
    focusArriving = control;
    if (leaving)
        if (EventHook* h = existingHook(leaving))
            h->raiseLostFocus();
    focusArriving = nullptr;
    control->setFocus(Qt::OtherFocusReason);
    if (EventHook* h = existingHook(control))
        h->raiseGotFocus();
}

int vbKeyCode(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key;  // 65..90, as the old codes
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return key;  // 48..57
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

int vbShift(Qt::KeyboardModifiers modifiers)
{
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= vbShiftMask;
    if (modifiers & Qt::ControlModifier)
        shift |= vbCtrlMask;
    if (modifiers & Qt::AltModifier)
        shift |= vbAltMask;
    return shift;
}

}  // namespace platform
