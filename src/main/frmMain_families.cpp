#include "main/frmMain.h"
#include "main/familycolumns.h"

#include "app/globals.h"
#include "db/familysql.h"
#include "db/sqltext.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QSignalBlocker>

// The DMEPOS, Lab and J-code views: their state box, record sources, grid columns and arms.

namespace {

enum View { Dmepos = 2, LabFees = 3, JCodes = 4 };

const QString kViewTagged = QStringLiteral("View Tagged");
const QString kViewAll = QStringLiteral("View All");
const QString kNoTaggedCodes = QStringLiteral("There are no tagged codes.");
const QString kAmount = QStringLiteral("###,##0.00;;");

// A family whose fee column the state box chooses. Record sources take the checked, quoted state column
// for %1.
struct StateFamily {
    platform::DataControl frmMain::*data;
    platform::DBGrid* frmMain::*grid;
    const char* table;
    const db::Field<QString>* stored;
    QStringList frmMain::*states;
    int stateColumn;      // grid column captioned "State - " + the state
    const char* entry;    // entering the view
    const char* all;      // ViewAll*
    const char* tagged;   // ViewTag*
    const char* probe;    // the tagged procedure's test for a tagged row
};

const StateFamily kDme = {
    &frmMain::Data5, &frmMain::DBGrid1, "DME", &db::ParmsRow::DMESTATE, &frmMain::DmeStateList, 8,
    "SELECT [TAG], [HCPCS], [Mod], [Mod2], [JURIS], [CATG], [Ceiling], [Floor], %1 AS [STATE], [Description], "
    "[CODEMOD] FROM DME",
    "SELECT TAG, HCPCS, [Mod], Mod2, JURIS, CATG, Ceiling, Floor, %1 AS STATE, Description, CODEMOD FROM DME "
    "order by HCPCS, [Mod], Mod2",
    "SELECT TAG, HCPCS, [Mod], Mod2, JURIS, CATG, Ceiling, Floor, %1 AS STATE, Description, CODEMOD FROM DME "
    "Where TAG = '+' order by HCPCS, [Mod], Mod2",
    "SELECT TAG FROM DME Where TAG = '+' LIMIT 1"};

const StateFamily kLab = {
    &frmMain::Data6, &frmMain::DBGrid2, "LAB", &db::ParmsRow::LABSTATE, &frmMain::LabStateList, 6,
    "SELECT TAG, HCPCS, [Mod], NationalLimit, [MidPoint], LabFloor, %1 AS STATE, Description, CODEMOD FROM LAB "
    "order by HCPCS",
    "SELECT TAG, HCPCS, [Mod], NationalLimit, [MidPoint], labFloor, %1 AS STATE, Description, CODEMOD FROM LAB "
    "order by HCPCS",
    "SELECT TAG, HCPCS, [Mod], NationalLimit, [MidPoint], labfloor, %1 AS STATE, Description, CODEMOD FROM LAB "
    "Where TAG = '+' order by HCPCS",
    "SELECT TAG FROM LAB Where TAG = '+' LIMIT 1"};

// The stored state column of a family, checked against the table's real columns and quoted.
QString storedColumn(frmMain& f, const char* table, const db::Field<QString>& field)
{
    return db::checkedColumn(g().MainDb, QString::fromLatin1(table), f.Parms().value(field).toString());
}

QString jcodeSource(frmMain& f, bool tagged)
{
    const QString st = storedColumn(f, "JCD", db::ParmsRow::JCDSTATE);
    return QStringLiteral("SELECT JCD.Tag, JCD.HCPCS, JCD.[Mod], JCD.Dosage, MMA, %1, JCD.Description, JCD.Codemod, "
                          "ESRD_Limit, Vaccine_AWP_percent, VaccineLimit, Infusion_AWP_percent, DMEInfusion_Limit, "
                          "Blood_AWP_percent, BloodLimit, notes FROM JCD WHERE %2 > 0%3 order by HCPCS")
        .arg(db::jcodeAmountColumns(st), st, tagged ? QStringLiteral(" and (TAG = '+')") : QString());
}

void completeCount(platform::DataControl& data)
{
    dao::Recordset& rs = data.Recordset();
    if (rs.RecordCount() > 0) {
        rs.MoveLast();
        rs.MoveFirst();
    }
}

// Fills the state box with a family's list, without running its click. A stored state that is Null, empty
// or blank is replaced by the list's first entry, which is stored.
void fillStateBox(frmMain& f, const QStringList& list, const db::Field<QString>& field, bool withoutCms)
{
    QStringList offered = list;
    if (withoutCms)
        offered.removeAll(QStringLiteral("CMS"));
    const QSignalBlocker block(f.Combo3);
    platform::fillList(f.Combo3, offered);
    db::ParmsRow parms = f.Parms();
    const dao::Variant stored = parms.value(field);
    if (!stored.isNull() && stored.toString() > QLatin1String(" ")) {
        f.Combo3->setCurrentIndex(f.Combo3->findText(stored.toString(), Qt::MatchExactly | Qt::MatchCaseSensitive));
    } else {
        f.Combo3->setCurrentIndex(0);
        parms.store(field, offered.value(0));
    }
}

QString currentHcpcs(platform::DataControl& data)
{
    if (!data.hasCurrentRecord())
        return QString();
    return data.Recordset()["HCPCS"].Value().toString();
}

}  // namespace

