#pragma once

#include "platform/controls/DBGrid.h"
#include "platform/controls/DataControl.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "sessions/locality.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <optional>

// What the two locality windows share: the first-run window frmSLocation and the session settings' window
// frmLocation. Both choose a Medicare locality by state (and a locality row) or by ZIP code; they differ in
// their texts and in where the choice goes, which each twin's own event procedures decide.
class LocalityWindow : public platform::Form {
    Q_OBJECT
public:
    QTabWidget* SSTab1;        // 0 "Select by State", 1 "Select by Zip Code"
    QLabel* lblState;          // "Select State:"
    QComboBox* cmb;            // the states, sorted: " National Values" first
    QLabel* lblZip;            // "Select Zip Code:"
    QLineEdit* Text1;          // the ZIP code, at most 5 characters
    QGroupBox* Frame2;         // the grid's frame
    platform::DBGrid* DBGrid1;  // the localities of the current choice
    platform::DataControl Data1;
    QLabel* lblDesc;           // "Locality Description:"
    QLabel* lst;               // the chosen locality's text
    QLabel* Label2;            // the hint under the grid
    QGroupBox* Frame1;         // "Instructions:"
    platform::ControlArray<QLabel> lblHelp;  // the three instruction texts
    QLabel* Label3;            // the note on status "C" codes (settings window only)
    platform::ControlArray<QPushButton> btn;  // 0 Cancel / Back, 2 Apply / Continue

    // Grid columns that the choice is read from.
    static constexpr int colCarrier = 4, colLocCode = 5, colWork = 6, colPract = 7, colMalp = 8;

protected:
    LocalityWindow();

    // The states of LOCATION into cmb, no entry selected.
    void FillStateList();
    // Lists the localities of a record source in the grid (the row count exact) and hides the
    // instructions; the number of rows.
    int ShowLocalities(const locality::Source& source);
    // ZPLC's row of the typed ZIP code; without one, "Zip Code entered not found" and the focus back in
    // Text1.
    std::optional<locality::ZipRow> FindZipCode(const QString& zip);
    // After a key released in Text1: once the box holds five characters, pending events are let run and the
    // typed code looked up (FindZipCode). None for fewer characters, a blank text or a code ZPLC lacks.
    std::optional<locality::ZipRow> TypedZipCode();
    // A list entry or text that sorts at or before a single blank: no choice.
    static bool isBlankEntry(const QString& text);
    // The grid has a current locality row.
    bool HasLocality();
    // The current row's locality text, and a column as the grid shows it.
    QString RowLocalityText();
    QString RowText(int col);
    // Stores the current row's carrier and locality code in PARMS_CL (the main window's live row shows them).
    void WriteCarrierAndLoc();

    // True while the program itself moves the grid (a new list): its row changes are no choice.
    bool listing = false;
};
