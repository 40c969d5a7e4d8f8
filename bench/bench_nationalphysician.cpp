#include "app/buildinfo.h"
#include "app/globals.h"
#include "export/ExprtInd.h"
#include "export/national/NationalWizards.h"
#include "platform/dao/Database.h"
#include "platform/forms/FormRegistry.h"
#include "platform/seam/Seam.h"
#include "quietseam.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr double kConvFactor = 35.8228;

// A program folder holding copies of the sample main database and the export template.
struct PhysicianData {
    QTemporaryDir dir;
    bool ok = false;
    PhysicianData()
    {
        const QDir data = QFileInfo(QStringLiteral(KELVA_SAMPLE_DB)).dir();
        ok = true;
        for (const char* name : {"kelva.mdb", "export.mdb"})
            ok = ok && QFile::copy(data.filePath(QString::fromLatin1(name)), dir.filePath(QString::fromLatin1(name)));
    }
};

PhysicianData& physicianData()
{
    static PhysicianData data;
    return data;
}

// Answers the save dialog with one path; every other question as QuietSeam does.
class SaveTo : public QuietSeam {
public:
    QString path;
    bool FileDialog(platform::FileDialogKind, platform::FileDialogState& s) override
    {
        s.FileName = path;
        s.FileTitle = QFileInfo(path).fileName();
        return true;
    }
};

// A whole physician run of the all-locality wizard: non-facility, 10 %.
void BM_NationalPhysicianRun(benchmark::State& state)
{
    PhysicianData& data = physicianData();
    if (!data.ok) {
        state.SkipWithError("no sample database");
        return;
    }
    g() = Globals{};
    g().ProgramFolder = data.dir.path();
    g().DbConnect = QStringLiteral(";PWD=") + databasePassword();
    g().MainDb = dao::OpenDatabase(data.dir.filePath("kelva.mdb"), g().DbConnect);
    g().CurSesTab = QStringLiteral("DATA0000");
    g().ConvFactor = kConvFactor;
    SaveTo quiet;
    quiet.path = data.dir.filePath("NATRUN.mdb");
    quiet.previous = platform::setSeam(&quiet);
    for (auto _ : state) {
        frmExportWiz& w = forms().get<frmExportWiz>();
        w.Command1_Click(1);  // introduction -> family
        w.Option1(0)->setChecked(true);
        w.Command1_Click(1);  // family -> fee type
        w.Option1(7)->setChecked(true);
        w.Text1->setText(QStringLiteral("10"));
        w.Command1_Click(1);  // the run
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    platform::setSeam(quiet.previous);
    dao::Database check = dao::OpenDatabase(quiet.path);
    state.counters["codes"] = double(check.scalar("SELECT COUNT(*) FROM KELVA_States").toLongLong());
    check.Close();
    g() = Globals{};
}
BENCHMARK(BM_NationalPhysicianRun)->Unit(benchmark::kMillisecond);

void exec(sqlite3* db, const QString& sql)
{
    char* msg = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
        fprintf(stderr, "%s\n", msg);
        sqlite3_free(msg);
    }
}

