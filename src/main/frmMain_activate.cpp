#include "main/frmMain.h"

void frmMain::Form_Activate()
{
}

void frmMain::Form_GotFocus()
{
}

void frmMain::CheckDataDate()
{
}
