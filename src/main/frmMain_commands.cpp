#include "main/frmMain.h"

#include "app/endprogram.h"
#include "app/globals.h"
#include "app/modules.h"
#include "db/feequery.h"
#include "export/menu/exportmenu.h"
#include "main/frmPlimView.h"
#include "main/menudata.h"
#include "platform/controls/BusyCursor.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"
#include "reports/reportitems.h"
#include "reports/frmReportz.h"
#include "update/gapmerge.h"

#include <QPointer>
#include <QSignalBlocker>

using menudata::Open;
using menudata::openWindow;
using platform::SetBusyCursor;

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

namespace {

const QString kViewTagged = QStringLiteral("View Tagged");
const QString kViewAll = QStringLiteral("View All");

void openHelp(menudata::HelpMenu menu, int index)
{
    if (const auto topic = menudata::helpTopic(menu, index)) {
        g().HelpFile = programPath(topic->file);
        seam().HtmlHelp(g().HelpFile, topic->context);
    }
}

// Lowers the busy cursor to the level it had when a command began (after a failure on the way).
void lowerBusyTo(int level)
{
    while (platform::busyCount() > level)
        SetBusyCursor(0);
}

}  // namespace

void frmMain::LocateSavedCode(const QString& code)
{
    {
        const QSignalBlocker block(Text1(0));
        Text1(0)->setText(code);
    }
    LocateCode();
}

QString frmMain::CurrentCodemod()
{
    if (!Data1.hasRecordset())
        return QString();
    dao::Recordset& rs = Data1.Recordset();
    if (rs.RecordCount() == 0 || rs.EOF() || rs.BOF())
        return QString();
    return rs.Fields(db::feecol::CodeMod).Value().toString();
}

void frmMain::OpenAnalysis(int modal)
{
    // The analysis window lowers the busy cursor itself, last thing of its loading.
    const int level = platform::busyCount();
    SetBusyCursor(11);
    if (!openWindow(QStringLiteral("frmAnal"), Open::Fresh, modal))
        lowerBusyTo(level);
}

void frmMain::mnumain_Click(int Index)
{
    GridClickPending = 0;
    if (Index == 6)
        ShowFederalRegister();
}

void frmMain::mnufile_Click(int Index)
{
    GridClickPending = 0;
    switch (Index) {
    case 0:
        ImportUserSchedules();
        break;
    case 1:
        ImportUserFrequencies();
        break;
    case 2:
        openWindow(QStringLiteral("WinSeek"), Open::Reused, vbModal);
        break;
    case 5:
        openWindow(QStringLiteral("frmDropSession"), Open::Reused, vbModeless);
        break;
    case 7:
        openWindow(QStringLiteral("frmExportWLT"), Open::Reused, vbModeless);
        break;
    case 8:
        openWindow(QStringLiteral("frmExportELIG"), Open::Reused, vbModeless);
        break;
    case 10:
        openWindow(QStringLiteral("frmBackup"), Open::Reused, vbModeless);
        break;
    case 12:
        ExitProgram();
        return;
    default:
        break;
    }
    SetBusyCursor(0);
}

void frmMain::ExitProgram()
{
    // Every window closes in the order it was loaded; closing this one on the way closes the rest and ends
    // the run. Nothing is saved here: every change was written when it was made.
    std::vector<QPointer<platform::Form>> open;
    for (platform::Form* f : forms().loaded())
        open.emplace_back(f);
    for (const QPointer<platform::Form>& f : open)
        if (f && f->isLoaded() && !f->isUnloading())
            forms().Unload(*f);
    if (!programEnded())
        EndProgram(0);
}

void frmMain::mnuFileExport_Click(int Index)
{
    if (Index == 0) {
        openWindow(QStringLiteral("frmExportInfo"), Open::Reused, vbModeless);
        return;
    }
    const exportmenu::Setting* s = exportmenu::setting(Index);
    if (!s)
        return;
    QPointer<platform::Form> w = openWindow(QString::fromLatin1(s->window), Open::Reused, vbModeless);
    if (auto* target = dynamic_cast<exportmenu::Target*>(w.data()))
        target->applyExportMenuSetting(*s);
}

void frmMain::mnu_WizExport_Click()
{
    openWindow(QStringLiteral("frmExportWiz"), Open::Reused, vbModeless);
}

void frmMain::mnuExportWizBeta_Click()
{
    openWindow(QStringLiteral("frmExportWizBeta"), Open::Reused, vbModeless);
}

void frmMain::mnu_KELVAExportUtility_Click()
{
    openWindow(QStringLiteral("frmExportWiz2"), Open::Reused, vbModeless);
}

void frmMain::mnuEdit_Click(int Index)
{
    GridClickPending = 0;
    if (Index == 0)
        ShowFindWindow(false);
    else if (Index == 2)
        ToggleViewTaggedOnly();
}

