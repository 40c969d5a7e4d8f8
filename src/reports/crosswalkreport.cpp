#include "reports/crosswalkreport.h"

#include "app/globals.h"
#include "platform/seam/Seam.h"
#include "reports/ActiveReport.h"
#include "reports/frmReportOther.h"

namespace reports {

// The code is a bound value; a code without rows prints the header alone.
void showCrosswalkReport(const QString& hcpcs)
{
    platform::report::Report report(crosswalkDesign());
    report.ReportStart = [&](platform::report::Report& r) {
        r.setRecordSource(g().MainDb, QStringLiteral("select * from crosswalk where [HCPCS CODE] = ?"), {hcpcs});
        r.Recordset();
    };
    std::shared_ptr<const platform::report::Document> document;
    try {
        document = report.Run();
    } catch (const dao::Error&) {
        seam().MsgBox(kPrinterMessage, vbOKOnly);
        return;
    }
    seam().PreviewReport(QStringLiteral("ActiveReport2"), document, true);
}

}  // namespace reports
