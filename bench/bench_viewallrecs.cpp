#include "app/buildinfo.h"
#include "app/globals.h"
#include "db/feequery.h"
#include "main/frmMain.h"
#include "platform/dao/Database.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>

namespace {

// A copy of the sample main database with the fee factors of one of its localities in the session values;
// the sample's own code table (~16,000 codes) stands for the session table.
struct SampleFees {
    QTemporaryDir dir;
    dao::Database db;
    db::FeeFactors factors;
    qint64 codes = 0;

    SampleFees()
    {
        const QString path = dir.filePath("kelva.mdb");
        if (!QFile::copy(QStringLiteral(KELVA_SAMPLE_DB), path))
            return;
        db = dao::OpenDatabase(path, QStringLiteral(";PWD=") + databasePassword());
        dao::Recordset loc = db.OpenRecordset("SELECT WORK, PRACT, MALP FROM LOCATION ORDER BY CARRIER, LOCCODE");
        factors.workGpci = loc["WORK"].Value().toDouble();
        factors.pracGpci = loc["PRACT"].Value().toDouble();
        factors.malpGpci = loc["MALP"].Value().toDouble();
        loc.Close();
        factors.convFactor = (0.05 + 1) * db.scalar("SELECT CURCONVF FROM PARMS_CL").toDouble();
        codes = db.scalar("SELECT COUNT(*) FROM DATA0000").toLongLong();
    }
};

SampleFees& sample()
{
    static SampleFees s;
    return s;
}

void BM_ViewAllRecs(benchmark::State& state)
{
    SampleFees& s = sample();
    if (!s.db.isOpen()) {
        state.SkipWithError("no sample database");
        return;
    }
    Globals& v = g();
    v.CurSesTab = QStringLiteral("DATA0000");
    v.WorkAdjuster = 1.0;
    v.WorkGpci = s.factors.workGpci;
    v.PracGpci = s.factors.pracGpci;
    v.MalpGpci = s.factors.malpGpci;
    v.ConvFactor = s.factors.convFactor;

    auto main = std::make_unique<frmMain>();
    main->Data1.setDatabase(s.db);
    main->Data2.setDatabase(s.db);
    main->Data2.Refresh();
    main->dbg->resize(1200, 600);
    main->Text1(0)->setText(QStringLiteral("99213"));
    qint64 cells = 0;
    for (auto _ : state) {
        main->ViewAllRecs();
        // The first screen of the grid: every column of the rows it shows, as the grid paints them.
        QAbstractItemModel* model = main->dbg->model();
        const int shown = std::min(model->rowCount(), 40);
        for (int r = 0; r < shown; ++r)
            for (int c = 0; c < model->columnCount(); ++c) {
                benchmark::DoNotOptimize(model->data(model->index(r, c), Qt::DisplayRole));
                ++cells;
            }
    }
    state.counters["rows"] = double(main->Data1.Recordset().RecordCount());
    state.counters["cells_painted"] = benchmark::Counter(double(cells), benchmark::Counter::kAvgIterations);
    main.reset();
    g() = Globals{};
}
BENCHMARK(BM_ViewAllRecs)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The same 61-column query run twice through SQLite alone, every value of every row read once per run.
void BM_ViewAllRecsBareSql(benchmark::State& state)
{
    SampleFees& s = sample();
    if (!s.db.isOpen()) {
        state.SkipWithError("no sample database");
        return;
    }
    const QByteArray sql = db::sessionFeeQuery(s.factors, QStringLiteral("DATA0000"), db::FeeList::All).sql.toUtf8();
    sqlite3* h = s.db.handle();
    qint64 rows = 0;
    for (auto _ : state) {
        for (int run = 0; run < 2; ++run) {
            sqlite3_stmt* st = nullptr;
            if (sqlite3_prepare_v2(h, sql.constData(), int(sql.size()), &st, nullptr) != SQLITE_OK) {
                state.SkipWithError(sqlite3_errmsg(h));
                sqlite3_finalize(st);
                return;
            }
            const int n = sqlite3_column_count(st);
            rows = 0;
            while (sqlite3_step(st) == SQLITE_ROW) {
                for (int c = 0; c < n; ++c) {
                    switch (sqlite3_column_type(st, c)) {
                    case SQLITE_INTEGER:
                        benchmark::DoNotOptimize(sqlite3_column_int64(st, c));
                        break;
                    case SQLITE_FLOAT:
                        benchmark::DoNotOptimize(sqlite3_column_double(st, c));
                        break;
                    case SQLITE_TEXT:
                        benchmark::DoNotOptimize(sqlite3_column_text(st, c));
                        benchmark::DoNotOptimize(sqlite3_column_bytes(st, c));
                        break;
                    default:
                        break;
                    }
                }
                ++rows;
            }
            sqlite3_finalize(st);
        }
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_ViewAllRecsBareSql)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace
