#include "main/frmMain.h"

#include "app/endprogram.h"
#include "app/globals.h"
#include "db/feequery.h"
#include "main/frmPlimView.h"
#include "platform/dao/jetfunctions.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalBlocker>

namespace {

namespace col = db::feecol;

const QString kPhysicianNotFound = QStringLiteral("Code could not be found, please reenter your code now");
const QString kFamilyNotFound =
    QStringLiteral("The code you have entered is either invalid or not found in this table.  Please reenter a valid code");
const QString kIndexingError = QStringLiteral("An indexing error has occured. The KELVA Morvex application will need "
                                              "to restart to correct this problem.");

// One family view of the code box: where a typed code is looked for and what the box shows after it.
struct FamilyLookup {
    const char* view;                         // the selector's text
    platform::DataControl frmMain::*data;
    platform::DBGrid* frmMain::*grid;
    int shortest, longest;                    // box text lengths that are looked up
    const char* criterion;                    // bound with the trimmed box text
    const char* key;                          // the column the criterion compares; nullptr for a pattern
    bool emptyGoesToFirstRow;                 // an emptied box moves the grid to its first row, else the
                                              // last good code comes back
    QString frmMain::*lastGood;
    const char* findWindow;
    const char* shownCode;                    // written into the box after a find
    bool withModifier;                        // ... followed by one blank and the row's Mod
    const char* shownFormat;                  // the number's pattern, nullptr for a text
    bool showsRowAfterMiss;                   // the grid takes the focus and shows its row after a miss
};

// A DRG number is compared and shown as its three-digit text: "001" finds DRG 1, typed wildcards work, and
// the box shows the DRG as it is typed.
const FamilyLookup kFamilyLookups[] = {
    {"DMEPOS", &frmMain::Data5, &frmMain::DBGrid1, 5, 6, "HCPCS = ?", "HCPCS", false, &frmMain::strExchangeCodeDMEPOS,
     "frmSearchDME", "HCPCS", true, nullptr, true},
    {"Lab Fees", &frmMain::Data6, &frmMain::DBGrid2, 5, 5, "Codemod = ?", "Codemod", false, &frmMain::strExchangeCodeLab,
     "frmSearchLAB", "HCPCS", true, nullptr, true},
    {"J Codes", &frmMain::Data7, &frmMain::DBGrid3, 5, 5, "Codemod = ?", "Codemod", true,
     &frmMain::strExchangeCodeJCodes, "frmSearchJCD", "HCPCS", true, nullptr, false},
    {"ASC Codes", &frmMain::Data13, &frmMain::DBGrid4, 5, 6, "Code = ?", "Code", false, &frmMain::strExchangeCodeASC,
     "frmSearchASC", "code", false, nullptr, false},
    {"DRG Codes", &frmMain::Data9, &frmMain::DBGrid5, 3, 3, "format(DRG, '000') LIKE ?", nullptr, true,
     &frmMain::strExchangeCodeDRG, "frmSearchDRG", "DRG", false, "000", false},
};

const FamilyLookup* familyLookup(const QString& view)
{
    for (const FamilyLookup& f : kFamilyLookups)
        if (view == QLatin1String(f.view))
            return &f;
    return nullptr;
}

bool beginsWithDR(const QString& text)
{
    return text.startsWith(QLatin1String("DR"), Qt::CaseSensitive);
}

// A control that is hidden or disabled cannot take the focus: the step fails as it did on the old platform,
// and the callers that pass such a step over do so.
void giveFocus(QWidget* control)
{
    if (!control->isEnabled() || !control->isVisibleTo(control->window()))
        throw dao::Error(5, QStringLiteral("Invalid procedure call or argument"));
    platform::SetFocus(control);
}

void selectAll(QLineEdit* box)
{
    box->setSelection(0, int(box->text().size()));
}

// The window of the family's Find a Code search, when it is loaded and shown.
bool findWindowShown(const char* name)
{
    platform::Form* w = platform::forms().loadedByName(QString::fromLatin1(name));
    return w && w->isVisible();
}

// The grid of a view, by the selector's index.
platform::DBGrid* viewGrid(frmMain& f, int view)
{
    platform::DBGrid* const grids[] = {f.dbg, f.dbg, f.DBGrid1, f.DBGrid2, f.DBGrid3, f.DBGrid4, f.DBGrid5};
    return view >= 0 && view < 7 ? grids[view] : nullptr;
}

// The scroll bar shows a position; one it cannot hold is passed over.
void showPosition(frmMain& f, qint64 position)
{
    platform::resumeNext([&] {
        if (position > f.plimscroll->Max() || position < f.plimscroll->Min())
            throw dao::Error(380, QStringLiteral("Invalid property value"));
        f.plimscroll->setValue(int(position));
    });
}

// The main grid's fee of the chosen kind: "$" and two decimals, "$" alone for an empty value or no row.
QString mainGridFee(frmMain& f)
{
    if (!f.Data1.hasCurrentRecord())
        return QStringLiteral("$");
    const int column = int(dao::CLng(f.CurrentSession().value(db::SessionRow::PLIMCOL)));
    const dao::Variant fee = f.Data1.Recordset().Fields(column).Value();
    return QLatin1Char('$') + (fee.isNull() ? QString() : jet::format(fee, QStringLiteral("#0.00")));
}

QString physicianCodeText(frmMain& f)
{
    auto& rs = f.Data1.Recordset();
    return rs.Fields(col::Cpt).Value().toString() + QLatin1Char(' ') + rs.Fields(col::Mod).Value().toString();
}

// The physician row found: position, fee, the code as the row gives it, and the recent-codes store.
void showFoundPhysicianRow(frmMain& f)
{
    platform::resumeNext([&f] {
        showPosition(f, f.Data1.Recordset().AbsolutePosition());
        platform::setText(f.Text1(1), mainGridFee(f));
        platform::setText(f.Text1(0), physicianCodeText(f));
        f.Command3->hide();
        f.StoreRecentCode();
    });
}

// Both searches failed.
void physicianCodeNotFound(frmMain& f)
{
    seam().MsgBox(kPhysicianNotFound, vbOKOnly);
    // A list without rows (an empty tagged list) has no row to go back to: the message is all.
    if (!f.Data1.hasCurrentRecord())
        return;
    if (f.Data1.Recordset().Fields(col::CodeMod).Value().toString().trimmed().isEmpty()) {
        seam().MsgBox(kIndexingError, vbOKOnly);
        EndProgram();
        return;
    }
    f.cmbNewCodes->show();
    platform::setComboText(f.cmbNewCodes, f.cmbNewCodes->itemText(0));
    platform::setText(f.Text1(0), f.cmbNewCodes->currentText());
    f.cmboCurrentView->setEnabled(false);
    f.Combo1->setEnabled(false);
    platform::resumeNext([&f] { giveFocus(f.cmbNewCodes); });
}

// The code box in the view "KELVA".
void lookupPhysicianCode(frmMain& f)
{
    if (f.Text1(0)->text() == QLatin1String(" "))
        platform::setText(f.Text1(0), f.strExchangeCodeKELVA);
    // Keys typed meanwhile are taken now; each runs its own lookup first.
    seam().DoEvents();
    if (f.Text1(0)->text().size() > 8) {
        platform::setText(f.Text1(0), f.Text1(0)->text().left(1));
        f.Text1(0)->setCursorPosition(1);
    }

    const QString typed = f.Text1(0)->text();
    const bool dr = beginsWithDR(typed);
    const bool plain = (typed.size() == 5 || typed.size() == 6) && !dr;
    const bool drCode = (typed.size() == 6 || typed.size() == 7) && dr;
    if ((!plain && !drCode) || !f.Data1.hasRecordset())
        return;  // not a code's length yet, or no list to look in
    const QString t = typed.trimmed();
    // Whatever was typed is a bound value: a code with an apostrophe is simply not found.
    bool found = false;
    auto search = [&](const QString& criterion) {
        platform::resumeNext([&] {
            auto& rs = f.Data1.Recordset();
            rs.FindFirst(criterion, {t});
            found = !rs.NoMatch();
        });
    };
    auto afterBlank = [&] { return f.Text1(0)->text() > QLatin1String(" "); };

    if (plain) {
        platform::resumeNext([&] {
            // CODEMOD is unique: a grid already on the code has found it (every row move of the grid writes
            // its code into the box, so this is the common case).
            auto& rs = f.Data1.Recordset();
            if (rs.hasCurrentRecord() &&
                rs.Fields(col::CodeMod).Value().toString().compare(t, Qt::CaseInsensitive) == 0) {
                found = true;
                return;
            }
            try {
                rs.FindFirst(QStringLiteral("CODEMOD = ?"), {t});
            } catch (const dao::Error& e) {
                if (e.number != 3426)
                    throw;
                f.Data1.Refresh();
                f.Data1.Recordset().FindFirst(QStringLiteral("CODEMOD = ?"), {t});
            }
            found = !f.Data1.Recordset().NoMatch();
        });
        f.Combo3->hide();
        if (!found && afterBlank())
            search(QStringLiteral("CPT = ?"));
        if (!found && afterBlank()) {
            physicianCodeNotFound(f);
            return;
        }
    } else {
        search(QStringLiteral("CPT = ?"));
        f.Combo3->hide();
        if (!found && afterBlank()) {
            // A DR code that is not there: no message, the recent list offers the newest code instead.
            f.cmbNewCodes->show();
            platform::setComboText(f.cmbNewCodes, f.cmbNewCodes->itemText(0));
            platform::setText(f.Text1(0), f.cmbNewCodes->currentText());
            platform::resumeNext([&f] { giveFocus(f.cmbNewCodes); });
            f.cmboCurrentView->setEnabled(false);
            f.Combo1->setEnabled(false);
        }
    }
    if (f.Data1.hasCurrentRecord())
        showFoundPhysicianRow(f);
}

// The code box in a family view: either box changed, the code box is looked up.
void lookupFamilyCode(frmMain& f, const FamilyLookup& family)
{
    platform::DataControl& data = f.*family.data;
    QString& lastGood = f.*family.lastGood;
    if (!data.hasRecordset())
        return;  // the view's table is not open: there is nothing to look in

    if (f.Text1(0)->text().isEmpty()) {
        if (family.emptyGoesToFirstRow)
            platform::resumeNext([&] { data.Recordset().MoveFirst(); });
        else
            platform::setText(f.Text1(0), lastGood);  // looked up at once
    }
    const QString typed = f.Text1(0)->text();
    if (typed.size() < family.shortest || typed.size() > family.longest)
        return;
    const QString t = typed.trimmed();

    bool found = false;
    platform::resumeNext([&] {
        auto& rs = data.Recordset();
        // The grid already on a row of this code stays there: the second modifier row of a code stays
        // current when the main grid's row handling writes the bare code back into the box.
        if (family.key && rs.hasCurrentRecord() &&
            rs[QString::fromLatin1(family.key)].Value().toString().compare(t, Qt::CaseInsensitive) == 0) {
            found = true;
            return;
        }
        rs.FindFirst(QString::fromLatin1(family.criterion), {t});
        found = !rs.NoMatch();
    });

    platform::DBGrid* grid = f.*family.grid;
    if (found) {
        lastGood = f.Text1(0)->text();
        if (!findWindowShown(family.findWindow))
            platform::resumeNext([&] { giveFocus(grid); });
    } else {
        seam().MsgBox(kFamilyNotFound, vbOKOnly);
        platform::setText(f.Text1(0), lastGood);
        if (!family.showsRowAfterMiss)
            return;
        platform::resumeNext([&] { giveFocus(grid); });
    }

    if (!data.hasCurrentRecord())
        return;
    platform::resumeNext([&] {
        auto& rs = data.Recordset();
        showPosition(f, rs.AbsolutePosition());
        platform::setText(f.Text1(1), mainGridFee(f));
        const dao::Variant shown = rs[QString::fromLatin1(family.shownCode)].Value();
        QString code = family.shownFormat ? jet::format(shown, QString::fromLatin1(family.shownFormat)) : shown.toString();
        if (family.withModifier)
            code += QLatin1Char(' ') + rs[QStringLiteral("Mod")].Value().toString();
        platform::setText(f.Text1(0), code);
        f.Command3->hide();
    });
}


// ---- Settling an entry: Enter, leaving the box, "Locate Code".

// What Enter does per view: the recordset, its last good code, the grid, the key written into the box.
struct EnterRow {
    const char* view;
    platform::DataControl frmMain::*data;
    QString frmMain::*lastGood;
    platform::DBGrid* frmMain::*grid;
    const char* key;         // the column the lookup compares (the grid already on the code has found it)
    const char* shownCode;   // written into the box after a confirmed Enter
    bool gridAfterMiss;      // the grid takes the focus after a rejected code too
    bool capitals;           // lower-case letters become capitals
};

const EnterRow kEnterRows[] = {
    {"KELVA", &frmMain::Data1, &frmMain::strExchangeCodeKELVA, &frmMain::dbg, "CODEMOD", "CPT", true, true},
    {"DMEPOS", &frmMain::Data5, &frmMain::strExchangeCodeDMEPOS, &frmMain::DBGrid1, "HCPCS", "HCPCS", true, true},
    {"Lab Fees", &frmMain::Data6, &frmMain::strExchangeCodeLab, &frmMain::DBGrid2, "Codemod", "HCPCS", true, true},
    {"J Codes", &frmMain::Data7, &frmMain::strExchangeCodeJCodes, &frmMain::DBGrid3, "Codemod", "HCPCS", true, true},
    {"ASC Codes", &frmMain::Data13, &frmMain::strExchangeCodeASC, &frmMain::DBGrid4, "Code", "code", false, true},
    {"DRG Codes", &frmMain::Data9, &frmMain::strExchangeCodeDRG, &frmMain::DBGrid5, nullptr, "DRG", false, false},
};

// The last search on a recordset found the code: no miss is pending, or the grid stands on the code (the
// lookup does not search again for a code the grid is already on).
bool lastSearchFound(platform::DataControl& data, const char* key, const QString& t)
{
    if (!data.hasRecordset())
        return false;
    auto& rs = data.Recordset();
    if (!rs.NoMatch())
        return true;
    return key && rs.hasCurrentRecord() && rs[QString::fromLatin1(key)].Value().toString().compare(t, Qt::CaseInsensitive) == 0;
}

// Digits only, blanks around allowed: the DRG check's number.
bool isDrgNumber(const QString& t, qint64* number)
{
    static const QRegularExpression digits(QStringLiteral("^\\s*\\d+\\s*$"));
    if (!digits.match(t).hasMatch())
        return false;
    bool ok = false;
    *number = t.trimmed().toLongLong(&ok);
    return ok;
}

QString drgText(const dao::Variant& drg)
{
    return jet::format(drg, QStringLiteral("000"));
}

// Text1_LostFocus is running.
bool leavingTheBox = false;

// The code box takes the focus back from a control that is just receiving it: once that move is over.
void focusBackToBox(frmMain& f)
{
    QMetaObject::invokeMethod(
        &f, [&f] { platform::resumeNext([&f] { giveFocus(f.Text1(0)); }); }, Qt::QueuedConnection);
}

// The receiving controls of a final check.
bool checksTheEntry(frmMain& f, QWidget* to)
{
    for (QWidget* w : std::initializer_list<QWidget*>{f.dbg, f.DBGrid1, f.DBGrid2, f.DBGrid3, f.Command2, f.Command3,
                                                      f.cmboCurrentView})
        if (to == w)
            return true;
    return false;
}

// The family recordset of a view index 2 to 6.
platform::DataControl* viewData(frmMain& f, int view)
{
    platform::DataControl* const sources[] = {&f.Data1, &f.Data1, &f.Data5, &f.Data6, &f.Data7, &f.Data13, &f.Data9};
    return view >= 0 && view < 7 ? sources[view] : nullptr;
}

// The main grid follows a family code when the physician table has it; otherwise the detail panel is cleared.
void mainGridFollows(frmMain& f, const QString& t)
{
    if (!f.Data1.hasRecordset())
        return;
    f.Data1.Recordset().FindFirst(QStringLiteral("CPT = ?"), {t});
    if (f.Data1.Recordset().NoMatch())
        f.ShowCodeDescription();
}

// The final check of indexes 0 to 5: true when the code was not there and the handler ends.
bool finalCheck(frmMain& f, int view, int index)
{
    platform::DataControl& data = *viewData(f, view);
    if (index != 0 || !data.hasCurrentRecord())
        return false;
    auto& rs = data.Recordset();
    const QString key = view <= 1 ? QStringLiteral("CODEMOD") : view == 5 ? QStringLiteral("CODE") : QStringLiteral("HCPCS");
    const dao::Variant remembered = rs[key].Value();
    const QString t = f.Text1(0)->text().trimmed();
    // Above 7 characters a code, one separator and a modifier: the code and the modifier joined.
    const QString u = view <= 1 && t.size() > 7 ? t.left(5) + t.right(2) : t;
    rs.FindFirst(key + QStringLiteral(" = ?"), {u});
    if (view == 4 || view == 5)
        viewGrid(f, view)->Refresh();
    if (rs.NoMatch()) {
        focusBackToBox(f);
        rs.FindFirst(key + QStringLiteral(" = ?"), {remembered});
        return true;
    }
    if (view <= 1) {
        platform::resumeNext([&] {
            showPosition(f, rs.AbsolutePosition());
            platform::setText(f.Text1(1), mainGridFee(f));
            platform::setText(f.Text1(0), physicianCodeText(f));
        });
    } else {
        mainGridFollows(f, t);
    }
    return false;
}

// The DRG view's check: numbers only. True when the handler ends.
bool drgCheck(frmMain& f, int index)
{
    platform::DataControl& data = f.Data9;
    if (!data.hasCurrentRecord())
        return false;  // no DRG to compare with or to go back to
    auto& rs = data.Recordset();
    const dao::Variant remembered = rs[QStringLiteral("DRG")].Value();
    const QString t = f.Text1(0)->text().trimmed();
    auto goBack = [&] {
        seam().MsgBox(QStringLiteral("New DRG not found"), vbOKOnly);
        focusBackToBox(f);
        rs.FindFirst(QStringLiteral("DRG = ?"), {remembered});
        platform::setText(f.Text1(0), drgText(remembered));
    };
    qint64 number = 0;
    if (!isDrgNumber(t, &number)) {
        goBack();
        return true;
    }
    if (index != 0)
        return false;
    rs.FindFirst(QStringLiteral("DRG = ?"), {dao::Variant(number)});
    f.DBGrid5->Refresh();
    if (rs.NoMatch()) {
        goBack();
        return true;
    }
    return false;
}

}  // namespace

