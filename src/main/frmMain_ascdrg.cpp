#include "main/frmMain.h"
#include "main/familycolumns.h"

#include "app/globals.h"
#include "platform/controls/twips.h"
#include "platform/dao/jetfunctions.h"
#include "platform/dao/numbertext.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QRegularExpression>
#include <QScopeGuard>

// The ASC view (local payment rates by a CBSA wage index) and the DRG view (payments by a hospital base
// rate): their panels, their record sources and their arms of the view switch.

namespace {

const QString kViewTagged = QStringLiteral("View Tagged");
const QString kNoTaggedCodes = QStringLiteral("There are no tagged codes.");
const QString kIndexFormat = QStringLiteral("#0.0000");
const QString kBaseRateNotNumeric = QStringLiteral("The base rate amount must be numeric.  Please re-enter.");
const QString kDefaultBaseRate = QStringLiteral("5370");

// The wage-index list in its order; position 0 is the user's own entry ("User Value").
const QString kWageList = QStringLiteral(
    "SELECT [State Index], [State Name], [Notes], [State2], [Wage Index] FROM ASCWAGEINDEX "
    "WHERE [Wage Index] > 0 ORDER BY [ST_Name], [State Name]");

// The ASC codes with the local payment rate: half of the national rate scaled by the wage index, half as it
// is, rounded to cents (a half to the even cent). The index is a bound number; none leaves the rate Null.
struct AscSource {
    QString sql;
    std::vector<dao::Variant> params;
};

AscSource ascSource(const QString& wageIndex, bool tagged)
{
    dao::Variant windex;
    double w = 0;
    if (dao::parseNumber(wageIndex, &w))
        windex = dao::Variant(w);
    QString sql = QStringLiteral(
        "SELECT Tag, CODE, [Desc], [mult], [comment], pay_ind, [weight], ? AS windex, "
        "round(((trans_payment * 0.5) * ?) + (trans_payment * 0.5), 2) AS ASCPAYRATE, trans_payment FROM [ASC]");
    if (tagged)
        sql += QStringLiteral(" WHERE ([ASC].Tag = '+')");
    return {sql, {windex, windex}};
}

// The DRG groups with their payment: the base rate (a bound number) times the relative weight, unrounded.
QString drgSource(bool tagged)
{
    return QStringLiteral("SELECT DRG.TAG, DRG.DRG, DRG.MDC, DRG.DRGTYPE, DRG.IND, DRG.DESC, DRG.GMLOS, DRG.AMLOS, "
                          "DRG.ARW, ? * [ARW] AS [DRG Rate] FROM DRG%1 ORDER BY DRG")
        .arg(tagged ? QStringLiteral(" WHERE (DRG.TAG = '+')") : QString());
}

// A base rate as typed: an optional leading minus sign, digits with at most one full stop, one digit at least.
bool plainBaseRate(const QString& text, double* value)
{
    static const QRegularExpression plain(QStringLiteral("^-?(\\d+\\.?\\d*|\\.\\d+)$"));
    if (!plain.match(text).hasMatch())
        return false;
    return dao::parseNumber(text, value);
}

void completeCount(platform::DataControl& data)
{
    dao::Recordset& rs = data.Recordset();
    if (rs.RecordCount() > 0) {
        rs.MoveLast();
        rs.MoveFirst();
    }
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top, int width)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    platform::place(l, left, top, width, 255);
    return l;
}

}  // namespace

// ---- Panels and grid columns.

