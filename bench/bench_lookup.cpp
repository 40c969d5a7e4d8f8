#include "app/buildinfo.h"
#include "app/globals.h"
#include "export/lookup/frmExportWiz2.h"
#include "platform/dao/Database.h"
#include "platform/forms/FormRegistry.h"
#include "platform/seam/Seam.h"
#include "quietseam.h"
#include "samplecopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr double kConvFactor = 35.8228;

// A program folder holding a copy of the sample main database and the export template.
struct LookupFolder {
    QTemporaryDir dir;
    std::optional<dao::Database> db = sampleOnFirstLocality(dir);
    bool ok = db && QFile::copy(QFileInfo(QStringLiteral(KELVA_SAMPLE_DB)).dir().filePath(QStringLiteral("export.mdb")),
                                dir.filePath(QStringLiteral("export.mdb")));
};

LookupFolder& lookupFolder()
{
    static LookupFolder folder;
    return folder;
}

// A whole run of the KELVA Lookup Utility on the sample's "Default" session: both work tables, both lookup
// tables, the overwrite question answered Yes from the second run on.
void BM_LookupExport(benchmark::State& state)
{
    LookupFolder& f = lookupFolder();
    if (!f.ok) {
        state.SkipWithError("no sample database");
        return;
    }
    g() = Globals{};
    g().ProgramFolder = f.dir.path();
    g().DbConnect = QStringLiteral(";PWD=") + databasePassword();
    g().MainDb = *f.db;
    g().CurSesTab = QStringLiteral("DATA0000");
    g().ConvFactor = kConvFactor;
    QuietSeam quiet;
    quiet.previous = platform::setSeam(&quiet);
    for (auto _ : state) {
        forms().get<frmExportWiz2>().Command1_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    platform::setSeam(quiet.previous);
    dao::Database check = dao::OpenDatabase(f.dir.filePath(QStringLiteral("KELVA_Lookup.mdb")));
    state.counters["codes"] = double(check.scalar(QStringLiteral("SELECT COUNT(*) FROM KELVA_Facility")).toLongLong());
    state.counters["columns"] = double(check.tableDef(QStringLiteral("KELVA_Facility")).fields.size());
    check.Close();
    g() = Globals{};
}
BENCHMARK(BM_LookupExport)->Unit(benchmark::kMillisecond);

bool run(sqlite3* db, const QString& sql)
{
    char* msg = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &msg) == SQLITE_OK)
        return true;
    fprintf(stderr, "%s\n", msg);
    sqlite3_free(msg);
    return false;
}

