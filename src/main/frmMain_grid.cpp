#include "main/frmMain.h"

#include <QSignalBlocker>
#include <algorithm>
#include <limits>

void frmMain::RefreshGrid()
{
}

void frmMain::LocateCode()
{
    if (!Data1.hasRecordset() || Data1.Recordset().RecordCount() == 0)
        return;  // an empty list has no row to go to
    auto& rs = Data1.Recordset();
    const QString t = Text1(0)->text().trimmed();
    if (t.size() > 7) {
        // "99213-26" or "99213 26": code and modifier.
        rs.FindFirst(QStringLiteral("CODEMOD = ?"), {t.left(5) + t.right(2)});
    } else {
        try {
            rs.FindFirst(QStringLiteral("CODEMOD = ?"), {t});
        } catch (const dao::Error& e) {
            if (e.number == 3426) {
                try {
                    Data1.Refresh();
                    Data1.Recordset().FindFirst(QStringLiteral("CODEMOD = ?"), {t});
                } catch (const dao::Error&) {
                }
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
    auto& rs = Data1.Recordset();
    const qint64 rows = rs.RecordCount();
    // The ranges are set before the grid moves, so that the bars can follow the row it moves to.
    const int last = int(std::clamp<qint64>(rows - 1, 0, std::numeric_limits<int>::max()));
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

void frmMain::dbgscroll_Change()
{
}

void frmMain::dbgscroll_GotFocus()
{
}

void frmMain::dbgscroll_LostFocus()
{
}

void frmMain::plimscroll_Change()
{
}

void frmMain::plimscroll_GotFocus()
{
}

void frmMain::plimscroll_LostFocus()
{
}

void frmMain::dbg_RowColChange(qint64, int)
{
}

void frmMain::Data1_Reposition()
{
}

void frmMain::dbg_DblClick()
{
}

void frmMain::dbg_MouseDown(int, int, double, double)
{
}

void frmMain::dbg_KeyDown(int&, int)
{
}

void frmMain::dbg_KeyPress(int&)
{
}

void frmMain::dbg_Change()
{
}

void frmMain::dbg_AfterColUpdate(int)
{
}

void frmMain::dbg_HeadClick(int)
{
}

void frmMain::dbg_Error(int, int& Response)
{
    Response = 0;
}

void frmMain::dbg_GotFocus()
{
}

void frmMain::ToggleTagKelva()
{
}
