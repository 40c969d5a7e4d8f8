#include "app/buildinfo.h"
#include "db/sessions.h"
#include "platform/dao/Database.h"
#include "platform/dao/jetfunctions.h"
#include "schedules/ScheduleFamily.h"
#include "schedules/schedulesql.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

QString connectText()
{
    return QStringLiteral(";PWD=") + databasePassword();
}

// A copy of the sample main database whose ~16,000 codes are session table DATA0001, with the statements
// of the two fee managers measured here; made once.
struct FeeManagerData {
    QTemporaryDir dir;
    QString path = dir.filePath("kelva.mdb");
    int codes = 0;
    QString copyLimiting;             // physician Copy of source 2 into S1, all codes
    schedules::FamilyRun dmeposCopy;  // DMEPOS Copy of the AL fee into S1, all codes
    FeeManagerData()
    {
        if (!QFile::copy(QStringLiteral(KELVA_SAMPLE_DB), path))
            return;
        dao::Database db = dao::OpenDatabase(path, connectText());
        db::NewSession s;
        s.name = QStringLiteral("Bench");
        s.number = 1;
        db::createSession(db, s);
        codes = int(db.scalar("SELECT count(*) FROM DATA0001").toLongLong());
        db::FeeFactors f;
        f.workGpci = 1.06;
        f.pracGpci = 1.3;
        f.malpGpci = 1.568;
        f.convFactor = 35.8228;
        copyLimiting = schedulesql::copySchedule(QStringLiteral("DATA0001"), QStringLiteral("S1"),
                                                 schedulesql::physicianSources(f)[2], false);
        schedules::FamilyRunInput in;
        in.source = 2;
        in.destination = 0;
        in.state = QStringLiteral("AL");
        in.tableName = QStringLiteral("DATA0001");
        in.table = dao::quoteIdentifier(in.tableName);
        in.db = &db;
        dmeposCopy = schedules::kScheduleFamilies[schedules::Dmepos].run(in);
    }
};

FeeManagerData* feeManagerData(benchmark::State& state)
{
    static FeeManagerData data;
    if (data.codes != 0)
        return &data;
    state.SkipWithError("no sample database");
    return nullptr;
}

// A connection of SQLite's own with the layer's functions.
sqlite3* bareConnection(const FeeManagerData& data)
{
    sqlite3* db = nullptr;
    sqlite3_open(data.path.toUtf8().constData(), &db);
    jet::registerJetFunctions(db);
    return db;
}

bool bareExec(sqlite3* db, const QByteArray& sql, benchmark::State& state)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &err) == SQLITE_OK)
        return true;
    state.SkipWithError(err);
    sqlite3_free(err);
    return false;
}

void BM_FeeManagerCopyLimiting(benchmark::State& state)
{
    FeeManagerData* data = feeManagerData(state);
    if (!data)
        return;
    dao::Database db = dao::OpenDatabase(data->path, connectText());
    for (auto _ : state)
        db.Execute(data->copyLimiting);
    state.counters["codes"] = data->codes;
}

void BM_FeeManagerCopyBareSql(benchmark::State& state)
{
    FeeManagerData* data = feeManagerData(state);
    if (!data)
        return;
    sqlite3* db = bareConnection(*data);
    const QByteArray sql = data->copyLimiting.toUtf8();
    for (auto _ : state)
        if (!bareExec(db, sql, state))
            break;
    sqlite3_close(db);
    state.counters["codes"] = data->codes;
}

// C1 to C3 in one transaction; each iteration from the same table, rolled back outside the timing.
void BM_DmeposCopyRun(benchmark::State& state)
{
    FeeManagerData* data = feeManagerData(state);
    if (!data)
        return;
    dao::Database db = dao::OpenDatabase(data->path, connectText());
    for (auto _ : state) {
        db.BeginTrans();
        for (const schedules::FamilyStatement& s : data->dmeposCopy.statements)
            db.Execute(s.sql, s.params);
        state.PauseTiming();
        db.Rollback();
        state.ResumeTiming();
    }
    state.counters["codes"] = data->codes;
}

void BM_DmeposCopyBareSql(benchmark::State& state)
{
    FeeManagerData* data = feeManagerData(state);
    if (!data)
        return;
    sqlite3* db = bareConnection(*data);
    QByteArray sql = "BEGIN;";
    for (const schedules::FamilyStatement& s : data->dmeposCopy.statements)
        sql += s.sql.toUtf8() + ';';
    for (auto _ : state) {
        if (!bareExec(db, sql, state))
            break;
        state.PauseTiming();
        bareExec(db, "ROLLBACK;", state);
        state.ResumeTiming();
    }
    sqlite3_close(db);
    state.counters["codes"] = data->codes;
}

}  // namespace

BENCHMARK(BM_FeeManagerCopyLimiting)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FeeManagerCopyBareSql)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DmeposCopyRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DmeposCopyBareSql)->Unit(benchmark::kMillisecond);
