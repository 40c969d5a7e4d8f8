#include "main/frmMain.h"

#include "app/globals.h"
#include "db/feequery.h"
#include "db/sqltext.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/dao/RecordEdit.h"
#include "platform/dao/jetfunctions.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"
#include "sessions/frmNewSession.h"

#include <QSignalBlocker>

namespace {

// Fills a fee-kind list with the eleven entries and selects the one standing for column `plimcol` (none
// when it is none of them). The selection is the program's: no click handler runs, nothing is written.
void fillFeeKinds(QComboBox* list, const QStringList& captions, const dao::Variant& plimcol)
{
    platform::fillList(list, captions);
    int index = -1;
    if (!plimcol.isNull() && plimcol.isNumeric())
        index = db::feeKindIndex(int(plimcol.toLongLong()));
    const QSignalBlocker block(list);
    list->setCurrentIndex(index);
}

}  // namespace

void frmMain::LoadSessionSettings()
{
    using Row = db::SessionRow;
    const Row row = CurrentSession();

    // The whole row is read before anything changes, so that a row that cannot be read leaves the
    // previous session's values and controls as they were.
    const QString name = row.get(Row::Session);
    const QString table = row.get(Row::SESTAB);
    const double convFactorAdj = row.get(Row::CURCONVA);
    const double baseConvFactor = row.get(Row::CURCONVF);
    const int useWorkAdj = row.get(Row::CURUSEADJ) ? -1 : 0;
    const double workGpci = row.get(Row::CURWORKGPCI);
    const double pracGpci = row.get(Row::CURPRACGPCI);
    const double malpGpci = row.get(Row::CURMALPGPCI);
    const dao::Variant geoloc = row.value(Row::GEOLOC);
    const dao::Variant plimcol = row.value(Row::PLIMCOL);
    QStringList scheduleNames;
    for (int i = 0; i < 5; ++i) {
        const dao::Variant v = row.value(Row::scheduleName(i));
        if (!v.isNull())
            scheduleNames << v.toString();
        else if (dbg->ColumnCount() > db::feecol::S1 + i)
            scheduleNames << dbg->Columns(db::feecol::S1 + i).Caption();  // an unnamed schedule keeps its caption
        else
            scheduleNames << QString::fromLatin1(db::feeQueryColumns()[std::size_t(db::feecol::S1 + i)]);
    }

    Globals& v = g();
    v.CurSesName = name;
    v.CurSesTab = table;
    v.ConvFactorAdj = convFactorAdj;
    v.BaseConvFactor = baseConvFactor;
    v.UseWorkAdj = useWorkAdj;
    v.WorkGpci = workGpci;
    v.PracGpci = pracGpci;
    v.MalpGpci = malpGpci;
    v.ConvFactor = (v.ConvFactorAdj + 1) * v.BaseConvFactor;

    if (Combo1->findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive) >= 0)
        platform::setComboText(Combo1, name);
    platform::setText(kelvacf, db::sqlNumber(baseConvFactor));
    {
        // The box only mirrors the row here: its click would store the same value and query again.
        const QSignalBlocker block(Check1);
        platform::setCheckValue(Check1, useWorkAdj != 0 ? 1 : 0);
    }
    const double gpcis[3] = {workGpci, pracGpci, malpGpci};
    for (int i = 0; i < 3; ++i)
        platform::setText(Text2(i), jet::format(gpcis[i], QStringLiteral("#0.000")));
    if (!geoloc.isNull())
        platform::setText(Label4, geoloc.toString());

    const QStringList captions = db::feeKindCaptions(scheduleNames);
    fillFeeKinds(plimlist, captions, plimcol);
    if (g().PlimViewActive != 0) {
        if (frmPlimView* view = platform::forms().loadedOrNull<frmPlimView>())
            fillFeeKinds(view->plimlist, captions, plimcol);
    }
}

void frmMain::Check1_Click()
{
    const platform::BusyCursor busy;
    CurrentSession().store(db::SessionRow::CURUSEADJ, platform::checkValue(Check1) != 0);
    RequeryListShown();
    RefreshGrid();
}

