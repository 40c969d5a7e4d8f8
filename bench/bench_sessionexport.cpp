#include "app/buildinfo.h"
#include "export/rules/csvlayout.h"
#include "export/rules/exportquery.h"
#include "export/session/sessioncsv.h"
#include "export/session/tableexport.h"
#include "export/session/tablefields.h"
#include "platform/controls/DataControl.h"
#include "platform/dao/Database.h"
#include "platform/dao/jetfunctions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

QString templatePath()
{
    return QFileInfo(QStringLiteral(KELVA_SAMPLE_DB)).dir().filePath(QStringLiteral("export.mdb"));
}

// The table branch to an Access target: the template copied, its table attached through a data control and
// every code of the sample appended.
void BM_SessionExportAccess(benchmark::State& state)
{
    QTemporaryDir dir;
    dao::Database db = dao::OpenDatabase(QStringLiteral(KELVA_SAMPLE_DB), QStringLiteral(";PWD=") + databasePassword());
    const db::FeeQuery q = exportquery::build(sampleSession(), exportquery::Form::Session);
    qint64 rows = 0;
    for (auto _ : state) {
        const QString file = dir.filePath(QStringLiteral("fees.mdb"));
        QFile::remove(file);
        QFile::copy(templatePath(), file);
        platform::DataControl data;
        data.setConnect(QStringLiteral("Access"));
        data.setDatabaseName(file);
        data.setRecordSource(QStringLiteral("export"));
        data.Refresh();
        dao::Recordset rs = db.OpenRecordset(q.sql, q.params);
        tableexport::appendRows(rs, data.Database(), data.Recordset(), {true, false, false}, nullptr);
        rows = rs.RecordCount();
        rs.Close();
        data.Recordset().Close();
        data.setConnect(QString());
        data.setDatabaseName(QString());
        data.setRecordSource(QString());
        data.Refresh();
    }
    state.counters["codes"] = double(rows);
}
BENCHMARK(BM_SessionExportAccess)->Unit(benchmark::kMillisecond);

// The same query stepped through the C API, its rows inserted into a copy of the template by one prepared
// INSERT in one transaction, the values converted as the field table says.
void BM_SessionExportAccessBareLoop(benchmark::State& state)
{
    QTemporaryDir dir;
    const db::FeeQuery q = exportquery::build(sampleSession(), exportquery::Form::Session);
    QStringList targets, marks, sources;
    for (const tablefields::Field& f : tablefields::fields()) {
        targets << dao::quoteIdentifier(tablefields::targetName(f, true));
        marks << QStringLiteral("?");
        sources << QString::fromLatin1(f.source);
    }
    const QByteArray insert = (QStringLiteral("INSERT INTO export (") + targets.join(',') + QStringLiteral(") VALUES (")
                               + marks.join(',') + QLatin1Char(')')).toUtf8();
    const QByteArray select = q.sql.toUtf8();
    qint64 rows = 0;
    for (auto _ : state) {
        const QString file = dir.filePath(QStringLiteral("bare.mdb"));
        QFile::remove(file);
        QFile::copy(templatePath(), file);
        sqlite3* in = nullptr;
        sqlite3* out = nullptr;
        sqlite3_open_v2(KELVA_SAMPLE_DB, &in, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_open(file.toUtf8().constData(), &out);
        jet::registerJetFunctions(in);
        sqlite3_stmt* s = nullptr;
        sqlite3_stmt* ins = nullptr;
        sqlite3_prepare_v2(in, select.constData(), -1, &s, nullptr);
        sqlite3_prepare_v2(out, insert.constData(), -1, &ins, nullptr);
        std::vector<int> columns;
        for (const QString& source : sources)
            for (int c = 0; c < sqlite3_column_count(s); ++c)
                if (source.compare(QString::fromUtf8(sqlite3_column_name(s, c)), Qt::CaseInsensitive) == 0) {
                    columns.push_back(c);
                    break;
                }
        sqlite3_exec(out, "BEGIN", nullptr, nullptr, nullptr);
        rows = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            for (std::size_t i = 0; i < columns.size(); ++i) {
                const int c = columns[i];
                if (sqlite3_column_type(s, c) == SQLITE_NULL)
                    sqlite3_bind_null(ins, int(i) + 1);
                else if (sqlite3_column_type(s, c) == SQLITE_TEXT)
                    sqlite3_bind_text(ins, int(i) + 1, reinterpret_cast<const char*>(sqlite3_column_text(s, c)), -1,
                                      SQLITE_TRANSIENT);
                else
                    sqlite3_bind_double(ins, int(i) + 1, sqlite3_column_double(s, c));
            }
            sqlite3_step(ins);
            sqlite3_reset(ins);
            ++rows;
        }
        sqlite3_exec(out, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_finalize(ins);
        sqlite3_finalize(s);
        sqlite3_close(out);
        sqlite3_close(in);
    }
    state.counters["codes"] = double(rows);
}
BENCHMARK(BM_SessionExportAccessBareLoop)->Unit(benchmark::kMillisecond);

}  // namespace
