#include "reports/frmReportOther.h"

#include "app/globals.h"
#include "db/familysql.h"
#include "db/sqltext.h"
#include "main/frmMain.h"
#include "platform/controls/twips.h"
#include "platform/dao/jetfunctions.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "platform/seam/Seam.h"
#include "reports/ActiveReport.h"
#include "reports/textreport.h"

KELVA_FORM_NAME(frmReportOther)

using platform::newControl;
using platform::report::Control;
using platform::report::Design;

namespace reports {

namespace {

struct Column {
    const char* heading;
    int headLeft;
    const char* field;
    int left, width;
    const char* format;
};

const std::vector<Column>& columnsOf(const FamilyReport& m)
{
    static const std::vector<Column> lab = {
        {"HCPCS", 90, "HCPCS", 90, 540, ""},          {"Mod", 810, "Mod", 720, 540, ""},
        {"NationalLimit", 1530, "NationalLimit", 1800, 810, "#,##0.00"},
        {"MidPoint", 3150, "MidPoint", 3150, 810, "#,##0.00"}, {"LabFloor", 4410, "LabFloor", 4410, 810, "#,##0.00"},
        {"State", 5490, "STATE", 5490, 810, "#,##0.00"}, {"Description", 6750, "Description", 6750, 3870, ""}};
    static const std::vector<Column> dme = {
        {"HCPCS", 90, "HCPCS", 90, 540, ""},       {"Mod", 720, "Mod", 720, 540, ""},
        {"Mod2", 1260, "Mod2", 1260, 540, ""},     {"Jurisdiction", 1980, "JURIS", 1980, 990, ""},
        {"Category", 3150, "CATG", 3150, 810, ""}, {"Ceiling", 4230, "Ceiling", 4230, 630, ""},
        {"Floor", 5220, "Floor", 5220, 540, ""},   {"State", 5940, "STATE", 5940, 720, ""},
        {"Description", 6840, "Description", 6840, 4140, ""}};
    static const std::vector<Column> jcd = {
        {"HCPCS", 90, "HCPCS", 90, 540, ""},
        {"Dosage", 720, "Dosage", 720, 1710, ""},
        {"ASP Fee", 2430, "MMA", 2430, 810, "#,##0.00"},
        {"CA Participating", 3330, "PAR", 3420, 900, "#,##0.00"},
        {"CA Non Participating", 4410, "NONPAR", 4410, 900, "#,##0.00"},
        {"CA Limiting", 5490, "LC", 5490, 720, "#,##0.00"},
        {"Vaccine AWP%", 6300, "Vaccine_AWP_percent", 6300, 720, "0%"},
        {"Vaccine Limit", 7020, "VaccineLimit", 7020, 720, "#,##0.00"},
        {"Infusion AWP%", 7740, "Infusion_AWP_percent", 7740, 720, "0%"},
        {"DME Infusion Lmt", 8460, "DMEInfusion_Limit", 8460, 720, "#,##0.00"},
        {"Blood AWP%", 9180, "Blood_AWP_percent", 9180, 630, "0%"},
        {"Blood Limit", 9810, "BloodLimit", 9810, 630, "#,##0.00"}};
    static const std::vector<Column> asc = {
        {"Code", 90, "CODE", 90, 540, ""},
        {"Description", 720, "Desc", 720, 4140, ""},
        {"Subject To Multiple Procedure Discounting", 4860, "mult", 4950, 810, "#,##0.00"},
        {"Comment Indicator", 6120, "comment", 6120, 810, "#,##0.00"},
        {"Payment Indicator", 7110, "pay_ind", 7110, 810, "#,##0.00"},
        {"Payment Weight", 8190, "weight", 8010, 810, ""},
        {"Local ASC Payment Rate", 8910, "ASCPAYRATE", 8910, 990, ""},
        {"Nationall ASC Payment Rate", 9990, "trans_payment", 9990, 990, ""}};
    const QString t = QString::fromLatin1(m.table);
    return t == "LAB" ? lab : t == "DME" ? dme : t == "JCD" ? jcd : asc;
}

Design familyDesign(const FamilyReport& m)
{
    Design d;
    d.title = QString::fromLatin1(m.title);
    d.printWidth = 11100;
    const bool asc = QString::fromLatin1(m.table) == "ASC";
    const int headTop = m.notice ? 1080 : 810;
    const int headHeight = asc ? 600 : QString::fromLatin1(m.table) == "JCD" ? 400 : 200;
    d.pageHeader.height = headTop + headHeight + 60;
    d.pageHeader.controls = {reportText("Label1", kProductLine, 0, 0, 5400, 360, 15.75, true)};
    if (m.notice)
        d.pageHeader.controls.push_back(reportText("Label2", kReportNotice, 0, 360, 9000, 270, 10, true));
    d.pageHeader.controls.push_back(reportText("Label3", d.title, 0, m.notice ? 630 : 360, 5400, 360, 15.75, true));
    Control state = reportText("StateLabel", QString(), 7560, 60, 1900, 220, 8.5, false);
    state.alignRight = true;
    d.pageHeader.controls.push_back(state);
    d.pageHeader.controls.push_back(reportText("PageLabel", QStringLiteral("Page"), 9900, 60, 500, 220, 8.5, false));
    Control page = reportField("PageNumber", QString(), "#,##0", 10400, 60, 600, 220, 8.5);
    page.kind = platform::report::Kind::PageNumber;
    page.alignRight = false;
    d.pageHeader.controls.push_back(page);
    const auto& cols = columnsOf(m);
    for (std::size_t i = 0; i < cols.size(); ++i) {
        const Column& c = cols[i];
        const int next = i + 1 < cols.size() ? cols[i + 1].headLeft : 11100;
        Control h = reportText(QStringLiteral("Head%1").arg(i), c.heading, c.headLeft, headTop, next - c.headLeft - 45,
                               headHeight, 8, true);
        h.wrap = true;
        d.pageHeader.controls.push_back(h);
        d.detail.controls.push_back(
            reportField(QStringLiteral("Field%1").arg(i), c.field, c.format, c.left, 0, c.width - 45, 200, 8));
    }
    d.detail.height = 230;
    if (QString::fromLatin1(m.table) == "JCD") {
        d.detail.controls.push_back(reportField("Description", "Description", QString(), 720, 220, 7200, 200, 8));
        d.detail.height = 460;
    }
    return d;
}

// The query of a member with its state column checked against the table, the tick and the wage index.
QString familyQuery(const FamilyReport& m, const QString& column, bool tagged)
{
    const QString t = QString::fromLatin1(m.table);
    if (t == "LAB")
        return QStringLiteral("SELECT TAG, HCPCS, [Mod], NationalLimit, [MidPoint], LabFloor, %1 AS STATE, Description, "
                              "CODEMOD FROM LAB%2 order by HCPCS")
            .arg(column, tagged ? QStringLiteral(" where TAG ='+'") : QString());
    if (t == "DME")
        return QStringLiteral("SELECT [TAG], [HCPCS], [Mod], [Mod2], [JURIS], [CATG], [Ceiling], [Floor], %1 AS [STATE], "
                              "[Description], [CODEMOD] FROM DME%2")
            .arg(column, tagged ? QStringLiteral(" where tag = '+'") : QString());
    if (t == "JCD")
        return QStringLiteral("SELECT JCD.Tag, JCD.HCPCS, JCD.[Mod], JCD.Dosage, JCD.[MMA], %1, JCD.Description, "
                              "JCD.Codemod, ESRD_Limit, Vaccine_AWP_percent, VaccineLimit, Infusion_AWP_percent, "
                              "DMEInfusion_Limit, Blood_AWP_percent, BloodLimit, notes FROM JCD WHERE %2 > 0%3 "
                              "order by HCPCS")
            .arg(db::jcodeAmountColumns(column), column, tagged ? QStringLiteral(" and TAG ='+'") : QString());
    return QStringLiteral("SELECT Tag, CODE, [Desc], [mult], [comment], pay_ind, [weight], ? AS windex, "
                          "round(((trans_payment * 0.5) * ?) + (trans_payment * 0.5), 2) AS ASCPAYRATE, trans_payment "
                          "FROM [ASC]");
}

}  // namespace

const std::vector<FamilyReport>& familyReports()
{
    using S = FamilyReport::StateText;
    static const std::vector<FamilyReport> members = {
        {"J Codes", "RptJcd", 1, true, "J Codes Report", "J Codes Report", true, S::JCodeHeadings, "JCDSTATE", "JCD"},
        {"DMEPOS", "RptDME", 3, true, "DMEPOS Report", "DMEPOS Report", false, S::Label, "DMESTATE", "DME"},
        {"Lab Fees", "RptLab", 4, true, "Lab Fees Report", "Lab Fees Report", true, S::Label, "LABSTATE", "LAB"},
        {"ASC Codes", "RptAsc", 6, false, "ASC  Codes Report", "ASC Codes Report", true, S::None, nullptr, "ASC"},
    };
    return members;
}

platform::report::Report familyReport(const FamilyReport& m)
{
    platform::report::Report report(familyDesign(m));
    report.ReportStart = [&m](platform::report::Report& r) {
        try {
            frmMain& main = platform::forms().get<frmMain>();
            const QString state = main.Combo3->currentText();
            if (m.stateText == FamilyReport::StateText::Label) {
                r.setText(QStringLiteral("StateLabel"), QStringLiteral("State-") + state);
            } else if (m.stateText == FamilyReport::StateText::JCodeHeadings) {
                r.setText(QStringLiteral("Head3"), state + QStringLiteral("  Participating"));
                r.setText(QStringLiteral("Head4"), state + QStringLiteral(" Non Participating"));
                r.setText(QStringLiteral("Head5"), state + QStringLiteral(" Limiting"));
            }
            const bool tagged =
                m.tagged && platform::checkValue(platform::forms().get<frmReportOther>().Check1) == 1;
            if (m.stateColumn) {
                const QString stored = main.Data2.Recordset()[QString::fromLatin1(m.stateColumn)].Value().toString();
                const QString column = db::checkedColumn(g().MainDb, QString::fromLatin1(m.table), stored.trimmed());
                r.setRecordSource(g().MainDb, familyQuery(m, column, tagged));
            } else {
                const double index = jet::val(main.ascwr->text());
                r.setRecordSource(g().MainDb, familyQuery(m, QString(), false), {index, index});
            }
            if (r.Recordset().EOF()) {
                seam().MsgBox(QStringLiteral("The report you have selected did not find any records"), vbOKOnly);
                r.Cancel();
            }
        } catch (const dao::Error&) {
            seam().MsgBox(kPrinterMessage, vbOKOnly);
            r.Cancel();
        }
    };
    return report;
}

}  // namespace reports

