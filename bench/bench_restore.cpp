#include "app/buildinfo.h"
#include "app/endprogram.h"
#include "app/globals.h"
#include "db/sessions.h"
#include "platform/dao/Database.h"
#include "platform/dao/Transaction.h"
#include "platform/forms/FormRegistry.h"
#include "quietseam.h"
#include "userdata/frmBackup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

// A backup set of three sessions of the sample's codes, each with tags, schedules and frequencies on most
// codes, and the sample's main database as it was before, into which each run restores.
struct RestoreData {
    QTemporaryDir dir;
    int codes = 0;
    QStringList tables;
    QString pristine() const { return dir.filePath("pristine.mdb"); }
    QString main() const { return dir.filePath("kelva.mdb"); }

    RestoreData()
    {
        const QDir data = QFileInfo(QStringLiteral(KELVA_SAMPLE_DB)).dir();
        for (const char* name : {"kelva.mdb", "backup.mdb", "backupAllSess.mdb"})
            if (!QFile::copy(data.filePath(QString::fromLatin1(name)), dir.filePath(QString::fromLatin1(name))))
                return;
        QFile::copy(main(), pristine());
        QDir(dir.path()).mkdir(QStringLiteral("backup"));
        g() = Globals{};
        g().ProgramFolder = dir.path();
        g().DbConnect = QStringLiteral(";PWD=") + databasePassword();
        g().MainDb = dao::OpenDatabase(main(), g().DbConnect);
        {
            dao::Transaction trans(g().MainDb);
            for (int n = 1; n <= 3; ++n) {
                db::NewSession s;
                s.name = QStringLiteral("Session %1").arg(n);
                s.number = n;
                const QString table = db::createSession(g().MainDb, s);
                tables << table;
                g().MainDb.Execute(QStringLiteral("UPDATE %1 SET S1 = rowid % 97 + 0.5, Freq2 = %2, "
                                                  "Tag = CASE WHEN rowid % 3 = 0 THEN '+' END WHERE rowid % 10 <> 0")
                                       .arg(table)
                                       .arg(n));
            }
            trans.Commit();
        }
        codes = int(g().MainDb.scalar("SELECT count(*) FROM DATA0000").toLongLong());
        QuietSeam quiet;
        quiet.previous = platform::setSeam(&quiet);
        platform::forms().get<frmBackup>().Command1_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::setSeam(quiet.previous);
        g() = Globals{};
        if (!QFile::exists(dir.filePath("backup/DATA0003.mdb")))
            codes = 0;
    }

    // The main database as it was before the sessions were made.
    void freshMain() const
    {
        QFile::remove(main());
        QFile::copy(pristine(), main());
    }
};

RestoreData& restoreData()
{
    static RestoreData data;
    return data;
}

void BM_RestoreSessions(benchmark::State& state)
{
    RestoreData& data = restoreData();
    if (data.codes == 0) {
        state.SkipWithError("no sample database or backup set");
        return;
    }
    QuietSeam quiet;
    quiet.previous = platform::setSeam(&quiet);
    for (auto _ : state) {
        state.PauseTiming();
        g() = Globals{};
        data.freshMain();
        g().ProgramFolder = data.dir.path();
        g().DbConnect = QStringLiteral(";PWD=") + databasePassword();
        g().MainDb = dao::OpenDatabase(data.main(), g().DbConnect);
        resetProgramEnded();
        state.ResumeTiming();
        platform::forms().get<frmBackup>().Command2_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!programEnded()) {
            state.SkipWithError("the restore failed");
            break;
        }
    }
    resetProgramEnded();
    platform::setSeam(quiet.previous);
    g() = Globals{};
    state.counters["codes"] = double(data.codes) * 3;
}
BENCHMARK(BM_RestoreSessions)->Unit(benchmark::kMillisecond);

