#include "main/frmMain.h"

void frmMain::btnMore_Click()
{
}

void frmMain::btnHelp_Click()
{
}

void frmMain::Command66_Click()
{
}

void frmMain::ShowCodeDescription()
{
}

void frmMain::ShowLongDescAndNotes()
{
}

void frmMain::txt_Change(int)
{
}

void frmMain::lblData_Change(int)
{
}
