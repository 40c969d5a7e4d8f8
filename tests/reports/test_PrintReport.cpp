#include "reports/ReportsFixture.h"

#include "platform/controls/BusyCursor.h"
#include "platform/forms/controls.h"
#include "platform/seam/Printer.h"
#include "reports/reportitems.h"
#include "reports/textreport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

using platform::setText;

const QString kTitle = QStringLiteral("Morvex Reports");

class PrintReportTest : public ReportsFixture {
protected:
    void SetUp() override
    {
        ReportsFixture::SetUp();
        table = g().CurSesTab;
        // The page breaks depend on the font's line height: "Courier" is whatever the machine maps it to, so
        // the layouts are checked with a font the project installs.
        setParms("DEFPRT = 'DejaVu Sans Mono'");
    }
    // Keeps only the first n codes of the session.
    void keepRows(int n)
    {
        db().Execute(QStringLiteral("DELETE FROM %1 WHERE CODEMOD NOT IN (SELECT CODEMOD FROM %1 ORDER BY CODEMOD "
                                    "LIMIT %2)")
                         .arg(table)
                         .arg(n));
    }
    // Keeps the one code 99213 with the given assignments.
    void oneRow(const QString& assignments = QString())
    {
        db().Execute(QStringLiteral("DELETE FROM %1 WHERE CODEMOD <> '99213'").arg(table));
        if (!assignments.isEmpty())
            db().Execute(QStringLiteral("UPDATE %1 SET %2").arg(table, assignments));
    }
    // The builder with these items chosen, in this order.
    frmReportz& builder(const std::vector<int>& items)
    {
        frmReportz& w = openCustom();
        w.clearChosen();
        for (int item : items) {
            platform::addItem(w.lst(1), reports::reportItemText(item));
            platform::addItem(w.lst(3), QString::number(item));
        }
        return w;
    }
    // Prints, answering the prompt with OK and the printer dialog; returns the pages printed by this run.
    std::vector<QStringList> print(frmReportz& w, int pages)
    {
        const std::size_t before = seam.printer().printedPages().size();
        seam.expectMsgBox(QStringLiteral("%1 pages will be printed. Continue with printing?").arg(pages), vbOKCancel,
                          vbOK, kTitle);
        seam.answerPrinterDialog(true);
        seam.expectMsgBox(QStringLiteral("%1 pages were printed.").arg(pages), vbOKOnly, vbOK, kTitle);
        w.btn(1)->click();
        const auto& all = seam.printer().printedPages();
        return std::vector<QStringList>(all.begin() + before, all.end());
    }
    // The first row line of a page (after 2 + title + notice + empty + 3 headings + empty).
    static constexpr int kFirstRow = 9;

    QString table;
};

TEST_F(PrintReportTest, ColumnsStartWhereTheWidthsPutThem)
{
    oneRow("DESC = 'A description of more than forty-one characters that is cut', NFTTOTAL = 2.5");
    setParms("PCOLS = 90");
    frmReportz& w = builder({0, 1, 8, 2});
    const auto pages = print(w, 1);
    ASSERT_EQ(pages.size(), 1u);
    const QStringList& p = pages[0];
    EXPECT_EQ(p[2], reports::kReportTitle);
    EXPECT_EQ(p[3], reports::kReportNotice);
    EXPECT_EQ(p[5], QString("     ").leftJustified(10) + QString(20, ' ').leftJustified(44) +
                        QString(" Total Non ").leftJustified(16) + " Non Facility");
    EXPECT_EQ(p[7].mid(10, 11), "Description");
    EXPECT_EQ(p[7].mid(54, 11), "KELVA Units");
    const QString row = p[kFirstRow];
    EXPECT_EQ(row.left(6), "99213 ");
    EXPECT_EQ(row.mid(10, 41), QString("A description of more than forty-one characters that is cut").left(41));
    EXPECT_EQ(row.mid(54, 13), "         2.50");
    EXPECT_EQ(row.size(), 81);
    EXPECT_TRUE(row.at(80).isDigit());
    EXPECT_EQ(p.size(), 62);
    EXPECT_EQ(p.last(), QString(42, ' ') + "Page 1");
}

