#include "main/frmMain.h"

#include "app/globals.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/dao/RecordEdit.h"
#include "platform/forms/controls.h"
#include "db/sessions.h"
#include "platform/seam/Seam.h"

#include <QSignalBlocker>
#include <algorithm>
#include <limits>

using platform::place;
using platform::SetBusyCursor;

namespace {

// The views of the selector, by list position.
enum View { Kelva = 0, KelvaOpps = 1, Dmepos = 2, LabFees = 3, JCodes = 4, AscCodes = 5, DrgCodes = 6 };
constexpr int kViewCount = 7;

const QString kMore = QStringLiteral("More >>");
const QString kViewTagged = QStringLiteral("View Tagged");
const QString kViewAll = QStringLiteral("View All");

bool physicianView(int view)
{
    return view == Kelva || view == KelvaOpps;
}

// What each view shows: its grid and data control, the key of the code it remembers, and the state panel's
// caption and help button (DMEPOS, Lab and J codes only).
struct ViewShape {
    const char* text;
    platform::DBGrid* frmMain::*grid;
    platform::DataControl frmMain::*data;
    const char* stateCaption;  // nullptr: Frame6 hidden
    int detailWidth;           // twips; 0: CodeDetailFrame hidden
};

const ViewShape kViews[kViewCount] = {
    {"KELVA", &frmMain::dbg, &frmMain::Data1, nullptr, 3105},
    {"KELVA OPPS", &frmMain::dbg, &frmMain::Data1, nullptr, 3105},
    {"DMEPOS", &frmMain::DBGrid1, &frmMain::Data5, "DMEPOS State Selection", 11500},
    {"Lab Fees", &frmMain::DBGrid2, &frmMain::Data6, "Lab Fee State Selection", 3105},
    {"J Codes", &frmMain::DBGrid3, &frmMain::Data7, "J-Code State Selection", 0},
    {"ASC Codes", &frmMain::DBGrid4, &frmMain::Data13, nullptr, 0},
    {"DRG Codes", &frmMain::DBGrid5, &frmMain::Data9, nullptr, 0},
};

void enable(std::initializer_list<QAction*> items, bool on)
{
    for (QAction* a : items)
        a->setEnabled(on);
}

void show(std::initializer_list<QWidget*> controls, bool on)
{
    for (QWidget* w : controls)
        w->setVisible(on);
}

// Menu, toolbar and panel states per view, one character per view 0..6: '1' on (enabled, or visible for
// panels and boxes), '0' off, 'k' kept as the previous view left it.
struct ControlStates {
    const char* perView;
    void (*set)(frmMain&, bool on);
};

const ControlStates kControlStatesByView[] = {
    {"1000000", [](frmMain& f, bool on) { enable({f.mnufile(0), f.mnufile(1)}, on); }},
    {"1111111", [](frmMain& f, bool on) { enable({f.mnufile(3), f.mnufile(4)}, on); }},
    {"1000000", [](frmMain& f, bool on) { enable({f.mnufile(5), f.mnufile(6)}, on); }},
    {"10kkkkk", [](frmMain& f, bool on) { enable({f.mnufile(7), f.mnufile(8)}, on); }},
    {"1000000", [](frmMain& f, bool on) { enable({f.mnuFileExport(0)}, on); }},
    {"0010000", [](frmMain& f, bool on) { enable({f.mnuFileExport(1)}, on); }},
    {"0001000", [](frmMain& f, bool on) { enable({f.mnuFileExport(2)}, on); }},
    {"0000100", [](frmMain& f, bool on) { enable({f.mnuFileExport(3)}, on); }},
    {"0000010", [](frmMain& f, bool on) { enable({f.mnuFileExport(4)}, on); }},
    {"0000001", [](frmMain& f, bool on) { enable({f.mnuFileExport(5)}, on); }},
    {"1100000", [](frmMain& f, bool on) { enable({f.mnuFileExport(6), f.mnuFileExport(7)}, on); }},
    {"0100000", [](frmMain& f, bool on) { enable({f.mnuFileExport(8)}, on); }},
    {"1000000", [](frmMain& f, bool on) { enable({f.mnuSaveTagList}, on); }},
    {"1100000", [](frmMain& f, bool on) { enable({f.mnumain(1), f.mnumain(2), f.mnumain(3), f.mnumain(4)}, on); }},
    {"1111111", [](frmMain& f, bool on) { enable({f.mnumain(5)}, on); }},
    {"1000000", [](frmMain& f, bool on) { enable({f.mnuSpecial(0)}, on); }},
    {"1100000", [](frmMain& f, bool on) { enable({f.mnuSpecial(1)}, on); }},
    {"10kkkkk", [](frmMain& f, bool on) { enable({f.mnuSettings(0)}, on); }},
    // Entering "KELVA" gives the analysis reports back: "KELVA OPPS" turns them off and no other view on.
    {"10kkkkk", [](frmMain& f, bool on) { enable({f.mnuReports(16)}, on); }},
    {"1000010", [](frmMain& f, bool on) { enable({f.Toolbar1Buttons(1)}, on); }},
    {"1100000", [](frmMain& f, bool on) { enable({f.Toolbar1Buttons(2)}, on); }},
    {"1000000", [](frmMain& f, bool on) { enable({f.Toolbar1Buttons(7)}, on); }},
    {"1111111", [](frmMain& f, bool on) { enable({f.Toolbar1Buttons(8)}, on); }},
    {"1000000", [](frmMain& f, bool on) { f.Combo1->setEnabled(on); }},
    {"1100000", [](frmMain& f, bool on) { show({f.Frame4, f.Command2}, on); }},
    {"0000100", [](frmMain& f, bool on) { show({f.Command5}, on); }},
    {"0000010", [](frmMain& f, bool on) { show({f.ASCFrame}, on); }},
    {"0000001", [](frmMain& f, bool on) { show({f.DRGFrame}, on); }},
    {"1101kkk", [](frmMain& f, bool on) { show({f.btnMore}, on); }},
    {"1100000",
     [](frmMain& f, bool on) {
         f.lbldetail(20)->setEnabled(on);
         f.lbldetail(21)->setEnabled(on);
         show({f.lblData(19), f.lblData(20)}, on);
     }},
    {"0000000", [](frmMain& f, bool on) { f.lbldetail(17)->setEnabled(on); }},
    // The boxes keep the place the layout gives them beside the narrow detail frame, clear of their captions.
    {"1101000", [](frmMain& f, bool on) { show({f.txt(0), f.txt(1)}, on); }},
    // Kept by the ASC and DRG views as the view before left them; like every caption they lie beneath the
    // grids, which cover them there.
    {"11k10kk",
     [](frmMain& f, bool on) {
         show({f.lbl(10), f.lbl(11)}, on);
         f.lbl(10)->lower();
         f.lbl(11)->lower();
     }},
    {"0000100",
     [](frmMain& f, bool on) {
         f.Frame8->setVisible(on);
         if (on)
             platform::setLeftOf(f.Frame8, 50);
     }},
};

// Gives every control of the table, the grids and the panels the states of view n.
void applyViewStates(frmMain& f, int n)
{
    for (const ControlStates& row : kControlStatesByView) {
        const char state = row.perView[n];
        if (state != 'k')
            row.set(f, state == '1');
    }
    const ViewShape& shape = kViews[n];
    platform::DBGrid* shown = f.*shape.grid;
    for (platform::DBGrid* grid : {f.dbg, f.DBGrid1, f.DBGrid2, f.DBGrid3, f.DBGrid4, f.DBGrid5})
        grid->setVisible(grid == shown);
    platform::setHeightOf(f.dbgscroll, platform::heightOf(shown));

    // The family panels stand where the fee-scale frame stands, as wide as the layout makes it.
    for (QGroupBox* panel : {f.Frame6, f.ASCFrame, f.DRGFrame})
        panel->setGeometry(f.Frame4->geometry());
    f.Frame6->setVisible(shape.stateCaption != nullptr);
    if (shape.stateCaption) {
        f.Frame6->setTitle(QString::fromLatin1(shape.stateCaption));
        f.Combo3->show();  // the physician view's code box hides it
        for (int i = 0; i <= 2; ++i)
            f.btnSpecialHelp(i)->setVisible(i == n - Dmepos);
    }

    f.CodeDetailFrame->setVisible(shape.detailWidth > 0);
    if (shape.detailWidth > 0) {
        f.CodeDetailFrame->raise();  // a wide frame covers the captions of the boxes beside it
        const int width = shape.detailWidth;
        platform::setWidthOf(f.CodeDetailFrame, width);
        platform::setLeftOf(f.btnHelp, width - platform::widthOf(f.btnHelp));
        platform::setLeftOf(f.btnMore, width - platform::widthOf(f.btnMore));
        // A narrow frame whose button still offers "<< Less" is narrowed by its own click.
        if (width == 3105 && f.btnMore->text() != kMore && !physicianView(n))
            f.btnMore->setText(kMore);
    }
}

// The scroll bars hold an int: the bar reaches the last row of any list.
int lastPosition(qint64 rows)
{
    return static_cast<int>(std::clamp<qint64>(rows - 1, 0, std::numeric_limits<int>::max()));
}

qint64 recordCount(platform::DataControl& data)
{
    return data.hasRecordset() ? data.Recordset().RecordCount() : 0;
}

// The key of a data control's current record as text; empty without one.
QString currentKey(platform::DataControl& data, const char* field)
{
    if (!data.hasCurrentRecord())
        return QString();
    const dao::Variant v = data.Recordset()[field].Value();
    return v.isNull() ? QString() : v.toString();
}

}  // namespace

