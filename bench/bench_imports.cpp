#include "app/buildinfo.h"
#include "platform/controls/DataControl.h"
#include "platform/dao/Database.h"
#include "platform/jet/biff4.h"
#include "platform/jet/dbase.h"
#include "platform/jet/xlscopy.h"
#include "userdata/importcsv.h"
#include "userdata/importrows.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kLines = 16000;

// A copy of the sample database and a comma-delimited file of S1..S5 and a tag for 16,000 of its codes;
// made once per process.
struct ImportData {
    QTemporaryDir dir;
    QString mainDb = dir.filePath("kelva.mdb");
    QString csv = dir.filePath("fees.csv");
    QString xls = dir.filePath("fees.xls");
    QString dbf = dir.filePath("freqs.dbf");
    struct Row {
        QString codemod;
        double s[5];
    };
    std::vector<Row> rows;
    ImportData()
    {
        if (!QFile::copy(QStringLiteral(KELVA_SAMPLE_DB), mainDb))
            return;
        QFile::setPermissions(mainDb, QFile::permissions(mainDb) | QFileDevice::WriteOwner);
        dao::Database db = dao::OpenDatabase(mainDb, QStringLiteral(";PWD=") + databasePassword());
        dao::Recordset rs = db.OpenRecordset(
            "SELECT CODEMOD, CPT, MOD FROM DATA0000 WHERE length(CODEMOD) <> 6 ORDER BY rowid LIMIT 16000");
        QByteArray text = "CPT,MOD,S1,S2,S3,S4,S5,Tag\r\n";
        for (int i = 0; !rs.EOF(); rs.MoveNext(), ++i) {
            Row r;
            r.codemod = rs[0].Value().toString();
            for (int k = 0; k < 5; ++k)
                r.s[k] = (i % 997) * 1.25 + k;
            text += QStringLiteral("%1,%2,%3,%4,%5,%6,%7,x\r\n")
                        .arg(rs[1].Value().toString(), rs[2].Value().toString())
                        .arg(r.s[0]).arg(r.s[1]).arg(r.s[2]).arg(r.s[3]).arg(r.s[4])
                        .toLatin1();
            rows.push_back(r);
        }
        QFile f(csv);
        if (f.open(QIODevice::WriteOnly))
            f.write(text);

        // The same rows as a worksheet (S1..S5 and the tag) and as a dBASE table of frequencies.
        jet::Rows sheet;
        jet::Rows table;
        rs.MoveFirst();
        for (const Row& r : rows) {
            std::vector<dao::Variant> cells = {rs[1].Value(), rs[2].Value()};
            for (double v : r.s)
                cells.emplace_back(v);
            table.push_back(cells);
            cells.emplace_back(QStringLiteral("x"));
            sheet.push_back(std::move(cells));
            rs.MoveNext();
        }
        QFile x(xls);
        if (x.open(QIODevice::WriteOnly))
            x.write(jet::biff4WithRows(jet::biff4Template({"CPT", "MOD", "S1", "S2", "S3", "S4", "S5", "Tag"}), 1,
                                       sheet, false, xls));
        x.close();
        std::vector<jet::DbfField> fields = {{"CPT", 'C', 5, 0}, {"MOD", 'C', 2, 0}};
        for (int k = 1; k <= 5; ++k)
            fields.push_back({QStringLiteral("FREQ%1").arg(k), 'N', 10, 2});
        jet::createDbf(dbf, fields);
        platform::DataControl dc;
        dc.setConnect(QStringLiteral("dBASE III;"));
        dc.setDatabaseName(dir.path());
        dc.setRecordSource(QStringLiteral("freqs"));
        dc.Refresh();
        for (const auto& r : table) {
            dc.Recordset().AddNew();
            for (int c = 0; c < 7; ++c)
                dc.Recordset().Fields(c) = r[size_t(c)];
            dc.Recordset().Update();
        }
        dc.setConnect(QString());
        dc.setDatabaseName(QString());
        dc.setRecordSource(QString());
        dc.Refresh();
    }
};

