#include "main/frmMain.h"

#include "platform/forms/controls.h"

void frmMain::Command3_Click()
{
}

void frmMain::plimlist_Click()
{
}

void frmMain::plimlist_GotFocus()
{
}

void frmMain::plimlist_LostFocus()
{
}

void frmMain::Text1_Change(int)
{
}

void frmMain::Text1_KeyDown(int Index, int& KeyCode, int)
{
    // Escape abandons a typed code: the box shows the current row's code again.
    if (Index == 0 && KeyCode == 27) {
        platform::setText(Text1(0), strCurrentCpt);
        platform::SetFocus(Command3);
    }
}

void frmMain::Text1_LostFocus(int)
{
}

void frmMain::Text1_DblClick(int)
{
}
