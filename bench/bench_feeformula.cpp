#include "db/feeformulas.h"
#include "platform/dao/Database.h"

#include "widetable.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

// 16,000 generated physician codes with realistic RVUs; the same file for every run of a process.
struct FeeData {
    QTemporaryDir dir;
    QString path;
    FeeData()
    {
        path = dir.filePath("fees.mdb");
        dao::Database db = dao::CreateDatabase(path);
        db.Execute("CREATE TABLE DATA0000 (CODEMOD TEXT(7) COLLATE NOCASE, WORKZ REAL, NF98WORK REAL, F98WORK REAL, "
                   "MRVU REAL, calcflag INTEGER)");
        db.Execute("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < 16000) "
                   "INSERT INTO DATA0000 SELECT printf('%05d', 10000 + i), (i % 977) / 97.0, (i % 883) / 61.0, "
                   "(i % 701) / 83.0, (i % 97) / 331.0, CASE WHEN i % 13 = 0 THEN 0 ELSE 1 END FROM n");
    }
};

FeeData& feeData()
{
    static FeeData data;
    return data;
}

QString jetQuery()
{
    const db::FeeFactors f{1.0, 1.003, 0.967, 1.2, 37.3374};
    return "SELECT CODEMOD, " + db::feeSelectItems(f, db::PeColumn::NonFacility) + ", "
           + db::feeSelectItems(f, db::PeColumn::Facility) + " FROM DATA0000 ORDER BY CODEMOD";
}

// The same text on SQLite's own functions: round(x, 2) stays, clng(x) becomes CAST(round(x) AS INTEGER).
QString builtinQuery()
{
    QString q = jetQuery();
    for (int at = q.indexOf("clng("); at >= 0; at = q.indexOf("clng(")) {
        int depth = 0, end = at + 4;
        for (; end < q.size(); ++end) {
            if (q[end] == '(')
                ++depth;
            else if (q[end] == ')' && --depth == 0)
                break;
        }
        const QString inner = q.mid(at + 5, end - at - 5);
        q.replace(at, end - at + 1, "CAST(round(" + inner + ") AS INTEGER)");
    }
    return q;
}

double stepAll(sqlite3* db, const QString& sql)
{
    sqlite3_stmt* s = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), -1, &s, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    double sum = 0;
    while (sqlite3_step(s) == SQLITE_ROW)
        for (int c = 1; c <= 6; ++c)
            sum += sqlite3_column_double(s, c);
    sqlite3_finalize(s);
    return sum;
}

void BM_FeeFormulaJet(benchmark::State& state)
{
    dao::Database db = dao::OpenDatabase(feeData().path);
    const QString sql = jetQuery();
    for (auto _ : state)
        benchmark::DoNotOptimize(stepAll(db.handle(), sql));
}
BENCHMARK(BM_FeeFormulaJet)->Unit(benchmark::kMillisecond);

void BM_FeeFormulaBuiltin(benchmark::State& state)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(feeData().path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const QString sql = builtinQuery();
    for (auto _ : state)
        benchmark::DoNotOptimize(stepAll(db, sql));
    sqlite3_close(db);
}
BENCHMARK(BM_FeeFormulaBuiltin)->Unit(benchmark::kMillisecond);

// The main fee query's shape, 61 columns over 16,000 rows: read in full by a recordset, and stepped raw.
struct WideData {
    QTemporaryDir dir;
    QString path;
    QString query = "SELECT * FROM WIDE ORDER BY CODEMOD";
    WideData() { path = makeWideTable(dir.filePath("wide.mdb")); }
};

WideData& wideData()
{
    static WideData data;
    return data;
}

void BM_RecordsetOpenWide(benchmark::State& state)
{
    dao::Database db = dao::OpenDatabase(wideData().path);
    for (auto _ : state) {
        for (int run = 0; run < 2; ++run) {
            dao::Recordset rs = db.OpenRecordset(wideData().query);
            rs.MoveLast();
            rs.MoveFirst();
            benchmark::DoNotOptimize(rs.RecordCount());
        }
    }
}
BENCHMARK(BM_RecordsetOpenWide)->Unit(benchmark::kMillisecond);

void BM_RawStepWide(benchmark::State& state)
{
    dao::Database db = dao::OpenDatabase(wideData().path);
    const QByteArray sql = wideData().query.toUtf8();
    for (auto _ : state) {
        for (int run = 0; run < 2; ++run) {
            sqlite3_stmt* s = nullptr;
            sqlite3_prepare_v2(db.handle(), sql.constData(), -1, &s, nullptr);
            qint64 bytes = 0;
            while (sqlite3_step(s) == SQLITE_ROW)
                for (int c = 0; c < 61; ++c)
                    bytes += sqlite3_column_type(s, c) == SQLITE_TEXT ? sqlite3_column_bytes(s, c)
                                                                      : qint64(sqlite3_column_double(s, c));
            sqlite3_finalize(s);
            benchmark::DoNotOptimize(bytes);
        }
    }
}
BENCHMARK(BM_RawStepWide)->Unit(benchmark::kMillisecond);

}  // namespace
