#pragma once

#include "platform/forms/guarded.h"
#include "platform/seam/vbconstants.h"

#include <QWidget>

namespace platform {

// The base of every window, raising the old platform's form events:
// - Form_Initialize, then Form_Load, when the registry loads the window (never from the constructor);
// - Form_Activate when the window becomes the active window coming from another window of the program
//   (a message box, input box or file dialog closing gives the focus back without a new Activate), and
//   Form_Deactivate on the window left for another one of the program;
// - Form_GotFocus / Form_LostFocus of the window itself, only when none of its controls takes the focus;
// - Form_Resize on a change of size or window state (minimised included);
// - Form_QueryUnload(Cancel, UnloadMode), then Form_Unload(Cancel); either may cancel.
// Sizes are in twips. Width() and Height() are the outer size as the old platform had it: the client
// area plus a fixed frame allowance of 120 twips across and 690 down.
class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);
    ~Form() override;

    virtual void Form_Initialize() {}
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_GotFocus() {}
    virtual void Form_LostFocus() {}
    virtual void Form_Resize() {}
    virtual void Form_QueryUnload(int& Cancel, int UnloadMode) { (void)Cancel, (void)UnloadMode; }
    virtual void Form_Unload(int& Cancel) { (void)Cancel; }

    // Shows the window: modeless at once (it is the active window when Show returns, its Activate has run),
    // modal through the seam (returns once it is hidden or unloaded).
    void Show(int modal = vbModeless);
    void Hide() { hide(); }
    bool Visible() const { return isVisible(); }
    // Unload Me: false when Form_QueryUnload or Form_Unload cancelled it.
    bool Unload();
    bool isLoaded() const { return loaded_; }
    bool isUnloading() const { return unloading_; }

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString& caption) { setWindowTitle(caption); }
    int Width() const;
    int Height() const;
    void setWidth(int twips);
    void setHeight(int twips);
    int Left() const;
    int Top() const;
    void Move(int left, int top);
    void Move(int left, int top, int width, int height);
    int ScaleWidth() const;   // client area, twips
    int ScaleHeight() const;
    int WindowState() const;  // vbNormal, vbMinimized, vbMaximized
    void setWindowState(int state);
    // The control that has the focus in this window (also while the window is not active).
    QWidget* ActiveControl() const;

    static constexpr int kFrameWidthTwips = 120;
    static constexpr int kFrameHeightTwips = 690;

signals:
    // The window was hidden or unloaded: what a modal show waits for.
    void modalEnded();
    void unloaded();

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    friend class FormRegistry;
    bool loaded_ = false;
    bool unloading_ = false;
};

// The font the windows were designed in, a narrow 8-point one: their controls' places in twips assume it.
// A window (or a panel) set to it passes it on to the controls made in it.
void useDesignFont(QWidget* windowOrPanel);

// Brings a window to the front (where the windowing system can; the offscreen one cannot).
void raiseWindow(QWidget& window);

}  // namespace platform
