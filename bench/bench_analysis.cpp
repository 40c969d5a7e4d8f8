#include "app/buildinfo.h"
#include "app/globals.h"
#include "platform/forms/FormRegistry.h"
#include "reports/frmAnal.h"

#include <QFile>
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