void setFamilyColumns(platform::DBGrid* grid, std::span<const FamilyColumn> columns)
{
    grid->clearColumns();
    for (const FamilyColumn& column : columns) {
        platform::DBGridColumn& c =
            grid->addColumn(QString::fromLatin1(column.caption), QString::fromLatin1(column.field));
        c.setWidth(column.width);
        if (column.amount)
            c.setNumberFormat(kAmount);
    }
    grid->setAllowAddNew(false);
    grid->setAllowDelete(false);
}

// ---- Grid columns and panels.

void frmMain::makeFamilyGrids()
{
    const FamilyColumn dme[] = {{"Tag", "TAG", 420, false},        {"HCPCS", "HCPCS", 735, false},
                          {"Mod", "Mod", 510, false},        {"Mod2", "Mod2", 510, false},
                          {"Jurisdiction", "JURIS", 900, false}, {"Category", "CATG", 780, false},
                          {"Ceiling", "Ceiling", 1005, true}, {"Floor", "Floor", 1050, true},
                          {"State", "STATE", 1050, true},    {"Description", "Description", 4710, false}};
    const FamilyColumn lab[] = {{"TAG", "TAG", 435, false},        {"HCPCS", "HCPCS", 735, false},
                          {"Mod", "Mod", 585, false},        {"NationalLimit", "NationalLimit", 1335, true},
                          {"MidPoint", "MidPoint", 1335, true}, {"LabFloor", "LabFloor", 1335, true},
                          {"STATE", "STATE", 960, false},    {"Description", "Description", 7005, false},
                          {"CODEMOD", "CODEMOD", 1860, false}};
    setFamilyColumns(DBGrid1, dme);
    setFamilyColumns(DBGrid2, lab);
    DBGrid2->setAllowUpdate(false);
    // The J-code captions take two lines; a one-line caption wider than its column wraps to a third.
    DBGrid3->setHeadLines(3);
    makeAscDrgGrids();

    // The J-code view's description and notes, in Frame8.
    const std::pair<int, const char*> boxes[] = {{2, "Short Desc:"}, {3, "Notes:"}};
    int top = 150;
    for (auto [index, caption] : boxes) {
        auto* l = new QLabel(QString::fromLatin1(caption), Frame8);
        l->setObjectName(QStringLiteral("lbl8_%1").arg(index));
        platform::place(l, 120, top + 50, 1000, 255);
        auto* t = new BoundTextBox(Frame8);
        t->setObjectName(QStringLiteral("txt_%1").arg(index));
        platform::place(t, 1200, top, 8600, 550);
        t->setReadOnly(true);
        txt.add(index, t);
        top += 650;
    }

    // A state is picked from the list, never typed (the program still writes the box's text).
    if (QLineEdit* edit = Combo3->lineEdit())
        edit->setReadOnly(true);
    platform::onClick(Combo3, [this] { Combo3_Click(); });
    platform::onClick(Command5, [this] { Command5_Click(); });
}

// ---- The state box.