void frmMain::makeAscDrgPanels()
{
    // ASC: the list of wage indexes, the chosen entry's name and index, or the user's own index in their place.
    Label8 = label(ASCFrame, "Label8", QStringLiteral("CBSA:"), 120, 300, 600);
    platform::place(ASCcmboDropDown, 720, 260, 4900, 315);
    ASClblNotes = label(ASCFrame, "ASClblNotes", QStringLiteral("Notes"), 120, 700, 5500);
    WIlbl = label(ASCFrame, "WIlbl", QStringLiteral("Wage Index:"), 120, 1140, 1560);
    ASClblWI = label(ASCFrame, "ASClblWI", QString(), 1740, 1140, 1000);
    ASClblUserdefined->setText(QStringLiteral("User Defined Index:"));
    platform::place(ASClblUserdefined, 120, 1140, 1560, 255);
    platform::place(ASCtxtuserdefined, 1740, 1100, 1000, 315);
    ASClblUserdefined->hide();
    ASCtxtuserdefined->hide();
    ascwr->hide();  // the index in use, never shown

    // DRG: the base rate box and its default.
    Label13 = label(DRGFrame, "Label13", QStringLiteral("DRG Base Rate:"), 120, 460, 1300);
    platform::place(Combo4, 1440, 420, 1500, 315);
    btnrestoredrg = platform::newControl<QPushButton>(DRGFrame, QStringLiteral("btnrestoredrg"), 3060, 420, 1500, 315,
                                                      QStringLiteral("Restore Default"));

    using namespace platform;
    onClick(ASCcmboDropDown, [this] { ASCcmboDropDown_Click(); });
    onMouseUp(ASClblUserdefined, [this](int Button, int, double, double) {
        if (Button == vbLeftButton)
            ASClblUserdefined_Click();
    });
    onKeyPress(ASCtxtuserdefined, [this](int& KeyAscii) { ASCtxtuserdefined_KeyPress(KeyAscii); });
    onLostFocus(ASCtxtuserdefined, [this] { ASCtxtuserdefined_LostFocus(); });
    onKeyPress(Combo4, [this](int& KeyAscii) { Combo4_KeyPress(KeyAscii); });
    onLostFocus(Combo4, [this] { Combo4_LostFocus(); });
    onClick(btnrestoredrg, [this] { btnrestoredrg_Click(); });
}

void frmMain::makeAscDrgGrids()
{
    const FamilyColumn asc[] = {{"Tag", "tag", 495, false},
                          {"Code", "code", 1005, false},
                          {"Description", "desc", 5895, false},
                          {"Subject to Multiple Procedure Discounting", "mult", 1005, false},
                          {"Comment Indicator", "comment", 1005, false},
                          {"Payment Indicator", "pay_ind", 1005, false},
                          {"skip1", "skip1", 1860, false},
                          {"Payment Weight", "weight", 1410, false},
                          {"Local  ASC Payment Rate", "ASCPAYRATE", 1260, false},
                          {"National ASC Payment Rate", "trans_payment", 1365, true}};
    const FamilyColumn drg[] = {{"Tag", "TAG", 420, false},       {"DRG", "DRG", 600, false},
                          {"MDC", "MDC", 510, false},       {"Type", "DRGTYPE", 735, false},
                          {"Ind", "IND", 330, false},       {"Description", "DESC", 1860, false},
                          {"GMLOS", "GMLOS", 960, false},   {"AMLOS", "AMLOS", 960, false},
                          {"Relative Weight", "ARW", 870, false}, {"DRG Payment", "DRG Rate", 1050, true}};
    setFamilyColumns(DBGrid4, asc);
    DBGrid4->Columns(6).setVisible(false);
    // The indicator captions wrap in their narrow columns.
    DBGrid4->setHeadLines(4);
    setFamilyColumns(DBGrid5, drg);
    DBGrid5->setHeadLines(2);
}

// ---- ASC: the wage-index list.

void frmMain::FillAscWageList()
{
    dao::Recordset rs = g().MainDb.OpenRecordset(kWageList);
    QStringList entries;
    for (; !rs.EOF(); rs.MoveNext()) {
        const QString name = rs[QStringLiteral("State Name")].Value().toString();
        if (name == QLatin1String("User Value"))
            platform::setText(ASCtxtuserdefined,
                              jet::format(dao::Variant(rs[QStringLiteral("Wage Index")].Value().toDouble() / 10000),
                                          kIndexFormat));
        const dao::Variant notes = rs[QStringLiteral("Notes")].Value();
        entries << (notes.isNull() ? name : name + QLatin1Char(' ') + notes.toString());
    }
    rs.Close();
    platform::fillList(ASCcmboDropDown, entries);
}

