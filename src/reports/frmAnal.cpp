#include "reports/frmAnal.h"

#include "app/globals.h"
#include "db/sessions.h"
#include "main/frmMain.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/dao/jetfunctions.h"
#include "platform/dao/numbertext.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/forms/guarded.h"
#include "platform/seam/Seam.h"
#include "reports/ActiveReport.h"

#include <QHeaderView>
#include <QTimer>

KELVA_FORM_NAME(frmAnal)

using platform::newControl;
using platform::place;

namespace {

const char* const kTotalPattern = "###,###,###,##0.00";
constexpr double kMaxValue = 1000000;

// The tail of the grid's query for each viewing option; %1 is S, %2 is F.
const char* const kGridTails[4] = {
    " WHERE TAG = '+' order by CPT, [MOD]",
    " WHERE %1 > 0 order by CPT, [MOD]",
    " WHERE %2 > 0 order by CPT, [MOD]",
    " order by CPT, [MOD]",
};

// A value as a number the way the window reads its cells and boxes: "$" and group separators accepted.
std::optional<double> number(QString text)
{
    text.remove(QLatin1Char('$')).remove(QLatin1Char(','));
    text = text.trimmed();
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

}  // namespace

frmAnal::frmAnal()
{
    setObjectName(QStringLiteral("frmAnal"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(platform::tw(10320), platform::tw(8040));

    auto* session = platform::newFrame(this, QStringLiteral("Frequency/Utilization for Session:"), 120, 60, 4200, 660);
    Label1.add(50, newControl<QLabel>(session, "Label1_50", 120, 300, 3960, 255));
    auto* schedules = platform::newFrame(this, QStringLiteral("User Defined Fee Schedule"), 4440, 60, 2940, 660);
    Combo1.add(0, newControl<QComboBox>(schedules, "Combo1_0", 120, 270, 2700, 315));
    auto* frequencies = platform::newFrame(this, QStringLiteral("User Defined Frequencies"), 7500, 60, 2700, 660);
    Combo1.add(1, newControl<QComboBox>(frequencies, "Combo1_1", 120, 270, 2460, 315));

    auto* options = platform::newFrame(this, QStringLiteral("Viewing Options"), 120, 840, 2520, 1620);
    const char* optionCaptions[4] = {"Tagged Codes Only", "S1 - S5  > $0", "F1 - F5  > $0", "All Codes"};
    for (int i = 0; i < 4; ++i)
        Option1.add(i, newControl<QRadioButton>(options, QStringLiteral("Option1_%1").arg(i), 180, 300 + i * 315,
                                                2220, 285, QString::fromLatin1(optionCaptions[i])));

    auto* totals = platform::newFrame(this, QStringLiteral("Total Gross Summaries:"), 2760, 840, 7440, 1620);
    tlbl.add(6, newControl<QLabel>(totals, "tlbl_6", 120, 315, 3480, 255));
    tlbl(6)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    tdsp.add(6, newControl<QLineEdit>(totals, "tdsp_6", 3660, 285, 1920, 315));
    platform::newLabel(totals, QStringLiteral("S1-S5 Summary:"), 120, 720, 1560);
    for (int k = 0; k < 5; ++k) {
        const int left = k < 3 ? 1740 : 4620;
        const int top = 690 + (k % 3) * 300;
        tlbl.add(k, newControl<QLabel>(totals, QStringLiteral("tlbl_%1").arg(k), left, top + 30, 1080, 255,
                                       QStringLiteral("S%1 x Freq%1:").arg(k + 1)));
        tdsp.add(k, newControl<QLineEdit>(totals, QStringLiteral("tdsp_%1").arg(k), left + 1110, top, 1620, 285));
    }
    for (auto [k, box] : tdsp) {
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    fra.add(2, platform::newFrame(this, QStringLiteral("Frequency/Utilization Analysis"), 120, 2580, 10080, 4680));
    adbg.add(0, newControl<platform::DBGrid>(fra(2), "adbg_0", 120, 300, 7140, 4260));
    VScroll1 = newControl<platform::ScrollBar>(fra(2), "VScroll1", 7275, 300, 255, 4260, Qt::Vertical);
    platform::newLabel(fra(2), QStringLiteral("% of Total"), 7740, 345, 1800);
    perc = newControl<QTableWidget>(fra(2), "perc", 7740, 600, 1500, 3960);
    perc->setColumnCount(1);
    perc->horizontalHeader()->hide();
    perc->verticalHeader()->hide();
    perc->horizontalHeader()->setStretchLastSection(true);
    perc->setEditTriggers(QAbstractItemView::NoEditTriggers);
    perc->setFocusPolicy(Qt::NoFocus);

    fra.add(0, platform::newFrame(this, QStringLiteral("Frequency/Utilization Analysis"), 120, 2580, 10080, 4680));
    Label2 = newControl<QLabel>(fra(0), "Label2", 600, 1500, 8880, 900,
                                QStringLiteral("There are no CPT codes for this Viewing Option.  Please select another "
                                               "schedule with Fees > $0 or Frequencies > 0 or tagged codes."));
    Label2->setWordWrap(true);
    fra(0)->setAutoFillBackground(true);
    Label2->setAlignment(Qt::AlignCenter);
    fra(0)->hide();

    Command1 = newControl<QPushButton>(this, "Command1", 120, 7440, 1440, 420, QStringLiteral("&Refresh"));
    btn.add(1, newControl<QPushButton>(this, "btn_1", 7320, 7440, 1380, 420, QStringLiteral("&Print")));
    btn.add(0, newControl<QPushButton>(this, "btn_0", 8820, 7440, 1380, 420, QStringLiteral("&Close")));

    for (int i = 0; i < 2; ++i) {
        auto* holder = new QLineEdit(QStringLiteral("0"), this);
        holder->hide();
        ListHolder.add(i, holder);
    }
    changeholder = new QLineEdit(QStringLiteral("0"), this);
    changeholder->hide();

    platform::DBGrid* grid = adbg(0);
    grid->setDataSource(&Data1);
    grid->setAllowUpdate(true);
    grid->setAllowAddNew(false);
    grid->setAllowDelete(false);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setRowHeightTwips(255);
    // The percentage rows stand beside the grid's rows.
    perc->verticalHeader()->setDefaultSectionSize(grid->verticalHeader()->defaultSectionSize());
    perc->setShowGrid(true);
    grid->horizontalHeader()->setFixedHeight(platform::tw(330));
    place(perc, 7740, 300 + 330, 1500, 3930);
    const struct {
        const char* caption;
        const char* field;
        int width;
    } columns[] = {{"CPT", "CPT", 900}, {"MOD", "MOD", 600}, {"Fee", "SES", 2040}, {"Frequency", "FREQ", 1320},
                   {"Total", "STotal", 1800}};
    for (const auto& c : columns) {
        platform::DBGridColumn& col = grid->addColumn(QString::fromLatin1(c.caption), QString::fromLatin1(c.field));
        col.setWidth(c.width);
    }
    grid->Columns(0).setLocked(true);
    grid->Columns(1).setLocked(true);
    grid->Columns(4).setLocked(true);
    grid->Columns(2).setNumberFormat(QStringLiteral("Fixed"));
    grid->Columns(4).setNumberFormat(QStringLiteral("Currency"));
    wire();
}

void frmAnal::wire()
{
    for (auto [i, list] : Combo1) {
        platform::onClick(list, [this, i = i] { Combo1_Click(i); });
        platform::onKeyPress(list, [this, i = i](int& KeyAscii) { Combo1_KeyPress(i, KeyAscii); });
    }
    platform::onClick(Option1, [this](int Index) {
        if (Option1(Index)->isChecked())
            Option1_Click(Index);
    });
    platform::onClick(Command1, [this] { Command1_Click(); });
    platform::onClick(btn, [this](int Index) { btn_Click(Index); });
    platform::onChange(VScroll1, [this](bool) { VScroll1_Change(); });
    platform::DBGrid* grid = adbg(0);
    platform::onKeyPress(grid, [this](int& KeyAscii) { adbg_KeyPress(KeyAscii); });
    platform::onChange(grid, [this] { adbg_Change(); });
    platform::onAfterColUpdate(grid, [this](int ColIndex) { adbg_AfterColEdit(ColIndex); });
    platform::onRowColChange(grid, [this](qint64 LastRow, int LastCol) { adbg_RowColChange(LastRow, LastCol); });
    platform::onLostFocus(grid, [this] { adbg_LostFocus(); });
}

// ---- the choice: schedule, frequency, viewing option, session table

// Read anew for every query: a session switched in the main window counts from the next query on.
QString frmAnal::sessionTable() const
{
    if (frmMain* main = platform::forms().loadedOrNull<frmMain>())
        return main->CurrentSession().get(db::SessionRow::SESTAB).trimmed();
    return g().CurSesTab;
}

int frmAnal::schedulePosition() const
{
    return std::max(0, platform::listIndex(Combo1(0)));
}

QString frmAnal::scheduleColumn() const
{
    return QStringLiteral("S%1").arg(schedulePosition() + 1);
}

QString frmAnal::frequencyColumn() const
{
    const QString f = Combo1(1)->currentText();
    return f.isEmpty() ? QStringLiteral("Freq1") : f;
}

int frmAnal::viewingOption() const
{
    for (int i : {1, 0, 2, 3})
        if (Option1(i)->isChecked())
            return i;
    return 1;
}

QString frmAnal::totalLabel(int lastChars) const
{
    return Combo1(0)->currentText().right(lastChars) + QStringLiteral(" x ") + Combo1(1)->currentText() +
           QStringLiteral(": ");
}

// ---- start, lists, options, Refresh

void frmAnal::Form_Load()
{
    failureShown_ = false;
    loading_ = true;
    setCaption(g().AppTitle + QStringLiteral(" KELVA Morvex Frequency/Utilization Analysis"));
    platform::forms().unloadIfLoaded<frmPlimView>();
    g().PlimViewActive = 0;
    Data1.setDatabaseName(programPath(QStringLiteral("kelva.mdb")));
    Data1.setConnect(g().DbConnect);
    adbg(0)->Columns(2).setCaption(QStringLiteral("Fee"));
    adbg(0)->Columns(3).setCaption(QStringLiteral("Frequency"));
    adbg(0)->Columns(4).setCaption(QStringLiteral("Total"));
    settotals();

    frmMain* main = platform::forms().loadedOrNull<frmMain>();
    platform::setText(Label1(50), main ? main->Combo1->currentText() : g().CurSesName);
    QStringList entries;
    for (int k = 0; k < 5; ++k) {
        const QString label = QStringLiteral("S%1").arg(k + 1);
        const dao::Variant name =
            main ? main->CurrentSession().value(db::SessionRow::scheduleName(k)) : dao::Variant();
        const QString text = name.isNull() ? QString() : name.toString();
        entries << (text.isEmpty() || text == label ? label : text + QStringLiteral(" (") + label + QLatin1Char(')'));
    }
    platform::fillList(Combo1(0), entries);
    platform::setListIndex(Combo1(0), 0);
    platform::fillList(Combo1(1), {"Freq1", "Freq2", "Freq3", "Freq4", "Freq5"});
    platform::setListIndex(Combo1(1), 0);
    LoadAnalysisGrid();
    platform::setOptionValue(Option1(1), true);
    loading_ = false;
    platform::SetBusyCursor(0);
}

// The main grid holds the rows it read: it reads them again, on the same row, to show what was typed here.
void frmAnal::Form_Unload(int&)
{
    frmMain* main = platform::forms().loadedOrNull<frmMain>();
    if (!main)
        return;
    try {
        if (main->Data1.hasRecordset()) {
            dao::Recordset& rs = main->Data1.Recordset();
            const qint64 pos = rs.AbsolutePosition();
            rs.Requery();
            if (pos >= 0 && pos < rs.RecordCount())
                rs.setAbsolutePosition(pos);
        }
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
    }
    main->dbg->Refresh();
}

void frmAnal::Combo1_KeyPress(int, int& KeyAscii)
{
    KeyAscii = 16;
}

void frmAnal::Combo1_Click(int Index)
{
    const QString chosen = QString::number(platform::listIndex(Combo1(Index)) + 1);
    if (chosen == ListHolder(Index)->text())
        return;
    if (!loading_)
        failureShown_ = false;
    ListHolder(Index)->setText(chosen);
    LoadAnalysisGrid();
    platform::setText(tlbl(6), totalLabel(25));
    SetCurTotals();
}

void frmAnal::Option1_Click(int)
{
    if (!loading_)
        failureShown_ = false;
    LoadAnalysisGrid();
}

void frmAnal::Command1_Click()
{
    failureShown_ = false;
    settotals();
    LoadAnalysisGrid();
    platform::setText(tlbl(6), totalLabel(15));
    SetCurTotals();
}

// ---- the grid

void frmAnal::LoadAnalysisGrid()
{
    platform::SetBusyCursor(11);
    platform::DBGrid* grid = adbg(0);
    grid->Columns(2).setCaption(QStringLiteral("$ ") + Combo1(0)->currentText().left(19));
    const QString s = scheduleColumn();
    const QString f = frequencyColumn();
    grid->Columns(3).setCaption(f);
    edits_ = 0;
    editOpen_ = false;
    written_ = false;
    qint64 n = 0;
    try {
        Data1.setRecordSource(
            QStringLiteral("SELECT CPT, [MOD], %1 as SES, %2 AS FREQ, [%1]*[%2] AS STotal FROM %3")
                .arg(s, f, dao::quoteIdentifier(sessionTable())) +
            QString::fromLatin1(kGridTails[viewingOption()]).replace(QLatin1String("%1"), s).replace(QLatin1String("%2"), f));
        Data1.Refresh();
        fra(0)->hide();
        dao::Recordset& rs = Data1.Recordset();
        if (rs.RecordCount() > 0) {  // no code found: the panel, without a message
            rs.MoveLast();
            rs.MoveFirst();
            n = rs.RecordCount();
        }
    } catch (const dao::Error& e) {
        reportFailure(e);
        n = 0;
    }
    if (n == 0) {
        fra(0)->show();
        fra(0)->raise();
        platform::SetBusyCursor(0);
        return;
    }
    platform::SetBusyCursor(0);
    grid->Refresh();

    const int rows = n < 10 ? static_cast<int>(n) : 10;
    perc->setRowCount(rows);
    fixedRows_ = rows - 1;
    lastRow_ = rows - 1;
    for (int r = 0; r < rows; ++r) {
        auto* item = new QTableWidgetItem(QStringLiteral("0"));
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (r < fixedRows_)
            item->setBackground(palette().button());
        perc->setItem(r, 0, item);
    }
    VScroll1->setMax(static_cast<int>(n - 1));
    VScroll1->setLargeChange(std::max(1, grid->VisibleRows()));
}

void frmAnal::reportFailure(const dao::Error& e)
{
    if (std::exchange(failureShown_, true))
        return;
    seam().MsgBox(e.description, vbOKOnly);
}

// ---- totals

void frmAnal::showTotal(QLineEdit* box, const dao::Variant& sum)
{
    platform::setText(box, sum.isNull() ? QStringLiteral("0")
                                        : QStringLiteral("$") + jet::format(sum, QString::fromLatin1(kTotalPattern)));
}

void frmAnal::settotals()
{
    try {
        QString sql = QStringLiteral("SELECT Sum([S1]*[Freq1]) AS S1Total, Sum([S2]*[Freq2]) AS S2Total, "
                                     "Sum([S3]*[Freq3]) AS S3Total, Sum([S4]*[Freq4]) AS S4Total, "
                                     "Sum([S5]*[Freq5]) AS S5Total FROM ") +
                      dao::quoteIdentifier(sessionTable());
        if (Option1(0)->isChecked())
            sql += QStringLiteral(" WHERE TAG = '+'");
        dao::Recordset rs = g().MainDb.OpenRecordset(sql);
        for (int k = 1; k <= 5; ++k)
            showTotal(tdsp(k - 1), rs[QStringLiteral("S%1Total").arg(k)].Value());
        rs.Close();
    } catch (const dao::Error& e) {
        reportFailure(e);
    }
}

void frmAnal::SetCurTotals()
{
    // Before the frequency list is filled (the start's first schedule choice) F reads as "Freq1".
    if (Combo1(1)->currentText().isEmpty() && Combo1(1)->findText(QStringLiteral("Freq1")) >= 0)
        platform::setComboText(Combo1(1), QStringLiteral("Freq1"));
    try {
        QString sql = QStringLiteral("SELECT Sum([%1] * [%2]) AS CurTotal FROM %3")
                          .arg(scheduleColumn(), frequencyColumn(), dao::quoteIdentifier(sessionTable()));
        if (Option1(0)->isChecked())
            sql += QStringLiteral(" WHERE TAG = '+' ");
        dao::Recordset rs = g().MainDb.OpenRecordset(sql);
        showTotal(tdsp(6), rs[QStringLiteral("CurTotal")].Value());
        rs.Close();
    } catch (const dao::Error& e) {
        reportFailure(e);
    }
}

double frmAnal::boxValue(const QLineEdit* box)
{
    return number(box->text()).value_or(0);
}

// The percentage pass over the shown rows; it stops at its first failure, leaving "0" in that row.
void frmAnal::updateit()
{
    platform::DBGrid* grid = adbg(0);
    const std::optional<double> v = number(tdsp(6)->text());
    for (int r = 0; r <= lastRow_ && r < perc->rowCount(); ++r) {
        QTableWidgetItem* item = perc->item(r, 0);
        const int row = grid->FirstRow() + r;
        if (!v || *v == 0 || row >= Data1.Recordset().rowCount()) {
            item->setText(QStringLiteral("0"));
            return;
        }
        const dao::Variant t = grid->storedValue(row, 4);
        const double total = t.isNull() ? -1 : t.toDouble();
        item->setText(total > 0 ? jet::format(dao::Variant(total / *v * 100), QStringLiteral("##0.00"))
                                : QStringLiteral("0"));
    }
}

// ---- editing

void frmAnal::adbg_KeyPress(int& KeyAscii)
{
    const QChar c(KeyAscii);
    if (KeyAscii == 8 || c.isDigit())
        return;
    if (c == QLatin1Char('.')) {
        const int col = adbg(0)->Col();
        if (col == 3 || (col == 2 && adbg(0)->Text().contains(QLatin1Char('.'))))
            KeyAscii = 0;
        return;
    }
    KeyAscii = 0;
}

void frmAnal::adbg_Change()
{
    platform::DBGrid* grid = adbg(0);
    if (!std::exchange(editOpen_, true))
        adbg_BeforeColEdit();
    const std::optional<double> v = number(grid->Text());
    if (!v) {
        grid->setText(QStringLiteral("0"));
    } else if (*v > kMaxValue) {
        seam().MsgBox(QStringLiteral("This item must be less than or equal to 1,000,000."), vbOKOnly);
        grid->setText(QStringLiteral("0"));
    } else if (*v < 0) {
        seam().MsgBox(QStringLiteral("This item must be greater than or equal to zero."), vbOKOnly);
        grid->setText(QStringLiteral("0"));
    }
}

// The edit's first change: the row's product before it, a missing or negative value counting as 0.
void frmAnal::adbg_BeforeColEdit()
{
    platform::DBGrid* grid = adbg(0);
    const int row = grid->currentRow();
    const auto part = [&](int col) {
        const dao::Variant v = grid->storedValue(row, col);
        return v.isNull() ? 0.0 : std::max(0.0, v.toDouble());
    };
    platform::setText(changeholder, dao::plainNumber(row < 0 ? 0.0 : part(2) * part(3)));
}

// The edit is taken into the row: an emptied cell goes in as 0.
void frmAnal::adbg_AfterColEdit(int ColIndex)
{
    platform::DBGridColumn& col = adbg(0)->Columns(ColIndex);
    if (col.Value().isNull() || col.Value().toString().trimmed().isEmpty())
        col.setValue(dao::Variant(0));
    written_ = true;
    if (!std::exchange(editOpen_, false))
        return;
    const int row = adbg(0)->currentRow();
    edits_ = edits_ == 0 || row == editRow_ ? edits_ + 1 : 2;
    editRow_ = row;
}

void frmAnal::adbg_RowColChange(qint64 LastRow, int)
{
    platform::DBGrid* grid = adbg(0);
    if (edits_ > 0 && LastRow >= 0 && grid->currentRow() != LastRow)
        edits_ = 2;  // the cursor left the edited row: the adjustment no longer knows its product
    if (!Data1.hasCurrentRecord())
        return;
    if (written_) {
        // The row's gross follows once the grid has settled on its new cell.
        QTimer::singleShot(0, this, [this] { platform::guarded([this] {
            reread();
            updateit();
        }); });
        return;
    }
    updateit();
}

// Reads the rows again after a write, on the same record, row and column, so that the gross of an edited
// row (computed by the query) is the stored values' product.
void frmAnal::reread()
{
    if (!std::exchange(written_, false) || !Data1.hasRecordset())
        return;
    platform::DBGrid* grid = adbg(0);
    dao::Recordset& rs = Data1.Recordset();
    const qint64 pos = rs.AbsolutePosition();
    const int first = grid->FirstRow();
    const int col = grid->Col();
    rs.Requery();
    if (pos >= 0 && pos < rs.RecordCount())
        rs.setAbsolutePosition(pos);
    grid->setFirstRow(first);
    if (col >= 0)
        grid->setCol(col);
}

void frmAnal::adbg_LostFocus()
{
    updatetot();
    updateit();
}

void frmAnal::updatetot()
{
    platform::DBGrid* grid = adbg(0);
    const int col = grid->Col();
    const int row = grid->currentRow();
    const bool single = std::exchange(edits_, 0) == 1 && row == editRow_;
    if (row < 0 || !Data1.hasCurrentRecord())
        return;
    try {
        if ((col == 2 || col == 3) && grid->storedValue(row, col).isNull())
            grid->Columns(col).setValue(dao::Variant(0));
        reread();
    } catch (const dao::Error&) {
        return;
    }
    // The box of the chosen schedule moves by the row's difference only when the product kept at the edit's
    // start is this row's and the frequency has the schedule's number; otherwise Refresh recomputes it.
    const int p = schedulePosition() + 1;
    if (!single || frequencyColumn() != QStringLiteral("Freq%1").arg(p))
        return;
    const dao::Variant fee = grid->storedValue(row, 2);
    const dao::Variant freq = grid->storedValue(row, 3);
    QLineEdit* box = tdsp(p - 1);
    if (fee.isNull() || freq.isNull()) {
        platform::setText(box, QStringLiteral("0"));
        return;
    }
    const double adjusted = boxValue(box) - boxValue(changeholder) + fee.toDouble() * freq.toDouble();
    showTotal(box, dao::Variant(adjusted));
}

void frmAnal::VScroll1_Change()
{
    if (!Data1.hasRecordset())
        return;
    try {
        dao::Recordset& rs = Data1.Recordset();
        const qint64 d = VScroll1->Value() - rs.AbsolutePosition();
        if (d > 0 && rs.EOF())
            rs.MoveLast();
        else
            rs.Move(d);
    } catch (const dao::Error&) {
    }
}

// ---- the buttons

void frmAnal::btn_Click(int Index)
{
    if (Index == 0) {
        Hide();
        if (frmMain* main = platform::forms().loadedOrNull<frmMain>())
            main->update();
        Unload();
    } else if (Index == 1) {
        reports::printAnalysis(*this);
    }
}