frmReportOther::frmReportOther()
{
    setObjectName(QStringLiteral("frmReportOther"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(platform::tw(9960), platform::tw(4200));
    Frame5 = platform::newFrame(this, QStringLiteral("Report Print Options for Session:"), 120, 120, 9720, 720);
    Label1 = newControl<QLabel>(Frame5, "Label1", 240, 330, 9240, 255);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(Label1->font().pointSizeF());
    Label1->setFont(arial);
    Check1 = newControl<QCheckBox>(this, "Check1", 240, 960, 3600, 285, QStringLiteral("Show tagged only"));
    Check1->setEnabled(false);
    const struct {
        QGroupBox** frame;
        const char* name;
        const char* caption;
    } layouts[] = {
        {&Frame1, "Frame1",
         "HCPCS, Dosage, ASP Fee, CA Participating, CA Non Participating, CA Limiting, ESRD Limiting,Vaccine AWP%, "
         "Vaccine Limit, Infusion AWP%, DME Infustion Limit, Blood AWP%, Blood Script,  Notes"},
        {&Frame3, "Frame3", "HCPCS,Mod, Mod2, Jurisdiction, Category, Ceiling, Floor, State, Description"},
        {&Frame4, "Frame4", "HCPCS,Mod, NationalLimit, MidPoint, Labfloor, State, Description, Notes "},
        {&Frame6, "Frame6",
         "Code, Description, Subject to Multiple Procedure Discounting, Comment Indicator, Payment Indicator, Payment "
         "Weight, Local  ASC Payment Rate, National ASC Payment Rate"},
    };
    int i = 0;
    for (const auto& l : layouts) {
        *l.frame = platform::newFrame(this, QStringLiteral("Predefined Report Layout:"), 120, 1380, 9720, 1500);
        (*l.frame)->setObjectName(QString::fromLatin1(l.name));
        auto* option = newControl<QRadioButton>(*l.frame, QStringLiteral("rptopt_%1").arg(i), 240, 300, 9360, 1080,
                                                QString());
        // The caption is long: it wraps in a label beside the button.
        auto* text = newControl<QLabel>(*l.frame, QStringLiteral("rptopt_text_%1").arg(i), 540, 300, 9000, 1080,
                                        QString::fromLatin1(l.caption));
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        option->setAccessibleName(text->text());
        option->resize(platform::tw(300), option->height());
        rptopt.add(i++, option);
        (*l.frame)->hide();
    }
    Command1 = newControl<QPushButton>(this, "Command1", 7080, 3060, 1320, 420, QStringLiteral("Print"));
    Command2 = newControl<QPushButton>(this, "Command2", 8520, 3060, 1320, 420, QStringLiteral("Close"));
    wire();
}

void frmReportOther::wire()
{
    platform::onClick(Command1, [this] { Command1_Click(); });
    platform::onClick(Command2, [this] { Command2_Click(); });
}

void frmReportOther::Form_Load()
{
    setCaption(g().AppTitle + QStringLiteral(" Reports"));
    frmMain& main = platform::forms().get<frmMain>();
    platform::setText(Label1, main.Combo1->currentText());
    const QString view = main.cmboCurrentView->currentText();
    QGroupBox* frames[] = {nullptr, Frame1, nullptr, Frame3, Frame4, nullptr, Frame6};
    for (const reports::FamilyReport& m : reports::familyReports()) {
        if (view != QString::fromLatin1(m.view))
            continue;
        frames[m.frame]->show();
        if (m.tagged)
            Check1->setEnabled(true);
    }
}

void frmReportOther::Command1_Click()
{
    const QString view = platform::forms().get<frmMain>().cmboCurrentView->currentText();
    for (const reports::FamilyReport& m : reports::familyReports()) {
        if (view != QString::fromLatin1(m.view))
            continue;
        platform::report::Report report = reports::familyReport(m);
        std::shared_ptr<const platform::report::Document> document;
        try {
            document = report.Run();
        } catch (const dao::Error&) {
            seam().MsgBox(reports::kPrinterMessage, vbOKOnly);
            return;
        }
        if (document)
            seam().PreviewReport(QString::fromLatin1(m.caption), document, true);
        return;
    }
}

void frmReportOther::Command2_Click()
{
    Unload();
}