// ---- The lookup while typing.

void frmMain::Text1_Change(int Index)
{
    LookupTypedCode(Index);
}

void frmMain::LookupTypedCode(int Index)
{
    const QString view = cmboCurrentView->currentText();
    if (view == QLatin1String("KELVA")) {
        if (Index == 0)
            lookupPhysicianCode(*this);
        return;
    }
    if (const FamilyLookup* family = familyLookup(view))
        lookupFamilyCode(*this, *family);
}

// ---- The recent-codes store.

void frmMain::StoreRecentCode()
{
    const QString text = Text1(0)->text();
    if (text == g().LastRecentCode)
        return;
    g().LastRecentCode = text;
    auto& store = g().RecentCodes;
    int last = -1;
    if (cmbNewCodes->count() < 20) {
        for (int n = 0; n < int(store.size()); ++n)
            if (store[std::size_t(n)].isEmpty()) {
                last = n;
                break;
            }
    }
    if (last < 0) {
        // Full: the oldest code drops out.
        for (std::size_t n = 1; n <= 20; ++n)
            store[n - 1] = store[n];
        last = 19;
    }
    store[std::size_t(last)] = text;
    QStringList items;
    for (int n = last; n >= 0; --n)
        items << store[std::size_t(n)];
    const QString shown = cmbNewCodes->currentText();
    platform::fillList(cmbNewCodes, items);
    // Refilling keeps the list's own text: only the user and the code panel's steps change it.
    if (cmbNewCodes->currentText() != shown) {
        const QSignalBlocker block(cmbNewCodes);
        cmbNewCodes->setEditText(shown);
    }
}

