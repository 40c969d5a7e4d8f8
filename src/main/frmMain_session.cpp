#include "main/frmMain.h"

#include "app/globals.h"
#include "db/feequery.h"
#include "db/sqltext.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/dao/jetfunctions.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QSignalBlocker>

namespace {

// A yes/no field as the program's flag (-1 true, 0 false); Null fails as a truth value does.
int flagOf(const dao::Variant& v)
{
    if (v.isNull())
        throw dao::Error(94, QStringLiteral("Invalid use of Null"));
    return v.toBool() ? -1 : 0;
}

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
    dao::Recordset& row = Data3.Recordset();

    // The whole row is read before anything changes, so that a row that cannot be read leaves the
    // previous session's values and controls as they were.
    const QString name = dao::CStr(row[QStringLiteral("Session")].Value());
    const QString table = dao::CStr(row[QStringLiteral("SESTAB")].Value());
    const dao::Variant adjustment = row[QStringLiteral("CURCONVA")].Value();
    const double convFactorAdj = adjustment.isNull() ? 0.0 : dao::CDbl(adjustment);  // Null: no adjustment
    const double baseConvFactor = dao::CDbl(row[QStringLiteral("CURCONVF")].Value());
    const int useWorkAdj = flagOf(row[QStringLiteral("CURUSEADJ")].Value());
    const double workGpci = dao::CDbl(row[QStringLiteral("CURWORKGPCI")].Value());
    const double pracGpci = dao::CDbl(row[QStringLiteral("CURPRACGPCI")].Value());
    const double malpGpci = dao::CDbl(row[QStringLiteral("CURMALPGPCI")].Value());
    const dao::Variant geoloc = row[QStringLiteral("GEOLOC")].Value();
    const dao::Variant plimcol = row[QStringLiteral("PLIMCOL")].Value();
    QStringList scheduleNames;
    for (int i = 0; i < 5; ++i) {
        const dao::Variant v = row[QStringLiteral("S%1NAME").arg(i + 1)].Value();
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
    auto& row = Data3.Recordset();
    row.Edit();
    try {
        row[QStringLiteral("CURUSEADJ")] = dao::Variant(platform::checkValue(Check1) != 0);
        row.Update();
    } catch (...) {
        row.CancelUpdate();
        throw;
    }
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
    auto& session = f.Data3.Recordset();
    const dao::Variant work = session[QStringLiteral("CURWORKGPCI")].Value();
    const dao::Variant pract = session[QStringLiteral("CURPRACGPCI")].Value();
    const dao::Variant malp = session[QStringLiteral("CURMALPGPCI")].Value();
    const QString desc = localityDescription(session[QStringLiteral("GEOLOC")].Value().toString());
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
    auto& parms = f.Data2.Recordset();
    if (parms[QStringLiteral("CARRIER")].Value() == carrier && parms[QStringLiteral("Loc")].Value() == loc)
        return;
    parms.Edit();
    try {
        parms[QStringLiteral("CARRIER")] = carrier;
        parms[QStringLiteral("Loc")] = loc;
        parms.Update();
    } catch (...) {
        parms.CancelUpdate();
        throw;
    }
}

// The eleven fee kinds with the captions of S1..S5 that the grid shows for the session: its names for
// them, the grid's own caption for a schedule it leaves unnamed.
QStringList feeKindsOfGrid(frmMain& f)
{
    QStringList names;
    for (int i = 0; i < 5; ++i) {
        const int col = db::feecol::S1 + i;
        const dao::Variant name = f.Data3.Recordset()[QStringLiteral("S%1NAME").arg(i + 1)].Value();
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

}  // namespace

void frmMain::Combo1_Click()
{
    using platform::SetBusyCursor;
    SetBusyCursor(11);
    update();
    auto& parms = Data2.Recordset();
    parms.MoveFirst();
    const QString chosen = Combo1->currentText();
    const QString current = parms[QStringLiteral("CURSES")].Value().toString();
    const bool newSession = chosen == kMakeNewSession;

    if (newSession) {
        // No session is made from the list here: it goes back to the current session.
        selectSession(*this, current);
    } else if (current != chosen) {
        SetBusyCursor(11);
        auto& sessions = Data3.Recordset();
        // The session row that Data3 stands on becomes current: its values, the list shown, the grid.
        auto loadSessionAndGrid = [&] {
            g().CurSesTab = dao::CStr(sessions[QStringLiteral("SESTAB")].Value());
            LoadSessionSettings();
            RequeryListShown();
            RefreshGrid();
        };
        if (sessions.RecordCount() > 0 && !sessions.EOF() && !sessions.BOF() &&
            sessions[QStringLiteral("Session")].Value().toString() == chosen) {
            // The session row is already the chosen one and its values are being loaded by the caller
            // (the list follows the row): only the stored choice follows.
            parms.Edit();
            parms[QStringLiteral("CURSES")] = dao::Variant(chosen);
            parms.Update();
        } else if (sessions.FindFirst(QStringLiteral("Session = ?"), {chosen}); sessions.NoMatch()) {
            // The list and the table are out of step: the list is read again and stays on the current session.
            FillSessionList();
            SettleOnCurrentSession();
            selectSession(*this, parms[QStringLiteral("CURSES")].Value().toString());
        } else {
            parms.Edit();
            parms[QStringLiteral("CURSES")] = dao::Variant(chosen);
            parms.Update();
            try {
                loadSessionAndGrid();

                const dao::Variant plimcol = sessions[QStringLiteral("PLIMCOL")].Value();
                const int kind = plimcol.isNumeric() ? db::feeKindIndex(int(plimcol.toLongLong())) : -1;
                const QStringList kinds = feeKindsOfGrid(*this);
                auto refill = [&](QComboBox* list) {
                    platform::fillList(list, kinds);
                    const QSignalBlocker block(list);
                    list->setCurrentIndex(kind);
                };
                refill(plimlist);
                auto& rs = Data1.Recordset();
                if (kind >= 0 && rs.RecordCount() > 0 && !rs.EOF() && !rs.BOF())
                    platform::setText(Text1(1), frmPlimView::FeeText(rs.Fields(int(plimcol.toLongLong())).Value()));
                if (g().PlimViewActive == -1)
                    if (frmPlimView* view = platform::forms().loadedOrNull<frmPlimView>())
                        refill(view->plimlist);
            } catch (const dao::Error& e) {
                // The session cannot be shown: the one that was current stays current.
                parms.Edit();
                parms[QStringLiteral("CURSES")] = dao::Variant(current);
                parms.Update();
                sessions.FindFirst(QStringLiteral("Session = ?"), {current});
                try {
                    loadSessionAndGrid();
                } catch (const dao::Error&) {
                }
                selectSession(*this, current);
                seam().MsgBox(e.description, vbOKOnly);
            }
        }
    }

    if (!newSession && !requeryPending(*this))
        SetBusyCursor(0);
    mnuFileExport(0)->setText(QStringLiteral("KELVA Session: ") + Combo1->currentText());
    try {
        followSessionLocality(*this);
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
    }
    SetBusyCursor(0);
}