void frmMain::ToggleViewTaggedOnly()
{
    const QString caption = ViewTaggedCaption();
    if (caption != kViewTagged && caption != kViewAll)
        return;
    const int level = platform::busyCount();
    try {
        SetBusyCursor(11);
        if (caption == kViewTagged) {
            ViewTagRecs();
            if (!Data1.hasRecordset() || Data1.Recordset().RecordCount() == 0) {
                ViewAllRecs();
                const QString kept = strCurrentCpt = CurrentCodemod();
                RefreshGrid();
                LocateSavedCode(kept);
            } else {
                RefreshGrid();
                setViewTaggedCaption(kViewAll);
            }
        } else {
            setViewTaggedCaption(kViewTagged);
            ViewAllRecs();
            const QString kept = strCurrentCpt = CurrentCodemod();
            RefreshGrid();
            LocateSavedCode(kept);
        }
        SetBusyCursor(0);
    } catch (const dao::Error& e) {
        lowerBusyTo(level);
        seam().MsgBox(e.description, vbOKOnly);
    }
}

void frmMain::mnuSettings_Click(int Index)
{
    switch (Index) {
    case 0:
        openWindow(QStringLiteral("frmGridSet"), Open::Reused, vbModal);
        break;
    case 1:
        openWindow(QStringLiteral("frmKelva"), Open::Reused, vbModal);
        break;
    case 3:
        openWindow(QStringLiteral("frmTag"), Open::Fresh, vbModal);
        break;
    case 4:
        ClearAllTaggedItems();
        break;
    default:
        break;
    }
}

void frmMain::mnuSaveTagList_Click()
{
    openWindow(QStringLiteral("frmListSave"), Open::Reused, vbModeless);
}

void frmMain::ClearAllTaggedItems()
{
    const int answer = seam().MsgBox(QStringLiteral("Warning 'Clear All Tags' will permenantly remove all tagged "
                                                    "codes from the main screen! Yes to Continue."),
                                     vbYesNo | vbExclamation);
    if (answer != vbYes) {
        dbg->Refresh();
        SetBusyCursor(0);
        return;
    }
    const int level = platform::busyCount();
    try {
        SetBusyCursor(11);
        // In "KELVA OPPS" the tags of every carrier and locality go; otherwise those of the session's table,
        // whatever family is shown (the family tables keep theirs).
        const QString table = cmboCurrentView->currentText() == QLatin1String("KELVA OPPS")
                                  ? QStringLiteral("DATAOPPSVIEW")
                                  : CurrentSession().value(db::SessionRow::SESTAB).toString();
        g().MainDb.Execute(QStringLiteral("UPDATE ") + dao::quoteIdentifier(table) + QStringLiteral(" SET Tag = Null"));
        const QString kept = strCurrentCpt = CurrentCodemod();
        if (ViewTaggedCaption() == kViewAll) {
            // The tagged list is empty now: back to every code.
            setViewTaggedCaption(kViewTagged);
            ViewAllRecs();
        }
        RefreshGrid();
        txt(0)->setVisible(true);
        txt(1)->setVisible(true);
        LocateSavedCode(kept);
        SetBusyCursor(0);
        dbg->Refresh();
        SetBusyCursor(0);
    } catch (const dao::Error& e) {
        lowerBusyTo(level);
        seam().MsgBox(e.description, vbOKOnly);
        return;
    }
    seam().MsgBox(QStringLiteral("All tags have been cleared."), vbOKOnly);
}

void frmMain::mnuReports_Click(int Index)
{
    forms().unloadIfLoaded<frmReportz>();
    const auto& layouts = reports::preselectedLayouts();
    if (Index >= 0 && Index < int(layouts.size()))
        reports::openPreselectedReport(Index + 1, layouts[size_t(Index)].items);
    else if (Index == 14)
        reports::openCustomReport();
    else if (Index == 16)
        OpenAnalysis(vbModal);
}

void frmMain::mnuSpecial_Click(int Index)
{
    GridClickPending = 0;
    if (Index == 0)
        OpenAnalysis(vbModal);
    else if (Index == 1)
        openWindow(QStringLiteral("frmSchedules"), Open::Fresh, vbModeless);
}

void frmMain::mnuReferences_Click(int Index)
{
    openHelp(menudata::HelpMenu::References, Index);
}

void frmMain::mnuhelp_Click(int Index)
{
    GridClickPending = 0;
    if (Index >= 0 && Index <= 3)
        openHelp(menudata::HelpMenu::Help, Index);
    else if (Index == 5)
        openWindow(QStringLiteral("frmAbout"), Open::Reused, vbModal);
}

void frmMain::mnuupgrades_Click(int Index)
{
    if (Index == 1) {
        openWindow(QStringLiteral("frmDataUpdate2"), Open::Reused, vbModeless);
    } else if (Index == 2) {
        // The gap codes are merged once on a database; the program ends after the merge, kept or not.
        if (!Parms().value(db::ParmsRow::gapdate).isNull()) {
            seam().MsgBox(QStringLiteral("Gap table already updated"), vbOKOnly);
            return;
        }
        update::MergeGapData();
        Unload();
    }
}