// ---- Clicks, focus and keys of the two boxes.

void frmMain::Text1_Click(int)
{
    selectAll(Text1(0));
}

void frmMain::Text1_DblClick(int)
{
    if (cmboCurrentView->currentText() != QLatin1String("KELVA"))
        return;
    cmbNewCodes->show();
    platform::setComboText(cmbNewCodes, Text1(0)->text());
    cmboCurrentView->setEnabled(false);
    Combo1->setEnabled(false);
}

void frmMain::Text1_GotFocus(int Index)
{
    selectAll(Text1(0));
    if (Index == 0) {
        Command3->show();
        Command4->hide();
    }
}

void frmMain::Text1_KeyDown(int, int& KeyCode, int)
{
    if (KeyCode != 27)
        return;
    // Escape abandons a typed code: the grid's current code comes back and is looked up.
    KeyCode = 0;
    platform::setText(Text1(0), strCurrentCpt);
    // Found again, the code hides "Locate Code": the shown view's grid takes the focus then.
    if (!platform::resumeNext([this] { giveFocus(Command3); }))
        platform::resumeNext([this] { giveFocus(viewGrid(*this, platform::listIndex(cmboCurrentView))); });
}

void frmMain::Text1_KeyPress(int, int& KeyAscii)
{
    const QString view = cmboCurrentView->currentText();
    const EnterRow* row = nullptr;
    for (const EnterRow& r : kEnterRows)
        if (view == QLatin1String(r.view))
            row = &r;
    if (!row)
        return;  // "KELVA OPPS": letters stay as typed, Enter does nothing
    if (row->capitals && KeyAscii >= 'a' && KeyAscii <= 'z')
        KeyAscii -= 32;
    if (KeyAscii != 13 && KeyAscii != 26)
        return;

    DataControl& data = this->*row->data;
    if (!data.hasRecordset())
        return;
    auto& rs = data.Recordset();
    const bool drg = row->key == nullptr;
    if (drg) {
        // As the lookup searches: the DRG's three-digit text against the typed text.
        rs.FindFirst(QStringLiteral("format(DRG, '000') LIKE ?"), {Text1(0)->text().trimmed()});
    }
    auto found = [&] { return lastSearchFound(data, row->key, Text1(0)->text().trimmed()); };
    if (found()) {
        this->*row->lastGood = Text1(0)->text();
        platform::resumeNext([&] { giveFocus(this->*row->grid); });
    }
    if (!found()) {
        seam().MsgBox(kFamilyNotFound, vbOKOnly);
        platform::setText(Text1(0), this->*row->lastGood);
        if (row->gridAfterMiss)
            platform::resumeNext([&] { giveFocus(this->*row->grid); });
        return;
    }
    // A grid without a current row has nothing to show.
    if (!data.hasCurrentRecord())
        return;
    platform::resumeNext([&] {
        showPosition(*this, rs.AbsolutePosition());
        platform::setText(Text1(1), mainGridFee(*this));
        const dao::Variant code = rs[QString::fromLatin1(row->shownCode)].Value();
        platform::setText(Text1(0), drg ? drgText(code) : code.toString());
        Command3->hide();
    });
}

