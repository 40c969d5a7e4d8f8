#include "app/buildinfo.h"
#include "db/sessions.h"
#include "platform/dao/Database.h"
#include "platform/dao/Transaction.h"
#include "platform/dao/jetfunctions.h"
#include "schedules/ScheduleFamily.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

QString connectText()
{
    return QStringLiteral(";PWD=") + databasePassword();
}

// The sample's DME table and its ~16,000 codes as session table DATA0001 of a copy of the main database,
// with the DMEPOS run's three Copy statements of the AL fee into S1 over all codes; made once.
struct DmeposData {
    QTemporaryDir dir;
    QString path = dir.filePath("kelva.mdb");
    int codes = 0;
    int dmeRows = 0;
    schedules::FamilyRun run;
    DmeposData()
    {
        if (!QFile::copy(QStringLiteral(KELVA_SAMPLE_DB), path))
            return;
        dao::Database db = dao::OpenDatabase(path, connectText());
        db::NewSession s;
        s.name = QStringLiteral("Bench");
        s.number = 1;
        db::createSession(db, s);
        codes = int(db.scalar("SELECT count(*) FROM DATA0001").toLongLong());
        dmeRows = int(db.scalar("SELECT count(*) FROM DME").toLongLong());
        schedules::FamilyRunInput in;
        in.source = 2;
        in.destination = 0;
        in.state = QStringLiteral("AL");
        in.tableName = QStringLiteral("DATA0001");
        in.table = QStringLiteral("\"DATA0001\"");
        in.db = &db;
        run = schedules::kScheduleFamilies[schedules::Dmepos].run(in);
    }
};

DmeposData& dmeposData()
{
    static DmeposData data;
    return data;
}

// Each iteration from the same table: the run's transaction is rolled back outside the timing.
void BM_DmeposCopyRun(benchmark::State& state)
{
    DmeposData& data = dmeposData();
    if (data.codes == 0) {
        state.SkipWithError("no sample database");
        return;
    }
    dao::Database db = dao::OpenDatabase(data.path, connectText());
    for (auto _ : state) {
        db.BeginTrans();
        for (const schedules::FamilyStatement& s : data.run.statements)
            db.Execute(s.sql, s.params);
        state.PauseTiming();
        db.Rollback();
        state.ResumeTiming();
    }
    state.counters["codes"] = data.codes;
    state.counters["dme"] = data.dmeRows;
}

// The same three statements in one transaction on SQLite's own interface, with the layer's functions.
void BM_DmeposCopyBareSql(benchmark::State& state)
{
    DmeposData& data = dmeposData();
    if (data.codes == 0) {
        state.SkipWithError("no sample database");
        return;
    }
    sqlite3* db = nullptr;
    sqlite3_open(data.path.toUtf8().constData(), &db);
    jet::registerJetFunctions(db);
    QByteArray sql = "BEGIN;";
    for (const schedules::FamilyStatement& s : data.run.statements)
        sql += s.sql.toUtf8() + ';';
    for (auto _ : state) {
        char* err = nullptr;
        if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            state.SkipWithError(err);
            sqlite3_free(err);
            break;
        }
        state.PauseTiming();
        sqlite3_exec(db, "ROLLBACK;", nullptr, nullptr, nullptr);
        state.ResumeTiming();
    }
    sqlite3_close(db);
    state.counters["codes"] = data.codes;
}

}  // namespace

BENCHMARK(BM_DmeposCopyRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DmeposCopyBareSql)->Unit(benchmark::kMillisecond);