// The same two tables, each by one INSERT ... SELECT through the C API with SQLite's own round.
void BM_NationalPhysicianBareSql(benchmark::State& state)
{
    PhysicianData& data = physicianData();
    if (!data.ok) {
        state.SkipWithError("no sample database");
        return;
    }
    sqlite3* db = nullptr;
    sqlite3_open_v2(data.dir.filePath("kelva.mdb").toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr);
    struct Loc {
        QString name;
        double w, p, m;
    };
    std::vector<Loc> locs;
    {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "SELECT ST, CARRIER, LOCCODE, WORK, PRACT, MALP FROM LOCATION ORDER BY rowid", -1,
                           &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            const auto text = [&](int c) { return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c))); };
            locs.push_back({text(0) == "**" ? QStringLiteral("NAT") : text(0) + "_" + text(1) + "_" + text(2),
                            sqlite3_column_double(st, 3), sqlite3_column_double(st, 4), sqlite3_column_double(st, 5)});
        }
        sqlite3_finalize(st);
    }
    const QStringList head = {"CODE", "MOD", "CODEMOD", "STATUS", "NOTUSEDIND", "NAIND", "NAFIND", "PCTCIND", "PREOP",
                              "INTRAOP", "POSTOP", "MULTPROC", "BILATSURG", "ASSTSURG", "COSURG", "TEAMSURG",
                              "PHYSSUPV", "BMIND", "ENDOBASE", "GLOBAL"};
    const QStringList src = {"cpt", "mod", "codemod", "status", "NOTUSEDIND", "NAIND", "NAFIND", "PCTCIND", "PREOP",
                             "INTRAOP", "POSTOP", "MULTPROC", "BILATSURG", "ASSTSURG", "COSURG", "TEAMSURG",
                             "PHYSSUPV", "BMIND", "ENDOBASE", "GLOBAL"};
    const QStringList nums = {"S1", "S2", "S3", "S4", "S5", "F1", "F2", "F3", "F4", "F5",
                              "WORKZ", "MRVU", "NFTPERVU", "NON_PE_OPPS", "MAL_PE_OPPS"};
    const QStringList numSrc = {"S1", "S2", "S3", "S4", "S5", "Freq1", "Freq2", "Freq3", "Freq4", "Freq5",
                                "WORKZ", "MRVU", "NFTPERVU", "NON_PE_OPPS", "MAL_PE_OPPS"};
    QStringList workCols, exportCols, cols, sel, copy;
    for (int i = 0; i < head.size(); ++i) {
        workCols << "\"" + head[i] + "\" TEXT";
        exportCols << "\"" + head[i] + "\" TEXT";
        cols << "\"" + head[i] + "\"";
        sel << "s.\"" + src[i] + "\"";
        copy << "coalesce(\"" + head[i] + "\", '')";
    }
    for (int i = 0; i < nums.size(); ++i) {
        workCols << "\"" + nums[i] + "\" TEXT";
        exportCols << "\"" + nums[i] + "\" " + (i < 10 ? "REAL" : "TEXT");
        cols << "\"" + nums[i] + "\"";
        sel << "s.\"" + numSrc[i] + "\"";
        const QString factor = i < 5 ? " * 1.1" : "";
        const QString col = "\"" + nums[i] + "\"";
        copy << (i < 10 ? "coalesce(round(" + col + factor + ", 2), 0)" : "coalesce(printf('%.2f', " + col + "), 0)");
    }
    for (const Loc& l : locs) {
        workCols << "\"" + l.name + "\" TEXT";
        exportCols << "\"" + l.name + "\" REAL";
        cols << "\"" + l.name + "\"";
        sel << QString("printf('%.15g', round(((f.WORKZ * %1) + (f.NF98WORK * %2) + (f.MRVU * %3)) * %4, 2) * f.calcflag)")
                   .arg(l.w, 0, 'g', 15).arg(l.p, 0, 'g', 15).arg(l.m, 0, 'g', 15).arg(kConvFactor, 0, 'g', 15);
        copy << QString("coalesce(round(\"%1\" * 1.1, 2), 0)").arg(l.name);
    }
    const QString target = data.dir.filePath("bare.mdb");
    for (auto _ : state) {
        QFile::remove(target);
        exec(db, "ATTACH '" + target + "' AS x");
        exec(db, "BEGIN");
        exec(db, "DROP TABLE IF EXISTS KELVA_States");
        exec(db, "CREATE TABLE KELVA_States (" + workCols.join(", ") + ")");
        exec(db, "CREATE INDEX KELVA_States_CODEMODIndexx ON KELVA_States (CODEMOD)");
        exec(db, "INSERT INTO KELVA_States (" + cols.join(", ") + ") SELECT " + sel.join(", ") +
                     " FROM DATA0000 s LEFT JOIN DATA0000 f ON f.CODEMOD = s.codemod");
        exec(db, "CREATE TABLE x.KELVA_States (" + exportCols.join(", ") + ")");
        exec(db, "CREATE INDEX x.KELVA_States_CODEMODIndexx ON KELVA_States (CODEMOD)");
        exec(db, "INSERT INTO x.KELVA_States (" + cols.join(", ") + ") SELECT " + copy.join(", ") +
                     " FROM main.KELVA_States ORDER BY rowid");
        exec(db, "COMMIT");
        exec(db, "DETACH x");
    }
    sqlite3_close(db);
}
BENCHMARK(BM_NationalPhysicianBareSql)->Unit(benchmark::kMillisecond);

}  // namespace
