#include "main/frmMain.h"

#include "app/buildinfo.h"
#include "app/globals.h"
#include "db/feequery.h"
#include "main/frmPlimView.h"
#include "platform/controls/BusyCursor.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QDateTime>

using platform::SetBusyCursor;

namespace {

const QString kDataUpdateMessage = QStringLiteral(
    "Your current version of KELVA Morvex needs to be updated. Select Help -> Upgrades -> Data Upgrades from the "
    "menu bar.");

// The request in setchk: 1 or 2, 0 for anything else.
int pendingRequest(const frmMain& f)
{
    double v = 0;
    if (!dao::parseNumber(f.setchk->text(), &v))
        return 0;
    return v == 1 ? 1 : v == 2 ? 2 : 0;
}

void clearRequest(frmMain& f)
{
    platform::setText(f.setchk, QStringLiteral("0"));
    f.ReloadLayoutAsked = false;
}

// The fee boxes follow a user schedule that a reload may have changed; the Medicare amounts they show
// were written with the row and stay.
void refreshScheduleFeeBoxes(frmMain& f)
{
    if (!f.Data3.hasRecordset() || !f.Data1.hasRecordset())
        return;
    const dao::Variant plimcol = f.CurrentSession().value(db::SessionRow::PLIMCOL);
    if (!plimcol.isNumeric())
        return;
    const int col = int(plimcol.toLongLong());
    if (col < db::feecol::S1 || col > db::feecol::S5)
        return;
    auto& rs = f.Data1.Recordset();
    if (rs.RecordCount() == 0 || rs.EOF() || rs.BOF())
        return;
    const QString text = frmPlimView::FeeText(rs.Fields(col).Value());
    platform::setText(f.Text1(1), text);
    if (g().PlimViewActive == -1)
        if (frmPlimView* view = platform::forms().loadedOrNull<frmPlimView>())
            platform::setText(view->Text1(1), text);
}

// Carries out the pending request. At an activation: 1 reloads, re-queries and lays out, 2 reloads and lays
// out. At the window's own focus: a plain 1 only, without the layout (a 1 with a layout merged into it waits
// for the activation). A request whose handling fails is shown once and dropped, so that it cannot fail
// again at every activation.
void carryOutRequest(frmMain& f, bool activation)
{
    const int request = pendingRequest(f);
    if (request == 0)
        return;
    if (!activation && (request != 1 || f.ReloadLayoutAsked))
        return;
    bool raised = false;
    try {
        if (activation) {
            SetBusyCursor(11);
            raised = true;
        } else {
            clearRequest(f);
        }
        f.LoadSessionSettings();
        if (request == 1)
            f.RequeryListShown();
        if (activation) {
            if (g().SkipRecolumnize == 0) {
                f.Recolumnize();
                f.FormatJCodeGrid();
            }
            f.dbg->Refresh();
            clearRequest(f);
            SetBusyCursor(0);
            raised = false;
            refreshScheduleFeeBoxes(f);
        }
    } catch (const dao::Error& e) {
        clearRequest(f);
        if (raised)
            SetBusyCursor(0);
        seam().MsgBox(e.description, vbOKOnly);
    } catch (const std::exception& e) {
        clearRequest(f);
        if (raised)
            SetBusyCursor(0);
        seam().MsgBox(QString::fromUtf8(e.what()), vbOKOnly);
    }
}

}  // namespace

void frmMain::RequestReload(int request)
{
    if (request != 1 && request != 2)
        return;
    const int pending = pendingRequest(*this);
    if (request == 2 && pending == 1) {
        // The re-query still pending must not be lost: the grid would keep the fees of the old factors.
        ReloadLayoutAsked = true;
        return;
    }
    if (request == 1 && pending == 2)
        ReloadLayoutAsked = true;
    platform::setText(setchk, QString::number(request));
}

void frmMain::Form_Activate()
{
    update();
    carryOutRequest(*this, true);
    SetBusyCursor(0);

    if (!g().strCurrentCodemod.isEmpty())
        strCurrentCpt = g().strCurrentCodemod;
    // A code that cannot be located leaves the grid where it is.
    platform::resumeNext([&] { LocateCode(); });
    PlaceForView();
    CheckDataDate();
}

void frmMain::Form_GotFocus()
{
    carryOutRequest(*this, false);
    SetBusyCursor(0);
}

void frmMain::PlaceForView()
{
    using namespace platform;
    const int view = cmboCurrentView->currentIndex();
    if (view < 0 || view > 6)
        return;
    auto panelWidth = [this](int twips) {
        setWidthOf(CodeDetailFrame, twips);
        setLeftOf(btnHelp, widthOf(CodeDetailFrame) - widthOf(btnHelp));
    };
    auto showDetail = [this](bool on) {
        for (int i : {0, 1})
            txt(i)->setVisible(on);
    };
    switch (view) {
    case 0:
    case 1:
    case 3:
        CodeDetailFrame->show();
        panelWidth(3105);
        showDetail(true);
        btnMore->show();
        setLeftOf(btnMore, widthOf(CodeDetailFrame) - widthOf(btnMore));
        btnMore->setText(QStringLiteral("More >>"));  // the panel is collapsed again
        break;
    case 2:
        panelWidth(10000);
        showDetail(false);
        btnMore->hide();
        break;
    case 4:
    case 5:
        CodeDetailFrame->hide();
        panelWidth(10000);
        showDetail(false);
        btnMore->hide();
        break;
    default:
        CodeDetailFrame->hide();
        showDetail(false);
        break;
    }
    const DBGrid* grids[] = {dbg, dbg, DBGrid1, DBGrid2, DBGrid3, DBGrid4, DBGrid5};
    setHeightOf(dbgscroll, heightOf(grids[view]));
}

void frmMain::CheckDataDate()
{
    bool outdated = false;
    try {
        g().DbConnect = QStringLiteral(";PWD=") + databasePassword();
        dao::Database db = dao::OpenDatabase(programPath(QStringLiteral("kelva.mdb")), false, false, g().DbConnect);
        dao::Recordset rs = db.OpenRecordset(QStringLiteral("SELECT dataupdate FROM parms_cl"));
        if (rs.EOF()) {
            outdated = true;  // no parameter row: the installed data cannot be dated
        } else {
            const dao::Variant value = rs[QStringLiteral("dataupdate")].Value();
            if (!value.isNull()) {
                const QDateTime date = value.toDateTime();
                outdated = !date.isValid() || date < QDateTime(QDate(2003, 12, 4), QTime(0, 0));
            }
        }
    } catch (const dao::Error& e) {
        // A file or table that cannot be read is that failure, not old data; said once a run.
        if (!DataDateFailureShown) {
            DataDateFailureShown = true;
            seam().MsgBox(e.description, vbOKOnly);
        }
        return;
    }
    if (outdated)
        seam().MsgBox(kDataUpdateMessage, vbOKOnly);
}