void frmMain::Text1_LostFocus(int Index)
{
    const int view = platform::listIndex(cmboCurrentView);
    if (view < 0 || view > 6 || leavingTheBox)
        return;
    // The focus is on its way out: a lookup run from here that moves it again raises no second check.
    leavingTheBox = true;
    const auto done = qScopeGuard([] { leavingTheBox = false; });
    // The control the focus goes to: the old platform's active control while the box loses it.
    QWidget* to = platform::ActiveControl();
    if (checksTheEntry(*this, to)) {
        bool ended = false;
        platform::resumeNext([&] { ended = view == 6 ? drgCheck(*this, Index) : finalCheck(*this, view, Index); });
        if (ended)
            return;
        Command3->hide();
        Command4->hide();
    } else {
        // Abandoned: the shown view's current code comes back and is looked up.
        const QString* saved[] = {&strCurrentCpt, &strCurrentCpt, &strCurCodeDME, &strCurCodeLab, &strCurCodeJCD,
                                  &strCurCodeASC, nullptr};
        if (saved[view])
            platform::setText(Text1(0), *saved[view]);
    }
    // Once the focus has arrived where it was going.
    QMetaObject::invokeMethod(
        this,
        [this] {
            for (DBGrid* grid : {DBGrid1, DBGrid2, DBGrid3, DBGrid4})
                if (grid->isVisibleTo(this))
                    platform::resumeNext([&] { giveFocus(grid); });
        },
        Qt::QueuedConnection);
}

