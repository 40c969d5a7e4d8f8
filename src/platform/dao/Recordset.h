#pragma once

#include "Database.h"

#include <QString>
#include <cstdio>
#include <memory>
#include <vector>

// Recordset::EOF keeps its old name; the C library's EOF macro would hide it, so it goes here (use
// std::char_traits<char>::eof() where the C constant is meant).
#undef EOF

namespace dao {

struct RecordsetData;

// One column of a recordset; its value is that of the current record (or of the record being edited).
class Field {
public:
    QString Name() const;
    Variant Value() const;
    void setValue(const Variant& v);  // only between Edit/AddNew and Update (3020 otherwise)
    Field& operator=(const Variant& v)
    {
        setValue(v);
        return *this;
    }
    FieldType Type() const;
    int Size() const;
    bool editable() const;  // the column is a column of the one table that the recordset writes

private:
    friend struct RecordsetData;
    RecordsetData* rs = nullptr;
    int col = 0;
};

// Hears what happens to a recordset through any of its handles (a data control subscribes to its own).
// Moves are a MoveFirst/Last/Next/Previous, Move, setAbsolutePosition, setBookmark or Find*.
class RecordsetObserver {
public:
    virtual ~RecordsetObserver() = default;
    // Before a move or a Requery: a chance to write what is pending.
    virtual void beforeMove() {}
    // After a move; `changed` when the current record is another one.
    virtual void moved(bool /*changed*/) {}
    // After an Update: the edited record's position, -1 after AddNew.
    virtual void written(qint64 /*position*/) {}
    virtual void deleted() {}             // after a Delete
    virtual void requeried() {}           // after a Requery
    // After a Reread; `sameRecord` when the current record is the row it was before.
    virtual void reread(bool /*sameRecord*/) { requeried(); }
};

// The rows of a table or of a query, read in full when opened; a cheap handle, copies share the cursor.
//
// Over a table, or over a query whose columns come from one table, Edit/AddNew/Update/Delete and setCell
// write the underlying table row (found by its rowid); computed columns cannot be written. Writes follow
// the database's column rules (see Database): a text that is no number assigned to a number field fails
// with 3421 and a zero-length one is Null, a number out of the field's range 3349, a text too long for its
// field 3163; a non-zero value in a yes/no field is stored as -1, a date is stored as ISO text.
class Recordset {
public:
    Recordset() = default;
    bool isOpen() const { return d != nullptr; }

    int FieldCount() const;
    Field& Fields(int i);
    Field& Fields(const QString& name);  // 3265 "Item not found in this collection." when there is none
    Field& operator[](int i) { return Fields(i); }
    Field& operator[](const QString& name) { return Fields(name); }
    Field& operator[](const char* name) { return Fields(QString::fromUtf8(name)); }

    void MoveFirst();
    void MoveLast();
    void MoveNext();      // 3021 "No current record." when already after the last row
    void MovePrevious();  // 3021 when already before the first row
    void Move(qint64 n);
    bool BOF() const;
    // There is a record to read or edit: not before the first, after the last, or on a deleted row.
    bool hasCurrentRecord() const;
    bool EOF() const;
    qint64 RecordCount() const;
    qint64 AbsolutePosition() const;  // 0-based; -1 when there is no current record
    void setAbsolutePosition(qint64 n);
    qint64 Bookmark() const;  // identifies the current record for as long as the recordset is open
    void setBookmark(qint64 b);

    // A criterion is an SQL condition over the recordset's columns, with ? placeholders bound to params
    // ("CODEMOD = ?", "CODEMOD LIKE ?"). Searching starts from the current record (First/Last from the ends);
    // a miss sets NoMatch and leaves the current record where it was.
    void FindFirst(const QString& criteria, const std::vector<Variant>& params = {});
    void FindNext(const QString& criteria, const std::vector<Variant>& params = {});
    void FindPrevious(const QString& criteria, const std::vector<Variant>& params = {});
    void FindLast(const QString& criteria, const std::vector<Variant>& params = {});
    bool NoMatch() const;

    void Edit();
    void AddNew();
    void Update();
    void CancelUpdate();
    bool editing() const;  // between Edit/AddNew and Update/CancelUpdate
    void Delete();
    bool updatable() const;
    qint64 LastModified() const;  // bookmark of the record last written by Update (3021 when none)

    void Requery();
    // Reads the values of the rows again, keeping the rows and the current record: rows of one table take
    // their table rows' stored columns anew (computed columns keep their values; the row set is not
    // queried again). Other rows are read by the query again on the same position (the last row when there
    // are fewer). True when the current record is the one it was.
    bool Reread();
    void Close();

    // Observers are kept with the rows, so every handle of this recordset tells them; not owned.
    void subscribe(RecordsetObserver* observer);
    void unsubscribe(RecordsetObserver* observer);

    // Random access for grids, without moving the current record.
    int rowCount() const;
    Variant cell(int row, int col) const;
    void setCell(int row, int col, const Variant& v);  // writes the underlying row and the cached value
    QString fieldName(int col) const;
    bool editable(int col) const;
    Database database() const;
    QString source() const;  // the table name or the query text it was opened with

private:
    friend class Database;
    std::shared_ptr<RecordsetData> d;
    RecordsetData& data() const;
};

}  // namespace dao