// ---- The family panels.

void frmMain::makeFamilyPanels()
{
    // The three panels take the place of the fee-scale frame, which the family views hide.
    auto frame = [this](const char* name, const QString& title) {
        auto* f = new QGroupBox(title, Frame1);
        f->setObjectName(QString::fromLatin1(name));
        place(f, 5400, 60, 5745, 1580);
        f->hide();
        return f;
    };
    Frame6 = frame("Frame6", QStringLiteral("DMEPOS State Selection"));
    ASCFrame = frame("ASCFrame", QStringLiteral("CMS Wage Index for ASC"));
    DRGFrame = frame("DRGFrame", QStringLiteral("Hospital DRG Base Rate"));

    auto into = [](QWidget* control, QWidget* parent, int left, int top, int width) {
        control->setParent(parent);
        place(control, left, top, width, platform::heightOf(control));
        control->show();
    };
    into(Combo3, Frame6, 120, 400, 1200);
    into(Command5, Frame6, 1440, 400, 1800);
    Command5->hide();
    into(ASCcmboDropDown, ASCFrame, 120, 400, 3000);
    into(ASClblUserdefined, ASCFrame, 3240, 180, 1500);
    into(ascwr, ASCFrame, 3240, 400, 900);
    into(ASCtxtuserdefined, ASCFrame, 4200, 400, 840);
    into(Combo4, DRGFrame, 120, 400, 1500);
    makeAscDrgPanels();

    const std::pair<QWidget*, int> helps[] = {{Frame6, 0}, {Frame6, 1}, {Frame6, 2}, {ASCFrame, 3}, {DRGFrame, 4}};
    for (auto [parent, index] : helps) {
        auto* b = platform::newControl<QPushButton>(parent, QStringLiteral("btnSpecialHelp_%1").arg(index), 4920,
                                                    1100, 645, 315, QStringLiteral("Help"));
        btnSpecialHelp.add(index, b);
    }
    platform::onClick(btnSpecialHelp, [this](int Index) { btnSpecialHelp_Click(Index); });
    // Widened in the DMEPOS view, the detail frame lies over the captions of the hidden boxes: it hides them.
    CodeDetailFrame->setAutoFillBackground(true);
    makeFamilyGrids();
}

