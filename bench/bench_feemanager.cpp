#include "app/buildinfo.h"
#include "db/sessions.h"
#include "platform/dao/Database.h"
#include "platform/dao/jetfunctions.h"
#include "schedules/schedulesql.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

// The sample's ~16,000 codes as session table DATA0001 of a copy of the main database; made once.
struct FeeManagerData {
    QTemporaryDir dir;
    QString path = dir.filePath("kelva.mdb");
    int codes = 0;
    QString statement;
    FeeManagerData()
    {
        if (!QFile::copy(QStringLiteral(KELVA_SAMPLE_DB), path))
            return;
        dao::Database db = dao::OpenDatabase(path, QStringLiteral(";PWD=") + databasePassword());
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
        // Source 2, the non-facility limiting charge, into S1 for all codes.
        statement = schedulesql::copySchedule(QStringLiteral("DATA0001"), QStringLiteral("S1"),
                                              schedulesql::physicianSources(f)[2], false);
    }
};

FeeManagerData& feeManagerData()
{
    static FeeManagerData data;
    return data;
}

void BM_FeeManagerCopyLimiting(benchmark::State& state)
{
    FeeManagerData& data = feeManagerData();
    if (data.codes == 0) {
        state.SkipWithError("no sample database");
        return;
    }
    dao::Database db = dao::OpenDatabase(data.path, QStringLiteral(";PWD=") + databasePassword());
    for (auto _ : state)
        db.Execute(data.statement);
    state.counters["codes"] = data.codes;
}

// The same UPDATE text on SQLite's own interface, on a connection with the layer's functions.
void BM_FeeManagerCopyBareSql(benchmark::State& state)
{
    FeeManagerData& data = feeManagerData();
    if (data.codes == 0) {
        state.SkipWithError("no sample database");
        return;
    }
    sqlite3* db = nullptr;
    sqlite3_open(data.path.toUtf8().constData(), &db);
    jet::registerJetFunctions(db);
    const QByteArray sql = data.statement.toUtf8();
    for (auto _ : state) {
        char* err = nullptr;
        if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            state.SkipWithError(err);
            sqlite3_free(err);
            break;
        }
    }
    sqlite3_close(db);
    state.counters["codes"] = data.codes;
}

}  // namespace

BENCHMARK(BM_FeeManagerCopyLimiting)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FeeManagerCopyBareSql)->Unit(benchmark::kMillisecond);
