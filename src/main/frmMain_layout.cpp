#include "main/frmMain.h"

#include "app/globals.h"
#include "db/familysql.h"
#include "db/feequery.h"
#include "db/sqltext.h"
#include "main/gridlayout.h"
#include "platform/controls/colours.h"
#include "platform/controls/twips.h"
#include "platform/dao/RecordEdit.h"
#include "platform/dao/jetfunctions.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QVariant>

using gridlayout::Size;

namespace {

const QString kMore = QStringLiteral("More >>");

using platform::heightOf;
using platform::leftOf;
using platform::place;
using platform::setHeightOf;
using platform::setLeftOf;
using platform::setTopOf;
using platform::setWidthOf;
using platform::topOf;
using platform::widthOf;

// The window's size as the layout reads it: the old platform's outer size.
Size windowSize(const frmMain& f)
{
    return {f.Width(), f.Height()};
}

// The grid columns first..last that are visible, their widths summed.
double visibleWidths(platform::DBGrid* grid, int first, int last)
{
    double sum = 0;
    for (int i = first; i <= last; ++i) {
        platform::DBGridColumn& c = grid->Columns(i);
        if (c.Visible())
            sum += c.Width();
    }
    return sum;
}

void placeOver(platform::DBGrid* grid, platform::DBGrid* main, int height)
{
    place(grid, leftOf(main), topOf(main), widthOf(main), height);
}

// An alignment code from COLSTRUCT: 0 left, 1 right, 2 centre, 3 general.
int alignmentCode(const dao::Variant& v)
{
    const qint64 a = dao::CLng(v);
    if (a < 0 || a > 3)
        throw dao::Error(380, QStringLiteral("Invalid property value"));
    return static_cast<int>(a);
}

platform::DBGridColumn& gridColumn(platform::DBGrid* grid, qint64 index)
{
    if (index < 0 || index >= grid->ColumnCount())
        throw dao::Error(6148, QStringLiteral("Invalid column index"));
    return grid->Columns(static_cast<int>(index));
}

// Caption and alignment of every column as COLSTRUCT defines them.
void applyColumnDefaults(platform::DBGrid* grid)
{
    dao::Recordset colstruct = g().MainDb.OpenRecordset(QStringLiteral("SELECT * FROM COLSTRUCT order by colno"));
    for (; !colstruct.EOF(); colstruct.MoveNext()) {
        platform::DBGridColumn& column = gridColumn(grid, dao::CLng(colstruct["COLNO"].Value()));
        const dao::Variant caption = colstruct["COLCAP"].Value();
        if (!caption.isNull())
            column.setCaption(caption.toString());
        column.setAlignment(alignmentCode(colstruct["COLAL"].Value()));
    }
}

// The session's widths and visibility (the OPPS view's own where it has one), the locked columns and the
// number formats.
void applySessionLayout(platform::DBGrid* grid, const gridlayout::WidthTable& widths,
                        const gridlayout::VisibilityTable& shown, bool opps)
{
    for (int j = 0; j < grid->ColumnCount(); ++j) {
        platform::DBGridColumn& column = grid->Columns(j);
        if (gridlayout::lockedColumn(j))
            column.setLocked(true);
        column.setVisible(j == gridlayout::kStatusColumn ? true : shown.visible(j));
        column.setWidth(static_cast<int>(std::lround(widths.width(j))));
        if (const std::optional<bool> v = gridlayout::oppsVisibility(j); opps && v)
            column.setVisible(*v);
        column.setNumberFormat(gridlayout::numberFormat(j));
    }
}

// The two description columns share what the other visible columns leave of the grid's width.
void fitDescriptions(platform::DBGrid* grid, const gridlayout::WidthTable& widths)
{
    double sum = 0;
    for (int j = 0; j < grid->ColumnCount(); ++j)
        if (j != gridlayout::kDescColumn && j != gridlayout::kLongDescColumn && grid->Columns(j).Visible())
            sum += widths.width(j);
    const int gridWidth = widthOf(grid);
    for (int j : {gridlayout::kDescColumn, gridlayout::kLongDescColumn}) {
        platform::DBGridColumn& column = gridColumn(grid, j);
        column.setWidth(gridlayout::descriptionWidth(gridWidth, sum, column.Width()));
    }
}

// The session's own names of the schedule, frequency and user columns.
void showSessionCaptions(frmMain& f)
{
    const db::SessionRow session = f.CurrentSession();
    for (int j = 0; j < f.dbg->ColumnCount(); ++j) {
        const QString field = gridlayout::sessionCaptionField(j);
        if (field.isEmpty())
            continue;
        const dao::Variant name = session.value(db::SessionRow::column(field));
        if (!name.isNull())
            f.dbg->Columns(j).setCaption(name.toString());
    }
}

}  // namespace