void frmMain::btnSpecialHelp_Click(int Index)
{
    static const int contexts[] = {990, 1000, 1010, 1030, 1020};
    if (Index < 0 || Index > 4)
        return;
    seam().HtmlHelp(programPath(QStringLiteral("morvex.chm")), contexts[Index]);
}

// ---- The view switch.

void frmMain::cmboCurrentView_Click()
{
    const int n = platform::listIndex(cmboCurrentView);
    const QString t = cmboCurrentView->currentText();
    if (n < 0)
        return;
    const bool known = n < kViewCount;

    // Up to the arm's focus step a failure ends the switch with its message; the busy cursor still goes
    // down and the window stays usable. The arm runs the steps after its focus step itself, each on its own.
    bool focusReached = false;
    try {
        // Menus, toolbar and panels of the view (the arms' part too: the views share them).
        platform::setHeightOf(dbgscroll, platform::heightOf(dbg));
        if (known)
            applyViewStates(*this, n);
        if (n == KelvaOpps)
            Recolumnize();
        if (t == QLatin1String("KELVA") || t == QLatin1String("KELVA OPPS"))
            FollowSessionLocality();

        // Every view but "KELVA" shows all codes of the main grid from here on.
        if (ViewTaggedCaption() == kViewAll && n > 0) {
            strMainGridCode = currentKey(Data1, "CODEMOD");
            SetBusyCursor(11);
            setViewTaggedCaption(kViewTagged);
            ViewAllRecs();
            RefreshGrid();
        }

        // The code of the view being left.
        switch (intLastView) {
        case Kelva:
        case KelvaOpps:
            strViewCodePhysician = Text1(0)->text();
            break;
        case Dmepos:
            strViewCodeDME = currentKey(Data5, "HCPCS");
            break;
        case LabFees:
            strViewCodeLab = currentKey(Data6, "HCPCS");
            break;
        case JCodes:
            strViewCodeJCD = currentKey(Data7, "HCPCS");
            break;
        case AscCodes:
            strViewCodeASC = currentKey(Data13, "CODE");
            break;
        case DrgCodes:
            intViewCodeDRG = Data9.hasCurrentRecord() ? int(dao::CLng(Data9.Recordset()["DRG"].Value())) : 0;
            break;
        default:
            break;
        }
        intLastView = n;

        // Choosing "KELVA" while tagged codes are shown ends the tagged display here.
        if (ViewTaggedCaption() == kViewAll) {
            ViewAllDME();
            ViewAllLab();
            ViewAllJCodes();
            setViewTaggedCaption(kViewTagged);
            platform::setText(Text1(0), strViewCodePhysician);
            LocateCode();
        }

        if (physicianView(n))
            ShowPhysicianView(n == KelvaOpps, focusReached);
        else if (n == Dmepos || n == LabFees)
            ShowStateFamilyView(n);
        else if (n == JCodes)
            ShowJCodeView();
        else if (n == AscCodes)
            ShowAscView();
        else if (n == DrgCodes)
            ShowDrgView(focusReached);
        if (focusReached)
            platform::resumeNext([this] { ShowViewGrid(); });
        else
            ShowViewGrid();
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
    }

    SetBusyCursor(0);
    if (t == QLatin1String("DRG Codes") || t == QLatin1String("KELVA OPPS"))
        Combo1->setEnabled(false);
    seam().DoEvents();
}