// ---- The recent-codes list.

void frmMain::cmbNewCodes_Change()
{
    if (!cmbNewCodes->isHidden()) {
        Combo1->setEnabled(false);
        cmboCurrentView->setEnabled(false);
    }
    if (cmbNewCodes->currentText().startsWith(QLatin1Char('$')))
        platform::setComboText(cmbNewCodes, cmbNewCodes->itemText(0));
    if (cmbNewCodes->currentText().size() == 9) {
        seam().MsgBox(kPhysicianNotFound, vbOKOnly);
        platform::setComboText(cmbNewCodes, cmbNewCodes->itemText(0));
        if (QLineEdit* edit = cmbNewCodes->lineEdit())
            edit->selectAll();
    }
    const QString text = cmbNewCodes->currentText();
    const bool dr = beginsWithDR(text);
    if ((text.size() == 5 && !dr) || (text.size() == 6 && dr)) {
        cmbNewCodes->hide();
        platform::setText(Text1(0), text);
        cmboCurrentView->setEnabled(true);
    }
}

void frmMain::cmbNewCodes_Click()
{
    if (QLineEdit* edit = cmbNewCodes->lineEdit())
        edit->selectAll();
    const QString text = cmbNewCodes->currentText();
    const bool dr = beginsWithDR(text);
    if (!(((text.size() == 5 || text.size() == 6) && !dr) || (text.size() == 7 && dr)))
        return;  // a code with its modifier waits for Enter or the focus leaving
    platform::setText(Text1(0), text);
    cmbNewCodes->hide();
    cmboCurrentView->setEnabled(true);
    if (Data1.hasCurrentRecord()) {
        platform::resumeNext([this] {
            showPosition(*this, Data1.Recordset().AbsolutePosition());
            platform::setText(Text1(1), mainGridFee(*this));
            platform::setText(Text1(0), physicianCodeText(*this));
        });
    }
    platform::resumeNext([this] { giveFocus(dbgscroll); });
    platform::resumeNext([this] { giveFocus(dbg); });
}

