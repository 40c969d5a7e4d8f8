#include "app/buildinfo.h"
#include "export/rules/csvlayout.h"
#include "export/rules/exportquery.h"
#include "export/session/sessioncsv.h"
#include "platform/dao/Database.h"
#include "platform/dao/jetfunctions.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

exportquery::Source sampleSession()
{
    exportquery::Source s;
    s.factors = {1.0, 1.032, 0.981, 0.8, 35.8228};
    s.sessionTable = QStringLiteral("DATA0000");
    return s;
}

// The all-columns CSV writer over the sample's codes.
void BM_SessionExportCsv(benchmark::State& state)
{
    QTemporaryDir dir;
    dao::Database db = dao::OpenDatabase(QStringLiteral(KELVA_SAMPLE_DB), QStringLiteral(";PWD=") + databasePassword());
    const db::FeeQuery q = exportquery::build(sampleSession(), exportquery::Form::Session);
    sessioncsv::ScheduleNames names;
    qint64 rows = 0;
    for (auto _ : state) {
        exportcsv::CsvFile file(dir.filePath(QStringLiteral("all.csv")));
        dao::Recordset rs = db.OpenRecordset(q.sql, q.params);
        sessioncsv::writeAllColumns(rs, file, names, false, nullptr);
        rows = rs.RecordCount();
        rs.Close();
        file.close();
    }
    state.counters["codes"] = double(rows);
}
BENCHMARK(BM_SessionExportCsv)->Unit(benchmark::kMillisecond);

// The same query stepped through the C API, every column's text put out with commas and CR LF.
void BM_SessionExportCsvBareLoop(benchmark::State& state)
{
    QTemporaryDir dir;
    const db::FeeQuery q = exportquery::build(sampleSession(), exportquery::Form::Session);
    const QByteArray sql = q.sql.toUtf8();
    sqlite3* db = nullptr;
    sqlite3_open_v2(KELVA_SAMPLE_DB, &db, SQLITE_OPEN_READONLY, nullptr);
    jet::registerJetFunctions(db);
    qint64 rows = 0;
    for (auto _ : state) {
        FILE* out = std::fopen(dir.filePath(QStringLiteral("bare.csv")).toUtf8().constData(), "wb");
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK) {
            state.SkipWithError(sqlite3_errmsg(db));
            std::fclose(out);
            break;
        }
        rows = 0;
        const int columns = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c) {
                if (const unsigned char* text = sqlite3_column_text(st, c))
                    std::fputs(reinterpret_cast<const char*>(text), out);
                std::fputc(',', out);
            }
            std::fputs("\r\n", out);
            ++rows;
        }
        sqlite3_finalize(st);
        std::fclose(out);
    }
    sqlite3_close(db);
    state.counters["codes"] = double(rows);
}
BENCHMARK(BM_SessionExportCsvBareLoop)->Unit(benchmark::kMillisecond);

}  // namespace
