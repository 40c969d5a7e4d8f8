#include "main/frmMain.h"

#include "app/globals.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <algorithm>

namespace {

// The views of the selector, by list position.
enum View { Kelva = 0, KelvaOpps = 1, Dmepos = 2, LabFees = 3, JCodes = 4, AscCodes = 5, DrgCodes = 6 };

bool physicianView(int view)
{
    return view == Kelva || view == KelvaOpps;
}

// The scroll bars hold a 16-bit value: a longer list is stepped through as far as the bar reaches.
int scrollMaximum(qint64 rows)
{
    return static_cast<int>(std::clamp<qint64>(rows - 1, 0, 32767));
}

}  // namespace

void frmMain::cmboCurrentView_Click()
{
    const int view = platform::listIndex(cmboCurrentView);
    if (view < 0)
        return;
    try {
        if (physicianView(view)) {
            ViewAllRecs();
            RefreshGrid();
            Recolumnize();
        }
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
    }

    // The physician views keep the detail panel as it was; every other view collapses it.
    if (view != Kelva && btnMore->text() != QLatin1String("More >>"))
        btnMore_Click();

    const bool physician = physicianView(view);
    CodeDetailFrame->setVisible(physician);
    Frame8->setVisible(!physician);
    AscCodeDetail->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{Text1(0), Text1(1), Command3, plimlist, plimscroll, Frame4})
        w->setVisible(physician);
    Command2->setVisible(physician);
    Combo1->setVisible(physician);
    Combo1->setEnabled(view == Kelva);
    Combo3->setVisible(view == Dmepos || view == LabFees || view == JCodes);
    Combo4->setVisible(view == DrgCodes);
    for (QWidget* w : std::initializer_list<QWidget*>{ASCcmboDropDown, ascwr, ASCtxtuserdefined, ASClblUserdefined})
        w->setVisible(view == AscCodes);
    Command5->setVisible(view == JCodes);

    const QStringList* states = view == Dmepos ? &DmeStateList
                                : view == LabFees ? &LabStateList
                                : view == JCodes ? &JcdStateList
                                                 : nullptr;
    if (states)
        platform::fillList(Combo3, *states);

    ShowViewGrid();
}

void frmMain::ShowViewGrid()
{
    const int view = platform::listIndex(cmboCurrentView);
    DBGrid* const grids[] = {dbg, dbg, DBGrid1, DBGrid2, DBGrid3, DBGrid4, DBGrid5};
    DataControl* const sources[] = {&Data1, &Data1, &Data5, &Data6, &Data7, &Data13, &Data9};
    if (view < 0 || view > DrgCodes)
        return;
    DBGrid* shown = grids[view];
    for (DBGrid* grid : grids)
        grid->setVisible(grid == shown);

    try {
        if (physicianView(view)) {
            LocateCode();
            const qint64 rows = Data1.hasRecordset() ? Data1.Recordset().RecordCount() : 0;
            plimscroll->setMax(scrollMaximum(rows));
            plimscroll->setLargeChange(1);
        }
        DataControl& source = *sources[view];
        const qint64 rows = source.hasRecordset() ? source.Recordset().RecordCount() : 0;
        dbgscroll->setMax(scrollMaximum(rows));
        dbgscroll->setLargeChange(std::max(1, shown->VisibleRows()));
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
    }
}

void frmMain::FormatJCodeGrid()
{
}

void frmMain::Data5_Reposition()
{
}

void frmMain::Data6_Reposition()
{
}

void frmMain::Data7_Reposition()
{
}

void frmMain::Data13_Reposition()
{
}

void frmMain::Data9_Reposition()
{
}

void frmMain::ToggleTagDME()
{
}

void frmMain::ToggleTagLab()
{
}

void frmMain::ToggleTagJCodes()
{
}

void frmMain::ToggleTagASC()
{
}

void frmMain::ToggleTagDRG()
{
}

void frmMain::FamilyGrid_MouseDown(int Button, int, double, double)
{
    if (Button == 1)
        GridClickPending = -1;
}
