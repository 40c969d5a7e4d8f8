#include "platform/dao/Database.h"
#include "platform/report/ReportDocument.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

using namespace platform::report;

Control label(const QString& name, const QString& text, int left, int top = 0)
{
    Control c;
    c.name = name;
    c.text = text;
    c.left = left;
    c.top = top;
    c.width = 1800;
    c.height = 240;
    c.font.points = 10;
    return c;
}

Control field(const QString& name, Kind kind, const QString& column, const QString& format, int left)
{
    Control c = label(name, QString(), left);
    c.kind = kind;
    c.column = column;
    c.format = format;
    c.alignRight = true;
    return c;
}

class ReportDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = dao::CreateDatabase(dir.filePath("r.db"));
        db.Execute("CREATE TABLE t (code TEXT, amount REAL)");
    }
    void rows(int n, bool withNull = false)
    {
        for (int i = 1; i <= n; ++i)
            db.Execute("INSERT INTO t VALUES (?, ?)", {QStringLiteral("C%1").arg(i, 4, 10, QChar('0')), i * 1000.5});
        if (withNull)
            db.Execute("INSERT INTO t VALUES ('NUL', NULL)");
    }
    Design design()
    {
        Design d;
        d.printWidth = 10000;
        d.pageHeader.height = 600;
        d.pageHeader.controls = {label("Title", "Design title", 0), field("Page", Kind::PageNumber, "", "#,##0", 6000)};
        d.detail.height = 240;
        d.detail.controls = {field("Code", Kind::Field, "code", "", 0), field("Amount", Kind::Field, "amount",
                                                                              "#,##0.00", 2000)};
        d.reportFooter.height = 400;
        d.reportFooter.controls = {label("Caption", "Grand Total", 0),
                                   field("Sum", Kind::GrandTotal, "amount", "#,##0.00", 2000)};
        d.pageFooter.height = 300;
        return d;
    }
    static QString pdftotext(const QString& pdf)
    {
        QProcess p;
        p.start("pdftotext", {"-layout", pdf, "-"});
        EXPECT_TRUE(p.waitForFinished(30000));
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    QTemporaryDir dir;
    dao::Database db;
};

TEST_F(ReportDocumentTest, DetailLinesFormatsPagesAndTheGrandTotal)
{
    rows(3, true);
    Report r(design());
    r.setRecordSource(db, "SELECT code, amount FROM t ORDER BY code");
    auto doc = r.Run();
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->pageCount(), 1);
    EXPECT_EQ(doc->pageLines(0), QStringList({"Design title | 1", "C0001 | 1,000.50", "C0002 | 2,001.00",
                                              "C0003 | 3,001.50", "NUL", "Grand Total | 6,003.00"}));

    // Enough rows for several pages: every page has its header and its own number.
    db.Execute("DELETE FROM t");
    rows(120);
    doc = r.Run();
    ASSERT_GE(doc->pageCount(), 2);
    int details = 0;
    for (int p = 0; p < doc->pageCount(); ++p) {
        const QStringList lines = doc->pageLines(p);
        EXPECT_EQ(lines.first(), QStringLiteral("Design title | %1").arg(p + 1));
        for (const QString& l : lines)
            details += l.startsWith("C0") ? 1 : 0;
        for (const Item& i : doc->page(p))
            EXPECT_LE(i.rect.bottom(), Document::kPageHeight - Document::kBottomMargin) << qPrintable(i.text);
    }
    EXPECT_EQ(details, 120);
    EXPECT_EQ(doc->pageLines(doc->pageCount() - 1).last(), "Grand Total | 7,263,630.00");
}

TEST_F(ReportDocumentTest, TheStartStepSetsTextsOrCancelsAndTheRowsAreReadOnce)
{
    rows(2);
    Report r(design());
    r.ReportStart = [&](Report& rep) {
        rep.setText("Title", "Set at the start");
        rep.setRecordSource(db, "SELECT code, amount FROM t WHERE amount > ?", {5000.0});
        if (rep.Recordset().EOF())
            rep.Cancel();
    };
    EXPECT_EQ(r.Run(), nullptr);
    EXPECT_TRUE(r.cancelled());

    r.ReportStart = [&](Report& rep) {
        rep.setText("Title", "Set at the start");
        rep.setRecordSource(db, "SELECT code, amount FROM t");
    };
    auto doc = r.Run();
    ASSERT_TRUE(doc);
    db.Execute("DROP TABLE t");  // the document keeps what it read
    EXPECT_EQ(doc->pageLines(0).first(), "Set at the start | 1");
    EXPECT_EQ(doc->rows().size(), 2u);

    // No rows: the header, and a total of zero.
    Report empty(design());
    db.Execute("CREATE TABLE t (code TEXT, amount REAL)");
    empty.setRecordSource(db, "SELECT code, amount FROM t");
    doc = empty.Run();
    EXPECT_EQ(doc->pageLines(0), QStringList({"Design title | 1", "Grand Total | 0.00"}));

    Report broken(design());
    broken.setRecordSource(db, "SELECT nosuch FROM t");
    EXPECT_THROW(broken.Run(), dao::Error);
}

TEST_F(ReportDocumentTest, PdfHoldsTheTextsOnUsLetterPages)
{
    rows(120);
    Report r(design());
    r.setRecordSource(db, "SELECT code, amount FROM t ORDER BY code");
    auto doc = r.Run();
    const QString pdf = dir.filePath("out.pdf");
    ASSERT_TRUE(doc->writePdf(pdf));
    const QString text = pdftotext(pdf);
    EXPECT_EQ(text.count("Design title"), doc->pageCount());
    EXPECT_TRUE(text.contains("C0120")) << qPrintable(text.left(400));
    EXPECT_TRUE(text.contains("120,060.00"));
    EXPECT_EQ(text.count('\f'), doc->pageCount());

    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains("612 x 792 pts (letter)"));
}

}  // namespace