// The same tables, rows and session rows on SQLite's own interface: per attached backup file one CREATE
// TABLE, one INSERT ... SELECT and one UPDATE ... FROM.
void BM_RestoreBareSql(benchmark::State& state)
{
    RestoreData& data = restoreData();
    if (data.codes == 0) {
        state.SkipWithError("no sample database or backup set");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        data.freshMain();
        state.ResumeTiming();
        sqlite3* db = nullptr;
        sqlite3_open(data.main().toUtf8().constData(), &db);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_master WHERE name = 'DATA0000' AND type = 'table'", -1, &s,
                           nullptr);
        sqlite3_step(s);
        const QString model = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        sqlite3_finalize(s);
        QString sql;
        for (int i = 0; i < data.tables.size(); ++i)
            sql += QStringLiteral("ATTACH DATABASE '%1' AS b%2;")
                       .arg(data.dir.filePath("backup/" + data.tables[i] + ".mdb"))
                       .arg(i);
        sql += QStringLiteral("BEGIN;");
        for (int i = 0; i < data.tables.size(); ++i) {
            const QString t = data.tables[i] + QLatin1Char('1');
            QString create = model;
            create.replace(create.indexOf(QLatin1String("DATA0000")), 8, t);
            sql += create + QStringLiteral(";CREATE UNIQUE INDEX %1_CODEMODIndexxData00 ON %1 (CODEMOD);"
                                           "INSERT INTO %1 SELECT * FROM DATA0000;"
                                           "UPDATE %1 SET Tag = CASE WHEN b.Tag IS NULL THEN %1.Tag ELSE '+' END, "
                                           "S1 = coalesce(b.S1, %1.S1), S2 = coalesce(b.S2, %1.S2), "
                                           "S3 = coalesce(b.S3, %1.S3), S4 = coalesce(b.S4, %1.S4), "
                                           "S5 = coalesce(b.S5, %1.S5), Freq1 = coalesce(b.Freq1, %1.Freq1), "
                                           "Freq2 = coalesce(b.Freq2, %1.Freq2), Freq3 = coalesce(b.Freq3, %1.Freq3), "
                                           "Freq4 = coalesce(b.Freq4, %1.Freq4), Freq5 = coalesce(b.Freq5, %1.Freq5), "
                                           "USRDF = coalesce(b.USRDF, %1.USRDF) FROM b%2.Data0000Bkp AS b "
                                           "WHERE %1.CODEMOD = b.Codemod;"
                                           "INSERT INTO SESSIONS (Session, SESTAB, CURCONVF, CURUSEADJ, CURWORKGPCI, "
                                           "CURPRACGPCI, CURMALPGPCI, S1NAME, S2NAME, S3NAME, S4NAME, S5NAME, COLWS, "
                                           "COLVS, CV00, CV02, CV03, CV05, CV16, CV44, CV45, GEOLOC, PLIMCOL, F1NAME, "
                                           "F2NAME, F3NAME, F4NAME, F5NAME, OPTName, selectzip) "
                                           "SELECT k.Session, '%1', d.CURCONVF, d.CURUSEADJ, d.CURWORKGPCI, "
                                           "d.CURPRACGPCI, d.CURMALPGPCI, k.S1NAME, k.S2NAME, k.S3NAME, k.S4NAME, "
                                           "k.S5NAME, d.COLWS, d.COLVS, d.CV00, d.CV02, d.CV03, d.CV05, d.CV16, "
                                           "d.CV44, d.CV45, d.GEOLOC, d.PLIMCOL, k.F1NAME, k.F2NAME, k.F3NAME, "
                                           "k.F4NAME, k.F5NAME, k.OPTName, k.SelectZip FROM SESSIONS AS d, "
                                           "b%2.SESSIONSBKP AS k WHERE d.Session = 'Default';")
                       .arg(t)
                       .arg(i);
        }
        sql += QStringLiteral("COMMIT;");
        char* error = nullptr;
        if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
            state.SkipWithError(error ? error : "bare restore failed");
            sqlite3_free(error);
            sqlite3_close(db);
            return;
        }
        sqlite3_close(db);
    }
    state.counters["codes"] = double(data.codes) * 3;
}
BENCHMARK(BM_RestoreBareSql)->Unit(benchmark::kMillisecond);

}  // namespace
