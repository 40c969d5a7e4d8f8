#include "main/frmMain.h"

#include "app/globals.h"
#include "db/feequery.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/colours.h"
#include "platform/dao/RecordEdit.h"
#include "platform/dao/jetfunctions.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QMetaObject>
#include <QSignalBlocker>
#include <algorithm>
#include <limits>

namespace {

namespace col = db::feecol;

constexpr int kUsrdf = 57;
constexpr int kKeyDelete = 46;

bool isSchedule(int c) { return c >= col::S1 && c <= col::S5; }
bool isScheduleOrFrequency(int c) { return c >= col::S1 && c <= col::Freq5; }
// The user's own columns: the only ones typed into in the grid.
bool editableColumn(int c) { return isScheduleOrFrequency(c) || c == col::Notes || c == kUsrdf; }

bool hasCurrentRecord(platform::DataControl& data)
{
    return data.hasCurrentRecord();
}

// A text that is there and does not read as a number.
bool notANumber(const dao::Variant& v)
{
    if (v.isNull())
        return false;
    const QString t = v.toString();
    return !t.isEmpty() && !v.isNumeric();
}

int lastPosition(qint64 rows)
{
    return int(std::clamp<qint64>(rows - 1, 0, std::numeric_limits<int>::max()));
}

void setColour(QWidget* w, qint64 rgb)
{
    if (platform::foreColor(w) != rgb)
        platform::setForeColor(w, rgb);
}

void setLineText(QLineEdit* box, const QString& text)
{
    if (box->text() != text)
        box->setText(text);
}

// Moves a data control to the row a scroll bar shows, by the difference from the current row.
void moveToBar(platform::DataControl& data, int value)
{
    dao::Recordset& rs = data.Recordset();
    const qint64 target = std::min<qint64>(value, rs.RecordCount() - 1);
    rs.Move(target - rs.AbsolutePosition());
}

}  // namespace

// ---- Refresh, locate and the scroll bars.

void frmMain::LockReadOnlyColumns()
{
    for (int j = 0; j < dbg->ColumnCount(); ++j)
        if (!editableColumn(j))
            dbg->Columns(j).setLocked(true);
}

void frmMain::RefreshGrid()
{
    Recolumnize();
    if (Data1.hasRecordset() && Data1.Recordset().RecordCount() > 0) {
        Data1.Refresh();
        Data1.Recordset().MoveLast();
        Data1.Recordset().MoveFirst();
        // The query ran again: the bars take the new number of rows.
        const int last = lastPosition(Data1.Recordset().RecordCount());
        plimscroll->setMax(last);
        if (cmboCurrentView->currentIndex() <= 1) {
            dbgscroll->setMax(last);
            dbgscroll->setLargeChange(std::max(1, dbg->VisibleRows()));
        }
        dbg->Refresh();
        Recolumnize();
    } else if (ViewTaggedCaption() == QLatin1String("View Tagged")) {
        ViewAllRecs();
    }
    LockReadOnlyColumns();
    if (dbg->ColumnCount() > 1)
        dbg->setCol(1);
}

void frmMain::LocateCode()
{
    if (!Data1.hasRecordset() || Data1.Recordset().RecordCount() == 0)
        return;  // an empty list has no row to go to
    auto& rs = Data1.Recordset();
    const QString t = Text1(0)->text().trimmed();
    // The code is a bound value: whatever was typed finds a row or finds none.
    if (t.size() > 7) {
        // "99213-26" or "99213 26": code and modifier.
        rs.FindFirst(QStringLiteral("CODEMOD = ?"), {t.left(5) + t.right(2)});
    } else {
        try {
            rs.FindFirst(QStringLiteral("CODEMOD = ?"), {t});
        } catch (const dao::Error& e) {
            if (e.number == 3426) {
                platform::resumeNext([&] {
                    Data1.Refresh();
                    Data1.Recordset().FindFirst(QStringLiteral("CODEMOD = ?"), {t});
                });
            }
        }
    }
    dbg->setMarqueeStyle(3);
}

