#include "main/frmMain.h"

void frmMain::LoadSessionSettings()
{
}

void frmMain::Check1_Click()
{
}

void frmMain::Combo1_Click()
{
}
