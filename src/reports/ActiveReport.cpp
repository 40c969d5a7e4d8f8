#include "reports/ActiveReport.h"

#include "app/globals.h"
#include "platform/dao/Transaction.h"
#include "platform/seam/Seam.h"
#include "reports/frmAnal.h"
#include "reports/textreport.h"

namespace reports {

using platform::report::Control;
using platform::report::Design;
using platform::report::Kind;

namespace {

const QString kTimes = QStringLiteral("Times New Roman");

// The scratch table's suffix for each viewing option (0 tagged, 1 fees, 2 frequencies, 3 all).
QString analysisSuffix(int option, const QString& s, const QString& f)
{
    switch (option) {
    case 0: return QStringLiteral(" WHERE TAG = '+'");
    case 1: return QStringLiteral(" WHERE %1 > 0").arg(s);
    case 2: return QStringLiteral(" WHERE %1 > 0").arg(f);
    default: return QString();
    }
}

}  // namespace

Control reportText(const QString& name, const QString& text, int left, int top, int width, int height, double points,
                   bool bold, const QString& family)
{
    Control c;
    c.name = name;
    c.text = text;
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    c.font = {family, points, bold};
    return c;
}

Control reportField(const QString& name, const QString& column, const QString& format, int left, int top, int width,
                    int height, double points, bool bold, const QString& family)
{
    Control c = reportText(name, QString(), left, top, width, height, points, bold, family);
    c.kind = Kind::Field;
    c.column = column;
    c.format = format;
    c.alignRight = !format.isEmpty();
    return c;
}

Design analysisDesign()
{
    Design d;
    d.title = QStringLiteral("Frequency Analysis Report");
    d.printWidth = 11904;
    d.reportHeader.height = 240;
    d.pageHeader.height = 1427;
    Control date = reportField("Field1", QString(), QString(), 8655, 115, 1077, 199, 9.75, false, kTimes);
    // Wide enough for the whole date and time in this font.
    date.width = 1650;
    date.left = 8100;
    Control page = reportField("Field2", QString(), "#,##0", 9810, 115, 1500, 199, 9.75, false, kTimes);
    page.kind = Kind::PageNumber;
    const auto heading = [](const char* name, const char* text, int left, int width, bool right) {
        Control c = reportText(name, text, left, 1185, width, 199, 9.75, true, kTimes);
        c.alignRight = right;
        return c;
    };
    d.pageHeader.controls = {
        reportText("Text7", kProductLine, 0, 0, 5400, 360, 15.75, true, kTimes),
        reportText("Label1", QStringLiteral("\u00AE"), 2290, 40, 450, 360, 10, true, kTimes),
        reportText("Text8", kReportNotice, 0, 360, 7200, 270, 10, true, kTimes),
        reportText("Text1", d.title, 0, 630, 5400, 360, 15.75, true, kTimes),
        date,
        page,
        heading("Text2", "CPT Code", 1320, 960, false),
        heading("Text3", "Mod", 2310, 480, false),
        heading("Text4", "Description", 3330, 4140, false),
        heading("Text5", "User Schedule", 7650, 1350, true),
        heading("Text6", "Frequency", 9180, 990, true),
        heading("Text9", "Total", 10260, 1260, true),
    };
    d.detail.height = 210;
    d.detail.controls = {
        reportField("Field8", "CPT", QString(), 1275, 0, 900, 199, 9.75, false, kTimes),
        reportField("Field3", "MOD", QString(), 2310, 0, 480, 199, 9.75, false, kTimes),
        reportField("Field4", "DESC", QString(), 3300, 0, 4140, 199, 9.75, false, kTimes),
        reportField("Field5", "Sched", "#,##0.00", 7650, 0, 1350, 180, 9.75, false, kTimes),
        reportField("Field6", "Freq", "#,##0", 9180, 0, 990, 180, 9.75, false, kTimes),
        reportField("Field7", "Total", "#,##0.00", 10260, 0, 1260, 180, 9.75, false, kTimes),
    };
    d.pageFooter.height = 597;
    d.reportFooter.height = 885;
    Control total = reportField("Field11", "Total", "#,##0.00", 10350, 180, 1170, 180, 9.75, true, kTimes);
    total.kind = Kind::GrandTotal;
    Control frame1 = reportText("Frame1", QString(), 0, 0, 11910, 570, 9.75, false, kTimes);
    frame1.kind = Kind::Frame;
    d.reportFooter.controls = {frame1, reportText("Text10", "Grand Total", 9000, 165, 1260, 270, 9.75, true, kTimes),
                               total};
    return d;
}

void printAnalysis(frmAnal& window)
{
    const QString s = QStringLiteral("S%1").arg(window.schedulePosition() + 1);
    const QString f = window.frequencyColumn();
    const int option = window.viewingOption();
    try {
        dao::Database& db = g().MainDb;
        const QString t = dao::quoteIdentifier(window.sessionTable());
        dao::Transaction transaction(db);
        if (db.hasTable(QStringLiteral("prtanalysis")))
            db.Execute(QStringLiteral("DROP TABLE [prtanalysis]"));
        db.Execute(QStringLiteral("CREATE TABLE prtanalysis (Tag TEXT(1) COLLATE NOCASE, CPT TEXT(6) COLLATE NOCASE, "
                                  "[MOD] TEXT(2) COLLATE NOCASE, [DESC] TEXT(255) COLLATE NOCASE, Sched REAL, "
                                  "Freq REAL, Total REAL)"));
        db.Execute(QStringLiteral("INSERT INTO prtanalysis (Tag, CPT, [MOD], [DESC], Sched, Freq, Total) "
                                  "SELECT Tag, CPT, [MOD], [DESC], %1, %2, [%1]*[%2] FROM %3")
                       .arg(s, f, t) +
                   analysisSuffix(option, s, f));
        transaction.Commit();
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
        return;
    }
    window.Unload();

    platform::report::Report report(analysisDesign());
    report.setText(QStringLiteral("Text7"), kProductLine);
    report.setText(QStringLiteral("Text8"), kReportNotice);
    report.setText(QStringLiteral("Field1"), QLocale::c().toString(seam().Now(), QStringLiteral("M/d/yyyy h:mm AP")));
    // In the order the database returns them: no sort.
    report.setRecordSource(g().MainDb, QStringLiteral("SELECT Tag, CPT, [MOD], [DESC], Sched, Freq, Total FROM prtanalysis"));
    try {
        seam().PreviewReport(QStringLiteral("Frequency Analysis Report"), report.Run(), false);
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
    }
}

Design crosswalkDesign()
{
    Design d;
    d.title = QStringLiteral("National Drug Code (NDC) Crosswalk");
    d.printWidth = 10260;
    d.pageHeader.height = 1740;
    d.pageHeader.controls = {
        reportText("Label1", QStringLiteral("KELVA Morvex    2014"), 0, 0, 5400, 360, 15.75, true),
        reportText("Label2", kReportNotice, 540, 360, 9000, 270, 10, true),
        reportText("Label3", d.title, 0, 630, 7200, 360, 15.75, true),
    };
    const struct {
        const char* heading;
        int headLeft;
        const char* column;
        int left, width;
    } columns[] = {
        {"HCPCS Code", 0, "HCPCS Code", 0, 720},
        {"Short Descriptor", 810, "Short Descriptor", 810, 990},
        {"Code Dosage Descriptor", 1890, "HCPCS DOSAGE", 1890, 1260},
        {"Labeler Name", 3240, "Labeler Name", 3240, 990},
        {"11-Digit National Drug Code (NDC)", 4320, "NDC", 4320, 1260},
        {"Drug Name", 5850, "Drug Name", 5850, 630},
        {"Package Size", 6570, "PKG SIZE", 6660, 630},
        {"Package Quantity", 7470, "PKG QTY", 7470, 810},
        {"Billable Units Per Package", 8460, "BILLUNITSPKG", 8460, 810},
        {"Billable Units Per 11-Digit NDC", 9450, "BILLUNITS", 9450, 810},
    };
    int i = 0;
    for (const auto& c : columns) {
        const double points = i == 0 ? 9 : 8.5;
        const bool bold = i < 3;
        Control h = reportText(QStringLiteral("Head%1").arg(i), c.heading, c.headLeft, 1080, std::min(c.width, 1000) + 60,
                               640, points, bold);
        h.width = (i + 1 < 10 ? columns[i + 1].headLeft : 10260) - c.headLeft - 60;
        h.wrap = true;
        d.pageHeader.controls.push_back(h);
        Control v = reportField(QStringLiteral("Field%1").arg(i), c.column, QString(), c.left, 0, c.width - 45, 220, 8.5);
        v.wrap = true;
        d.detail.controls.push_back(v);
        ++i;
    }
    d.detail.height = 480;
    return d;
}

}  // namespace reports