// ---- Column layout.

void frmMain::Recolumnize()
{
    try {
        const gridlayout::WidthTable widths =
            gridlayout::WidthTable::parse(CurrentSession().get(db::SessionRow::COLWS));
        // "KELVA OPPS" shows the columns the "Default" row lists, when it has a list.
        const bool opps = cmboCurrentView->currentText() == QLatin1String("KELVA OPPS");
        const gridlayout::VisibilityTable shown = gridlayout::VisibilityTable::parse(
            opps && OppsColumnList ? *OppsColumnList : CurrentSession().get(db::SessionRow::COLVS));
        applyColumnDefaults(dbg);
        if (WindowState() == vbMinimized)
            return;
        Data2.Refresh();
        PlaceWindowAndGrids();

        // The session row by its name, as a bound value: a name is the user's text.
        Data3.Recordset().FindFirst(QStringLiteral("Session = ?"), {Parms().value(db::ParmsRow::CURSES)});
        PlaceTopPanel();
        applySessionLayout(dbg, widths, shown, opps);
        fitDescriptions(dbg, widths);
        PlaceBelowGrid();
        showSessionCaptions(*this);
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
    }
}

void frmMain::ResetDefaultColumnLayout()
{
    dao::Recordset colstruct = g().MainDb.OpenRecordset(QStringLiteral("SELECT * FROM COLSTRUCT order by colno"));
    QStringList widths;
    QStringList visible;
    for (; !colstruct.EOF(); colstruct.MoveNext()) {
        widths << dao::CStr(colstruct["COLWS"].Value());
        visible << dao::CStr(colstruct["COLSTADEF"].Value());
    }
    Data3.Refresh();
    auto& sessions = Data3.Recordset();
    sessions.MoveLast();
    sessions.MoveFirst();
    db::SessionRow first(sessions);
    dao::RecordEdit edit(sessions);
    first.assign(db::SessionRow::COLWS, widths.join(QLatin1Char(',')));
    first.assign(db::SessionRow::COLVS, visible.join(QLatin1Char(',')));
    edit.Update();
}

// ---- The three geometry stages.

