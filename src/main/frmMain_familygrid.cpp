#include "main/frmMain.h"

#include "db/feequery.h"
#include "platform/controls/BusyCursor.h"
#include "platform/dao/jetfunctions.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

// The events of the five family grids and the reposition handlers of their data controls: a mouse click into
// the Tag column or a double click toggles the row's tag, typed keys change no cell, a row change puts the
// row's code into the code box, and a move of the data control shows the matching physician code's details.

namespace {

enum Family { Dme, Lab, Jcd, Asc, Drg };

enum class OnClick { Description, NotAvailable, Nothing };

struct FamilyGrid {
    platform::DBGrid* frmMain::*grid;
    platform::DataControl frmMain::*data;
    int view;                      // the selector's index of the family's view
    const char* boxField;          // written into the code box by a row change
    const char* keyField;          // the row's key, kept in gridCode
    QString frmMain::*gridCode;
    void (*toggle)(frmMain&);      // a plain function: member-pointer calls trip the sanitizer build
    OnClick click;
    bool keysBecomeEnter;          // typed keys reach no cell
    const char* physicianCode;     // the reposition's search of Data1; nullptr: no physician lookup
    QString frmMain::*curCode;
};

const FamilyGrid kGrids[] = {
    {&frmMain::DBGrid1, &frmMain::Data5, 2, "Codemod", "HCPCS", &frmMain::strGridCodeDME, [](frmMain& m) { m.ToggleTagDME(); },
     OnClick::Description, true, "CODEMOD = ?", &frmMain::strCurCodeDME},
    {&frmMain::DBGrid2, &frmMain::Data6, 3, "Codemod", "HCPCS", &frmMain::strGridCodeLab, [](frmMain& m) { m.ToggleTagLab(); },
     OnClick::Description, false, "CPT = ?", &frmMain::strCurCodeLab},
    {&frmMain::DBGrid3, &frmMain::Data7, 4, "Codemod", "HCPCS", &frmMain::strGridCodeJCD, [](frmMain& m) { m.ToggleTagJCodes(); },
     OnClick::Nothing, true, "CPT = ?", &frmMain::strCurCodeJCD},
    {&frmMain::DBGrid4, &frmMain::Data13, 5, "code", "code", &frmMain::strGridCodeASC, [](frmMain& m) { m.ToggleTagASC(); },
     OnClick::NotAvailable, true, "CPT = ?", &frmMain::strCurCodeASC},
    {&frmMain::DBGrid5, &frmMain::Data9, 6, "DRG", "DRG", &frmMain::strGridCodeDRG, [](frmMain& m) { m.ToggleTagDRG(); },
     OnClick::Nothing, true, nullptr, nullptr},
};

const FamilyGrid* familyGrid(int family)
{
    return family >= 0 && family < int(std::size(kGrids)) ? &kGrids[family] : nullptr;
}

QString fieldText(platform::DataControl& data, const char* field)
{
    const dao::Variant v = data.Recordset()[QString::fromLatin1(field)].Value();
    return v.isNull() ? QString() : v.toString();
}

// A row's code as the code box shows it: a DRG as its three-digit text.
QString rowCode(platform::DataControl& data, int family, const char* field)
{
    if (family == Drg)
        return jet::format(data.Recordset()[QString::fromLatin1(field)].Value(), QStringLiteral("000"));
    return fieldText(data, field);
}

}  // namespace

void frmMain::wireFamilyGrids()
{
    using namespace platform;
    for (int family = Dme; family <= Drg; ++family) {
        DBGrid* grid = this->*kGrids[family].grid;
        // No cell editor and no row search on typed letters: the grids show their rows, the program writes them.
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->setKeyboardSearch(false);
        onMouseDown(grid, [this, family](int Button, int Shift, double X, double Y) {
            FamilyGrid_MouseDown(family, Button, Shift, X, Y);
        });
        onMouseUp(grid, [this, family](int Button, int Shift, double X, double Y) {
            FamilyGrid_MouseUp(family, Button, Shift, X, Y);
        });
        onClick(grid, [this, family] { FamilyGrid_Click(family); });
        onDblClick(grid, [this, family] { FamilyGrid_DblClick(family); });
        if (kGrids[family].keysBecomeEnter)
            onKeyPress(grid, [this, family](int& KeyAscii) { FamilyGrid_KeyPress(family, KeyAscii); });
        onRowColChange(grid, [this, family](qint64, int) { FamilyGrid_RowColChange(family); });
    }
    onReposition(Data5, [this] { Data5_Reposition(); });
    onReposition(Data6, [this] { Data6_Reposition(); });
    onReposition(Data7, [this] { Data7_Reposition(); });
    onReposition(Data13, [this] { Data13_Reposition(); });
    onReposition(Data9, [this] { Data9_Reposition(); });
}

// ---- Mouse and keys.

void frmMain::FamilyGrid_MouseDown(int, int Button, int, double, double)
{
    if (Button == platform::vbLeftButton)
        GridClickPending = -1;
}

// A press that moved to no cell is over with its release: a later keyboard move into the Tag column flips
// nothing.
void frmMain::FamilyGrid_MouseUp(int, int, int, double, double)
{
    GridClickPending = 0;
}

void frmMain::dbg_MouseUp(int, int, double, double)
{
    GridClickPending = 0;
}