void frmMain::ASCcmboDropDown_Click()
{
    const int index = platform::listIndex(ASCcmboDropDown);
    if (index < 0)
        return;
    dao::Recordset rs = g().MainDb.OpenRecordset(kWageList);
    for (int i = 0; i < index && !rs.EOF(); ++i)
        rs.MoveNext();
    if (rs.EOF())
        return;  // the list is older than the table: nothing to apply
    const double windex = rs[QStringLiteral("Wage Index")].Value().toDouble() / 10000;
    platform::setText(ASClblNotes, rs[QStringLiteral("State Name")].Value().toString());
    platform::setText(ASClblWI, jet::format(dao::Variant(windex), kIndexFormat));
    platform::setText(ascwr, dao::plainNumber(windex));
    rs.Close();

    const bool own = index == 0;
    ASClblUserdefined->setVisible(own);
    ASCtxtuserdefined->setVisible(own);
    WIlbl->setVisible(!own);
    ASClblWI->setVisible(!own);
    if (own) {
        ASClblUserdefined->move(WIlbl->pos());
        ASCtxtuserdefined->move(ASClblWI->x(), ASCtxtuserdefined->y());
        const dao::Variant stored = Parms().value(db::ParmsRow::ASCuserdef);
        if (!stored.isNull())
            platform::setText(ASCtxtuserdefined, jet::format(stored, kIndexFormat));
        platform::SetFocus(ASCtxtuserdefined);
        ViewASCUserWageIndex();
    }

    const AscSource source = ascSource(ascwr->text(), false);
    Data13.setRecordSource(source.sql, source.params);
    Data13.Refresh();
    DBGrid4->show();

    platform::resumeNext([this] { platform::SetFocus(DBGrid4); });
    platform::resumeNext([&] { Parms().store(db::ParmsRow::ASCCURMSA, qint64(index)); });
    platform::resumeNext([this] { platform::setText(Text1(0), strExchangeCodeASC); });
    platform::resumeNext([this] {
        if (Data13.hasCurrentRecord())
            Data13.Recordset().FindFirst(QStringLiteral("Code = ?"), {Text1(0)->text().trimmed()});
    });
}

// ---- ASC: the user's own index.

namespace {

// The index in use back in the user's box, when there is one.
void showIndexInUse(frmMain& f)
{
    double inUse = 0;
    if (dao::parseNumber(f.ascwr->text(), &inUse))
        platform::setText(f.ASCtxtuserdefined, jet::format(dao::Variant(inUse), kIndexFormat));
}

// The box holds a number that is not the index in use. A box without a number shows the index in use again.
bool userIndexChanged(frmMain& f, bool* valid)
{
    double typed = 0;
    *valid = dao::parseNumber(f.ASCtxtuserdefined->text(), &typed);
    if (!*valid) {
        showIndexInUse(f);
        return false;
    }
    double inUse = 0;
    return !dao::parseNumber(f.ascwr->text(), &inUse) || inUse != typed;
}

}  // namespace

void frmMain::ViewASCUserWageIndex()
{
    double typed = 0;
    if (!dao::parseNumber(ASCtxtuserdefined->text(), &typed)) {
        showIndexInUse(*this);
        return;
    }
    platform::setText(ascwr, dao::plainNumber(typed));
    const AscSource source = ascSource(ascwr->text(), false);
    Data13.setRecordSource(source.sql, source.params);
    Data13.Refresh();
}

void frmMain::ASClblUserdefined_Click()
{
    bool valid = false;
    if (userIndexChanged(*this, &valid))
        ViewASCUserWageIndex();
}