ImportData& importData()
{
    static ImportData data;
    return data;
}

// The schedule reader over the whole file: parsing, keys and one bound UPDATE per line in one transaction.
void BM_ImportCsvSchedules(benchmark::State& state)
{
    ImportData& data = importData();
    if (int(data.rows.size()) != kLines) {
        state.SkipWithError("no sample database");
        return;
    }
    dao::Database db = dao::OpenDatabase(data.mainDb, QStringLiteral(";PWD=") + databasePassword());
    for (auto _ : state)
        userimport::importCsv(userimport::Member::Schedules, data.csv, db, "DATA0000");
    state.counters["lines"] = kLines;
}

// A 16,000-row worksheet through its comma-delimited copy and the schedule reader.
void BM_ImportXlsSchedules(benchmark::State& state)
{
    ImportData& data = importData();
    if (int(data.rows.size()) != kLines) {
        state.SkipWithError("no sample database");
        return;
    }
    dao::Database db = dao::OpenDatabase(data.mainDb, QStringLiteral(";PWD=") + databasePassword());
    for (auto _ : state) {
        const QString copy = jet::saveWorkbookCopy(data.xls);
        userimport::importCsv(userimport::Member::Schedules, copy, db, "DATA0000");
    }
    state.counters["lines"] = kLines;
}

// A 16,000-record dBASE table of frequencies opened through a data control and written by the row stage.
void BM_ImportDbfFrequencies(benchmark::State& state)
{
    ImportData& data = importData();
    if (int(data.rows.size()) != kLines) {
        state.SkipWithError("no sample database");
        return;
    }
    dao::Database db = dao::OpenDatabase(data.mainDb, QStringLiteral(";PWD=") + databasePassword());
    platform::DataControl dc;
    for (auto _ : state) {
        dc.setConnect(QStringLiteral("dBASE III;"));
        dc.setDatabaseName(data.dir.path() + QLatin1Char('/'));
        dc.setRecordSource(QStringLiteral("freqs"));
        dc.Refresh();
        userimport::RowProgress progress;
        userimport::importRows(userimport::Member::Frequencies, dc.Recordset(), db, "DATA0000", progress);
        dc.setConnect(QString());
        dc.setDatabaseName(QString());
        dc.setRecordSource(QString());
        dc.Refresh();
    }
    state.counters["lines"] = kLines;
    state.counters["updated"] = double(db.scalar("SELECT count(*) FROM DATA0000 WHERE Freq5 IS NOT NULL").toLongLong());
}

// The same updates by one prepared statement on SQLite's own interface, in one transaction.
void BM_ImportBareUpdate(benchmark::State& state)
{
    ImportData& data = importData();
    if (int(data.rows.size()) != kLines) {
        state.SkipWithError("no sample database");
        return;
    }
    sqlite3* db = nullptr;
    sqlite3_open(data.mainDb.toUtf8().constData(), &db);
    sqlite3_exec(db, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
    qint64 changed = 0;
    for (auto _ : state) {
        changed = 0;
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "UPDATE DATA0000 SET S1 = ?, S2 = ?, S3 = ?, S4 = ?, S5 = ?, tag = '+' WHERE CODEMOD = ?",
                           -1, &st, nullptr);
        for (const ImportData::Row& r : data.rows) {
            for (int k = 0; k < 5; ++k)
                sqlite3_bind_double(st, k + 1, r.s[k]);
            const QByteArray key = r.codemod.toUtf8();
            sqlite3_bind_text(st, 6, key.constData(), int(key.size()), SQLITE_TRANSIENT);
            if (sqlite3_step(st) == SQLITE_DONE)
                changed += sqlite3_changes(db);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
    state.counters["lines"] = kLines;
    state.counters["updated"] = double(changed);
}

}  // namespace

BENCHMARK(BM_ImportCsvSchedules)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportBareUpdate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportXlsSchedules)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportDbfFrequencies)->Unit(benchmark::kMillisecond);
