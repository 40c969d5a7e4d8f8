#pragma once

// The storage behind Recordset handles: not part of the public API.

#include "Recordset.h"

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

namespace dao {

union Payload {
    qint64 i;
    double d;
    struct {
        quint32 off;  // block << 20 | offset in the block
        quint32 len;
    } t;
};

// One cached value; the text lives in the store's blocks and becomes a QString only on demand.
struct Cell {
    Payload v;
    quint8 type;  // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT or SQLITE_NULL
};

// The values of every row, 9 bytes a cell, in chunks of rows so that growing never copies what is there.
// Chunks of closed recordsets are kept for the next one (up to a few MiB), so that reading a query again
// does not fault in fresh memory.
class CellStore {
public:
    CellStore() = default;
    CellStore(const CellStore&) = delete;
    CellStore& operator=(const CellStore&) = delete;
    ~CellStore() { reset(0); }

    void reset(int width);
    int width() const { return w; }
    quint32 rows() const { return n; }
    quint32 addRow(bool clear = true);  // all Null unless the caller fills every cell
    Payload* payloads(quint32 row) { return payloadBase(row / perChunk) + std::size_t(row % perChunk) * w; }
    quint8* types(quint32 row) { return typeBase(row / perChunk) + std::size_t(row % perChunk) * w; }
    Cell get(quint32 row, int col) const
    {
        const std::size_t i = std::size_t(row % perChunk) * w + col;
        return Cell{payloadBase(row / perChunk)[i], typeBase(row / perChunk)[i]};
    }
    void set(quint32 row, int col, const Cell& cell)
    {
        const std::size_t i = std::size_t(row % perChunk) * w + col;
        payloadBase(row / perChunk)[i] = cell.v;
        typeBase(row / perChunk)[i] = cell.type;
    }
    Payload text(const char* data, quint32 len);  // copies the text into a block; "" takes no room
    // Never null, so that a zero-length text binds as a text, not as Null.
    const char* textData(const Payload& p) const
    {
        return p.t.len == 0 ? "" : blocks[p.t.off >> 20].get() + (p.t.off & 0xFFFFF);
    }

    static constexpr std::size_t kChunkBytes = 512 * 1024;

private:
    static constexpr quint32 kBlock = 1u << 20;
    Payload* payloadBase(quint32 chunk) const { return reinterpret_cast<Payload*>(chunks[chunk].get()); }
    quint8* typeBase(quint32 chunk) const
    {
        return reinterpret_cast<quint8*>(chunks[chunk].get()) + std::size_t(perChunk) * w * sizeof(Payload);
    }
    int w = 0;
    quint32 n = 0;
    quint32 perChunk = 1;
    std::vector<std::unique_ptr<char[]>> chunks;  // kChunkBytes each
    std::vector<std::unique_ptr<char[]>> blocks;
    quint32 used = kBlock;  // bytes used in the last block
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
    CellStore store;
    std::vector<quint32> order;  // position -> stored row
    qint64 pos = -1;     // -1 before the first row, order.size() after the last
    bool deletedCurrent = false;
    bool noMatch = false;
    qint64 lastModified = -1;
    bool closed = false;
    Mode mode = Mode::None;
    std::vector<Variant> buffer;
    std::vector<bool> dirty;
    std::vector<RecordsetObserver*> observers;
    quint64 readAt = 0;                         // the connection's event number when the rows were read
    std::unordered_map<qint64, quint64> added;  // rowid -> event number, rows this recordset inserted

    void open(const Database& database, const QString& src, const std::vector<Variant>& p);
    void load();
    void readRows(sqlite3_stmt* s);

    qint64 count() const { return qint64(order.size()); }
    bool hasCurrent() const { return !closed && pos >= 0 && pos < count() && !deletedCurrent; }
    void requireCurrent() const;
    void requireOpen() const;
    void requireUpdatable() const;
    // The stored row is still the table row it was read from (3167 "Record is deleted." otherwise).
    void requireSameRow(quint32 stored) const;
    // After an UPDATE or DELETE of one row by its rowid: it found the row (3167 otherwise).
    void requireRowFound() const;
    void leaveEdit() { mode = Mode::None; }

    Cell cellAt(quint32 stored, int col) const { return store.get(stored, col); }
    Variant value(quint32 stored, int col) const;
    void put(quint32 stored, int col, const Variant& v);
    qint64 rowid(quint32 stored) const { return cellAt(stored, width - 1).v.i; }
    Variant convert(int col, const Variant& v) const;
    int columnIndex(const QString& name) const;  // -1 when none
    void setPosition(qint64 p);
    bool find(const QString& criteria, const std::vector<Variant>& params, qint64 from, int step);

    // Runs a move and tells the observers before and after it (not when it fails).
    template <class F>
    void moving(F&& move)
    {
        if (observers.empty()) {
            move();
            return;
        }
        notify([](RecordsetObserver& o) { o.beforeMove(); });
        const bool had = hasCurrent();
        const quint32 before = had ? order[std::size_t(pos)] : 0;
        move();
        const bool has = hasCurrent();
        const bool changed = had != has || (has && order[std::size_t(pos)] != before);
        notify([changed](RecordsetObserver& o) { o.moved(changed); });
    }
    // Tells every observer still subscribed: call(observer). A callable rather than a member pointer, since the
    // sanitizer build of the compiler reads the vtable slot of a member-pointer call even for a non-virtual one.
    template <class F>
    void notify(F&& call)
    {
        const std::vector<RecordsetObserver*> now = observers;  // an observer may unsubscribe
        for (RecordsetObserver* o : now)
            if (std::find(observers.begin(), observers.end(), o) != observers.end())
                call(*o);
    }
};

}  // namespace dao