void frmMain::ASCtxtuserdefined_LostFocus()
{
    static bool applying = false;
    if (applying)
        return;
    applying = true;
    const auto done = qScopeGuard([] { applying = false; });
    bool valid = false;
    if (userIndexChanged(*this, &valid))
        ViewASCUserWageIndex();
    if (valid)
        Parms().store(db::ParmsRow::ASCuserdef, ASCtxtuserdefined->text());
    if (platform::ActiveControl() != DBGrid4)
        platform::resumeNext([this] { platform::SetFocus(DBGrid4); });
}

void frmMain::ASCtxtuserdefined_KeyPress(int& KeyAscii)
{
    if (KeyAscii == 13) {
        KeyAscii = 0;
        platform::resumeNext([this] { platform::SetFocus(DBGrid4); });
        return;
    }
    if (KeyAscii == 8 || (KeyAscii >= '0' && KeyAscii <= '9'))
        return;
    if (KeyAscii == '.' && !ASCtxtuserdefined->text().contains(QLatin1Char('.')))
        return;
    KeyAscii = 0;
}

// ---- ASC: record sources.

bool frmMain::HasASCRecords()
{
    try {
        return Data13.hasRecordset() && Data13.Recordset().RecordCount() >= 1;
    } catch (const dao::Error&) {
        return false;
    }
}

void frmMain::ViewAllASC()
{
    const AscSource source = ascSource(ascwr->text(), false);
    Data13.setRecordSource(source.sql, source.params);
    Data13.Refresh();
    completeCount(Data13);
    DBGrid4->Refresh();
    ShowViewGrid();
}

void frmMain::ViewTagASC()
{
    const bool any = BindTaggedCodes(Data13, [this] {
        const AscSource source = ascSource(ascwr->text(), true);
        return TaggedTexts{QStringLiteral("SELECT Tag FROM [ASC] WHERE ([ASC].Tag = '+') LIMIT 1"), source.sql,
                           source.params};
    });
    if (!any || !HasASCRecords()) {
        ViewAllASC();
        return;
    }
    DBGrid4->Refresh();
    ShowViewGrid();
}

// The arm of "ASC Codes": the wage-index list filled, the stored entry applied, all ASC codes shown.
void frmMain::ShowAscView()
{
    platform::setWidthOf(CodeDetailFrame, 9000);
    platform::setLeftOf(btnHelp, 9000 - platform::widthOf(btnHelp));
    for (QWidget* w : std::initializer_list<QWidget*>{CodeDetailFrame, Command5, txt(0), txt(1), Frame8, btnMore})
        w->hide();
    Toolbar1Buttons(1)->setEnabled(true);
    FillAscWageList();
    for (DBGrid* grid : {dbg, DBGrid1, DBGrid2, DBGrid3, DBGrid5})
        grid->hide();
    DBGrid4->show();

    // A stored position that is none of the list's chooses the user's own entry, and is stored so.
    const dao::Variant stored = Parms().value(db::ParmsRow::ASCCURMSA);
    qint64 position = stored.isNull() ? -1 : dao::CLng(stored);
    if (position < 0 || position >= ASCcmboDropDown->count()) {
        position = 0;
        Parms().store(db::ParmsRow::ASCCURMSA, qint64(0));
    }
    platform::setListIndex(ASCcmboDropDown, int(position));

    ViewAllRecs();
    ViewAllASC();
    platform::setHeightOf(dbgscroll, platform::heightOf(DBGrid4));
}

// ---- DRG: the base rate.

void frmMain::Combo4_KeyPress(int& KeyAscii)
{
    const bool passes = (KeyAscii >= '0' && KeyAscii <= '9') || KeyAscii == '.' || KeyAscii == '-' ||
                        KeyAscii == 13 || KeyAscii == 8;
    if (!passes) {
        seam().MsgBox(kBaseRateNotNumeric, vbOKOnly);
        // The refused key takes the whole text with it.
        KeyAscii = 0;
        platform::setComboText(Combo4, QString());
        return;
    }
    if (KeyAscii == 13) {
        KeyAscii = 0;
        platform::SetFocus(DBGrid5);
    }
}

