#include "sessions/frmSLocation.h"

#include "app/FirstTime.h"
#include "app/globals.h"
#include "platform/controls/BusyCursor.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

frmSLocation::frmSLocation()
{
    setObjectName("frmSLocation");
    setCaption("KELVA Morvex Initial Location Selection");
    Frame2->setTitle("Locality Selection:");
    btn(2)->setText("&Continue");
    btn(0)->setText("&Back");
    Label3->hide();
    wire();
}

void frmSLocation::wire()
{
    using namespace platform;
    onClick(cmb, [this] { cmb_Click(); });
    onKeyUp(Text1, [this](int& KeyCode, int Shift) { Text1_KeyUp(KeyCode, Shift); });
    onClick(DBGrid1, [this] { DBGrid1_Click(); });
    onRowColChange(DBGrid1, [this](qint64 LastRow, int LastCol) { DBGrid1_RowColChange(LastRow, LastCol); });
    onClick(btn, [this](int Index) { btn_Click(Index); });
}

void frmSLocation::Form_Load()
{
    // Every locality is listed until the first choice.
    Data1.setDatabase(g().MainDb);
    ShowLocalities(locality::allLocalities());
    Frame1->show();
    {
        platform::BusyCursor busy;
        platform::setText(lblHelp(0), "Select a state using the drop down box above.  After installation you may "
                                      "reset KELVA Morvex to any U.S. locality.");
        platform::setText(lblHelp(1), QString());
        platform::setText(lblHelp(2), "Click on \"Cancel\" to return without any changes.");
        platform::setText(lst, "No items selected.  Select from the items below.");
        FillStateList();
    }
    btn(2)->setEnabled(false);
}

void frmSLocation::Form_Activate()
{
    btn(2)->setEnabled(false);
}

void frmSLocation::Form_QueryUnload(int&, int UnloadMode)
{
    // The close box is Back.
    if (UnloadMode == vbFormControlMenu)
        Back();
}

void frmSLocation::cmb_Click()
{
    const QString entry = cmb->currentText();
    if (isBlankEntry(entry))
        return;
    // A locality taken from the list was not found by a ZIP code.
    g().SelectedZip.clear();
    g().RuralInd.clear();
    ShowChoice(ShowLocalities(locality::stateLocalities(entry)));
}

void frmSLocation::Text1_KeyUp(int&, int)
{
    const std::optional<locality::ZipRow> row = TypedZipCode();
    if (!row)
        return;
    platform::BusyCursor busy;
    const QString& zip = row->zip;
    g().SelectedZip = zip;
    g().RuralInd = row->ruralInd.toString();
    ShowChoice(ShowLocalities(locality::zipLocalities(row->carrier, row->locality)));
}

void frmSLocation::ShowChoice(int rows)
{
    if (rows == 1) {
        platform::setText(lst, RowLocalityText());
        platform::setText(Label2, "Click on the 'Continue' button to select this item.");
        btn(2)->setEnabled(true);
    } else {
        platform::setText(lst, "Select from the items below.");
        platform::setText(Label2, "Click anywhere on the row that applies to your area then click the 'Continue' "
                                  "button.");
        // Nothing is chosen until the user picks a row.
        btn(2)->setEnabled(false);
    }
}

void frmSLocation::DBGrid1_Click()
{
    if (!HasLocality())
        return;
    platform::setText(lst, RowLocalityText());
    btn(2)->setEnabled(true);
}

void frmSLocation::DBGrid1_RowColChange(qint64, int)
{
    if (listing || !HasLocality())
        return;
    platform::setText(lst, RowLocalityText());
    if (Frame1->isHidden())
        btn(2)->setEnabled(true);
}

void frmSLocation::btn_Click(int Index)
{
    if (Index == 0) {
        Back();
        Unload();
        return;
    }
    if (Index != 2 || !btn(2)->isEnabled() || !HasLocality())
        return;
    FirstTime& wizard = forms().get<FirstTime>();
    platform::setText(wizard.CURWORKGPCI, RowText(colWork));
    platform::setText(wizard.CURPRACGPCI, RowText(colPract));
    platform::setText(wizard.CURMALPGPCI, RowText(colMalp));
    WriteCarrierAndLoc();
    platform::setText(wizard.GEOLOC, RowLocalityText());
    Unload();
}

void frmSLocation::Back()
{
    if (FirstTime* wizard = forms().loadedOrNull<FirstTime>()) {
        wizard->btn(0)->setText("Cancel");
        platform::setText(wizard->step, "1");
    }
    btn(2)->setEnabled(false);
}

KELVA_FORM_NAME(frmSLocation)
