#include "app/buildinfo.h"
#include "app/globals.h"
#include "platform/forms/FormRegistry.h"
#include "reports/ActiveReport.h"
#include "reports/frmAnal.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include "quietseam.h"

namespace {

// A program folder with a copy of the sample main database; its code table (~16,000 codes) stands for the
// session's, with S1 and Freq1 filled for every code.
struct AnalysisSample {
    QTemporaryDir dir;
    dao::Database db;

    AnalysisSample()
    {
        const QString path = dir.filePath("kelva.mdb");
        if (!QFile::copy(QStringLiteral(KELVA_SAMPLE_DB), path))
            return;
        db = dao::OpenDatabase(path, QStringLiteral(";PWD=") + databasePassword());
        db.Execute("UPDATE DATA0000 SET S1 = round(coalesce(NFTTOTAL, 0) * 1.1, 2), Freq1 = (rowid % 40) + 1");
    }
};

AnalysisSample& sample()
{
    static AnalysisSample s;
    return s;
}

const char* const kGridSql = "SELECT CPT, [MOD], S1 as SES, Freq1 AS FREQ, [S1]*[Freq1] AS STotal FROM \"DATA0000\" "
                             "order by CPT, [MOD]";
const char* const kTotalsSql = "SELECT Sum([S1]*[Freq1]) AS S1Total, Sum([S2]*[Freq2]) AS S2Total, Sum([S3]*[Freq3]) "
                               "AS S3Total, Sum([S4]*[Freq4]) AS S4Total, Sum([S5]*[Freq5]) AS S5Total FROM \"DATA0000\"";
const char* const kCurrentSql = "SELECT Sum([S1] * [Freq1]) AS CurTotal FROM \"DATA0000\"";

// "&Refresh" under "All Codes": the five schedule totals, the grid load and the current total.
void BM_AnalysisLoadAllCodes(benchmark::State& state)
{
    AnalysisSample& s = sample();
    if (!s.db.isOpen()) {
        state.SkipWithError("no sample database");
        return;
    }
    QuietSeam quiet;
    quiet.previous = platform::setSeam(&quiet);
    g().MainDb = s.db;
    g().DbConnect = QStringLiteral(";PWD=") + databasePassword();
    g().ProgramFolder = s.dir.path();
    g().CurSesTab = QStringLiteral("DATA0000");
    auto* w = static_cast<frmAnal*>(forms().getByName(QStringLiteral("frmAnal")));
    w->Option1(3)->setChecked(true);
    for (auto _ : state)
        w->Command1_Click();
    state.counters["rows"] = double(w->Data1.Recordset().RecordCount());
    forms().discardAll();
    platform::setSeam(quiet.previous);
}
BENCHMARK(BM_AnalysisLoadAllCodes)->Unit(benchmark::kMillisecond);

// The same grid query and the two total queries stepped to their ends through the SQLite C API.
void BM_AnalysisQueriesBareSql(benchmark::State& state)
{
    AnalysisSample& s = sample();
    if (!s.db.isOpen()) {
        state.SkipWithError("no sample database");
        return;
    }
    sqlite3_stmt* grid = nullptr;
    sqlite3_stmt* totals = nullptr;
    sqlite3_stmt* current = nullptr;
    sqlite3_prepare_v2(s.db.handle(), kGridSql, -1, &grid, nullptr);
    sqlite3_prepare_v2(s.db.handle(), kTotalsSql, -1, &totals, nullptr);
    sqlite3_prepare_v2(s.db.handle(), kCurrentSql, -1, &current, nullptr);
    qint64 rows = 0;
    for (auto _ : state) {
        for (sqlite3_stmt* st : {totals, grid, current}) {
            rows = 0;
            while (sqlite3_step(st) == SQLITE_ROW) {
                for (int c = 0; c < sqlite3_column_count(st); ++c)
                    benchmark::DoNotOptimize(sqlite3_column_double(st, c));
                ++rows;
            }
            sqlite3_reset(st);
        }
    }
    sqlite3_finalize(grid);
    sqlite3_finalize(totals);
    sqlite3_finalize(current);
}
BENCHMARK(BM_AnalysisQueriesBareSql)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// prtanalysis as "All Codes" makes it, once.
dao::Database& printSample()
{
    AnalysisSample& s = sample();
    static bool built = false;
    if (!built && s.db.isOpen()) {
        s.db.Execute("DROP TABLE IF EXISTS prtanalysis");
        s.db.Execute("CREATE TABLE prtanalysis AS SELECT Tag, CPT, [MOD], [DESC], S1 AS Sched, Freq1 AS Freq, "
                     "S1 * Freq1 AS Total FROM DATA0000");
        built = true;
    }
    return s.db;
}

// The print-out's document over the sample's ~16,000 rows, read and written as a PDF by the report layer.
void BM_ReportDocumentAnalysis(benchmark::State& state)
{
    dao::Database& db = printSample();
    if (!db.isOpen()) {
        state.SkipWithError("no sample database");
        return;
    }
    QTemporaryDir out;
    int pages = 0;
    for (auto _ : state) {
        platform::report::Report report(reports::analysisDesign());
        report.setRecordSource(db, "SELECT Tag, CPT, [MOD], [DESC], Sched, Freq, Total FROM prtanalysis");
        auto doc = report.Run();
        doc->writePdf(out.filePath("a.pdf"));
        pages = doc->pageCount();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_ReportDocumentAnalysis)->Unit(benchmark::kMillisecond);

// The same texts at the same places, drawn by QPainter straight into a PDF from rows stepped through SQLite.
void BM_ReportDocumentBarePainter(benchmark::State& state)
{
    dao::Database& db = printSample();
    if (!db.isOpen()) {
        state.SkipWithError("no sample database");
        return;
    }
    QTemporaryDir out;
    const platform::report::Design d = reports::analysisDesign();
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out.filePath("b.pdf"));
        printer.setResolution(1440);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setFullPage(true);
        QPainter p(&printer);
        QFont header(QStringLiteral("Times New Roman"));
        header.setPixelSize(195);
        header.setBold(true);
        QFont detail = header;
        detail.setBold(false);
        const int left = (12240 - d.printWidth) / 2;
        const auto pageHead = [&](int page) {
            p.setFont(header);
            for (const auto& c : d.pageHeader.controls)
                p.drawText(QRectF(left + c.left, 360 + c.top, c.width, c.height + 200),
                           c.kind == platform::report::Kind::PageNumber ? QString::number(page) : c.text);
            p.setFont(detail);
        };
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db.handle(), "SELECT CPT, [MOD], [DESC], Sched, Freq, Total FROM prtanalysis", -1, &st,
                           nullptr);
        int page = 1;
        int y = 360 + d.pageHeader.height + d.reportHeader.height;
        pageHead(page);
        double total = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            if (y + 210 > 15840 - 360 - d.pageFooter.height) {
                printer.newPage();
                pageHead(++page);
                y = 360 + d.pageHeader.height;
            }
            for (int c = 0; c < 6; ++c) {
                const auto& ctl = d.detail.controls[static_cast<std::size_t>(c)];
                QString text;
                if (sqlite3_column_type(st, c) == SQLITE_NULL)
                    continue;
                if (c < 3)
                    text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
                else
                    text = QLocale::c().toString(sqlite3_column_double(st, c), 'f', c == 4 ? 0 : 2);
                if (c == 5)
                    total += sqlite3_column_double(st, c);
                p.drawText(QRectF(left + ctl.left, y, ctl.width, 400), ctl.alignRight ? Qt::AlignRight : Qt::AlignLeft,
                           text);
            }
            y += 210;
        }
        sqlite3_finalize(st);
        p.drawText(QRectF(left + 10350, y + 180, 1170, 400), Qt::AlignRight, QLocale::c().toString(total, 'f', 2));
        p.end();
    }
}
BENCHMARK(BM_ReportDocumentBarePainter)->Unit(benchmark::kMillisecond);

}  // namespace