void frmMain::cmbNewCodes_GotFocus()
{
    platform::setComboText(cmbNewCodes, cmbNewCodes->itemText(0));
    if (QLineEdit* edit = cmbNewCodes->lineEdit())
        edit->selectAll();
    if (Data1.hasCurrentRecord()) {
        platform::resumeNext([this] {
            showPosition(*this, Data1.Recordset().AbsolutePosition());
            platform::setComboText(cmbNewCodes, physicianCodeText(*this));
        });
    }
    Command3->show();
}

void frmMain::cmbNewCodes_LostFocus()
{
    auto close = [this] {
        cmbNewCodes->hide();
        cmboCurrentView->setEnabled(true);
        Combo1->setEnabled(true);
    };
    close();
    platform::setText(Text1(0), cmbNewCodes->currentText());
    // A code that is not found opened the list again: it closes once more.
    close();
}

void frmMain::cmbNewCodes_KeyDown(int& KeyCode, int)
{
    if (KeyCode != 13)
        return;
    platform::setText(Text1(0), cmbNewCodes->currentText());
    // The list stays open; Enter does nothing more in it.
    KeyCode = 0;
}

void frmMain::cmbNewCodes_KeyPress(int& KeyAscii)
{
    if (KeyAscii >= 'a' && KeyAscii <= 'z')
        KeyAscii -= 32;
}

