#pragma once

// The connection behind Database handles and recordsets: not part of the public API.

#include "Database.h"

#include <QHash>
#include <sqlite3.h>

namespace dao {

struct Connection {
    sqlite3* db = nullptr;
    QString path;  // as opened
    QString key;   // canonical path: one connection per file
    bool readOnly = false;
    QByteArray passwordHash;  // recorded in the file; empty when none
    int depth = 0;            // transaction nesting
    QHash<QString, sqlite3_stmt*> cache;
    QHash<sqlite3_stmt*, bool> busy;

    // Rowids that a new row took over from a deleted one, in the tables that recordsets write: a recordset
    // that read the old row must not write the new one. A rowid is taken over only when a row is inserted
    // at or below the highest rowid the table had, which SQLite does after the top rows were deleted.
    struct TableWatch {
        QByteArray table;
        qint64 highest = 0;
        quint64 since = 0;  // reuse before this point is no longer listed: every older reader is stale
        std::vector<std::pair<quint64, qint64>> reused;  // (event, rowid)
    };
    std::vector<TableWatch> watches;
    quint64 events = 0;

    // Starts watching a table (once); returns the current event number for a reader to keep.
    quint64 watch(const QString& table);
    // A row with this rowid was inserted after event `since`: the row read then is gone.
    bool reusedSince(const QString& table, qint64 rowid, quint64 since) const;
    void inserted(const char* table, qint64 rowid);

    ~Connection();
    [[noreturn]] void fail(int rc) const;
};

// A prepared statement, from the connection's cache when it holds a single statement; reset on destruction.
class Stmt {
public:
    // One statement; when `several` is given and the text holds more, sets it and prepares nothing.
    Stmt(Connection& c, const QString& sql, bool* several = nullptr);
    Stmt(Connection& c, const QByteArray& utf8, const char** tail);  // the first of several
    ~Stmt();
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;

    sqlite3_stmt* get() const { return s; }
    explicit operator bool() const { return s != nullptr; }
    void bind(int index, const Variant& v);
    // Binds params from `first` on to the statement's placeholders in order; returns how many it took.
    std::size_t bindAll(const std::vector<Variant>& params, std::size_t first = 0);
    bool step();  // true on a row; throws on an error
    void countRun();
    void quiet() { counted = true; }  // the layer's own look-ups do not count as statements

private:
    Connection& c;
    sqlite3_stmt* s = nullptr;
    bool cached = false;
    bool counted = false;
};

// Statement text of the old engine made SQLite's: Jet date literals and the words True/False.
QString translateSql(const QString& sql);
Error sqliteError(sqlite3* db, int rc);
Variant columnVariant(sqlite3_stmt* s, int col);
void noteStatement();

}  // namespace dao