// The arms of "KELVA" and "KELVA OPPS": the main grid over all codes of the session (or of the OPPS rows of
// the session's locality), on the physician code shown when a physician view was last left.
void frmMain::ShowPhysicianView(bool opps, bool& focusReached)
{
    const QString code = strViewCodePhysician;
    platform::setText(Text1(0), code);
    ViewAllRecs();
    if (opps) {
        // The "Default" row's column list lays the OPPS view out; the session's own list stays as stored.
        OppsColumnList.reset();
        Default1.setRecordSource(Data3);
        Default1.Refresh();
        Default1.Recordset().FindFirst(QStringLiteral("Session = ?"), {db::kDefaultSession});
        if (!Default1.Recordset().NoMatch()) {
            const dao::Variant colvs = Default1.Recordset()["COLVS"].Value();
            if (!colvs.isNull())
                OppsColumnList = colvs.toString();
        }
    }
    dbg->show();
    dbg->Refresh();
    RefreshGrid();
    platform::setHeightOf(dbgscroll, platform::heightOf(dbg));
    if (btnMore->text() != kMore)
        btnMore_Click();
    if (Data1.hasCurrentRecord()) {
        const dao::Variant ldesc = Data1.Recordset()["LDESC"].Value();
        if (!ldesc.isNull())
            platform::setText(txt(0), ldesc.toString());
    }
    // The re-query moved the grid to its first row, and the code box with it: back to the physician code.
    if (Text1(0)->text() != code) {
        const QSignalBlocker block(Text1(0));
        Text1(0)->setText(code);
    }
    LocateCode();
    focusReached = true;
    platform::resumeNext([this] { platform::SetFocus(dbg); });
}