void frmMain::PlaceWindowAndGrids()
{
    Size window = windowSize(*this);
    const Size floor = gridlayout::layoutMinimum(window);
    if (floor != window) {
        if (WindowState() == vbNormal) {
            if (floor.height != window.height)
                setHeight(floor.height);
            if (floor.width != window.width)
                setWidth(floor.width);
        }
        window = floor;  // the formulas take the floor, whatever the pixels round it to
    }

    const Size grid = gridlayout::mainGridSize(window);
    place(dbg, leftOf(dbg), topOf(dbg), grid.width, grid.height);

    placeOver(DBGrid1, dbg, grid.height);
    for (int i : {6, 7, 8})
        DBGrid1->Columns(i).setNumberFormat(QStringLiteral("###,##0.00;;"));
    DBGrid1->Columns(9).setWidth(gridlayout::spareColumnWidth(grid.width, visibleWidths(DBGrid1, 0, 8), 580));

    placeOver(DBGrid2, dbg, grid.height);
    for (int i : {3, 4, 5})
        DBGrid2->Columns(i).setNumberFormat(QStringLiteral("###,##0.00;;"));
    // The state column 6 is counted too, so the description leaves it its room.
    DBGrid2->Columns(7).setWidth(gridlayout::spareColumnWidth(grid.width, visibleWidths(DBGrid2, 0, 6), 530));

    placeOver(DBGrid3, dbg, grid.height);
    // The J-code grid gets its columns from its record source; until it has them this step has nothing to do.
    if (DBGrid3->ColumnCount() >= 15) {
        platform::DBGridColumn& spare = DBGrid3->Columns(13);
        const int own = spare.Visible() ? spare.Width() : 0;
        spare.setWidth(gridlayout::spareColumnWidth(grid.width, visibleWidths(DBGrid3, 0, 14), 530, own));
    }

    placeOver(DBGrid4, dbg, gridlayout::ascGridHeight(grid.height));
    DBGrid4->Columns(9).setNumberFormat(QStringLiteral("###,##0.00;;"));
    {
        platform::DBGridColumn& spacer = DBGrid4->Columns(6);
        spacer.setWidth(
            gridlayout::spareColumnWidth(grid.width, visibleWidths(DBGrid4, 0, 9), 550, spacer.Width()));
    }

    place(DBGrid5, leftOf(dbg), topOf(dbg), grid.width, heightOf(DBGrid5));
    DBGrid5->Columns(9).setNumberFormat(QStringLiteral("###,##0.00;;"));
    DBGrid5->Columns(0).setLocked(true);
    {
        platform::DBGridColumn& desc = DBGrid5->Columns(5);
        desc.setWidth(gridlayout::spareColumnWidth(grid.width, visibleWidths(DBGrid5, 0, 9), 550, desc.Width()));
    }

    place(dbgscroll, leftOf(dbgscroll), topOf(dbg), widthOf(dbgscroll), grid.height);
}

void frmMain::PlaceTopPanel()
{
    const gridlayout::TopPanel panel = gridlayout::topPanel(Width());
    setWidthOf(Frame1, panel.frame1Width);
    setWidthOf(Frame4, panel.frame4Width);
}

void frmMain::PlaceBelowGrid()
{
    const Size window = gridlayout::layoutMinimum(windowSize(*this));
    const int gridBottom = topOf(dbg) + heightOf(dbg);
    const QString view = cmboCurrentView->currentText();

    setTopOf(txt(0), gridBottom + 150);
    setTopOf(Frame8, gridBottom - 50);
    setTopOf(lbl(10), topOf(txt(0)) + 50);

    const bool boxes = (view == QLatin1String("KELVA") || view == QLatin1String("KELVA OPPS") ||
                        view == QLatin1String("Lab Fees")) &&
                       btnMore->text() == kMore;
    if (boxes) {
        const gridlayout::NotesBoxes place = gridlayout::notesBoxes(window.width, widthOf(CodeDetailFrame));
        for (int i : {0, 1}) {
            setWidthOf(txt(i), place.width);
            setLeftOf(txt(i), place.left);
        }
    }
    // The captions go with their boxes; the old window's frames simply covered them.
    for (int i : {0, 1}) {
        txt(i)->setVisible(boxes);
        lbl(10 + i)->setVisible(boxes);
    }

    setHeightOf(DBGrid5, gridlayout::drgGridHeight(window.height));
    setTopOf(CodeDetailFrame, gridBottom + 50);
    setTopOf(txt(1), topOf(txt(0)) + heightOf(txt(0)) + 150);
    setTopOf(Label5, topOf(txt(1)) + heightOf(txt(1)) + 10);
    setTopOf(lbl(11), topOf(txt(1)) + 50);

    setTopOf(dbgscroll, topOf(dbg));
    setLeftOf(dbgscroll, leftOf(dbg) + widthOf(dbg) - widthOf(dbgscroll));
    if (view == QLatin1String("DRG Codes"))
        setHeightOf(dbgscroll, heightOf(DBGrid5));
}

// ---- Display defaults of the start-up.