namespace {

const QString kMakeNewSession = QStringLiteral("< - Make New Session - >");

// The request in setchk reads as 1.
bool requeryPending(const frmMain& f)
{
    double v = 0;
    return dao::parseNumber(f.setchk->text(), &v) && v == 1;
}

// The locality description in a session's GEOLOC ("NEW YORK - MANHATTAN"): what follows the first dash and
// the character after it; the whole text when there is no dash.
QString localityDescription(const QString& geoloc)
{
    const int dash = geoloc.indexOf(QLatin1Char('-'));
    return dash < 0 ? geoloc : geoloc.mid(dash + 2);
}

// CARRIER and Loc of the parameter row follow the current session's locality, found in LOCATION by its three
// GPCIs (at three decimals) and its description. A locality without a LOCATION row (GPCIs typed by hand)
// clears them, so that the OPPS view shows no other locality's rows.
void followSessionLocality(frmMain& f)
{
    const db::SessionRow session = f.CurrentSession();
    const dao::Variant work = session.value(db::SessionRow::CURWORKGPCI);
    const dao::Variant pract = session.value(db::SessionRow::CURPRACGPCI);
    const dao::Variant malp = session.value(db::SessionRow::CURMALPGPCI);
    const QString desc = localityDescription(session.get(db::SessionRow::GEOLOC));
    dao::Variant carrier, loc;
    if (work.isNumeric() && pract.isNumeric() && malp.isNumeric()) {
        dao::Recordset found = f.Data3.Database().OpenRecordset(
            QStringLiteral("SELECT CARRIER, LOCCODE FROM LOCATION WHERE round(PRACT, 3) = round(?, 3) "
                           "AND round(WORK, 3) = round(?, 3) AND round(MALP, 3) = round(?, 3) AND [DESC] = ?"),
            {dao::CDbl(pract), dao::CDbl(work), dao::CDbl(malp), desc});
        if (!found.EOF()) {
            carrier = found[QStringLiteral("CARRIER")].Value();
            loc = found[QStringLiteral("LOCCODE")].Value();
        }
    }
    db::ParmsRow parms = f.Parms();
    if (parms.value(db::ParmsRow::CARRIER) == carrier && parms.value(db::ParmsRow::Loc) == loc)
        return;
    dao::RecordEdit edit(parms.recordset());
    parms.assign(db::ParmsRow::CARRIER, carrier);
    parms.assign(db::ParmsRow::Loc, loc);
    edit.Update();
}

// The eleven fee kinds with the captions of S1..S5 that the grid shows for the session: its names for
// them, the grid's own caption for a schedule it leaves unnamed.
QStringList feeKindsOfGrid(frmMain& f)
{
    QStringList names;
    for (int i = 0; i < 5; ++i) {
        const int col = db::feecol::S1 + i;
        const dao::Variant name = f.CurrentSession().value(db::SessionRow::scheduleName(i));
        if (!name.isNull())
            names << name.toString();
        else if (f.dbg->ColumnCount() > col)
            names << f.dbg->Columns(col).Caption();
        else if (f.plimlist->count() == 11)
            names << f.plimlist->itemText(6 + i);
        else
            names << QString::fromLatin1(db::feeQueryColumns()[std::size_t(col)]);
    }
    return db::feeKindCaptions(names);
}

// Selects the entry of `name` in the session list (its click runs).
void selectSession(frmMain& f, const QString& name)
{
    for (int i = 0; i < f.Combo1->count(); ++i)
        if (f.Combo1->itemText(i) == name)
            platform::setListIndex(f.Combo1, i);
}

// The session row that Data3 stands on becomes current: its values, the list shown, the grid.
void loadSessionAndGrid(frmMain& f)
{
    g().CurSesTab = f.CurrentSession().get(db::SessionRow::SESTAB);
    f.LoadSessionSettings();
    f.RequeryListShown();
    f.RefreshGrid();
}

// The fee-kind lists (the code panel's and the quick view's) and the fee box show the session's kind.
void showSessionFeeKind(frmMain& f)
{
    const dao::Variant plimcol = f.CurrentSession().value(db::SessionRow::PLIMCOL);
    const int kind = plimcol.isNumeric() ? db::feeKindIndex(int(plimcol.toLongLong())) : -1;
    const QStringList kinds = feeKindsOfGrid(f);
    auto refill = [&](QComboBox* list) {
        platform::fillList(list, kinds);
        const QSignalBlocker block(list);
        list->setCurrentIndex(kind);
    };
    refill(f.plimlist);
    auto& rs = f.Data1.Recordset();
    if (kind >= 0 && rs.RecordCount() > 0 && !rs.EOF() && !rs.BOF())
        platform::setText(f.Text1(1), frmPlimView::FeeText(rs.Fields(int(plimcol.toLongLong())).Value()));
    if (g().PlimViewActive == -1)
        if (frmPlimView* view = platform::forms().loadedOrNull<frmPlimView>())
            refill(view->plimlist);
}

}  // namespace

void frmMain::Combo1_Click()
{
    using platform::SetBusyCursor;
    SetBusyCursor(11);
    update();
    Data2.Recordset().MoveFirst();
    const QString chosen = Combo1->currentText();
    const QString current = Parms().get(db::ParmsRow::CURSES);
    const bool newSession = chosen == kMakeNewSession;

    if (newSession) {
        // The new-session window opens beside the main window; the list goes back to the current session.
        platform::forms().get<frmNewSession>().Show();
        selectSession(*this, current);
    } else if (current != chosen) {
        SetBusyCursor(11);
        SwitchSession(chosen, current);
    }

    if (!newSession && !requeryPending(*this))
        SetBusyCursor(0);
    mnuFileExport(0)->setText(QStringLiteral("KELVA Session: ") + Combo1->currentText());
    try {
        FollowSessionLocality();
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
    }
    SetBusyCursor(0);
}

// Makes the session `chosen` current in place of `current`. A session that cannot be shown is said, and
// the one that was current stays current.
void frmMain::SwitchSession(const QString& chosen, const QString& current)
{
    db::ParmsRow parms = Parms();
    auto& sessions = Data3.Recordset();
    if (sessions.RecordCount() > 0 && !sessions.EOF() && !sessions.BOF() &&
        CurrentSession().get(db::SessionRow::Session) == chosen) {
        // The session row is already the chosen one and its values are being loaded by the caller (the list
        // follows the row): only the stored choice follows.
        parms.store(db::ParmsRow::CURSES, chosen);
        return;
    }
    if (sessions.FindFirst(QStringLiteral("Session = ?"), {chosen}); sessions.NoMatch()) {
        // The list and the table are out of step: the list is read again and stays on the current session.
        FillSessionList();
        SettleOnCurrentSession();
        selectSession(*this, parms.get(db::ParmsRow::CURSES));
        return;
    }
    parms.store(db::ParmsRow::CURSES, chosen);
    try {
        loadSessionAndGrid(*this);
        showSessionFeeKind(*this);
    } catch (const dao::Error& e) {
        parms.store(db::ParmsRow::CURSES, current);
        sessions.FindFirst(QStringLiteral("Session = ?"), {current});
        platform::resumeNext([&] { loadSessionAndGrid(*this); });
        selectSession(*this, current);
        seam().MsgBox(e.description, vbOKOnly);
    }
}

void frmMain::FollowSessionLocality()
{
    followSessionLocality(*this);
}
