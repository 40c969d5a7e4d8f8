#include "main/frmMain.h"

#include "app/modules.h"

#include "app/globals.h"
#include "main/frmPlimView.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"
#include "sessions/frmAbout.h"
#include "sessions/frmDropSession.h"
#include "sessions/frmGridSet.h"
#include "sessions/frmKelva.h"
#include "update/gapmerge.h"

void frmMain::Command2_Click()
{
    // The quick view: loaded (it shows itself without the focus), then the main window steps aside.
    frmPlimView& view = platform::forms().get<frmPlimView>();
    g().PlimViewActive = -1;
    seam().MsgBox(QStringLiteral("The main KELVA Morvex display will now be minimized.  To reopen it click on the "
                                 "active KELVA Morvex item on your task bar."),
                  vbOKOnly);
    setWindowState(vbMinimized);
    g().SkipRecolumnize = -1;
    view.Show();
    // The focus is on its fee list (first in tab order).
    view.plimlist->setFocus(Qt::ActiveWindowFocusReason);
    g().PlimViewHasFocus = -1;
}

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

void frmMain::Toolbar1_ButtonClick(QAction*)
{
}

void frmMain::mnumain_Click(int Index)
{
    GridClickPending = 0;
    if (Index == 6)
        ShowFederalRegister();
}

void frmMain::mnufile_Click(int Index)
{
    // The user-column imports.
    if (Index == 0)
        ImportUserSchedules();
    else if (Index == 1)
        ImportUserFrequencies();
    else if (Index == 5)
        platform::forms().get<frmDropSession>().Show();
}

void frmMain::mnuFileExport_Click(int)
{
}

void frmMain::mnuEdit_Click(int)
{
}

void frmMain::mnuSettings_Click(int Index)
{
    if (Index == 0)
        platform::forms().get<frmGridSet>().Show(vbModal);
    if (Index == 1)
        platform::forms().get<frmKelva>().Show(vbModal);
}

void frmMain::mnuReports_Click(int)
{
}

void frmMain::mnuSpecial_Click(int)
{
}

void frmMain::mnuReferences_Click(int)
{
}

void frmMain::mnuhelp_Click(int Index)
{
    GridClickPending = 0;
    if (Index == 5)
        platform::forms().get<frmAbout>().Show(vbModal);
}

void frmMain::mnuupgrades_Click(int Index)
{
    if (Index == 2) {
        // "Gap Code Update": the merge shows its own message; the program ends after it, kept or not.
        update::MergeGapData();
        Unload();
    }
}

void frmMain::mnu_WizExport_Click()
{
}

void frmMain::mnuExportWizBeta_Click()
{
}

void frmMain::mnu_KELVAExportUtility_Click()
{
}

void frmMain::mnuSaveTagList_Click()
{
}