void frmMain::EnableViewsAndMenus()
{
    cmboCurrentView->setEnabled(true);
    Combo1->setEnabled(cmboCurrentView->currentText() != QLatin1String("KELVA OPPS"));
    const QStringList views = {QStringLiteral("KELVA"),     QStringLiteral("KELVA OPPS"), QStringLiteral("DMEPOS"),
                               QStringLiteral("Lab Fees"),  QStringLiteral("J Codes"),    QStringLiteral("ASC Codes"),
                               QStringLiteral("DRG Codes")};
    for (int i = 1; i < views.size(); ++i) {
        if (i < cmboCurrentView->count())
            cmboCurrentView->setItemText(i, views[i]);
        else
            platform::addItem(cmboCurrentView, views[i]);
    }
    for (QAction* a : {mnufile(6), mnufile(7), mnufile(8), mnuFileExport(6), mnuFileExport(7), mnu_KELVAExportUtility,
                       mnuupgrades(1), mnuupgrades(2)})
        a->setEnabled(true);
}

void frmMain::ApplyTextColours()
{
    const qint64 colour = Parms().get(db::ParmsRow::GCOLOR);
    const std::vector<QWidget*> controls = {
        Combo1,  Label4,  kelvacf, Check1,  Text2(0), Text2(1),        Text2(2), dbg,      DBGrid1,
        DBGrid2, DBGrid3, DBGrid4, DBGrid5, ASCcmboDropDown, txt(0), txt(1),   Text1(0), Text1(1),
        plimlist, cmboCurrentView, Combo3, cmbNewCodes};
    for (QWidget* w : controls)
        platform::setForeColor(w, colour);
    platform::setBackColor(cmbNewCodes, Parms().get(db::ParmsRow::bcolor));
}

void frmMain::CopyCodeBoxFont()
{
    cmbNewCodes->setFont(Text1(0)->font());
    setWidthOf(cmbNewCodes, widthOf(Text1(0)));
}

void frmMain::ApplyBackColours()
{
    const qint64 colour = Parms().get(db::ParmsRow::bcolor);
    const std::vector<QWidget*> controls = {
        Combo1,  Label4,  kelvacf,         Text2(0), Text2(1), Text2(2), dbg,      DBGrid1,  DBGrid2,        DBGrid3,
        DBGrid4, DBGrid5, ASCcmboDropDown, txt(0),   txt(1),   Text1(0), Text1(1), plimlist, cmboCurrentView, Combo3};
    for (QWidget* w : controls)
        platform::setBackColor(w, colour);
}

void frmMain::SetScheduleCaptions()
{
    const db::SessionRow session = CurrentSession();
    for (int i = 0; i < 5; ++i) {
        const dao::Variant name = session.value(db::SessionRow::scheduleName(i));
        if (!name.isNull())
            gridColumn(dbg, 44 + i).setCaption(name.toString());
    }
}

void frmMain::FillFeeChoiceList()
{
    QStringList scheduleNames;
    for (int col = db::feecol::S1; col <= db::feecol::S5; ++col)
        scheduleNames << gridColumn(dbg, col).Caption();
    const QStringList captions = db::feeKindCaptions(scheduleNames);

    // A PLIMCOL that names no fee kind shows the participating fee, the column's default.
    const dao::Variant stored = CurrentSession().value(db::SessionRow::PLIMCOL);
    int selected = 0;
    if (!stored.isNull() && stored.isNumeric())
        selected = std::max(0, db::feeKindIndex(static_cast<int>(dao::CLng(stored))));
    const int plimcol = db::kFeeKinds[static_cast<size_t>(selected)].position;

    platform::clearList(plimlist);
    for (int i = 0; i < captions.size(); ++i)
        platform::addItem(plimlist, captions[i], db::kFeeKinds[static_cast<size_t>(i)].position);

    QString fee;
    dao::Recordset& rows = Data1.Recordset();
    if (!rows.BOF() && !rows.EOF())
        fee = QStringLiteral("$") + jet::format(rows.Fields(plimcol).Value(), QStringLiteral("#0.00"));
    platform::setText(Text1(1), fee);
    // The list shows the kind the box shows (the list has no focus, so its click changes nothing).
    platform::setListIndex(plimlist, selected);
}