void frmMain::FamilyGrid_Click(int family)
{
    const FamilyGrid* f = familyGrid(family);
    if (!f || f->click == OnClick::Nothing || !(this->*f->data).hasCurrentRecord())
        return;
    if (f->click == OnClick::NotAvailable)
        platform::setText(txt(0), QStringLiteral("Not Available"));
    else
        platform::setText(txt(0), fieldText(this->*f->data, "description"));
}

void frmMain::FamilyGrid_DblClick(int family)
{
    const FamilyGrid* f = familyGrid(family);
    GridClickPending = 0;
    if (f)
        f->toggle(*this);
}

void frmMain::FamilyGrid_KeyPress(int, int& KeyAscii)
{
    KeyAscii = 13;
}

// ---- The current row.

void frmMain::FamilyGrid_RowColChange(int family)
{
    const FamilyGrid* f = familyGrid(family);
    if (!f)
        return;
    // A grid moved by its data control while another view is shown leaves the code box to that view.
    if (platform::listIndex(cmboCurrentView) != f->view)
        return;
    DBGrid* grid = this->*f->grid;
    DataControl& data = this->*f->data;
    if (!data.hasCurrentRecord()) {
        GridClickPending = 0;
        return;
    }
    if (grid->Col() == 0 && GridClickPending != 0) {
        f->toggle(*this);
        grid->setCol(1);
    }
    platform::setText(Text1(0), rowCode(data, family, f->boxField));
    GridClickPending = 0;
    platform::SetBusyCursor(0);
    if (!data.hasCurrentRecord())
        return;  // the code box's lookup moved the list off its rows
    this->*f->gridCode = rowCode(data, family, f->keyField);
    if (family != Jcd)
        return;

    // The J code's crosswalk rows and its own description and notes.
    const QString hcpcs = fieldText(data, "HCPCS");
    bool crosswalk = false;
    platform::resumeNext([&] {
        if (!Data12.hasRecordset())
            Data12.Refresh();
        dao::Recordset& rs = Data12.Recordset();
        rs.FindFirst(QStringLiteral("[HCPCS Code] = ?"), {hcpcs});
        crosswalk = !rs.NoMatch();
    });
    seam().DoEvents();
    Command5->setEnabled(crosswalk);
    if (!data.hasCurrentRecord())
        return;
    platform::setText(txt(2), fieldText(data, "description"));
    platform::setText(txt(3), fieldText(data, "Notes"));
}

// ---- Reposition of the family data controls.

bool frmMain::MainGridOnShownCode()
{
    const int view = platform::listIndex(cmboCurrentView);
    if (view < 2)
        return true;
    bool on = false;
    for (const FamilyGrid& f : kGrids) {
        if (f.view != view || !f.physicianCode)
            continue;  // the DRG grid has no physician code
        platform::resumeNext([&] {
            DataControl& data = this->*f.data;
            if (!data.hasCurrentRecord() || !Data1.hasCurrentRecord())
                return;
            const QString cpt = Data1.Recordset().Fields(db::feecol::Cpt).Value().toString().trimmed();
            on = !cpt.isEmpty() && cpt.compare(fieldText(data, f.keyField).trimmed(), Qt::CaseInsensitive) == 0;
        });
    }
    return on;
}

void frmMain::Data5_Reposition() { FamilyData_Reposition(Dme); }
void frmMain::Data6_Reposition() { FamilyData_Reposition(Lab); }
void frmMain::Data7_Reposition() { FamilyData_Reposition(Jcd); }
void frmMain::Data13_Reposition() { FamilyData_Reposition(Asc); }

// The physician code of the family's current code: the main grid moves to it and the detail frame shows it,
// or says that there is none. Only while the family's view is shown; a failure ends it without a word.
void frmMain::FamilyData_Reposition(int family)
{
    const FamilyGrid* f = familyGrid(family);
    if (!f || !f->physicianCode || platform::listIndex(cmboCurrentView) != f->view)
        return;
    DataControl& data = this->*f->data;
    platform::resumeNext([&] {
        if (!data.hasRecordset() || data.Recordset().RecordCount() == 0 || !data.hasCurrentRecord())
            return;
        const QString code = fieldText(data, family == Asc ? "code" : "HCPCS");
        this->*f->curCode = code;
        const QString caption = QStringLiteral("Details for ") + code;
        CodeDetailFrame->setTitle(caption);
        if (!Data1.hasRecordset())
            return;
        dao::Recordset& physician = Data1.Recordset();
        physician.FindFirst(QString::fromLatin1(f->physicianCode), {code.trimmed()});
        if (physician.NoMatch()) {
            ShowCodeDescription();
            return;
        }
        ShowLongDescAndNotes();
        QString found = caption;
        if (family == Dme && lblData(0)->Caption().contains(QLatin1Char('g'), Qt::CaseInsensitive))
            found += QStringLiteral("- GAP Code");
        CodeDetailFrame->setTitle(found);
    });
}

// The DRG grid's move keeps the shared scroll bar in step, in every view.
void frmMain::Data9_Reposition()
{
    try {
        dao::Recordset& rs = Data9.Recordset();
        platform::setText(txt(0), rs[QStringLiteral("Desc")].Value().toString());
        ShowLongDescAndNotes();
        dbgscroll->setMax(int(std::max<qint64>(rs.RecordCount() - 1, 0)));
        plimscroll->setLargeChange(1);
        dbgscroll->setLargeChange(std::max(1, DBGrid5->VisibleRows()));
        dbgscroll->Refresh();
        dbgscroll->setValue(int(std::min<qint64>(rs.AbsolutePosition(), dbgscroll->Max())));
    } catch (const dao::Error&) {
        platform::setText(txt(0), QString());
    }
}
