#include "app/buildinfo.h"
#include "db/sessions.h"
#include "platform/dao/Database.h"
#include "platform/dao/Recordset.h"
#include "platform/dao/Transaction.h"
#include "userdata/prioryear.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

// The sample's main database with a session of its own (DATA0001), and a prior year's copy of it whose
// session (DATA0002) holds schedules and frequencies on 16,000 codes.
struct PriorData {
    QTemporaryDir dir;
    qint64 rows = 0;
    QString main() const { return dir.filePath("kelva.mdb"); }
    QString prior() const { return dir.filePath("prior/kelva.mdb"); }
    QString connect() const { return QStringLiteral(";PWD=") + databasePassword(); }

    PriorData()
    {
        const QString sample = QStringLiteral(KELVA_SAMPLE_DB);
        QDir(dir.path()).mkdir(QStringLiteral("prior"));
        if (!QFile::copy(sample, main()) || !QFile::copy(sample, prior()))
            return;
        for (const QString& file : {main(), prior()}) {
            dao::Database db = dao::OpenDatabase(file, connect());
            db::NewSession s;
            s.name = QStringLiteral("Fees");
            s.number = file == main() ? 1 : 2;
            db::createSession(db, s);
        }
        dao::Database p = dao::OpenDatabase(prior(), connect());
        p.Execute(QStringLiteral("UPDATE DATA0002 SET S1 = rowid % 50 + 1, S2 = rowid % 7, Freq1 = 2, Freq3 = -1 "
                                 "WHERE rowid <= 16000"));
        rows = p.scalar(QStringLiteral("SELECT count(*) FROM DATA0002 WHERE S1 > 0")).toLongLong();
    }
};

PriorData& priorData()
{
    static PriorData data;
    return data;
}

void BM_PriorYearCopy(benchmark::State& state)
{
    PriorData& data = priorData();
    if (data.rows == 0) {
        state.SkipWithError("no sample database");
        return;
    }
    dao::Database main = dao::OpenDatabase(data.main(), data.connect());
    for (auto _ : state) {
        dao::Database prior = dao::OpenDatabase(data.prior(), data.connect());
        dao::Recordset rows = prioryear::priorRows(prior, QStringLiteral("DATA0002"));
        rows.MoveLast();
        benchmark::DoNotOptimize(rows.RecordCount());
        rows.MoveFirst();
        qint64 done = 0;
        prioryear::copyRows(main, QStringLiteral("DATA0001"), rows, [&done] { ++done; });
        benchmark::DoNotOptimize(done);
    }
    state.counters["rows"] = double(data.rows);
}
BENCHMARK(BM_PriorYearCopy)->Unit(benchmark::kMillisecond);

// The same updates by one prepared UPDATE on SQLite's own interface, in one transaction.
void BM_PriorYearBareUpdate(benchmark::State& state)
{
    PriorData& data = priorData();
    if (data.rows == 0) {
        state.SkipWithError("no sample database");
        return;
    }
    for (auto _ : state) {
        sqlite3* prior = nullptr;
        sqlite3* main = nullptr;
        sqlite3_open(data.prior().toUtf8().constData(), &prior);
        sqlite3_open(data.main().toUtf8().constData(), &main);
        sqlite3_stmt* read = nullptr;
        sqlite3_prepare_v2(prior,
                           "SELECT CODEMOD, CPT, S1, S2, S3, S4, S5, Freq1, Freq2, Freq3, Freq4, Freq5 FROM DATA0002 "
                           "WHERE S1 > 0 OR S2 > 0 OR S3 > 0 OR S4 > 0 OR S5 > 0 OR Freq1 > 0 OR Freq2 > 0 OR "
                           "Freq3 > 0 OR Freq4 > 0 OR Freq5 > 0 ORDER BY CODEMOD",
                           -1, &read, nullptr);
        sqlite3_stmt* write = nullptr;
        sqlite3_prepare_v2(main,
                           "UPDATE DATA0001 SET S1 = coalesce(?, S1), S2 = coalesce(?, S2), S3 = coalesce(?, S3), "
                           "S4 = coalesce(?, S4), S5 = coalesce(?, S5), Freq1 = coalesce(?, Freq1), "
                           "Freq2 = coalesce(?, Freq2), Freq3 = coalesce(?, Freq3), Freq4 = coalesce(?, Freq4), "
                           "Freq5 = coalesce(?, Freq5) WHERE CODEMOD = trim(?)",
                           -1, &write, nullptr);
        sqlite3_exec(main, "BEGIN", nullptr, nullptr, nullptr);
        while (sqlite3_step(read) == SQLITE_ROW) {
            for (int i = 0; i < 10; ++i)
                sqlite3_bind_value(write, i + 1, sqlite3_column_value(read, i + 2));
            sqlite3_bind_value(write, 11, sqlite3_column_value(read, 0));
            sqlite3_step(write);
            sqlite3_reset(write);
        }
        sqlite3_exec(main, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_finalize(write);
        sqlite3_finalize(read);
        sqlite3_close(main);
        sqlite3_close(prior);
    }
    state.counters["rows"] = double(data.rows);
}
BENCHMARK(BM_PriorYearBareUpdate)->Unit(benchmark::kMillisecond);

}  // namespace
