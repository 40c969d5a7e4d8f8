#include "export/rules/exportquery.h"

#include "app/globals.h"
#include "main/frmMain.h"
#include "platform/dao/Database.h"
#include "platform/forms/FormRegistry.h"

namespace exportquery {

db::FeeQuery build(const Source& source, Form form)
{
    if (source.opps)
        return db::oppsFeeQuery(source.factors, source.carrier, source.loc, source.list);
    db::FeeQuery q;
    q.sql = QStringLiteral("SELECT ") + db::sessionSelectList(source.factors)
            + (form == Form::Session ? QStringLiteral(", NON_PE_OPPS, FAC_PE_OPPS, MAL_PE_OPPS") : QString())
            + QStringLiteral(" FROM ") + dao::quoteIdentifier(source.sessionTable.trimmed())
            + (source.list == db::FeeList::Tagged ? QStringLiteral(" WHERE TAG ='+' ORDER BY CODEMOD")
                                                  : QStringLiteral(" ORDER BY CODEMOD"));
    return q;
}

Source current(bool tagged)
{
    Source s;
    const Globals& gl = g();
    s.factors = {gl.WorkAdjuster, gl.WorkGpci, gl.PracGpci, gl.MalpGpci, gl.ConvFactor};
    s.sessionTable = gl.CurSesTab;
    s.list = tagged ? db::FeeList::Tagged : db::FeeList::All;
    frmMain& main = forms().get<frmMain>();
    // Compared exactly: any other view, a family view included, exports the session's own table.
    s.opps = main.cmboCurrentView->currentText() == QLatin1String("KELVA OPPS");
    if (main.Data2.hasCurrentRecord()) {
        s.carrier = main.Data2.Recordset().Fields(QStringLiteral("CARRIER")).Value();
        s.loc = main.Data2.Recordset().Fields(QStringLiteral("Loc")).Value();
    }
    return s;
}

}  // namespace exportquery