void frmMain::Combo4_LostFocus()
{
    // Binding the grid moves its row, whose code goes through the code box to the grid's focus: the box is
    // being left already.
    static bool applying = false;
    if (applying)
        return;
    applying = true;
    const auto done = qScopeGuard([] { applying = false; });
    const QString text = Combo4->currentText();
    double rate = 0;
    if (!plainBaseRate(text, &rate)) {
        // Neither applied nor stored: the rate in use comes back (a refused key has said why already).
        if (!text.isEmpty())
            seam().MsgBox(kBaseRateNotNumeric, vbOKOnly);
        QString inUse = DrgBaseRateInUse;
        if (inUse.isEmpty())
            inUse = jet::format(Parms().value(db::ParmsRow::DRGCURBASE), QStringLiteral("#0.00"));
        platform::setComboText(Combo4, inUse);
        return;
    }
    for (DBGrid* grid : {dbg, DBGrid3, DBGrid4})
        grid->hide();
    DBGrid5->show();
    Data9.setRecordSource(drgSource(false), {dao::Variant(rate)});
    Data9.Refresh();
    completeCount(Data9);
    DBGrid5->Refresh();
    DrgBaseRateInUse = text;
    Parms().store(db::ParmsRow::DRGCURBASE, rate);
}

void frmMain::btnrestoredrg_Click()
{
    platform::setComboText(Combo4, kDefaultBaseRate);
    Combo4_LostFocus();
}

// ---- DRG: record sources.

namespace {

// The base rate the DRG grid is bound with: the box's number, or the rate in use when the box holds none.
dao::Variant baseRate(frmMain& f)
{
    double rate = 0;
    if (plainBaseRate(f.Combo4->currentText(), &rate))
        return dao::Variant(rate);
    if (plainBaseRate(f.DrgBaseRateInUse, &rate))
        return dao::Variant(rate);
    return f.Parms().value(db::ParmsRow::DRGCURBASE);
}

}  // namespace

void frmMain::ViewAllDRG()
{
    Data9.setRecordSource(drgSource(false), {baseRate(*this)});
    Data9.Refresh();
    completeCount(Data9);
    DBGrid5->Refresh();
    ShowViewGrid();
}

void frmMain::ViewTagDRG()
{
    const bool any = BindTaggedCodes(Data9, [this] {
        return TaggedTexts{QStringLiteral("SELECT TAG FROM DRG WHERE (DRG.TAG = '+') LIMIT 1"), drgSource(true),
                           {baseRate(*this)}};
    });
    if (!any) {
        ViewAllDRG();
        return;
    }
    DBGrid5->Refresh();
    ShowViewGrid();
}

// The arm of "DRG Codes": all DRGs at the base rate in use, "001" in the code box.
void frmMain::ShowDrgView(bool& focusReached)
{
    for (QWidget* w : std::initializer_list<QWidget*>{CodeDetailFrame, txt(0), txt(1), Frame8, Command5})
        w->hide();
    for (DBGrid* grid : {dbg, DBGrid1, DBGrid2, DBGrid3, DBGrid4})
        grid->hide();
    DBGrid5->show();
    Toolbar1Buttons(1)->setEnabled(false);
    ViewAllDRG();
    platform::setHeightOf(dbgscroll, platform::heightOf(DBGrid5));
    // The code box goes to DRG 001; an empty table has no DRG to go to.
    if (Data9.hasCurrentRecord() && Text1(0)->text() != QLatin1String("001"))
        platform::setText(Text1(0), QStringLiteral("001"));
    focusReached = true;
    platform::resumeNext([this] { platform::SetFocus(Text1(0)); });
    platform::resumeNext([this] {
        dbgscroll->Refresh();
        DBGrid5->Refresh();
    });
    Combo1->setEnabled(false);
}