void frmMain::Combo3_Click()
{
    const int view = platform::listIndex(cmboCurrentView);
    if (view != Dmepos && view != LabFees && view != JCodes)
        return;
    const QString chosen = Combo3->currentText();
    try {
        if (view == JCodes) {
            const QString code = currentHcpcs(Data7);
            const QString column = db::checkedColumn(g().MainDb, QStringLiteral("JCD"), chosen);
            Data10.setRecordSource(QStringLiteral("SELECT * FROM JCD WHERE %1 > 0").arg(column));
            Data10.Refresh();
            if (Data10.Recordset().EOF()) {
                seam().MsgBox(QStringLiteral("The state you have choosen has no information in the tables."),
                              vbOKOnly);
                // The box names the state the grid shows and the fee managers price.
                const QSignalBlocker block(Combo3);
                Combo3->setCurrentIndex(Combo3->findText(Parms().get(db::ParmsRow::JCDSTATE)));
                return;
            }
            Parms().store(db::ParmsRow::JCDSTATE, chosen);
            if (ViewTaggedCaption() == kViewTagged)
                ViewAllJCodes();
            else
                ViewTagJCodes();
            LocateJCodes(code);
            return;
        }
        const StateFamily& fam = view == Dmepos ? kDme : kLab;
        const QString code = currentHcpcs(this->*fam.data);
        Parms().store(*fam.stored, chosen);
        if (ViewTaggedCaption() == kViewTagged)
            view == Dmepos ? ViewAllDME() : ViewAllLab();
        else
            view == Dmepos ? ViewTagDME() : ViewTagLab();
        (this->*fam.grid)->Columns(fam.stateColumn).setCaption(QStringLiteral("State - ") + chosen);
        if (!code.isEmpty())
            view == Dmepos ? LocateDME(code) : LocateLab(code);
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
    }
}

// ---- Tagged codes of any family.

bool frmMain::BindTaggedCodes(DataControl& data, const std::function<TaggedTexts()>& texts)
{
    bool any = false;
    try {
        const TaggedTexts t = texts();
        dao::Recordset test = g().MainDb.OpenRecordset(t.probe, t.params);
        any = !test.EOF();
        test.Close();
        if (any) {
            data.setRecordSource(t.tagged, t.params);
            data.Refresh();
            any = data.Recordset().RecordCount() > 0;
            if (any)
                completeCount(data);
        }
    } catch (const dao::Error& e) {
        // A failure is no empty list: it is said as it is, then all codes are shown as for none.
        seam().MsgBox(e.description, vbOKOnly);
        setViewTaggedCaption(kViewTagged);
        return false;
    }
    if (!any) {
        seam().MsgBox(kNoTaggedCodes, vbOKOnly);
        setViewTaggedCaption(kViewTagged);
    }
    return any;
}

// ---- DMEPOS and Lab.

namespace {

void viewAll(frmMain& f, const StateFamily& fam)
{
    platform::DataControl& data = f.*fam.data;
    data.setRecordSource(QString::fromLatin1(fam.all).arg(storedColumn(f, fam.table, *fam.stored)));
    data.Refresh();
    completeCount(data);
    (f.*fam.grid)->Refresh();
    f.ShowViewGrid();
}

}  // namespace

void frmMain::ViewAllDME()
{
    viewAll(*this, kDme);
}

void frmMain::ViewAllLab()
{
    viewAll(*this, kLab);
}

void frmMain::ViewTagDME()
{
    if (!BindTaggedCodes(Data5, [this] {
            return TaggedTexts{QString::fromLatin1(kDme.probe),
                               QString::fromLatin1(kDme.tagged).arg(storedColumn(*this, "DME", db::ParmsRow::DMESTATE)),
                               {}};
        })) {
        ViewAllDME();
        return;
    }
    DBGrid1->Refresh();
    ShowViewGrid();
}

void frmMain::ViewTagLab()
{
    if (!BindTaggedCodes(Data6, [this] {
            return TaggedTexts{QString::fromLatin1(kLab.probe),
                               QString::fromLatin1(kLab.tagged).arg(storedColumn(*this, "LAB", db::ParmsRow::LABSTATE)),
                               {}};
        })) {
        ViewAllLab();
        return;
    }
    DBGrid2->Refresh();
    ShowViewGrid();
}

// The arm of "DMEPOS" and "Lab Fees": the physician grid back to all codes, the state box filled, the family
// grid on the stored state's fees.
void frmMain::ShowStateFamilyView(int view)
{
    const StateFamily& fam = view == Dmepos ? kDme : kLab;
    // The physician grid goes back to all codes when it can; its failure does not keep this view shut.
    platform::resumeNext([this] { ViewAllRecs(); });
    fillStateBox(*this, this->*fam.states, *fam.stored, false);
    dbg->hide();
    DBGrid* grid = this->*fam.grid;
    grid->Columns(fam.stateColumn).setCaption(QStringLiteral("State - ") + Combo3->currentText());
    DataControl& data = this->*fam.data;
    data.setRecordSource(QString::fromLatin1(fam.entry).arg(storedColumn(*this, fam.table, *fam.stored)));
    data.Refresh();
    completeCount(data);
    grid->Refresh();
    grid->show();
    if (view == LabFees && data.hasCurrentRecord())
        platform::setText(txt(0), data.Recordset()["Description"].Value().toString());
    platform::setHeightOf(dbgscroll, platform::heightOf(grid));
}