void frmMain::Command3_Click()
{
    const int view = platform::listIndex(cmboCurrentView);
    const QString t = Text1(0)->text().trimmed();
    if ((view == 0 || view == 1) && Data1.hasRecordset()) {
        auto& rs = Data1.Recordset();
        const dao::Variant remembered = rs.hasCurrentRecord() ? rs.Fields(col::CodeMod).Value() : dao::Variant();
        // By CPT only: a code with its modifier is not found here.
        rs.FindFirst(QStringLiteral("CPT = ?"), {t});
        if (rs.NoMatch()) {
            seam().MsgBox(QStringLiteral("The code you have entered in either invalid or not found in this table. "
                                         "Please reenter a valid code"),
                          vbOKOnly);
            if (!remembered.isNull())
                rs.FindFirst(QStringLiteral("CODEMOD = ?"), {remembered});
            platform::resumeNext([this] { giveFocus(Text1(0)); });
        }
        if (rs.hasCurrentRecord()) {
            platform::resumeNext([&] {
                showPosition(*this, rs.AbsolutePosition());
                platform::setText(Text1(1), mainGridFee(*this));
                platform::setText(Text1(0), physicianCodeText(*this));
            });
            platform::setText(Text1(0), cmbNewCodes->currentText());
            Text1(0)->show();
            cmbNewCodes->hide();
        }
    } else if (view >= 2 && view <= 4) {
        DataControl& data = *viewData(*this, view);
        if (data.hasCurrentRecord()) {
            auto& rs = data.Recordset();
            const dao::Variant remembered = rs[QStringLiteral("HCPCS")].Value();
            rs.FindFirst(QStringLiteral("HCPCS = ?"), {t});
            if (view == 4)
                DBGrid3->Refresh();
            if (rs.NoMatch()) {
                platform::resumeNext([this] { giveFocus(Text1(0)); });
                rs.FindFirst(QStringLiteral("HCPCS = ?"), {remembered});
            } else {
                mainGridFollows(*this, t);
            }
        }
    }
    Command3->hide();
    Command4->show();
}

