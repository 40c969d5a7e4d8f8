#include "sessions/frmLocation.h"

#include "app/globals.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/forms/guarded.h"
#include "platform/seam/Seam.h"
#include "sessions/frmKelva.h"

frmLocation::frmLocation()
{
    setObjectName(QStringLiteral("frmLocation"));
    Frame2->setTitle(QStringLiteral("Available State Locations:"));
    wire();
}

void frmLocation::wire()
{
    using namespace platform;
    onClick(cmb, [this] { cmb_Click(); });
    onKeyUp(Text1, [this](int& KeyCode, int Shift) { Text1_KeyUp(KeyCode, Shift); });
    onRowColChange(DBGrid1, [this](qint64 LastRow, int LastCol) { DBGrid1_RowColChange(LastRow, LastCol); });
    onClick(btn, [this](int Index) { btn_Click(Index); });
    connect(SSTab1, &QTabWidget::currentChanged, this,
            [this](int Tab) { platform::guarded([&] { SSTab1_Click(Tab); }); });
}

void frmLocation::Form_Load()
{
    setCaption(g().AppTitle + QStringLiteral(" KELVA Morvex Locality Selection"));
    forms().unloadIfLoaded<frmPlimView>();
    g().PlimViewActive = 0;
    Data1.setDatabase(g().MainDb);
    platform::setText(lblHelp(0), QStringLiteral("Select a state from the available items in the list above."));
    platform::setText(lblHelp(1),
                      QStringLiteral("A list of the available localities for that state will display in this area.  "
                                     "Click on the desired locality and select \"Apply\" to update your session "
                                     "with the new locality data."));
    platform::setText(lblHelp(2), QStringLiteral("Click on \"Cancel\" to return without any changes."));
    btn(2)->setEnabled(false);
    platform::BusyCursor busy;
    platform::setText(lst, QStringLiteral("No items selected.  Select from the items below."));
    FillStateList();
    // The first entry, " National Values", is chosen at once.
    if (cmb->count() > 0)
        platform::setListIndex(cmb, 0);
}

void frmLocation::cmb_Click()
{
    const QString entry = cmb->currentText();
    if (isBlankEntry(entry))
        return;
    platform::BusyCursor busy;
    const int rows = ShowLocalities(locality::stateLocalities(entry));
    // A locality taken from the list was not found by a ZIP code.
    byZip_ = false;
    zip_.clear();
    ruralInd_.clear();
    ShowChoice(rows);
}

void frmLocation::Text1_KeyUp(int&, int)
{
    const std::optional<locality::ZipRow> row = TypedZipCode();
    if (!row)
        return;
    platform::BusyCursor busy;
    const QString& zip = row->zip;
    const int rows = ShowLocalities(locality::zipLocalities(row->carrier, row->locality));
    byZip_ = true;
    zip_ = zip;
    // A ZIP code without an indicator has none, whatever the code looked up before it had.
    ruralInd_ = row->ruralInd.isNull() ? QString() : row->ruralInd.toString();
    ShowChoice(rows);
}

void frmLocation::ShowChoice(int rows)
{
    if (rows == 1) {
        platform::setText(lst, RowLocalityText());
        platform::setText(Label2, QStringLiteral("Click on APPLY button below to select this item."));
        btn(2)->setEnabled(true);
        return;
    }
    platform::setText(lst, QStringLiteral("Select from the items below."));
    platform::setText(Label2, QStringLiteral("Click anywhere on the row for the desired area then click the APPLY "
                                             "button below to update this session."));
    // Nothing is chosen until the user picks a row; a ZIP code whose locality LOCATION lacks offers none.
    btn(2)->setEnabled(false);
}

void frmLocation::DBGrid1_RowColChange(qint64, int)
{
    if (listing || !HasLocality())
        return;
    platform::setText(lst, RowLocalityText());
    btn(2)->setEnabled(true);
}

void frmLocation::SSTab1_Click(int Tab)
{
    if (Tab == 1)
        platform::SetFocus(Text1);
}

void frmLocation::btn_Click(int Index)
{
    if (Index == 0) {
        Unload();
        return;
    }
    if (Index != 2 || !btn(2)->isEnabled() || !HasLocality())
        return;
    if (frmKelva* settings = forms().loadedOrNull<frmKelva>()) {
        frmKelva::LocalityChoice choice;
        choice.text = RowLocalityText();
        choice.work = RowText(colWork);
        choice.pract = RowText(colPract);
        choice.malp = RowText(colMalp);
        choice.byZip = byZip_;
        choice.zip = zip_;
        choice.ruralInd = ruralInd_;
        settings->TakeLocality(choice);
    }
    Unload();
}

KELVA_FORM_NAME(frmLocation)