QString quoted(const QString& name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

// The statements of one table: its work table in the main database and its copy in the attached lookup file.
QStringList tableStatements(const QString& table, bool facility, sqlite3* db)
{
    // Text columns: the lookup table's name and the session table's.
    const QStringList texts = QStringLiteral("CODE:cpt MOD:mod STATUS NOTUSEDIND NAIND NAFIND PCTCIND PREOP INTRAOP "
                                             "POSTOP MULTPROC BILATSURG ASSTSURG COSURG TEAMSURG PHYSSUPV BMIND "
                                             "ENDOBASE GLOBAL")
                                  .split(QLatin1Char(' '));
    const QString rvu = facility ? QStringLiteral("FTPERVU") : QStringLiteral("NFTPERVU");
    const QString pe = facility ? QStringLiteral("F98WORK") : QStringLiteral("NF98WORK");
    QStringList defs, cols, fill, copy;
    const auto column = [&](const QString& name, const QString& kind, const QString& source, const QString& out) {
        defs << quoted(name) + QLatin1Char(' ') + kind;
        cols << quoted(name);
        fill << source;
        copy << out;
    };
    for (const QString& t : texts) {
        const QString name = t.section(QLatin1Char(':'), 0, 0);
        const QString out = name == QLatin1String("MOD") ? QStringLiteral("coalesce(\"MOD\", '')") : quoted(name);
        column(name, QStringLiteral("TEXT"), QStringLiteral("s.") + quoted(t.section(QLatin1Char(':'), -1)), out);
    }
    for (int i = 1; i <= 5; ++i)
        column(QStringLiteral("S%1").arg(i), QStringLiteral("REAL"), QStringLiteral("s.S%1").arg(i),
               QStringLiteral("coalesce(round(S%1, 2), 0)").arg(i));
    for (int i = 1; i <= 5; ++i)
        column(QStringLiteral("F%1").arg(i), QStringLiteral("REAL"), QStringLiteral("s.Freq%1").arg(i),
               QStringLiteral("coalesce(round(F%1, 2), 0)").arg(i));
    for (const QString& r : {QStringLiteral("WORKZ"), QStringLiteral("MRVU"), rvu})
        column(r, QStringLiteral("TEXT"), QStringLiteral("s.") + r,
               QStringLiteral("coalesce(printf('%.2f', %1), 0)").arg(r));
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT ST, CARRIER, LOCCODE, WORK, PRACT, MALP FROM LOCATION ORDER BY rowid", -1, &st,
                       nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
        const auto text = [&](int c) {
            return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
        };
        const QString name =
            text(0) == QLatin1String("**") ? QStringLiteral("NAT") : text(0) + "_" + text(1) + "_" + text(2);
        const QString fee = QStringLiteral("round((f.WORKZ * %1 + f.%2 * %3 + f.MRVU * %4) * %5, 2) * f.calcflag")
                                .arg(sqlite3_column_double(st, 3), 0, 'g', 15)
                                .arg(pe)
                                .arg(sqlite3_column_double(st, 4), 0, 'g', 15)
                                .arg(sqlite3_column_double(st, 5), 0, 'g', 15)
                                .arg(kConvFactor, 0, 'g', 15);
        column(name, QStringLiteral("REAL"), fee, QStringLiteral("coalesce(round(%1, 2), 0)").arg(quoted(name)));
    }
    sqlite3_finalize(st);
    column(QStringLiteral("CODEMOD"), QStringLiteral("TEXT"), QStringLiteral("s.codemod"), QStringLiteral("CODEMOD"));

    const QString list = cols.join(QStringLiteral(", "));
    return {QStringLiteral("DROP TABLE IF EXISTS %1").arg(table),
            QStringLiteral("CREATE TABLE %1 (%2)").arg(table, defs.join(QStringLiteral(", "))),
            QStringLiteral("CREATE INDEX %1_CODEMODIndexx ON %1 (CODEMOD)").arg(table),
            QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM DATA0000 s LEFT JOIN DATA0000 f "
                           "ON f.CODEMOD = s.codemod")
                .arg(table, list, fill.join(QStringLiteral(", "))),
            QStringLiteral("CREATE TABLE x.%1 (%2)").arg(table, defs.join(QStringLiteral(", "))),
            QStringLiteral("CREATE INDEX x.%1_CODEMODIndexx ON %1 (CODEMOD)").arg(table),
            QStringLiteral("INSERT INTO x.%1 (%2) SELECT %3 FROM main.%1 ORDER BY rowid")
                .arg(table, list, copy.join(QStringLiteral(", ")))};
}

// The same two work tables and two lookup tables, each made by one INSERT ... SELECT through the C API with
// SQLite's own round, the lookup file attached.
void BM_LookupExportBareSql(benchmark::State& state)
{
    LookupFolder& f = lookupFolder();
    if (!f.ok) {
        state.SkipWithError("no sample database");
        return;
    }
    sqlite3* db = nullptr;
    sqlite3_open_v2(f.dir.filePath(QStringLiteral("kelva.mdb")).toUtf8().constData(), &db,
                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    QStringList statements{QStringLiteral("BEGIN")};
    statements << tableStatements(QStringLiteral("KELVA_NonFacility"), false, db)
               << tableStatements(QStringLiteral("KELVA_Facility"), true, db) << QStringLiteral("COMMIT");
    const QString target = f.dir.filePath(QStringLiteral("bare.mdb"));
    for (auto _ : state) {
        QFile::remove(target);
        run(db, QStringLiteral("ATTACH '%1' AS x").arg(target));
        for (const QString& s : statements)
            if (!run(db, s)) {
                state.SkipWithError("a statement failed");
                break;
            }
        run(db, QStringLiteral("DETACH x"));
    }
    sqlite3_close(db);
}
BENCHMARK(BM_LookupExportBareSql)->Unit(benchmark::kMillisecond);

}  // namespace
