#include "app/buildinfo.h"
#include "app/globals.h"
#include "db/feequery.h"
#include "db/sessions.h"
#include "platform/dao/Database.h"
#include "platform/dao/Transaction.h"
#include "platform/dao/jetfunctions.h"
#include "platform/forms/FormRegistry.h"
#include "platform/seam/Seam.h"
#include "userdata/frmBackup.h"
#include "quietseam.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

// A program folder with the sample's codes in three sessions besides "Default", and the templates.
struct BackupData {
    QTemporaryDir dir;
    int codes = 0;
    QStringList tables;
    BackupData()
    {
        const QDir data = QFileInfo(QStringLiteral(KELVA_SAMPLE_DB)).dir();
        for (const char* name : {"kelva.mdb", "backup.mdb", "backupAllSess.mdb"})
            if (!QFile::copy(data.filePath(QString::fromLatin1(name)), dir.filePath(QString::fromLatin1(name))))
                return;
        QDir(dir.path()).mkdir(QStringLiteral("backup"));
        dao::Database db =
            dao::OpenDatabase(dir.filePath("kelva.mdb"), QStringLiteral(";PWD=") + databasePassword());
        dao::Transaction trans(db);
        for (int n = 1; n <= 3; ++n) {
            db::NewSession s;
            s.name = QStringLiteral("Session %1").arg(n);
            s.number = n;
            tables << db::createSession(db, s);
        }
        trans.Commit();
        codes = int(db.scalar("SELECT count(*) FROM DATA0000").toLongLong());
    }
};

BackupData& backupData()
{
    static BackupData data;
    return data;
}

void BM_BackupSessions(benchmark::State& state)
{
    BackupData& data = backupData();
    if (data.codes == 0) {
        state.SkipWithError("no sample database");
        return;
    }
    g() = Globals{};
    g().ProgramFolder = data.dir.path();
    g().DbConnect = QStringLiteral(";PWD=") + databasePassword();
    g().MainDb = dao::OpenDatabase(data.dir.filePath("kelva.mdb"), g().DbConnect);
    QuietSeam quiet;
    quiet.previous = platform::setSeam(&quiet);
    for (auto _ : state) {
        forms().get<frmBackup>().Command1_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    platform::setSeam(quiet.previous);
    g() = Globals{};
    state.counters["codes"] = double(data.codes) * 3;
}
BENCHMARK(BM_BackupSessions)->Unit(benchmark::kMillisecond);

// The same rows by INSERT ... SELECT, the conversions written in SQL.
const char* const kBareColumns =
    "Tag, Codemod, CPT, Mod, Status, [Desc], NFRBPERVU, NFTPERVU, FRBPERVU, FTPERVU, WORKZ, MRVU, NFRBTOTAL, "
    "NFTTOTAL, FTTOTAL, QNPART, QNNPART, QNLC, QFPART, QFNPART, QFLC, Global, S1, S2, S3, S4, S5, Freq1, Freq2, "
    "Freq3, Freq4, Freq5, NAIND, NAFIND, PCTCIND, PREOP, INTRAOP, POSTOP, MULTPROC, BILATSURG, ASSTSURG, COSURG, "
    "TEAMSURG, PHYSSUPV, ENDOBASE, NOTUSEDIND, USRDF, Notes";
const char* const kBareSelect =
    "Tag, CODEMOD, CPT, [MOD], STATUS, [DESC], NFRBPERVU, format(NFTPERVU, '#####.00'), FRBPERVU, FTPERVU, "
    "WORKZ, MRVU, NFRBTOTAL, NFTTOTAL, FTTOTAL, format(NPART, '#0.00'), format(NNPART, '#0.00'), "
    "format(NLC, '#0.00'), format(FPART, '#0.00'), format(FNPART, '#0.00'), format(FLC, '#0.00'), GLOBAL, "
    "S1, S2, S3, S4, S5, Freq1, Freq2, Freq3, Freq4, Freq5, NAIND, NAFIND, PCTCIND, PREOP, INTRAOP, POSTOP, "
    "MULTPROC, BILATSURG, ASSTSURG, COSURG, TEAMSURG, PHYSSUPV, ENDOBASE, NOTUSEDIND, "
    "CASE WHEN USRDF = 'XXXXXXX' COLLATE BINARY THEN NULL ELSE USRDF END, "
    "CASE WHEN NOTES = '' THEN NULL ELSE replace(replace(substr(NOTES, 1, 150), char(13), ' '), char(10), ' ') END";

void BM_BackupBareCopy(benchmark::State& state)
{
    BackupData& data = backupData();
    if (data.codes == 0) {
        state.SkipWithError("no sample database");
        return;
    }
    const QDir folder(data.dir.filePath("bare"));
    QDir(data.dir.path()).mkpath("bare");
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open(data.dir.filePath("kelva.mdb").toUtf8().constData(), &db);
        jet::registerJetFunctions(db);
        for (const QString& table : data.tables) {
            const QString file = folder.filePath(table + ".mdb");
            QFile::remove(file);
            QFile::copy(data.dir.filePath("backup.mdb"), file);
            const db::FeeQuery q = db::backupFeeQuery(db::FeeFactors{1.0, 1.0, 1.0, 1.0, 35.8228}, table);
            const QString sql = QStringLiteral("ATTACH DATABASE '%1' AS b; BEGIN; INSERT INTO b.DATA0000BKP (%2) "
                                               "SELECT %3 FROM (%4); COMMIT; DETACH DATABASE b;")
                                    .arg(file, QLatin1String(kBareColumns), QLatin1String(kBareSelect), q.sql);
            char* error = nullptr;
            if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
                state.SkipWithError(error ? error : "bare copy failed");
                sqlite3_free(error);
                sqlite3_close(db);
                return;
            }
        }
        sqlite3_close(db);
    }
    state.counters["codes"] = double(data.codes) * 3;
}
BENCHMARK(BM_BackupBareCopy)->Unit(benchmark::kMillisecond);

}  // namespace
