#include "app/buildinfo.h"
#include "app/globals.h"
#include "main/frmMain.h"
#include "platform/dao/Database.h"
#include "platform/forms/controls.h"
#include "search/findengine.h"
#include "search/othertables.h"

#include <sqlite3.h>

#include <QFile>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

#include "quietseam.h"
#include "samplecopy.h"

namespace {

const QString kLastOnly = QStringLiteral("zzlastrowonly");

// The sample's physician codes (~16,000) in the main grid's query, the last row's description holding a word
// that no other row holds.
struct FindSample {
    QTemporaryDir dir;
    dao::Database db;
    std::unique_ptr<frmMain> main;
    QuietSeam seam;

    bool open()
    {
        const QString path = dir.filePath("kelva.mdb");
        if (!QFile::copy(QStringLiteral(KELVA_SAMPLE_DB), path))
            return false;
        db = dao::OpenDatabase(path, QStringLiteral(";PWD=") + databasePassword());
        db.Execute(QStringLiteral("UPDATE DATA0000 SET [DESC] = ? WHERE CODEMOD = (SELECT max(CODEMOD) FROM DATA0000)"),
                   {QStringLiteral("PROCEDURE ") + kLastOnly.toUpper()});
        seam.previous = platform::setSeam(&seam);
        main = physicianMainOn(db, false);
        return true;
    }
    ~FindSample()
    {
        main.reset();
        g() = Globals{};
        if (seam.previous)
            platform::setSeam(seam.previous);
    }
};

// The physician engine with "00*00" from the first row, for a text only the last row holds.
void BM_FindEngineFullScan(benchmark::State& state)
{
    FindSample s;
    if (!s.open()) {
        state.SkipWithError("no sample database");
        return;
    }
    dao::Recordset rs = s.main->Data1.Recordset();
    const qint64 last = rs.RecordCount() - 1;
    for (auto _ : state) {
        state.PauseTiming();
        rs.MoveFirst();
        g().FindMemory = {};
        state.ResumeTiming();
        search::FindCode(*s.main, search::Kelva, kLastOnly, QStringLiteral("00*00"), 0, 0, QString());
    }
    state.counters["on_last"] = rs.AbsolutePosition() == last ? 1 : 0;
    state.counters["rows"] = double(rs.RecordCount());
}
BENCHMARK(BM_FindEngineFullScan)->Unit(benchmark::kMillisecond);

// The layer's FindFirst with the same criterion and values on the same record set.
void BM_FindFirstRecordset(benchmark::State& state)
{
    FindSample s;
    if (!s.open()) {
        state.SkipWithError("no sample database");
        return;
    }
    dao::Recordset rs = s.main->Data1.Recordset();
    const qint64 last = rs.RecordCount() - 1;
    const search::Criterion c = search::findCriterion(search::kFindFamilies[search::Kelva], QLatin1Char('*'),
                                                      QLatin1Char('*') + search::literalPattern(kLastOnly) +
                                                          QLatin1Char('*'));
    for (auto _ : state) {
        state.PauseTiming();
        rs.MoveFirst();
        state.ResumeTiming();
        rs.FindFirst(c.text, c.params);
    }
    state.counters["on_last"] = rs.AbsolutePosition() == last ? 1 : 0;
}
BENCHMARK(BM_FindFirstRecordset)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The five other families searched from the DRG view for a text found nowhere, field "*".
void BM_FindInOtherTables(benchmark::State& state)
{
    FindSample s;
    if (!s.open()) {
        state.SkipWithError("no sample database");
        return;
    }
    QString found;
    for (auto _ : state)
        found = FindInOtherTables(QStringLiteral("nowhere at all"), QStringLiteral("*"), QStringLiteral("DRG"));
    state.counters["found"] = found.isEmpty() ? 0 : 1;
}
BENCHMARK(BM_FindInOtherTables)->Unit(benchmark::kMillisecond);

// The same five criteria as bare SQLite statements with the same values bound, on the layer's connection.
void BM_FindInOtherTablesBareSql(benchmark::State& state)
{
    FindSample s;
    if (!s.open()) {
        state.SkipWithError("no sample database");
        return;
    }
    const auto queries = search::otherTableQueries(s.db, QStringLiteral("nowhere at all"), QStringLiteral("*"),
                                                   QStringLiteral("DRG"));
    sqlite3* h = s.db.handle();
    int rows = 0;
    for (auto _ : state) {
        for (const search::ExistenceQuery& q : queries) {
            sqlite3_stmt* st = nullptr;
            const QByteArray sql = q.sql.toUtf8();
            sqlite3_prepare_v2(h, sql.constData(), int(sql.size()), &st, nullptr);
            for (int i = 0; i < int(q.params.size()); ++i) {
                const QByteArray v = q.params[std::size_t(i)].toString().toUtf8();
                sqlite3_bind_text(st, i + 1, v.constData(), int(v.size()), SQLITE_TRANSIENT);
            }
            if (sqlite3_step(st) == SQLITE_ROW)
                ++rows;
            sqlite3_finalize(st);
        }
    }
    state.counters["queries"] = double(queries.size());
    state.counters["found"] = rows;
}
BENCHMARK(BM_FindInOtherTablesBareSql)->Unit(benchmark::kMillisecond);

}  // namespace