// ---- J codes.

void frmMain::ViewAllJCodes()
{
    Data7.setRecordSource(jcodeSource(*this, false));
    Data7.Refresh();
    if (Data7.Recordset().EOF()) {
        DBGrid3->Refresh();
        return;
    }
    completeCount(Data7);
    FormatJCodeGrid();
    ShowViewGrid();
}

void frmMain::ViewTagJCodes()
{
    if (!BindTaggedCodes(Data7, [this] {
            const QString st = storedColumn(*this, "JCD", db::ParmsRow::JCDSTATE);
            return TaggedTexts{QStringLiteral("SELECT Tag FROM JCD WHERE %1 > 0 and (TAG = '+') LIMIT 1").arg(st),
                               jcodeSource(*this, true), {}};
        })) {
        ViewAllJCodes();
        return;
    }
    DBGrid3->Refresh();
    FormatJCodeGrid();
    ShowViewGrid();
}

void frmMain::FormatJCodeGrid()
{
    struct Column {
        const char* caption;  // %1: the state box's text
        double width;
        bool visible;
        int alignment;  // -1 not set, 0 left, 1 right
        const char* format;
    };
    const char* amount = "###,##0.00;;\\-\\-\\-\\ \\ ";
    const char* percent = "##%;";
    const Column columns[] = {
        {"\r\nTag", 434.8347, true, -1, nullptr},
        {"\r\nHCPCS", 734.7402, true, -1, nullptr},
        {nullptr, 0, false, -1, nullptr},
        {"\r\nDosage", 2200.0709, true, 0, "##;;\\-\\-\\-\\ \\ "},
        {"\r\nASP Fee", 1000.118, true, -1, amount},
        {"%1 Participating", 1000.118, true, 1, amount},
        {"%1 Non Participating", 1000.118, true, 1, amount},
        {"\r\n%1 Limiting", 1000.118, true, 1, amount},
        {nullptr, 0, false, -1, nullptr},
        {nullptr, 0, false, -1, nullptr},
        {"\r\nESRD Limit", 1000.118, true, 1, amount},
        {"Vaccine AWP % ", 1000.118, true, 1, percent},
        {"Vaccine Limit", 1000.118, true, 1, amount},
        {"Infusion AWP % ", 1000.118, true, 1, percent},
        {"DME Infusion Lmt", 1000.118, true, 1, amount},
        {"Blood \r\nAWP % ", 1000.118, true, 1, percent},
        {"\r\nBlood Limit", 1000.118, true, 1, amount},
    };
    const QString state = Combo3->currentText();
    // The layout stops at the first column the grid does not have.
    for (int i = 0; i < int(std::size(columns)); ++i) {
        if (i >= DBGrid3->ColumnCount())
            return;
        const Column& c = columns[i];
        platform::DBGridColumn& column = DBGrid3->Columns(i);
        if (!c.visible) {
            column.setVisible(false);
            continue;
        }
        column.setWidth(int(std::lround(c.width)));
        column.setCaption(QString::fromLatin1(c.caption).arg(state));
        column.setVisible(true);
        if (c.alignment >= 0)
            column.setAlignment(c.alignment);
        column.setNumberFormat(QString::fromLatin1(c.format));
    }
    DBGrid3->Refresh();
}

void frmMain::ShowJCodeView()
{
    fillStateBox(*this, JcdStateList, db::ParmsRow::JCDSTATE, true);
    dbg->hide();
    ViewAllJCodes();
    Data7.Refresh();
    if (Data7.Recordset().RecordCount() > 0) {
        completeCount(Data7);
        dao::Recordset& rs = Data7.Recordset();
        const QString description = rs["Description"].Value().toString();
        if (!description.isEmpty())
            platform::setText(txt(2), description);
        const QString notes = rs["notes"].Value().toString();
        if (!notes.isEmpty())
            platform::setText(txt(3), notes);
    }
    FormatJCodeGrid();
    DBGrid3->show();
    platform::setHeightOf(dbgscroll, platform::heightOf(DBGrid3));
}

void frmMain::Command5_Click()
{
    if (platform::Form* crosswalk = platform::forms().getByName(QStringLiteral("frmMedCrossCode")))
        crosswalk->Show(vbModal);
}
