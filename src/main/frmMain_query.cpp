#include "main/frmMain.h"

#include "app/globals.h"
#include "db/feequery.h"
#include "main/frmPlimView.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"

#include <QSignalBlocker>
#include <algorithm>

namespace {

// The main fee query of the view shown: the OPPS rows of the parameter row's carrier and locality in
// "KELVA OPPS", the session's table in every other view.
db::FeeQuery mainFeeQuery(frmMain& f, db::FeeList list)
{
    if (f.cmboCurrentView->currentText() == QLatin1String("KELVA OPPS")) {
        const db::ParmsRow parms = f.Parms();
        return db::oppsFeeQuery(sessionFactors(), parms.value(db::ParmsRow::CARRIER), parms.value(db::ParmsRow::Loc),
                                list);
    }
    return db::sessionFeeQuery(sessionFactors(), g().CurSesTab, list);
}

// The code box as the program writes it back: without its change handling.
void putCodeBox(frmMain& f, const QString& text)
{
    const QSignalBlocker block(f.Text1(0));
    f.Text1(0)->setText(text);
}

int lastRow(qint64 rows)
{
    return int(std::clamp<qint64>(rows - 1, 0, std::numeric_limits<int>::max()));
}

}  // namespace

void frmMain::ViewAllRecs()
{
    // The code shown before the query runs again is the one the grid returns to.
    const QString code = Text1(0)->text();
    const db::FeeQuery q = mainFeeQuery(*this, db::FeeList::All);
    Data1.setRecordSource(q.sql, q.params);
    Data1.Refresh();
    putCodeBox(*this, code);

    RefreshMainGridData();
    const qint64 rows = Data1.Recordset().RecordCount();
    if (g().PlimViewActive != 0) {
        if (frmPlimView* view = platform::forms().loadedOrNull<frmPlimView>()) {
            view->plimscroll->setMax(lastRow(rows));
            view->plimscroll->setLargeChange(1);
        }
    }
    if (rows == 0) {
        // An empty list is shown as an empty grid: nothing to stand on, no code and no fee.
        platform::setText(Text1(0), QString());
        platform::setText(Text1(1), QString());
        return;
    }
    LocateCode();
}

void frmMain::ViewTagRecs()
{
    try {
        const QString code = Text1(0)->text();
        const db::FeeQuery q = mainFeeQuery(*this, db::FeeList::Tagged);
        Data1.setRecordSource(q.sql, q.params);
        Data1.Refresh();
        const qint64 rows = Data1.Recordset().RecordCount();
        if (rows == 0) {
            g().NoTaggedCodes = -1;
            seam().MsgBox(QStringLiteral("There are no tagged codes."), vbOKOnly);
            return;
        }
        const int last = lastRow(rows);
        plimscroll->setMax(last);
        dbgscroll->setMax(last);
        dbgscroll->setLargeChange(std::max(1, dbg->VisibleRows()));
        if (rows > 1)
            plimscroll->setLargeChange(last);
        if (g().PlimViewActive != 0) {
            if (frmPlimView* view = platform::forms().loadedOrNull<frmPlimView>()) {
                view->plimscroll->setMax(last);
                if (rows > 1)
                    view->plimscroll->setLargeChange(last);
            }
        }
        // Back to the code shown before, when it is among the tagged codes; otherwise the grid stays on
        // its first row and the code box says so.
        const QString written = Text1(0)->text();
        putCodeBox(*this, code);
        LocateCode();
        if (Data1.Recordset().NoMatch())
            putCodeBox(*this, written);
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
    }
}

void frmMain::RequeryListShown()
{
    if (ViewTaggedCaption() == QLatin1String("View Tagged"))
        ViewAllRecs();
    else
        ViewTagRecs();
}
