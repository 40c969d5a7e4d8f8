#pragma once

#include "support/SampleDb.h"
#include "support/SeamTest.h"

#include "db/schema.h"
#include "update/updatedb.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <optional>
#include <vector>

// Update databases for tests: what an update builder delivers, as small as a case needs.
namespace updatetest {

using Rows = std::vector<db::ColumnValues>;

// The content of an update database; every part is optional.
struct UpdateContent {
    std::optional<QDateTime> dataupdate;  // parms_upd with that one row
    std::optional<Rows> data00001;        // DATA00001, the columns of DATA0000
    std::map<QString, Rows> sources;      // "dme1" -> rows; the table is made with its target's columns
};

// Writes "kelvaupd04.mdb" content to path, recording the main database's password. The sources keep no
// column rules, as a delivered file need not: a source may hold a text in a number column.
void writeUpdateDatabase(const QString& path, const UpdateContent& content);

// The target table of a source ("dme1" -> "DME", "DATA00001" -> "DATA0000").
QString targetOf(const QString& source);
// Every source of the replacement, in the driver's order.
QStringList allSources();

// `count` rows for a table, every column set by its kind and by `seed`, so that rows of different seeds
// differ in every column and keys stay unique.
Rows generatedRows(const dao::TableDef& def, int count, int seed);

// The main-database tables the update steps touch or must leave alone.
QStringList mainTables();

// A main database of mainTables() with two rows in every reference table, and a temporary folder for the
// update database.
class UpdateTest : public SeamTest {
protected:
    void SetUp() override;
    void TearDown() override;

    dao::Database& db() { return main->db(); }
    QString updatePath() const { return folder.filePath(update::kUpdateFileName); }
    // Writes the update database and attaches it.
    update::UpdateDatabase& attach(const UpdateContent& content);
    update::UpdateDatabase& attach();  // the file already written
    // Rows of every source, `count` each, from the main database's table definitions.
    UpdateContent allSourcesContent(int count = 3, int seed = 1);
    QStringList rows(const QString& table) { return testsupport::tableRows(db(), table, QStringLiteral("rowid")); }
    QStringList sourceRows(const QString& source);
    // The rows of a source in the update database at path.
    static QStringList sourceRowsAt(const QString& path, const QString& source);
    std::map<QString, QStringList> snapshot();

    std::unique_ptr<testsupport::FixtureDb> main;
    QTemporaryDir folder;
    std::unique_ptr<update::UpdateDatabase> source;
    std::unique_ptr<update::UpdateRun> run;
};

}  // namespace updatetest
