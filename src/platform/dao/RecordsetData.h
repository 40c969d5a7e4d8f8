#pragma once

// The storage behind Recordset handles: not part of the public API.

#include "Recordset.h"

#include <sqlite3.h>

#include <string>
#include <vector>

namespace dao {

// One cached value: 16 bytes, the text kept in the recordset's pool and made a QString only on demand.
struct Cell {
    union {
        qint64 i;
        double d;
        struct {
            quint32 off;
            quint32 len;
        } t;
    };
    quint8 type;  // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT or SQLITE_NULL
};

struct Column {
    QString name;
    QString originColumn;  // column of the written table; empty for a computed column
    FieldDef def;
    bool typed = false;  // the kind came from a declared type
    bool editable = false;
};

struct RecordsetData {
    enum class Mode { None, Edit, AddNew };

    Database db;
    QString source;
    std::vector<Variant> params;
    QString table;       // the table that writes go to; empty when read-only
    bool hasRowid = false;
    std::vector<Column> cols;
    std::vector<Field> fields;
    int width = 0;       // stored columns per row: the columns, then the rowid
    std::vector<Cell> cells;
    std::string pool;
    std::vector<quint32> order;  // position -> stored row
    qint64 pos = -1;     // -1 before the first row, order.size() after the last
    bool deletedCurrent = false;
    bool noMatch = false;
    bool closed = false;
    Mode mode = Mode::None;
    std::vector<Variant> buffer;
    std::vector<bool> dirty;

    void open(const Database& database, const QString& src, const std::vector<Variant>& p);
    void load();
    void readRows(sqlite3_stmt* s);

    qint64 count() const { return qint64(order.size()); }
    bool hasCurrent() const { return !closed && pos >= 0 && pos < count() && !deletedCurrent; }
    void requireCurrent() const;
    void requireOpen() const;
    void requireUpdatable() const;
    void leaveEdit() { mode = Mode::None; }

    const Cell& cellAt(quint32 stored, int col) const { return cells[std::size_t(stored) * width + col]; }
    Cell& cellAt(quint32 stored, int col) { return cells[std::size_t(stored) * width + col]; }
    Variant value(quint32 stored, int col) const;
    void store(quint32 stored, int col, const Variant& v);
    qint64 rowid(quint32 stored) const { return cellAt(stored, width - 1).i; }
    Variant convert(int col, const Variant& v) const;
    int columnIndex(const QString& name) const;  // -1 when none
    void setPosition(qint64 p);
    bool find(const QString& criteria, const std::vector<Variant>& params, qint64 from, int step);
};

}  // namespace dao