void frmMain::Command4_Click()
{
    platform::resumeNext([this] { giveFocus(Text1(0)); });
}

void frmMain::plimlist_Click()
{
    if (g().PlimListHasFocus == 0)
        return;  // the program's own selection (a session load) stores nothing
    // The entry chosen, by its place in the list: two entries of one text keep their own columns.
    const int index = platform::listIndex(plimlist);
    if (index < 0 || index >= int(db::kFeeKinds.size()))
        return;
    const int column = db::kFeeKinds[std::size_t(index)].position;
    try {
        CurrentSession().store(db::SessionRow::PLIMCOL, column);
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
        return;
    }
    platform::setText(Text1(1), mainGridFee(*this));
    if (g().PlimViewActive == -1) {
        if (frmPlimView* view = platform::forms().loadedOrNull<frmPlimView>()) {
            platform::setText(view->Text1(1), Text1(1)->text());
            const QSignalBlocker block(view->plimlist);
            view->plimlist->setCurrentIndex(index);
        }
    }
}

void frmMain::plimlist_GotFocus()
{
    g().PlimListHasFocus = -1;
}

void frmMain::plimlist_LostFocus()
{
    g().PlimListHasFocus = 0;
}

void frmMain::wireCodeBox()
{
    using namespace platform;
    for (auto [i, t] : Text1) {
        onMouseUp(t, [this, i = i](int Button, int, double, double) {
            if (Button == vbLeftButton)
                Text1_Click(i);
        });
        onGotFocus(t, [this, i = i] { Text1_GotFocus(i); });
    }
    onChange(cmbNewCodes, [this] { cmbNewCodes_Change(); });
    QObject::connect(cmbNewCodes, &QComboBox::activated, cmbNewCodes, [this] { guarded([this] { cmbNewCodes_Click(); }); });
    onGotFocus(cmbNewCodes, [this] { cmbNewCodes_GotFocus(); });
    onLostFocus(cmbNewCodes, [this] { cmbNewCodes_LostFocus(); });
    onKeyDown(cmbNewCodes, [this](int& KeyCode, int Shift) { cmbNewCodes_KeyDown(KeyCode, Shift); });
    onKeyPress(cmbNewCodes, [this](int& KeyAscii) { cmbNewCodes_KeyPress(KeyAscii); });
    for (auto [i, t] : Text1)
        onKeyPress(t, [this, i = i](int& KeyAscii) { Text1_KeyPress(i, KeyAscii); });
    onClick(Command4, [this] { Command4_Click(); });
}
