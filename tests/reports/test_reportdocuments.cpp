#include "AnalysisFixture.h"

#include "reports/ActiveReport.h"
#include "reports/crosswalkreport.h"
#include "reports/frmReportOther.h"
#include "reports/textreport.h"

#include <QProcess>

namespace {

QString pdftotext(const QString& pdf)
{
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    EXPECT_TRUE(p.waitForFinished(60000));
    return QString::fromUtf8(p.readAllStandardOutput());
}

class AnalysisPrintTest : public AnalysisFixture {
protected:
    void print(int option)
    {
        frmAnal& w = open();
        w.Option1(option)->click();
        w.btn(1)->click();
    }
};

TEST_F(AnalysisPrintTest, PrtanalysisPerViewingOptionAndThePrintedDocument)
{
    setCodes({"10000||+|75|||12|||", "10001|||0|||5|||", "20000|||40||||||", "30000|||||||3||",
              "99999||+||||7|||"});
    const struct {
        int option;
        QStringList rows;  // CPT|Sched|Freq|Total, in stored order
    } cases[] = {
        {0, {"10000|75|12|900", "99999|<null>|7|<null>"}},
        {1, {"10000|75|12|900", "20000|40|<null>|<null>"}},
        {2, {"10000|75|12|900", "10001|0|5|0", "99999|<null>|7|<null>"}},
        {3, {"10000|75|12|900", "10001|0|5|0", "20000|40|<null>|<null>", "30000|<null>|<null>|<null>",
             "99999|<null>|7|<null>"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        bool unloadedFirst = false;
        seam.onReport([&] { unloadedFirst = !platform::forms().isLoaded<frmAnal>(); });
        print(c.option);
        EXPECT_TRUE(unloadedFirst);
        EXPECT_EQ(queryRows("SELECT CPT, Sched, Freq, Total FROM prtanalysis"), c.rows);
        EXPECT_EQ(db().tableDef("prtanalysis").fields.size(), 7u);
    }
    const auto reports = seam.calls("Report");
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports.back().text, "Frequency Analysis Report");
    EXPECT_EQ(reports.back().flags, 0);  // beside the main window

    const QString text = pdftotext(seam.reportPdfs().front());
    for (const char* s : {"KELVA Morvex", "2014", "Frequency Analysis Report", "CPT Code", "Mod", "Description",
                          "User Schedule", "Frequency", "Total", "75.00", "900.00", "Grand Total",
                          "6/16/2014 9:00 AM"})
        EXPECT_TRUE(text.contains(s)) << s << "\n" << qPrintable(text);
    EXPECT_TRUE(text.contains(reports::kReportNotice.left(30)));
    const QStringList last = seam.reports().front()->pageLines(0);
    EXPECT_EQ(last.last(), "Grand Total | 900.00");
    EXPECT_TRUE(last.contains("10000 | Desc 10000 | 75.00 | 12 | 900.00")) << qPrintable(last.join("\n"));
    EXPECT_TRUE(last.first().startsWith(reports::kProductLine));
}

TEST_F(AnalysisPrintTest, EveryPageHasItsNumberAndAFailedBuildKeepsTheWindow)
{
    QStringList many;
    for (int i = 0; i < 90; ++i)
        many << QStringLiteral("%1|||1|||2||").arg(10000 + i);
    setCodes(many);
    print(3);
    const auto& doc = *seam.reports().back();
    ASSERT_EQ(doc.pageCount(), 2);
    for (int p = 0; p < 2; ++p)
        EXPECT_EQ(doc.pageLines(p)[1], QStringLiteral("6/16/2014 9:00 AM | %1").arg(p + 1));
    EXPECT_EQ(doc.pageLines(1).last(), "Grand Total | 180.00");

    db().Execute("UPDATE SESSIONS SET SESTAB = 'DATA0999' WHERE Session = 'Sample'");
    main->Data3.Refresh();
    main->Data3.Recordset().FindFirst("Session = 'Sample'");
    seam.answerMsgBox(vbOK);  // the grid's own report of the missing table
    frmAnal& w = open();
    seam.expectMsgBox("no such table: DATA0999", vbOKOnly);
    w.btn_Click(1);
    EXPECT_TRUE(platform::forms().isLoaded<frmAnal>());
    EXPECT_EQ(seam.calls("Report").size(), 1u);
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM prtanalysis").toLongLong(), 90);  // the last table stands
}

class FamilyReportTest : public AnalysisFixture {
protected:
    void view(int index) { platform::setListIndex(main->cmboCurrentView, index); }
    void state(const QString& s) { platform::setListIndex(main->Combo3, main->Combo3->findText(s)); }
    frmReportOther& chooser()
    {
        platform::forms().unloadIfLoaded<frmReportOther>();
        return platform::forms().get<frmReportOther>();
    }
};

TEST_F(FamilyReportTest, EachViewPrintsItsMember)
{
    // Lab, AL, every row in HCPCS order.
    setParms("LABSTATE = 'AL'");
    view(3);
    state("AL");
    frmReportOther& lab = chooser();
    EXPECT_TRUE(lab.Frame4->isVisibleTo(&lab));
    EXPECT_FALSE(lab.Frame1->isVisibleTo(&lab));
    EXPECT_TRUE(lab.Check1->isEnabled());
    lab.Command1_Click();
    ASSERT_EQ(seam.reports().size(), 1u);
    auto doc = seam.reports().back();
    EXPECT_EQ(seam.calls("Report").back().text, "Lab Fees Report");
    EXPECT_EQ(seam.calls("Report").back().flags, 1);
    EXPECT_EQ(qint64(doc->rows().size()), db().scalar("SELECT COUNT(*) FROM LAB").toLongLong());
    EXPECT_EQ(doc->rows().front()[1].toString(), db().scalar("SELECT min(HCPCS) FROM LAB").toString());
    EXPECT_TRUE(doc->pageLines(0).first().contains("State-AL"));
    EXPECT_TRUE(doc->pageLines(0)[1].startsWith(reports::kReportNotice));

    // Ticked, nothing tagged: the message and no preview.
    db().Execute("UPDATE LAB SET TAG = NULL");
    lab.Check1->setChecked(true);
    seam.expectMsgBox("The report you have selected did not find any records", vbOKOnly);
    lab.Command1_Click();
    EXPECT_EQ(seam.reports().size(), 1u);

    // A state column LAB lacks.
    setParms("LABSTATE = 'ZZ'");
    lab.Check1->setChecked(false);
    seam.expectMsgBox("Unable to use the current printer device selected.", vbOKOnly);
    lab.Command1_Click();
    EXPECT_EQ(seam.reports().size(), 1u);
    lab.Command2_Click();

    // J-codes, CA: the headings follow the state box; 100.00 gives 95.00 and 109.25; unpriced codes are absent.
    view(4);
    state("CA");
    const QString code = db().scalar("SELECT CODEMOD FROM JCD WHERE CA > 0 ORDER BY HCPCS").toString();
    db().Execute("UPDATE JCD SET CA = 100 WHERE CODEMOD = ?", {code});
    frmReportOther& jcd = chooser();
    jcd.Command1_Click();
    ASSERT_EQ(seam.reports().size(), 2u);
    doc = seam.reports().back();
    const QString heads = doc->pageLines(0)[3];
    EXPECT_TRUE(heads.contains("CA  Participating | CA Non Participating | CA Limiting")) << qPrintable(heads);
    EXPECT_EQ(qint64(doc->rows().size()), db().scalar("SELECT COUNT(*) FROM JCD WHERE CA > 0").toLongLong());
    EXPECT_TRUE(doc->pageLines(0)[4].contains("100.00 | 95.00 | 109.25")) << qPrintable(doc->pageLines(0)[4]);
    jcd.Command2_Click();

    // ASC with the index 1.1: 1000 gives 1050; the tick is never offered.
    view(5);
    db().Execute("UPDATE [ASC] SET trans_payment = 1000 WHERE CODE = '10024'");
    platform::setText(main->ascwr, "1.1000");
    frmReportOther& asc = chooser();
    EXPECT_FALSE(asc.Check1->isEnabled());
    asc.Command1_Click();
    doc = seam.reports().back();
    EXPECT_EQ(seam.calls("Report").back().text, "ASC Codes Report");
    const auto& first = doc->rows().front();
    EXPECT_EQ(first[1].toString(), "10024");
    EXPECT_EQ(first[8].toDouble(), 1050);
    EXPECT_EQ(doc->pageLines(0)[2], "ASC  Codes Report");
    asc.Command2_Click();

    // DMEPOS: no copyright line; DRG: no layout and nothing printed.
    view(2);
    frmReportOther& dme = chooser();
    dme.Command1_Click();
    doc = seam.reports().back();
    EXPECT_FALSE(doc->plainText().contains(reports::kReportNotice));
    EXPECT_EQ(seam.calls("Report").back().text, "DMEPOS Report");
    dme.Command2_Click();
    const auto before = seam.reports().size();
    view(6);
    frmReportOther& drg = chooser();
    for (QGroupBox* f : {drg.Frame1, drg.Frame3, drg.Frame4, drg.Frame6})
        EXPECT_FALSE(f->isVisibleTo(&drg));
    drg.Command1_Click();
    EXPECT_EQ(seam.reports().size(), before);
}

TEST_F(FamilyReportTest, CrosswalkOfOneCode)
{
    db().Execute("INSERT INTO crosswalk ([HCPCS Code], [Short Descriptor], [Drug Name], [PKG QTY]) VALUES "
                 "('J0''1', 'Quoted', 'O''Drug', 4)");
    reports::showCrosswalkReport("90476");
    ASSERT_EQ(seam.reports().size(), 1u);
    auto doc = seam.reports().back();
    EXPECT_EQ(seam.calls("Report").back().text, "ActiveReport2");
    EXPECT_EQ(seam.calls("Report").back().flags, 1);
    EXPECT_EQ(doc->pageCount(), 1);
    EXPECT_EQ(doc->rows().size(), 3u);

    reports::showCrosswalkReport("J0'1");
    doc = seam.reports().back();
    ASSERT_EQ(doc->rows().size(), 1u);
    const QString text = pdftotext(seam.reportPdfs().back());
    EXPECT_TRUE(text.contains("Quantity"));
    EXPECT_TRUE(text.contains("O'Drug"));
    const QString line = doc->pageLines(0).last();
    EXPECT_TRUE(line.contains("O'Drug | 4")) << qPrintable(line);

    reports::showCrosswalkReport("NONE");
    EXPECT_EQ(seam.reports().back()->rows().size(), 0u);
    EXPECT_TRUE(seam.reports().back()->plainText().contains("National Drug Code (NDC) Crosswalk"));
}

}  // namespace
