#include "app/buildinfo.h"
#include "db/sessions.h"
#include "platform/dao/Database.h"
#include "platform/dao/Transaction.h"
#include "update/codemerge.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

QString connectText()
{
    return QStringLiteral(";PWD=") + databasePassword();
}

// The sample's codes in DATA0000 and three sessions, and an update whose DATA00001 is the sample's 16,209
// codes with 1% changed, 0.5% marked "D" and 0.5% new; made once per process.
struct MergeData {
    QTemporaryDir dir;
    QString mainTemplate = dir.filePath("template.mdb");
    QString update = dir.filePath("kelvaupd04.mdb");
    int codes = 0;
    MergeData()
    {
        if (!QFile::copy(QStringLiteral(KELVA_SAMPLE_DB), mainTemplate))
            return;
        {
            dao::Database db = dao::OpenDatabase(mainTemplate, connectText());
            dao::Transaction trans(db);
            for (int n = 1; n <= 3; ++n) {
                db::NewSession s;
                s.name = QStringLiteral("Session %1").arg(n);
                s.number = n;
                db::createSession(db, s);
            }
            trans.Commit();
            codes = int(db.scalar("SELECT count(*) FROM DATA0000").toLongLong());
        }
        sqlite3* u = nullptr;
        sqlite3_open(update.toUtf8().constData(), &u);
        const QByteArray sql = QStringLiteral(
            "ATTACH DATABASE '%1' AS m;"
            "CREATE TABLE DATA00001 AS SELECT * FROM m.DATA0000 ORDER BY rowid;"
            "UPDATE DATA00001 SET WORKZ = WORKZ + 0.25, STATUS = 'R' WHERE rowid % 100 = 7;"
            "UPDATE DATA00001 SET Tag = 'D' WHERE rowid % 200 = 11;"
            "INSERT INTO DATA00001 SELECT * FROM m.DATA0000 WHERE rowid % 200 = 13;"
            "UPDATE DATA00001 SET CODEMOD = 'N' || substr(CODEMOD, 1, 7) "
            "WHERE rowid > (SELECT count(*) FROM m.DATA0000);"
            "DETACH DATABASE m;")
                                  .arg(mainTemplate)
                                  .toUtf8();
        sqlite3_exec(u, sql.constData(), nullptr, nullptr, nullptr);
        sqlite3_close(u);
        dao::Database upd = dao::OpenDatabase(update);
        upd.SetPassword(databasePassword());
    }
};

MergeData& mergeData()
{
    static MergeData data;
    return data;
}

// A fresh copy of the main database for one iteration.
QString freshMain(const QTemporaryDir& dir)
{
    const QString path = dir.filePath("kelva.mdb");
    QFile::remove(path);
    QFile::copy(mergeData().mainTemplate, path);
    return path;
}

void BM_CodeMerge(benchmark::State& state)
{
    MergeData& data = mergeData();
    if (data.codes == 0) {
        state.SkipWithError("no sample database");
        return;
    }
    QTemporaryDir dir;
    for (auto _ : state) {
        state.PauseTiming();
        dao::Database db = dao::OpenDatabase(freshMain(dir), connectText());
        state.ResumeTiming();
        {
            update::UpdateDatabase source(db, data.update, connectText());
            update::UpdateRun run(db, source);
            run.hooks.events = [] {};
            run.strDate = QDateTime(QDate(2014, 4, 1), QTime(0, 0));
            dao::Transaction trans(db);
            update::Update_KELVA(run);
            trans.Commit();
        }
        state.PauseTiming();
        state.counters["rows"] = double(db.scalar("SELECT count(*) FROM DATA0003").toLongLong());
        db.Close();
        state.ResumeTiming();
    }
    state.counters["codes"] = data.codes;
}

// The same tables reached (the same rows in them; "rows" counts the last session's) with set-based statements
// in one transaction on SQLite's own interface.
void BM_CodeMergeBareSql(benchmark::State& state)
{
    MergeData& data = mergeData();
    if (data.codes == 0) {
        state.SkipWithError("no sample database");
        return;
    }
    QStringList kept = update::keptColumns();
    QTemporaryDir dir;
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = freshMain(dir);
        sqlite3* db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        QStringList set;
        {
            sqlite3_stmt* s = nullptr;
            sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info('DATA0000') ORDER BY cid", -1, &s, nullptr);
            while (sqlite3_step(s) == SQLITE_ROW) {
                const QString col = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
                if (!kept.contains(col))
                    set << QStringLiteral("\"%1\" = u.\"%1\"").arg(col);
            }
            sqlite3_finalize(s);
        }
        state.ResumeTiming();
        QString sql = QStringLiteral("ATTACH DATABASE '%1' AS upd; BEGIN;").arg(data.update);
        for (const char* t : {"DATA0000", "DATA0001", "DATA0002", "DATA0003"}) {
            sql += QStringLiteral(
                       "DELETE FROM %1 WHERE CODEMOD IN "
                       "(SELECT CODEMOD FROM upd.DATA00001 WHERE Tag = 'D' COLLATE BINARY);"
                       "UPDATE %1 SET %2 FROM upd.DATA00001 u WHERE %1.CODEMOD = u.CODEMOD "
                       "AND u.Tag IS NOT 'D' COLLATE BINARY;"
                       "INSERT INTO %1 SELECT u.* FROM upd.DATA00001 u WHERE u.Tag IS NOT 'D' COLLATE BINARY "
                       "AND NOT EXISTS (SELECT 1 FROM %1 WHERE %1.CODEMOD = u.CODEMOD) ORDER BY u.rowid;")
                       .arg(QString::fromLatin1(t), set.join(QStringLiteral(", ")));
        }
        sql += QStringLiteral("UPDATE PARMS_CL SET dataupdate = '2014-04-01'; COMMIT; DETACH DATABASE upd;");
        char* err = nullptr;
        if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            state.SkipWithError(err);
            sqlite3_free(err);
        }
        state.PauseTiming();
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "SELECT count(*) FROM DATA0003", -1, &s, nullptr);
        if (sqlite3_step(s) == SQLITE_ROW)
            state.counters["rows"] = double(sqlite3_column_int64(s, 0));
        sqlite3_finalize(s);
        sqlite3_close(db);
        state.ResumeTiming();
    }
    state.counters["codes"] = data.codes;
}

}  // namespace

BENCHMARK(BM_CodeMerge)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CodeMergeBareSql)->Unit(benchmark::kMillisecond)->Iterations(3);
