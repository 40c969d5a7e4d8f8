#include "app/buildinfo.h"
#include "platform/dao/Database.h"
#include "platform/dao/Recordset.h"
#include "reports/textreport.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

// The text report's query over every sample code (DATA0000), as layout 7 prints it: the recordset read to
// its end and the pages counted, against the same statement stepped through the SQLite C API.
struct ReportData {
    QTemporaryDir dir;
    QString path;
    bool ok = false;
    ReportData()
    {
        path = dir.filePath("kelva.mdb");
        ok = QFile::copy(QStringLiteral(KELVA_SAMPLE_DB), path);
    }
};

ReportData& reportData()
{
    static ReportData data;
    return data;
}

const db::FeeFactors kFactors{1.0, 1.003, 0.967, 1.2, 37.3374};

QString query()
{
    return reports::reportQuery(QStringLiteral("DATA0000"), false, false, kFactors);
}

void BM_TextReportCount(benchmark::State& state)
{
    if (!reportData().ok) {
        state.SkipWithError("no sample database");
        return;
    }
    dao::Database db = dao::OpenDatabase(reportData().path, QStringLiteral(";PWD=") + databasePassword());
    const QString sql = query();
    for (auto _ : state) {
        dao::Recordset rs = db.OpenRecordset(sql, {QStringLiteral("00000"), QStringLiteral("ZZZZZZ")});
        rs.MoveLast();
        benchmark::DoNotOptimize(reports::pageCount(rs.RecordCount(), 52));
    }
}
BENCHMARK(BM_TextReportCount)->Unit(benchmark::kMillisecond);

void BM_TextReportQueryBareSql(benchmark::State& state)
{
    if (!reportData().ok) {
        state.SkipWithError("no sample database");
        return;
    }
    dao::Database db = dao::OpenDatabase(reportData().path, QStringLiteral(";PWD=") + databasePassword());
    const QByteArray sql = query().toUtf8();
    for (auto _ : state) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db.handle(), sql.constData(), -1, &s, nullptr) != SQLITE_OK) {
            state.SkipWithError(sqlite3_errmsg(db.handle()));
            return;
        }
        sqlite3_bind_text(s, 1, "00000", -1, SQLITE_STATIC);
        sqlite3_bind_text(s, 2, "ZZZZZZ", -1, SQLITE_STATIC);
        qint64 rows = 0;
        while (sqlite3_step(s) == SQLITE_ROW)
            ++rows;
        sqlite3_finalize(s);
        benchmark::DoNotOptimize(reports::pageCount(rows, 52));
    }
}
BENCHMARK(BM_TextReportQueryBareSql)->Unit(benchmark::kMillisecond);

}  // namespace