void frmMain::ShowViewGrid()
{
    const int view = platform::listIndex(cmboCurrentView);
    if (view < 0 || view >= kViewCount)
        return;

    auto barOver = [this](platform::DataControl& data, platform::DBGrid* grid, bool position, bool largeStep) {
        dbgscroll->setMax(lastPosition(recordCount(data)));
        plimscroll->setLargeChange(1);
        if (largeStep)
            dbgscroll->setLargeChange(std::max(1, grid->VisibleRows()));
        dbgscroll->Refresh();
        if (position && data.hasCurrentRecord())
            dbgscroll->setValue(int(std::min<qint64>(data.Recordset().AbsolutePosition(), dbgscroll->Max())));
    };
    auto completeCount = [](platform::DataControl& data) {
        if (data.hasRecordset() && data.Recordset().RecordCount() > 0) {
            data.Recordset().MoveLast();
            data.Recordset().MoveFirst();
        }
    };

    switch (view) {
    case Kelva:
    case KelvaOpps: {
        LocateCode();
        const int last = lastPosition(recordCount(Data1));
        plimscroll->setMax(last);
        dbgscroll->setMax(last);
        plimscroll->setLargeChange(1);
        dbgscroll->setLargeChange(std::max(1, dbg->VisibleRows()));
        dbgscroll->Refresh();
        break;
    }
    case Dmepos:
        barOver(Data5, DBGrid1, false, true);
        LocateDME(strViewCodeDME);
        break;
    case LabFees:
        barOver(Data6, DBGrid2, true, true);
        LocateLab(strViewCodeLab);
        break;
    case JCodes:
        barOver(Data7, DBGrid3, true, true);
        LocateJCodes(strViewCodeJCD);
        break;
    case AscCodes:
        completeCount(Data13);
        DBGrid4->show();
        DBGrid4->Refresh();
        barOver(Data13, DBGrid4, true, false);
        LocateASC(strViewCodeASC);
        break;
    case DrgCodes:
        completeCount(Data9);
        barOver(Data9, DBGrid5, true, true);
        LocateDRG(intViewCodeDRG);
        break;
    default:
        break;
    }
}

// ---- Tag toggles and locates of the five family grids.

namespace {

struct FamilyMember {
    platform::DBGrid* frmMain::*grid;
    platform::DataControl frmMain::*data;
    const char* key;            // the column a locate searches
    QString frmMain::*curCode;  // nullptr: the DRG family keeps none
};

enum Family { DmeFamily, LabFamily, JcdFamily, AscFamily, DrgFamily };

const FamilyMember kFamilies[] = {
    {&frmMain::DBGrid1, &frmMain::Data5, "HCPCS", &frmMain::strCurCodeDME},
    {&frmMain::DBGrid2, &frmMain::Data6, "HCPCS", &frmMain::strCurCodeLab},
    {&frmMain::DBGrid3, &frmMain::Data7, "HCPCS", &frmMain::strCurCodeJCD},
    {&frmMain::DBGrid4, &frmMain::Data13, "CODE", &frmMain::strCurCodeASC},
    {&frmMain::DBGrid5, &frmMain::Data9, "DRG", nullptr},
};

// Makes the first row with the key current. The key is bound: any text finds its row or none. A miss leaves
// the grid and the family's current code as they were.
void locate(frmMain& f, Family family, const dao::Variant& key)
{
    const FamilyMember& m = kFamilies[family];
    platform::DataControl& data = f.*m.data;
    if (!data.hasRecordset() || data.Recordset().RecordCount() == 0)
        return;
    dao::Recordset& rs = data.Recordset();
    rs.FindFirst(QStringLiteral("%1 = ?").arg(QLatin1String(m.key)), {key});
    if (!rs.NoMatch() && m.curCode)
        f.*m.curCode = key.toString();
}

void toggle(frmMain& f, Family family)
{
    const FamilyMember& m = kFamilies[family];
    f.ToggleTagOf(f.*m.grid, f.*m.data, 0);
}

}  // namespace

void frmMain::ToggleTagOf(DBGrid* grid, DataControl& data, int tagField)
{
    if (!data.hasCurrentRecord())
        return;
    dao::Recordset& rs = data.Recordset();
    platform::resumeNext([&] {
        const dao::Variant tag = rs.Fields(tagField).Value();
        const bool untagged = tag.isNull() || tag.toString().isEmpty() || tag.toString() == QLatin1String(" ");
        dao::RecordEdit edit(rs);
        rs.Fields(tagField) = untagged ? dao::Variant(QStringLiteral("+")) : dao::Variant();
        edit.Update();
    });
    grid->viewport()->update();
}

void frmMain::ToggleTagDME() { toggle(*this, DmeFamily); }
void frmMain::ToggleTagLab() { toggle(*this, LabFamily); }
void frmMain::ToggleTagJCodes() { toggle(*this, JcdFamily); }
void frmMain::ToggleTagASC() { toggle(*this, AscFamily); }
void frmMain::ToggleTagDRG() { toggle(*this, DrgFamily); }

void frmMain::LocateDME(const QString& code) { locate(*this, DmeFamily, code); }
void frmMain::LocateLab(const QString& code) { locate(*this, LabFamily, code); }
void frmMain::LocateJCodes(const QString& code) { locate(*this, JcdFamily, code); }
void frmMain::LocateASC(const QString& code) { locate(*this, AscFamily, code); }

void frmMain::LocateDRG(int drg)
{
    if (drg <= 0)
        return;
    locate(*this, DrgFamily, dao::Variant(qint64(drg)));
}
