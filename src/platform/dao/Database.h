#pragma once

#include "Error.h"
#include "Variant.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct sqlite3;

namespace dao {

class Recordset;
struct Connection;

enum class FieldType { Text, Memo, Long, Double, YesNo, Date };

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;  // characters of a text; 0 for the other kinds
};

struct IndexDef {
    QString name;  // its own name ("CODEMODIndexx"); the file stores "<table>_<name>"
    QStringList fields;
    bool unique = false;
    bool primary = false;
};

struct TableDef {
    QString name;
    std::vector<FieldDef> fields;
    std::vector<IndexDef> indexes;
};

// A table, column, index or trigger name as SQLite reads it: in double quotes, an inner " doubled
// ("a]b" -> "\"a]b\"", say "x" -> "\"say \"\"x\"\"\""). Every identifier the program puts into SQL text goes
// through it.
QString quoteIdentifier(const QString& name);

// The declared SQLite type of a field kind ("TEXT(25) COLLATE NOCASE", "TEXT COLLATE NOCASE", "INTEGER",
// "REAL", "YESNO", "DATETEXT") and back.
QString declaredType(const FieldDef& f);
FieldDef fieldFromDeclared(const QString& name, const QString& declared);

// An open database file: a cheap handle; copies share one connection.
//
// One connection per file: opening a file that the program already has open returns a handle on that same
// connection (after the password check), so a transaction covers the writes of every handle. The connection
// closes when the last handle and the last recordset over it are gone.
//
// Passwords: a file records a password only after SetPassword. Opening such a file needs ";PWD=<password>" in
// the connect text (3031 "Not a valid password." otherwise); a file without one opens whatever the connect
// text says. This guards against opening the wrong file; it is no encryption.
//
// Journal: a file that records a password (the main database, the update database) is opened in WAL mode
// with a busy timeout; every other file keeps SQLite's rollback journal, so a copied or exported file is
// complete on its own.
//
// Statement text is SQLite SQL with these conveniences of the old engine: Jet date literals #mm/dd/yyyy#
// (optionally with a time) become ISO text, and the words True and False become -1 and 0. Jet's `&` has no
// SQLite operator: write jcat(a, b, ...) (Null counts as ""). `LIKE` follows Jet's wildcards without regard
// to case. Text literals take single quotes; double quotes name identifiers, as in SQLite. See
// jetfunctions.h for the function pack registered on every connection.
//
// Column rules, kept by triggers on tables made by CreateTable or by a CREATE TABLE statement run through
// Execute (and across ALTER TABLE ... RENAME TO): a number column (INTEGER, REAL, YESNO) refuses a text that
// is no number with 3421 "Data type conversion error.", stores a zero-length text as Null, and a YESNO column
// stores every non-zero number as -1; a number an INTEGER column cannot hold (beyond 64 bits), an infinity
// or NaN fails with 3349 "Numeric field overflow."; a text longer than its TEXT(n) column fails with 3163
// "The field is too small to accept the amount of data you attempted to add.  Try inserting or pasting less
// data.". A statement that would break a rule fails as a whole. Writes through a recordset follow the same
// rules with the same numbers. SQLite's failures carry the old engine's numbers where one exists: a full
// disk 3026 "Not enough space on disk.", a read-only file 3027, an I/O failure 3043.
//
// The `exclusive` flag of OpenDatabase is accepted and not enforced: one program instance works on its files.
class Database {
public:
    Database() = default;

    bool isOpen() const { return c != nullptr; }
    QString Name() const;  // the path it was opened with
    sqlite3* handle() const;

    void Execute(const QString& sql, const std::vector<Variant>& params = {});
    qint64 RecordsAffected() const { return affected; }
    Recordset OpenRecordset(const QString& tableNameOrSql, const std::vector<Variant>& params = {});

    QStringList TableNames() const;  // user tables, in name order; never the layer's own bookkeeping
    bool hasTable(const QString& name) const;
    TableDef tableDef(const QString& name) const;  // 3265 when there is no such table
    void CreateTable(const TableDef& def);  // also creates the indexes of def
    void CreateIndex(const QString& table, const IndexDef& index);
    void ApplyColumnRules(const QString& table);  // the column rules above, for a table made otherwise
    // Execute("INSERT INTO target SELECT * FROM source") with the same outcome (rows, rowids, refusals and
    // their errors), but into an empty table with column rules many times faster: the rules check and mend
    // the copied rows together instead of one by one.
    void CopyRows(const QString& target, const QString& source);

    // Transactions nest: the outermost BeginTrans starts one, inner ones are savepoints.
    void BeginTrans();
    void CommitTrans();
    void Rollback();
    int transactionDepth() const;

    void SetPassword(const QString& password);  // "" removes the record
    void Close();  // this handle only

    // Runs fn-free SQL that returns one value (first column of the first row), Null when no row.
    Variant scalar(const QString& sql, const std::vector<Variant>& params = {});

private:
    void run(const QString& text, const std::vector<Variant>& params);
    void dropColumnRules(const QString& table);
    friend Database OpenDatabase(const QString&, bool, bool, const QString&);
    friend Database CreateDatabase(const QString&);
    friend class Recordset;
    friend struct RecordsetData;
    explicit Database(std::shared_ptr<Connection> conn) : c(std::move(conn)) {}
    std::shared_ptr<Connection> c;
    qint64 affected = 0;
};

// Opens an existing file: 3024 "Could not find file '<path>'." when there is none.
Database OpenDatabase(const QString& path, bool exclusive = false, bool readOnly = false,
                      const QString& connect = QString());
// Overload for the common call OpenDatabase(path, DbConnect).
inline Database OpenDatabase(const QString& path, const QString& connect)
{
    return OpenDatabase(path, false, false, connect);
}
// A literal connect text would otherwise convert to the bool `exclusive`.
inline Database OpenDatabase(const QString& path, const char* connect)
{
    return OpenDatabase(path, false, false, QString::fromUtf8(connect));
}
// Creates a new empty file (3204 "Database already exists." when the file is there).
Database CreateDatabase(const QString& path);

// Statements run on any connection since the program started (tests count them): each statement of Execute,
// one per OpenRecordset, Requery, Find*, scalar, Update, Delete and setCell (two for an Update after AddNew,
// which reads the new row back). The layer's own bookkeeping (transactions, column rules, table
// definitions) does not count.
qint64 statementCount();

// The password that a connect text names: the value of its PWD= part ("" when none).
QString connectPassword(const QString& connect);

}  // namespace dao

#include "Recordset.h"