void frmMain::RefreshMainGridData()
{
    // The query runs again; the grid goes back to the code the code box showed before, when it is still
    // in the list, and otherwise stays on the first row with the code box saying so.
    const QString code = Text1(0)->text();
    Data1.Refresh();
    LockReadOnlyColumns();
    auto& rs = Data1.Recordset();
    const qint64 rows = rs.RecordCount();
    // The ranges are set before the grid moves, so that the bars can follow the row it moves to.
    const int last = lastPosition(rows);
    plimscroll->setMax(last);
    dbgscroll->setMax(last);
    plimscroll->setLargeChange(1);
    dbgscroll->setLargeChange(std::max(1, dbg->VisibleRows()));
    if (rows > 0) {
        const QString written = Text1(0)->text();
        {
            const QSignalBlocker block(Text1(0));
            Text1(0)->setText(code);
        }
        LocateCode();
        if (rs.NoMatch()) {
            const QSignalBlocker block(Text1(0));
            Text1(0)->setText(written);
        }
    }
    dbgscroll->Refresh();
}

void frmMain::dbgscroll_Change(bool byUser)
{
    // The bar follows the current row (the row change writes it); only the user's own move of the bar
    // moves the rows.
    if (!byUser)
        return;
    g().DbgScrollHasFocus = -1;
    DataControl* const controls[] = {&Data1, &Data1, &Data5, &Data6, &Data7, &Data13, &Data9};
    const int view = cmboCurrentView->currentIndex();
    if (view < 0 || view > 6)
        return;
    DataControl& data = *controls[view];
    if (!hasCurrentRecord(data))
        return;
    try {
        moveToBar(data, dbgscroll->Value());
    } catch (const dao::Error&) {
        if (view > 1)
            return;  // the grid stays where it was
        platform::resumeNext([this] {
            Data1.Refresh();
            Recolumnize();
            if (hasCurrentRecord(Data1))
                moveToBar(Data1, dbgscroll->Value());
        });
    }
}

void frmMain::dbgscroll_GotFocus()
{
    g().DbgScrollHasFocus = -1;
}

void frmMain::dbgscroll_LostFocus()
{
    g().DbgScrollHasFocus = 0;
}

void frmMain::plimscroll_Change(bool byUser)
{
    if (!byUser || !hasCurrentRecord(Data1))
        return;
    platform::resumeNext([this] { moveToBar(Data1, plimscroll->Value()); });
}

void frmMain::plimscroll_GotFocus()
{
    g().PlimScrollHasFocus = -1;
}

void frmMain::plimscroll_LostFocus()
{
    g().PlimScrollHasFocus = 0;
}

// ---- The current row.

