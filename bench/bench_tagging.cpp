#include "app/buildinfo.h"
#include "app/globals.h"
#include "platform/forms/FormRegistry.h"
#include "tagging/frmListSave.h"
#include "tagging/frmTag.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include "quietseam.h"

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

// A program folder with the sample and export.mdb, and a saved list of 2,000 of its codes in backup/taglist.mdb.
struct ListSample {
    QTemporaryDir dir;
    dao::Database db;
    QString listFile;
    int listed = 0;

    ListSample()
    {
        const QDir data = QFileInfo(QStringLiteral(KELVA_SAMPLE_DB)).dir();
        for (const char* name : {"kelva.mdb", "export.mdb"})
            if (!QFile::copy(data.filePath(QString::fromLatin1(name)), dir.filePath(QString::fromLatin1(name))))
                return;
        QDir(dir.path()).mkdir(QStringLiteral("backup"));
        db = dao::OpenDatabase(dir.filePath("kelva.mdb"), QStringLiteral(";PWD=") + databasePassword());
        listFile = dir.filePath("backup/taglist.mdb");
        dao::Database lists = dao::CreateDatabase(listFile);
        lists.Execute("CREATE TABLE taglist ( tagname Text (15),tagcodemod Text (8))");
        dao::Recordset codes = db.OpenRecordset("SELECT CODEMOD FROM DATA0000 ORDER BY CODEMOD");
        lists.BeginTrans();
        for (int i = 0; !codes.EOF(); codes.MoveNext(), ++i)
            if (i % 8 == 0 && listed < 2000) {
                lists.Execute("INSERT INTO taglist VALUES ('BENCH', ?)", {codes[0].Value()});
                ++listed;
            }
        lists.CommitTrans();
    }
};

ListSample& listSample()
{
    static ListSample s;
    return s;
}

// Apply List: the session's tags cleared and the list's codes tagged, as the window does it.
void BM_TagListApply(benchmark::State& state)
{
    ListSample& s = listSample();
    if (!s.db.isOpen()) {
        state.SkipWithError("no sample database");
        return;
    }
    g() = Globals{};
    g().ProgramFolder = s.dir.path();
    g().DbConnect = QStringLiteral(";PWD=") + databasePassword();
    g().MainDb = s.db;
    g().CurSesTab = QStringLiteral("DATA0000");
    QuietSeam quiet;
    quiet.previous = platform::setSeam(&quiet);
    auto& w = forms().get<frmListSave>();
    w.Combo1->setCurrentIndex(w.Combo1->findText(QStringLiteral("BENCH")));
    for (auto _ : state)
        w.Apply_List();
    state.counters["tagged"] = double(s.db.scalar("SELECT count(*) FROM DATA0000 WHERE Tag = '+'").toLongLong());
    forms().discardAll();
    platform::setSeam(quiet.previous);
    g() = Globals{};
}
BENCHMARK(BM_TagListApply)->Unit(benchmark::kMillisecond);

// The same clear and tagging as two bare statements, the list's file attached.
void BM_TagListApplyBareSql(benchmark::State& state)
{
    ListSample& s = listSample();
    if (!s.db.isOpen()) {
        state.SkipWithError("no sample database");
        return;
    }
    sqlite3* h = s.db.handle();
    const QByteArray attach = ("ATTACH '" + s.listFile + "' AS lists").toUtf8();
    sqlite3_exec(h, attach.constData(), nullptr, nullptr, nullptr);
    for (auto _ : state) {
        sqlite3_exec(h,
                     "BEGIN; UPDATE DATA0000 SET Tag = NULL; UPDATE DATA0000 SET Tag = '+' WHERE CODEMOD IN "
                     "(SELECT tagcodemod FROM lists.taglist WHERE tagname = 'BENCH'); COMMIT;",
                     nullptr, nullptr, nullptr);
    }
    state.counters["tagged"] = double(s.db.scalar("SELECT count(*) FROM DATA0000 WHERE Tag = '+'").toLongLong());
    sqlite3_exec(h, "DETACH lists", nullptr, nullptr, nullptr);
}
BENCHMARK(BM_TagListApplyBareSql)->Unit(benchmark::kMillisecond);

}  // namespace