void frmMain::SetFamilyRecordSources()
{
    dao::Database& db = g().MainDb;

    const QString jcd = db::checkedColumn(db, QStringLiteral("JCD"), Parms().get(db::ParmsRow::JCDSTATE));
    Data7.setRecordSource(
        QStringLiteral("SELECT JCD.Tag, JCD.HCPCS, JCD.[Mod], JCD.Dosage, JCd.[MMA],  %2, JCD.Description, "
                       "JCD.Codemod,  ESRD_Limit, Vaccine_AWP_percent, VaccineLimit, Infusion_AWP_percent, "
                       "DMEInfusion_Limit, Blood_AWP_percent, BloodLimit, notes  FROM JCD WHERE %1 > 0 order by HCPCS")
            .arg(jcd, db::jcodeAmountColumns(jcd)));
    Data7.Refresh();
    if (!Data7.Recordset().EOF())
        Data7.Recordset().MoveLast();

    // The wage index is a number or nothing: an empty box leaves the payment Null.
    dao::Variant windex;
    double w = 0;
    if (dao::parseNumber(ascwr->text(), &w))
        windex = dao::Variant(w);
    Data13.setRecordSource(
        QStringLiteral("SELECT  Tag, CODE, [Desc], [mult], [comment], pay_ind, [weight], ? AS windex, "
                       "round( (((trans_payment)*0.5)*?)+ ((trans_payment)*0.5) ,2) as ASCPAYRATE, trans_payment  "
                       "FROM [ASC]"),
        {windex, windex});
    Data13.Refresh();

    const QString lab = db::checkedColumn(db, QStringLiteral("LAB"), Parms().get(db::ParmsRow::LABSTATE));
    Data6.setRecordSource(QStringLiteral("SELECT TAG, HCPCS, [Mod], NationalLimit, [MidPoint], %1 AS STATE, "
                                         "Description, CODEMOD FROM LAB order by HCPCS")
                              .arg(lab));
    Data6.Refresh();
    if (!Data6.Recordset().EOF()) {
        Data6.Recordset().MoveLast();
        Data6.Recordset().MoveFirst();
    }

    platform::setComboText(Combo4, jet::format(Parms().value(db::ParmsRow::DRGCURBASE), QStringLiteral("#0.00")));
}

void frmMain::BuildStateLists()
{
    LabStateList = QStringList{
        "AL", "GA", "AR",  "NM", "OK", "MO2", "LA", "FL", "IN", "KS1", "NE", "KY", "MO1", "MT", "NY1",
        "NY2", "NJ", "ND", "SD", "CO", "WY", "IA", "AK", "AZ", "HI", "NV", "OR", "WA", "PA", "RI",
        "SC", "TX", "MD", "DE", "DC", "UT", "WI", "IL", "MI", "PR", "CA1", "ID", "TN", "NC", "CT",
        "MN", "MS", "VA", "NY3", "OH", "WV", "CA2", "ME", "MA", "NH", "VT", "KS2"};
    JcdStateList = QStringList{
        "AK", "AL", "AR", "AS", "AZ", "CA", "CO", "CMS", "CT", "DC", "DE", "FL", "GA", "GU", "HI",
        "IA", "ID", "IL", "IN", "KS", "KY", "LA", "MA", "MD", "ME", "MI", "MN", "MO1", "MO2", "MS",
        "MT", "NC", "ND", "NE", "NH", "NJ", "NM", "NV", "NY1", "NY2", "NY3", "OH", "OK", "OR", "PA1",
        "PR", "RI", "SC", "SD", "TN", "TX", "UT", "VA", "VI", "VT", "WA", "WI", "WV", "WY"};
    DmeStateList = QStringList{
        "AL", "AR", "AZ", "CA", "CO", "CT", "DC", "DE", "FL", "GA", "IA", "ID", "IL", "IN", "KS",
        "KY", "LA", "MA", "MD", "ME", "MI", "MN", "MO", "MS", "MT", "NC", "ND", "NE", "NH", "NJ",
        "NM", "NV", "NY", "OH", "OK", "OR", "PA", "RI", "SC", "SD", "TN", "TX", "UT", "VA", "VT",
        "WA", "WI", "WV", "WY", "AK", "HI", "PR", "VI"};
}