namespace {

// The OPPS participating amounts of a code whose fees the OPPS payment caps, with their captions red; grey
// captions and no amounts for any other code.
void showOppsAmounts(frmMain& f)
{
    constexpr qint64 red = platform::RGB(192, 0, 0);
    constexpr qint64 grey = platform::RGB(128, 128, 128);
    f.lblData(19)->setCaption(QString());
    f.lblData(20)->setCaption(QString());
    qint64 captionColour = grey;
    if (f.lblData(1)->Caption() == QLatin1String("YC") && hasCurrentRecord(f.Data1)) {
        platform::resumeNext([&] {
            auto& rs = f.Data1.Recordset();
            const dao::Variant modifier = rs.Fields(col::Mod).Value();
            const db::ParmsRow parms = f.Parms();
            std::vector<dao::Variant> params{rs.Fields(col::Cpt).Value()};
            QString sql = QStringLiteral("SELECT NFTTOTAL, FTTOTAL FROM DATAOPPSVIEW WHERE cpt = ?");
            if (!modifier.isNull() && !modifier.toString().trimmed().isEmpty()) {
                sql += QStringLiteral(" AND [mod] = ?");
                params.push_back(modifier);
            }
            sql += QStringLiteral(" AND carrier = ? AND locality = ? ORDER BY CODEMOD");
            params.push_back(parms.value(db::ParmsRow::CARRIER));
            params.push_back(parms.value(db::ParmsRow::Loc));
            dao::Recordset opps = f.Data1.Database().OpenRecordset(sql, params);
            if (!opps.EOF()) {
                f.lblData(19)->setCaption(opps[QStringLiteral("NFTTOTAL")].Value().toString());
                f.lblData(20)->setCaption(opps[QStringLiteral("FTTOTAL")].Value().toString());
                captionColour = red;
            }
        });
    }
    setColour(f.lbldetail(20), captionColour);
    setColour(f.lbldetail(21), captionColour);
}

// A click into the tag column flips the tag; a column the user does not type into stays locked.
void tagOnClickAndLock(frmMain& f)
{
    const int current = f.dbg->Col();
    // Hidden behind a family grid, the main grid follows that grid's codes: a press on the family grid is
    // that grid's, not a click into this grid's tag column.
    const bool shown = f.cmboCurrentView->currentIndex() <= 1;
    if (shown && current == col::Tag && f.GridClickPending != 0) {
        f.GridClickPending = 0;
        f.ToggleTagKelva();
        f.dbg->setCol(1);
    }
    if (shown)
        f.GridClickPending = 0;
    if (current >= 0 && !editableColumn(current))
        f.dbg->Columns(current).setLocked(true);
}

// The code panel: the row's code and modifier in the code box, the fee of the chosen kind in the fee box.
void showCodeAndFee(frmMain& f)
{
    auto& rs = f.Data1.Recordset();
    const QString cpt = rs.Fields(col::Cpt).Value().toString();
    const QString mod = rs.Fields(col::Mod).Value().toString();
    setLineText(f.Text1(0), cpt + QLatin1Char(' ') + mod);
    const int feeColumn = int(dao::CLng(f.CurrentSession().value(db::SessionRow::PLIMCOL)));
    const dao::Variant fee = rs.Fields(feeColumn).Value();
    setLineText(f.Text1(1), QLatin1Char('$') + (fee.isNull() ? QString() : jet::format(fee, QStringLiteral("#0.00"))));
}

// Both bars follow the row: the code panel's always, the grid's in the two physician views (in the family
// views it belongs to the family's grid).
void barsFollowRow(frmMain& f)
{
    const qint64 position = f.Data1.Recordset().AbsolutePosition();
    if (position <= f.plimscroll->Max() && f.plimscroll->Value() != position) {
        f.plimscroll->setValue(int(position));
        f.plimscroll->Refresh();
    }
    if (f.cmboCurrentView->currentIndex() <= 1 && position <= f.dbgscroll->Max() && f.dbgscroll->Value() != position) {
        f.dbgscroll->setValue(int(position));
        f.dbgscroll->Refresh();
    }
}

// "Code <code> Detail", marked for a gap code.
void showDetailCaption(frmMain& f)
{
    QString caption = QStringLiteral("Code ") + f.Text1(0)->text() + QStringLiteral(" Detail");
    if (f.lblData(0)->Caption().contains(QLatin1Char('g'), Qt::CaseInsensitive))
        caption += QStringLiteral(" - GAP Code");
    if (f.CodeDetailFrame->title() != caption)
        f.CodeDetailFrame->setTitle(caption);
}

}  // namespace

void frmMain::dbg_RowColChange(qint64 LastRow, int LastCol)
{
    if (!Data1.hasRecordset())
        return;
    auto& rs = Data1.Recordset();
    showOppsAmounts(*this);

    // The first cell change after start-up puts the grid on its first row.
    if (FirstGridRowChange == 1) {
        FirstGridRowChange = 0;
        if (hasCurrentRecord(Data1))
            rs.MoveFirst();
    }
    tagOnClickAndLock(*this);

    // A schedule cell that was left holding text that is no number.
    if (isSchedule(LastCol) && LastRow >= 0 && LastRow < rs.rowCount() &&
        notANumber(dbg->cellValue(int(LastRow), LastCol))) {
        seam().MsgBox(QStringLiteral("That isn't a number!"), vbOKOnly);
        platform::SetBusyCursor(0);
        return;
    }
    if (!hasCurrentRecord(Data1))
        return;

    // Each part of the panels that cannot be shown is skipped. Behind a family grid the boxes are looked up
    // in the family's table only when this row is the physician row of the family grid's code; a row reached
    // otherwise (a re-query, a locate, a physician search) is shown without a lookup: the user typed nothing.
    if (MainGridOnShownCode()) {
        platform::resumeNext([this] { showCodeAndFee(*this); });
    } else {
        const QSignalBlocker quietCode(Text1(0));
        const QSignalBlocker quietFee(Text1(1));
        platform::resumeNext([this] { showCodeAndFee(*this); });
    }
    platform::resumeNext([this] { barsFollowRow(*this); });
    platform::resumeNext([this] { showDetailCaption(*this); });
    platform::SetBusyCursor(0);
    platform::resumeNext([&] {
        const dao::Variant ldesc = rs.Fields(col::LDesc).Value();
        setLineText(txt(0), ldesc.isNull() ? QStringLiteral("Not Available") : ldesc.toString());
    });
    if (cmboCurrentView->currentIndex() <= 1)
        Combo1->setEnabled(cmboCurrentView->currentText() != QLatin1String("KELVA OPPS"));
    platform::resumeNext([&] { setLineText(txt(1), rs.Fields(col::Notes).Value().toString()); });
}