TEST_F(PrintReportTest, WidthCheckAndDescriptionWidth)
{
    EXPECT_EQ(reports::widthSum({0, 1, 8, 2}), 49);
    EXPECT_EQ(reports::descriptionWidth(90, 49), 41);
    EXPECT_EQ(reports::widthSum({0, 2, 1}), 24);
    EXPECT_EQ(reports::descriptionWidth(90, 24), 66);
    EXPECT_EQ(reports::pageNumberIndent(90), 42);
    EXPECT_EQ(reports::pageNumberIndent(91), 42);

    oneRow("DESC = '" + QString(80, 'x') + "'");
    setParms("PCOLS = 90");
    // The description last starts at 25 and is cut at 66.
    auto pages = print(builder({0, 2, 1}), 1);
    EXPECT_EQ(pages[0][kFirstRow].mid(24), QString(66, 'x'));
    // Only the code.
    pages = print(builder({0}), 1);
    EXPECT_EQ(pages[0][kFirstRow], "99213 ");
    EXPECT_EQ(pages[0][7], " Code");

    // S equal to PCOLS is accepted with d = 20; one character more is refused and stores nothing.
    const std::vector<int> items = {0, 1, 8, 8, 4, 2};
    ASSERT_EQ(reports::widthSum(items), 84);
    setParms("PCOLS = 84");
    pages = print(builder(items), 1);
    EXPECT_EQ(pages[0][kFirstRow].mid(10, 23), QString(20, 'x') + "   ");
    EXPECT_EQ(pages[0][kFirstRow].mid(33, 13), "         2.03");
    setParms("PCOLS = 83, Last_Print = 'old'");
    seam.expectMsgBox("There are too many items to print on this report.  Please remove an item from the right "
                      "side list box.",
                      vbOKOnly);
    builder(items).btn(1)->click();
    EXPECT_EQ(parms("Last_Print").toString(), "old");
}

TEST_F(PrintReportTest, PagesHaveTheirHeadFootAndNumberLine)
{
    keepRows(120);
    setParms("PLENGTH = 52, PCOLS = 90");
    frmReportz& w = builder({0, 2});
    for (int run = 0; run < 2; ++run) {
        const auto pages = print(w, 3);
        ASSERT_EQ(pages.size(), 3u);
        for (const QStringList& p : pages) {
            EXPECT_EQ(p.size(), 62);
            EXPECT_TRUE(p[61].startsWith(QString(42, ' ') + "Page "));
        }
        EXPECT_EQ(pages[2][61].trimmed(), "Page 3");
        for (int i = 0; i < 20; ++i)
            EXPECT_FALSE(pages[2][kFirstRow + i].trimmed().isEmpty()) << i;
        for (int i = 20; i < 52; ++i)
            EXPECT_TRUE(pages[2][kFirstRow + i].isEmpty()) << i;
        EXPECT_TRUE(w.btn(1)->isEnabled());
    }
    keepRows(100);
    EXPECT_EQ(print(w, 2).size(), 2u);
    EXPECT_EQ(platform::busyCount(), 0);
}

TEST_F(PrintReportTest, ValuesInTheirStyles)
{
    oneRow("[MOD] = '26', CODEMOD = '99213 26', GLOBAL = '090', S1 = 12.5, S2 = NULL, S3 = 107400, Freq1 = 12, "
           "Freq2 = 12, USRDF = 'abc'");
    setParms("PCOLS = 200");
    auto pages = print(builder({0, 11, 12, 13, 14, 17, 22, 18}), 1);
    const QString row = pages[0][kFirstRow];
    EXPECT_EQ(row.left(10), "99213 26  ");
    EXPECT_EQ(row.mid(10, 8), "   90.00");
    EXPECT_EQ(row.mid(21, 8), "   12.50");
    EXPECT_EQ(row.mid(32, 8), "        ");
    EXPECT_EQ(row.mid(43, 9), "107400.00");  // wider than its 8: whole, without blanks
    EXPECT_EQ(row.mid(54, 9), "       12");
    EXPECT_EQ(row.mid(66, 9), "abc      ");
    EXPECT_EQ(row.mid(78), "      12");
    EXPECT_EQ(pages[0][6].mid(66, 10), "User Field");
    EXPECT_EQ(pages[0][7].mid(66, 9), "     6   ");

    db().Execute(QStringLiteral("UPDATE %1 SET GLOBAL = 'XXX'").arg(table));
    pages = print(builder({0, 11}), 1);
    EXPECT_EQ(pages[0][kFirstRow].mid(10), "     XXX");
}

