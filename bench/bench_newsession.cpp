#include "app/buildinfo.h"
#include "db/sessions.h"
#include "platform/dao/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

// A copy of the sample's main database, its "Default" session the source of new sessions.
struct NewSessionData {
    QTemporaryDir dir;
    bool ok = false;
    NewSessionData()
    {
        const QDir data = QFileInfo(QStringLiteral(KELVA_SAMPLE_DB)).dir();
        ok = QFile::copy(data.filePath(QStringLiteral("kelva.mdb")), path());
        QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
    }
    QString path() const { return dir.filePath(QStringLiteral("kelva.mdb")); }
};

NewSessionData& newSessionData()
{
    static NewSessionData data;
    return data;
}

// What Continue does on the name page with "Create from Default": the session made in one transaction.
void BM_NewSessionFromDefault(benchmark::State& state)
{
    NewSessionData& data = newSessionData();
    if (!data.ok) {
        state.SkipWithError("no sample database");
        return;
    }
    dao::Database db = dao::OpenDatabase(data.path(), QStringLiteral(";PWD=") + databasePassword());
    for (auto _ : state) {
        const QString table = db::createUserSession(db, QStringLiteral("Bench"), db::kDefaultSession);
        state.PauseTiming();
        db::deleteSession(db, QStringLiteral("Bench"));
        if (table.isEmpty())
            state.SkipWithError("no session made");
        state.ResumeTiming();
    }
    state.counters["codes"] = double(db.scalar(QStringLiteral("SELECT count(*) FROM DATA0000")).toLongLong());
}
BENCHMARK(BM_NewSessionFromDefault)->Unit(benchmark::kMillisecond);

bool exec(sqlite3* db, const QByteArray& sql, benchmark::State& state)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error) == SQLITE_OK)
        return true;
    state.SkipWithError(error ? error : "failed");
    sqlite3_free(error);
    return false;
}

// The bare work: the statements that made DATA0000 (table, column-rule triggers, unique index, as
// sqlite_master holds them) under a new name, and its rows by INSERT ... SELECT, in one transaction.
void BM_SessionTableCopyBare(benchmark::State& state)
{
    NewSessionData& data = newSessionData();
    if (!data.ok) {
        state.SkipWithError("no sample database");
        return;
    }
    sqlite3* db = nullptr;
    sqlite3_open(data.path().toUtf8().constData(), &db);
    QList<QByteArray> statements;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT sql FROM sqlite_master WHERE tbl_name = 'DATA0000' AND sql IS NOT NULL "
                       "ORDER BY type = 'table' DESC, type = 'index', rowid",
                       -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        statements << QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    for (QByteArray& s : statements)
        s.replace("DATA0000", "DATA9999");
    for (auto _ : state) {
        if (!exec(db, "BEGIN", state))
            break;
        for (const QByteArray& s : statements)
            if (!exec(db, s, state))
                break;
        if (!exec(db, "INSERT INTO DATA9999 SELECT * FROM DATA0000; COMMIT", state))
            break;
        state.PauseTiming();
        exec(db, "DROP TABLE DATA9999", state);
        state.ResumeTiming();
    }
    sqlite3_close(db);
}
BENCHMARK(BM_SessionTableCopyBare)->Unit(benchmark::kMillisecond);

}  // namespace
