#include "platform/controls/DataControl.h"
#include "platform/dao/Database.h"
#include "platform/jet/biff4.h"
#include "platform/jet/dbase.h"
#include "platform/jet/wk1.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// 16,000 rows of 12 columns, as the exports write them: a code, a modifier, a description and nine fees.
constexpr int kRows = 16000;
const QStringList kNames = {"CODE", "MODIFIER", "DESCR", "N1", "N2", "N3", "N4", "N5", "N6", "N7", "N8", "N9"};

std::vector<std::vector<dao::Variant>> benchRows()
{
    std::vector<std::vector<dao::Variant>> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        std::vector<dao::Variant> r;
        r.emplace_back(QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')));
        r.emplace_back(i % 3 ? QStringLiteral("26") : QString());
        r.emplace_back(QStringLiteral("Procedure description number %1").arg(i));
        for (int k = 0; k < 9; ++k)
            r.emplace_back(double(i % 997) * 1.25 + k);
        rows.push_back(std::move(r));
    }
    return rows;
}

enum class Kind { Xls, Wk1, Dbf, Csv, Sqlite };

struct Target {
    QString connect;
    QString database;
    QString source;
};

// Makes the empty table (a header-only template) of a kind in dir.
Target makeEmpty(Kind kind, const QTemporaryDir& dir)
{
    auto write = [](const QString& path, const QByteArray& bytes) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    };
    switch (kind) {
    case Kind::Xls:
        write(dir.filePath("t.xls"), jet::biff4Template(kNames));
        return {"Excel 4.0;", dir.filePath("t.xls"), "t$"};
    case Kind::Wk1:
        write(dir.filePath("t.wk1"), jet::wk1Template(kNames));
        return {"Lotus WK1;", dir.filePath("t.wk1"), "t:"};
    case Kind::Dbf: {
        std::vector<jet::DbfField> fields = {{"CODE", 'C', 7, 0}, {"MODIFIER", 'C', 2, 0}, {"DESCR", 'C', 40, 0}};
        for (int k = 1; k <= 9; ++k)
            fields.push_back({QStringLiteral("N%1").arg(k), 'N', 12, 2});
        jet::createDbf(dir.filePath("t.dbf"), fields);
        return {"dBASE III;", dir.path(), "t"};
    }
    case Kind::Csv:
        write(dir.filePath("t.csv"), kNames.join(',').toLatin1() + "\r\n");
        return {"Text;", dir.path(), "t#csv"};
    case Kind::Sqlite: {
        dao::Database db = dao::CreateDatabase(dir.filePath("t.mdb"));
        std::vector<dao::FieldDef> fields = {{"CODE", dao::FieldType::Text, 7}, {"MODIFIER", dao::FieldType::Text, 2},
                                             {"DESCR", dao::FieldType::Text, 40}};
        for (int k = 1; k <= 9; ++k)
            fields.push_back({QStringLiteral("N%1").arg(k), dao::FieldType::Double, 0});
        db.CreateTable({"T", fields, {}});
        return {"", dir.filePath("t.mdb"), "T"};
    }
    }
    return {};
}

void openControl(platform::DataControl& dc, const Target& t)
{
    dc.setConnect(t.connect);
    dc.setDatabaseName(t.database);
    dc.setRecordSource(t.source);
    dc.Refresh();
}

void release(platform::DataControl& dc)
{
    dc.setConnect(QString());
    dc.setDatabaseName(QString());
    dc.setRecordSource(QString());
    dc.Refresh();
}

// Appends the rows by field name through a data control's recordset, then releases it (the file is written).
// Over SQLite the rows go in one transaction, the fastest way that table can take them.
void appendAll(const Target& t, const std::vector<std::vector<dao::Variant>>& rows, bool sqlite)
{
    platform::DataControl dc;
    openControl(dc, t);
    if (sqlite)
        dc.Database().BeginTrans();
    auto& rs = dc.Recordset();
    for (const auto& row : rows) {
        rs.AddNew();
        for (int i = 0; i < kNames.size(); ++i)
            rs[kNames[i]] = row[size_t(i)];
        rs.Update();
    }
    if (sqlite)
        dc.Database().CommitTrans();
    release(dc);
}

void BM_DriverAppendKind(benchmark::State& state, Kind kind)
{
    const auto rows = benchRows();
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        const Target t = makeEmpty(kind, dir);
        state.ResumeTiming();
        appendAll(t, rows, kind == Kind::Sqlite);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_DriverReadKind(benchmark::State& state, Kind kind)
{
    QTemporaryDir dir;
    const Target t = makeEmpty(kind == Kind::Csv ? Kind::Xls : kind, dir);
    appendAll(t, benchRows(), kind == Kind::Sqlite);
    Target read = t;
    if (kind == Kind::Csv) {
        // The same rows as comma-delimited text, written by the text driver from the worksheet's rows.
        read = makeEmpty(Kind::Csv, dir);
        appendAll(read, benchRows(), false);
    }
    double sum = 0;
    for (auto _ : state) {
        platform::DataControl dc;
        openControl(dc, read);
        auto& rs = dc.Recordset();
        while (!rs.EOF()) {
            for (const QString& n : kNames) {
                const dao::Variant v = rs[n].Value();
                sum += v.type() == dao::Variant::Type::Double ? v.toDouble() : double(v.toString().size());
            }
            rs.MoveNext();
        }
        release(dc);
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_DriverAppendSqlite(benchmark::State& state) { BM_DriverAppendKind(state, Kind::Sqlite); }
void BM_DriverReadSqlite(benchmark::State& state) { BM_DriverReadKind(state, Kind::Sqlite); }

}  // namespace

BENCHMARK(BM_DriverAppendSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DriverAppendKind, xls, Kind::Xls)->Name("BM_DriverAppend/xls")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DriverAppendKind, wk1, Kind::Wk1)->Name("BM_DriverAppend/wk1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DriverAppendKind, dbf, Kind::Dbf)->Name("BM_DriverAppend/dbf")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DriverReadSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DriverReadKind, xls, Kind::Xls)->Name("BM_DriverRead/xls")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DriverReadKind, wk1, Kind::Wk1)->Name("BM_DriverRead/wk1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DriverReadKind, dbf, Kind::Dbf)->Name("BM_DriverRead/dbf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DriverReadKind, csv, Kind::Csv)->Name("BM_DriverRead/csv")->Unit(benchmark::kMillisecond);
