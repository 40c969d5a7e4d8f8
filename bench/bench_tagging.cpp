#include "app/buildinfo.h"
#include "app/globals.h"
#include "platform/forms/FormRegistry.h"
#include "tagging/frmTag.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

// A copy of the sample main database; its code table (~16,000 codes) stands for the session's.
struct TagSample {
    QTemporaryDir dir;
    dao::Database db;

    TagSample()
    {
        const QString path = dir.filePath("kelva.mdb");
        if (QFile::copy(QStringLiteral(KELVA_SAMPLE_DB), path))
            db = dao::OpenDatabase(path, QStringLiteral(";PWD=") + databasePassword());
    }
};

TagSample& sample()
{
    static TagSample s;
    return s;
}

const QString kDescription = QStringLiteral("procedure");

// "&Start Search" of the description page, up to the counted preview; "No" closes it between runs.
void BM_TagPreviewDescription(benchmark::State& state)
{
    TagSample& s = sample();
    if (!s.db.isOpen()) {
        state.SkipWithError("no sample database");
        return;
    }
    g().MainDb = s.db;
    g().CurSesTab = QStringLiteral("DATA0000");
    auto* w = static_cast<frmTag*>(forms().getByName(QStringLiteral("frmTag")));
    w->Form_Activate();
    w->Combo1->setEditText(kDescription);
    qint64 found = 0;
    for (auto _ : state) {
        w->btn_Click(0);
        found = w->Data(0).Recordset().RecordCount();
        state.PauseTiming();
        w->btn_Click(7);
        state.ResumeTiming();
    }
    state.counters["codes"] = double(found);
    forms().discardAll();
}
BENCHMARK(BM_TagPreviewDescription)->Unit(benchmark::kMillisecond);

// The same preview statement stepped to its end on the same connection through the SQLite C API.
void BM_TagPreviewBareSql(benchmark::State& state)
{
    TagSample& s = sample();
    if (!s.db.isOpen()) {
        state.SkipWithError("no sample database");
        return;
    }
    const QByteArray pattern = ("*" + kDescription + "*").toUtf8();
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(s.db.handle(), "SELECT [CPT],[MOD],[Desc] from \"DATA0000\" WHERE [Desc] Like ?", -1, &stmt,
                       nullptr);
    qint64 found = 0;
    for (auto _ : state) {
        sqlite3_bind_text(stmt, 1, pattern.constData(), int(pattern.size()), SQLITE_STATIC);
        found = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_text(stmt, 0));
            benchmark::DoNotOptimize(sqlite3_column_text(stmt, 1));
            benchmark::DoNotOptimize(sqlite3_column_text(stmt, 2));
            ++found;
        }
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    state.counters["codes"] = double(found);
}
BENCHMARK(BM_TagPreviewBareSql)->Unit(benchmark::kMillisecond);

}  // namespace
