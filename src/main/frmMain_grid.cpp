#include "main/frmMain.h"

void frmMain::RefreshGrid()
{
}

void frmMain::LocateCode()
{
}

void frmMain::RefreshMainGridData()
{
}

void frmMain::dbgscroll_Change()
{
}

void frmMain::dbgscroll_GotFocus()
{
}

void frmMain::dbgscroll_LostFocus()
{
}

void frmMain::plimscroll_Change()
{
}

void frmMain::plimscroll_GotFocus()
{
}

void frmMain::plimscroll_LostFocus()
{
}

void frmMain::dbg_RowColChange(qint64, int)
{
}

void frmMain::Data1_Reposition()
{
}

void frmMain::dbg_DblClick()
{
}

void frmMain::dbg_MouseDown(int, int, double, double)
{
}

void frmMain::dbg_KeyDown(int&, int)
{
}

void frmMain::dbg_KeyPress(int&)
{
}

void frmMain::dbg_Change()
{
}

void frmMain::dbg_AfterColUpdate(int)
{
}

void frmMain::dbg_HeadClick(int)
{
}

void frmMain::dbg_Error(int, int& Response)
{
    Response = 0;
}

void frmMain::dbg_GotFocus()
{
}

void frmMain::ToggleTagKelva()
{
}
