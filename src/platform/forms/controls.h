#pragma once

#include "platform/forms/ControlArray.h"

#include <QString>
#include <QtCore/qnamespace.h>
#include <QStringList>
#include <functional>

class QAbstractButton;
class QAbstractItemView;
class QAction;
class QCheckBox;
class QFocusEvent;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QObject;
class QRadioButton;
class QWidget;

// Control helpers with the old platform's event semantics, and the wiring of event procedures.
//
// Wiring: one call per kind of event, so that a window's wire() reads as a list of "this event runs that
// procedure". Every handler registered here runs through guarded(): a failure the procedure did not trap
// is shown as a run-time error and goes no further. Control arrays take a handler of the index.
//
//   onClick(Command1, [this] { Command1_Click(); });                  // button, menu item, list, check box
//   onClick(btn, [this](int Index) { btn_Click(Index); });            // a control array
//   onChange(Text1(0), [this] { Text1_Change(0); });                  // text box, combo text, scroll bar
//   onKeyPress(txt, [this](int& KeyAscii) { txt_KeyPress(KeyAscii); });
//   onGotFocus(plimlist, [this] { plimlist_GotFocus(); });
//   onReposition(Data1, [this] { Data1_Reposition(); });              // a data control's record moved
//   onRowColChange(dbg, [this](qint64 LastRow, int LastCol) { dbg_RowColChange(LastRow, LastCol); });
//
// A grid (DBGrid) has its own overloads for the events it raises itself (DblClick, MouseDown, KeyDown,
// KeyPress, Change, GotFocus, LostFocus); they take the grid's own type, so a DBGrid* always finds them.
namespace platform {

class BoundLabel;
class DataControl;
class DBGrid;
class ScrollBar;

// ---- Buttons, menu items, menus.

// Click of a command button (any button not a check box or option button).
void onClick(QAbstractButton* button, std::function<void()> handler);
// Click of a menu item or toolbar button.
void onClick(QAction* item, std::function<void()> handler);
// A menu of the menu bar opening: the old menu title's click.
void onOpen(QMenu* menu, std::function<void()> handler);

// Click of every control of an array, given its index.
template <class T>
void onClick(const ControlArray<T>& array, std::function<void(int Index)> handler)
{
    for (auto [i, control] : array)
        onClick(control, [handler, i = i] { handler(i); });
}

// ---- Lists: filling or clearing runs no click handler; setting the selection runs it at once.

// The click handler of a list: runs on every change of the selection (ours included) and when the program
// sets the entry that is already selected (setListIndex, setComboText).
void onClick(QComboBox* list, std::function<void()> handler);
void onClick(QListWidget* list, std::function<void()> handler);

void clearList(QComboBox* list);
void fillList(QComboBox* list, const QStringList& items);
void addItem(QComboBox* list, const QString& item);
void addItem(QComboBox* list, const QString& item, int itemData);
void removeItem(QComboBox* list, int index);
int itemData(const QComboBox* list, int index);
void clearList(QListWidget* list);
void fillList(QListWidget* list, const QStringList& items);
void addItem(QListWidget* list, const QString& item);

// ListIndex = i: runs the click handler, also when i is the entry already shown (-1 clears and runs nothing).
void setListIndex(QComboBox* list, int index);
void setListIndex(QListWidget* list, int index);
int listIndex(const QComboBox* list);
int listIndex(const QListWidget* list);

// ---- Texts: a new text raises Change at once, the same text raises nothing.

void onChange(QLineEdit* box, std::function<void()> handler);
// Change of an editable combo box's text.
void onChange(QComboBox* box, std::function<void()> handler);
void setText(QLineEdit* box, const QString& text);
void setText(QLabel* label, const QString& text);
// Text of a combo box: an editable one takes the text (Change); a drop-down list selects the entry with
// that text (Click), or fails with 383 when there is none.
void setComboText(QComboBox* box, const QString& text);

// ---- Check boxes and option buttons: the click handler runs when the value changes, ours included.

void onClick(QCheckBox* box, std::function<void()> handler);
void onClick(QRadioButton* option, std::function<void()> handler);
int checkValue(const QCheckBox* box);  // 0 unchecked, 1 checked, 2 greyed
void setCheckValue(QCheckBox* box, int value);
void setOptionValue(QRadioButton* option, bool value);

// ---- Scroll bars, bound labels, data controls.

// Change of a scroll bar: every change of its value, byUser false when the program set it.
void onChange(ScrollBar* bar, std::function<void(bool byUser)> handler);
// Scroll: the user drags the thumb.
void onScroll(ScrollBar* bar, std::function<void()> handler);
// Change of a bound label's caption.
void onChange(BoundLabel* label, std::function<void()> handler);
// Reposition of a data control: its current record changed (a move, a find, Refresh).
void onReposition(DataControl& data, std::function<void()> handler);

// ---- Grids.

// Click on a cell of a grid or list view.
void onClick(QAbstractItemView* view, std::function<void()> handler);
void onRowColChange(DBGrid* grid, std::function<void(qint64 LastRow, int LastCol)> handler);
void onDblClick(DBGrid* grid, std::function<void()> handler);
void onMouseDown(DBGrid* grid, std::function<void(int Button, int Shift, double X, double Y)> handler);
// The mouse button released over the cells, and the click on a cell that follows it.
void onMouseUp(DBGrid* grid, std::function<void(int Button, int Shift, double X, double Y)> handler);
void onClick(DBGrid* grid, std::function<void()> handler);
void onKeyDown(DBGrid* grid, std::function<void(int& KeyCode, int Shift)> handler);
void onKeyPress(DBGrid* grid, std::function<void(int& KeyAscii)> handler);
// The current cell's text changes while it is edited.
void onChange(DBGrid* grid, std::function<void()> handler);
void onAfterColUpdate(DBGrid* grid, std::function<void(int ColIndex)> handler);
void onHeadClick(DBGrid* grid, std::function<void(int ColIndex)> handler);
// A write the data layer refused: Response 0 shows no message of the grid's own.
void onError(DBGrid* grid, std::function<void(int DataError, int& Response)> handler);
void onGotFocus(DBGrid* grid, std::function<void()> handler);
void onLostFocus(DBGrid* grid, std::function<void()> handler);

// ---- Keyboard, mouse and focus events of any control.

// Shift state as the old platform gave it: 1 Shift, 2 Ctrl, 4 Alt.
inline constexpr int vbShiftMask = 1;
inline constexpr int vbCtrlMask = 2;
inline constexpr int vbAltMask = 4;
// Mouse buttons.
inline constexpr int vbLeftButton = 1;
inline constexpr int vbRightButton = 2;
inline constexpr int vbMiddleButton = 4;

// KeyPress(KeyAscii): the character typed (13 Enter, 8 Backspace, 27 Esc). Set KeyAscii to 0 to swallow the
// key, or to another character to type that one instead.
void onKeyPress(QWidget* control, std::function<void(int& KeyAscii)> handler);
// KeyDown(KeyCode, Shift) with the old key codes (38 Up, 40 Down, 46 Delete ...). KeyCode 0 swallows the key.
void onKeyDown(QWidget* control, std::function<void(int& KeyCode, int Shift)> handler);
void onKeyUp(QWidget* control, std::function<void(int& KeyCode, int Shift)> handler);
// MouseDown / MouseUp(Button, Shift, X, Y), X and Y in twips from the control's corner.
void onMouseDown(QWidget* control, std::function<void(int Button, int Shift, double X, double Y)> handler);
void onMouseUp(QWidget* control, std::function<void(int Button, int Shift, double X, double Y)> handler);
void onDblClick(QWidget* control, std::function<void()> handler);
// GotFocus / LostFocus as the old platform raised them: moving between controls of the program, not when the
// window loses or regains activation. LostFocus runs first; in it, ActiveControl() is the control getting it.
void onGotFocus(QWidget* control, std::function<void()> handler);
void onLostFocus(QWidget* control, std::function<void()> handler);

// Whether a Qt focus event of control is a got- or lost-focus of the old platform: moves between controls,
// and between windows of the program; not a message box, dialog or other program taking or giving back
// the activation, nor a popup.
bool isOldFocusChange(const QFocusEvent* event, const QWidget* control);

// The control that has the focus (Screen.ActiveControl).
QWidget* ActiveControl();
// control.SetFocus: gives the focus to the control, raising the lost- and got-focus handlers.
void SetFocus(QWidget* control);

// The old key code of a Qt key, 0 for keys it had none for.
int vbKeyCode(int qtKey);
int vbShift(Qt::KeyboardModifiers modifiers);

}  // namespace platform