void frmMain::Data1_Reposition()
{
    platform::resumeNext([this] {
        if (hasCurrentRecord(Data1))
            strCurrentCpt = Data1.Recordset().Fields(col::Cpt).Value().toString();
    });
}

// ---- Editing, keys, mouse and focus.

void frmMain::dbg_DblClick()
{
    GridClickPending = 0;
    ToggleTagKelva();
}

void frmMain::dbg_MouseDown(int Button, int, double, double)
{
    if (Button == platform::vbLeftButton)
        GridClickPending = -1;
    if (!hasCurrentRecord(Data1))
        return;
    const dao::Variant ldesc = Data1.Recordset().Fields(col::LDesc).Value();
    if (!ldesc.isNull())
        setLineText(txt(0), ldesc.toString());
}

void frmMain::dbg_KeyDown(int& KeyCode, int)
{
    // Up and Down leave an emptied cell to be taken in as Null; Delete empties a schedule or frequency to 0.
    if (KeyCode != kKeyDelete || !hasCurrentRecord(Data1))
        return;
    if (isScheduleOrFrequency(dbg->Col()))
        dbg->setText(QStringLiteral("0"));
}

void frmMain::dbg_KeyPress(int&)
{
}

void frmMain::dbg_Change()
{
    const int c = dbg->Col();
    if (!isSchedule(c) || !Data3.hasRecordset())
        return;
    if (dao::CLng(CurrentSession().value(db::SessionRow::PLIMCOL)) != c)
        return;
    const QString text = dbg->Text();
    const QString fee = QLatin1Char('$') + (text.isEmpty() ? QString() : jet::format(dao::Variant(text), QStringLiteral("#0.00")));
    platform::setText(Text1(1), fee);
    if (g().PlimViewActive == -1) {
        if (frmPlimView* view = platform::forms().loadedOrNull<frmPlimView>())
            platform::setText(view->Text1(1), fee);
    }
}

void frmMain::dbg_AfterColUpdate(int ColIndex)
{
    EditedRow = dbg->currentRow();
    if (hasCurrentRecord(Data1))
        EditedRow = int(Data1.Recordset().AbsolutePosition());
    EditedCol = ColIndex;
    platform::DBGridColumn& column = dbg->Columns(ColIndex);
    const dao::Variant value = column.Value();
    if (!value.isNull() && value.toString().isEmpty())
        column.setValue(dao::Variant());
}

void frmMain::dbg_HeadClick(int)
{
    if (hasCurrentRecord(Data1))
        Data1.Recordset().Move(0);
}

void frmMain::dbg_Error(int, int& Response)
{
    // The table refused an edit. The cell keeps what was typed and goes back into edit, so that the user
    // corrects it; nothing is dropped without a word.
    const int row = EditedRow;
    const int column = EditedCol;
    if (row < 0 || column < 0)
        return;
    if (isSchedule(column) && notANumber(dbg->cellValue(row, column))) {
        // A schedule holding text: when the cell is left for another, the row change says so.
        Response = 0;
        if (dbg->currentRow() == row && dbg->Col() == column)
            seam().MsgBox(QStringLiteral("That isn't a number!"), vbOKOnly);
    }
    QMetaObject::invokeMethod(
        this,
        [this, row, column] {
            if (row >= dbg->model()->rowCount() || column >= dbg->ColumnCount())
                return;
            const QModelIndex cell = dbg->model()->index(row, column);
            dbg->setCurrentIndex(cell);
            dbg->edit(cell);
        },
        Qt::QueuedConnection);
}

void frmMain::dbg_GotFocus()
{
    cmbNewCodes->hide();
    cmboCurrentView->setEnabled(true);
    Combo1->setEnabled(cmboCurrentView->currentText() != QLatin1String("KELVA OPPS"));
    if (g().GridHadFocus == 0) {
        platform::clearList(cmbNewCodes);
        if (hasCurrentRecord(Data1)) {
            Data1.Recordset().MoveFirst();
            strCurrentCpt = Data1.Recordset().Fields(col::Cpt).Value().toString();
        }
        g().GridHadFocus = -1;
    }
}

void frmMain::ToggleTagKelva()
{
    ToggleTagOf(dbg, Data1, col::Tag);
}