TEST_F(PrintReportTest, LastPrintIsStoredBeforeThePrompt)
{
    oneRow("Tag = '+'");
    frmReportz& w = builder({0, 1, 2});
    seam.expectMsgBox("1 pages will be printed. Continue with printing?", vbOKCancel, vbCancel, kTitle);
    const std::size_t before = seam.printer().printedPages().size();
    w.btn(1)->click();
    EXPECT_EQ(parms("Last_Print").toString(), "00000,ZZZZZZ,0,Code,Description,Non Facility Participating Fee");
    EXPECT_EQ(seam.printer().printedPages().size(), before);
    EXPECT_TRUE(w.btn(1)->isEnabled());

    platform::setCheckValue(w.chk, 1);
    seam.printer().setOrientation(2);
    seam.expectMsgBox("1 pages will be printed. Continue with printing?", vbOKCancel, vbCancel, kTitle);
    w.btn(1)->click();
    EXPECT_EQ(parms("Last_Print").toString(), "Tag,Tag,1,Code,Description,Non Facility Participating Fee");

    // A bound holding an apostrophe is a value, not SQL.
    platform::setCheckValue(w.chk, 0);
    seam.printer().setOrientation(1);
    setText(w.txt(0), "9921'");
    seam.expectMsgBox("1 pages will be printed. Continue with printing?", vbOKCancel, vbCancel, kTitle);
    w.btn(1)->click();
    EXPECT_EQ(parms("Last_Print").toString(), "9921',ZZZZZZ,0,Code,Description,Non Facility Participating Fee");
}

TEST_F(PrintReportTest, EndsOfARun)
{
    keepRows(120);
    frmReportz& w = builder({0, 2});
    // No rows.
    setText(w.txt(0), "ZZZZZ");
    seam.expectMsgBox("No records found with your selections", vbOKOnly);
    w.btn(1)->click();
    EXPECT_TRUE(w.btn(1)->isEnabled());
    setText(w.txt(0), "00000");

    // The printer fails when page 3 starts.
    seam.printer().failAtPage(3);
    seam.expectMsgBox("3 pages will be printed. Continue with printing?", vbOKCancel, vbOK, kTitle);
    seam.answerPrinterDialog(true);
    seam.expectMsgBox("2 pages were printed.", vbOKOnly, vbOK, kTitle);
    w.btn(1)->click();
    seam.printer().failAtPage(0);
    EXPECT_TRUE(w.btn(1)->isEnabled());
    EXPECT_EQ(platform::busyCount(), 0);

    // A failing query: its description, through the command's trap.
    g().CurSesTab = "NO_SUCH_TABLE";
    seam.answerMsgBox(vbOK);
    w.btn(1)->click();
    EXPECT_TRUE(seam.messages().last().contains("NO_SUCH_TABLE", Qt::CaseInsensitive));
    EXPECT_TRUE(w.btn(1)->isEnabled());
    EXPECT_EQ(platform::busyCount(), 0);
}

TEST_F(PrintReportTest, OppsPrintsTheViewsAmountsForTheLocality)
{
    // The view follows the session's locality: the report prints the rows of the one it stores.
    platform::setComboText(main->cmboCurrentView, "KELVA OPPS");
    settle();
    const auto expected = db().scalar("SELECT NFTTOTAL FROM DATAOPPSVIEW AS v, PARMS_CL AS p WHERE v.carrier = p.CARRIER "
                                      "AND v.locality = p.Loc AND v.CPT = '12387'");
    ASSERT_FALSE(expected.isNull());
    frmReportz& w = builder({0, 2});
    setText(w.txt(0), "12387");
    setText(w.txt(1), "12387");
    const auto pages = print(w, 1);
    EXPECT_EQ(pages[0][kFirstRow].mid(10).trimmed(), QString::number(expected.toDouble(), 'f', 2));
}

}  // namespace

namespace {

QString pdfText(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST_F(PrintReportTest, LayoutOneReadsBackFromThePdf)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    frmReportz& w = builder({0, 1, 8, 2});
    setText(w.txt(0), "99211");
    setText(w.txt(1), "99215");
    const auto pages = print(w, 1);
    ASSERT_EQ(pages.size(), 1u);
    const QString text = pdfText(seam.printer().outputFile());
    EXPECT_TRUE(text.contains(reports::kReportTitle));
    for (int line = 5; line <= 7; ++line)
        EXPECT_TRUE(text.contains(pages[0][line].trimmed().section("  ", 0, 0))) << line;
    QString row;
    for (const QString& l : pages[0])
        if (l.startsWith("99213 "))
            row = l;
    ASSERT_FALSE(row.isEmpty());
    const QStringList fields = row.split(QRegularExpression("\\s{2,}"), Qt::SkipEmptyParts);
    QString pdfRow;
    for (const QString& l : text.split('\n'))
        if (l.trimmed().startsWith("99213"))
            pdfRow = l;
    ASSERT_FALSE(pdfRow.isEmpty());
    EXPECT_EQ(pdfRow.split(QRegularExpression("\\s{2,}"), Qt::SkipEmptyParts), fields);
}

}  // namespace
