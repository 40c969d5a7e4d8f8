#include "main/frmMain.h"

void frmMain::ViewAllRecs()
{
}

void frmMain::ViewTagRecs()
{
}
