#include "main/frmMain.h"

// The Find a Code windows come with the find engine; until then the openers open nothing.
void frmMain::ShowFindWindow(bool) {}
