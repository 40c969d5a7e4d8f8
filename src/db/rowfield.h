#pragma once

#include "platform/dao/Database.h"
#include "platform/dao/Recordset.h"

#include <QDateTime>
#include <QString>
#include <memory>
#include <vector>

// Typed fields of a shared row (the parameter row, a session row): each column is defined once with its
// name, kind, what a Null reads as and the value shipped in the program's database. A LiveRow reads and
// writes them on the current record of a recordset, so a window that works through its data control's
// recordset keeps the data control's behaviour.
namespace db {

// What a Null reads as.
enum class NullRule {
    Fails,    // 94 "Invalid use of Null": the row is expected to hold a value (readers that allow Null ask isNull)
    Empty,    // the kind's empty value: "", 0, false, an invalid date
    Shipped,  // the shipped value
    Filled,   // the shipped value, which is also stored at the first read (the state columns)
};

// One column of a shared row: name, kind and size as the table declares them, its Null rule and the value
// shipped in the program's database (Null where nothing is shipped).
struct RowColumn {
    dao::FieldDef def;
    NullRule onNull;
    dao::Variant shipped;

    const QString& name() const { return def.name; }
};

// A column that reads as T: QString (Text, Memo), qint64 (Long), double (Double), bool (YesNo),
// QDateTime (Date).
template <class T>
struct Field : RowColumn {};

inline Field<QString> textField(const char* name, int size, NullRule onNull, dao::Variant shipped = {})
{
    return {{{QString::fromLatin1(name), dao::FieldType::Text, size}, onNull, std::move(shipped)}};
}
inline Field<QString> memoField(const char* name, NullRule onNull, dao::Variant shipped = {})
{
    return {{{QString::fromLatin1(name), dao::FieldType::Memo, 0}, onNull, std::move(shipped)}};
}
inline Field<qint64> longField(const char* name, NullRule onNull, dao::Variant shipped = {})
{
    return {{{QString::fromLatin1(name), dao::FieldType::Long, 0}, onNull, std::move(shipped)}};
}
inline Field<double> doubleField(const char* name, NullRule onNull, dao::Variant shipped = {})
{
    return {{{QString::fromLatin1(name), dao::FieldType::Double, 0}, onNull, std::move(shipped)}};
}
inline Field<bool> yesNoField(const char* name, NullRule onNull, dao::Variant shipped = {})
{
    return {{{QString::fromLatin1(name), dao::FieldType::YesNo, 0}, onNull, std::move(shipped)}};
}
inline Field<QDateTime> dateField(const char* name, NullRule onNull, dao::Variant shipped = {})
{
    return {{{QString::fromLatin1(name), dao::FieldType::Date, 0}, onNull, std::move(shipped)}};
}

class LiveRow {
public:
    // The row is the current record of rs, which stays the caller's (a data control's recordset, also
    // after the control refreshes it).
    explicit LiveRow(dao::Recordset& rs) : rs_(&rs) {}
    // The row is the current record of a recordset of its own.
    explicit LiveRow(dao::Recordset&& rs) : owned_(std::make_shared<dao::Recordset>(std::move(rs))), rs_(owned_.get())
    {
    }

    // The stored value as it stands, Null included.
    dao::Variant value(const RowColumn& f) const;
    bool isNull(const RowColumn& f) const { return value(f).isNull(); }

    // The value as T, under the field's Null rule. A value of the wrong kind fails as the program's
    // conversions do (13 "Type mismatch").
    template <class T>
    T get(const Field<T>& f) const
    {
        const dao::Variant v = read(f);
        if (v.isNull()) {
            if (f.onNull != NullRule::Empty)
                throwNull();
            return T{};
        }
        return as<T>(v);
    }

    // Assigns a field of the record being edited (between Edit/AddNew and Update).
    void assign(const RowColumn& f, const dao::Variant& v);
    // Writes one field: Edit, assign, Update; a refused Update leaves the record as stored.
    void store(const RowColumn& f, const dao::Variant& v);

    dao::Recordset& recordset() { return *rs_; }

private:
    // The value with the Null rule applied (Filled stores the shipped value).
    dao::Variant read(const RowColumn& f) const;
    template <class T>
    static T as(const dao::Variant& v);
    [[noreturn]] static void throwNull();

    std::shared_ptr<dao::Recordset> owned_;
    dao::Recordset* rs_;
};

template <>
QString LiveRow::as<QString>(const dao::Variant& v);
template <>
qint64 LiveRow::as<qint64>(const dao::Variant& v);
template <>
double LiveRow::as<double>(const dao::Variant& v);
template <>
bool LiveRow::as<bool>(const dao::Variant& v);
template <>
QDateTime LiveRow::as<QDateTime>(const dao::Variant& v);

}  // namespace db
