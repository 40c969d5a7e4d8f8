#include "db/rowfield.h"

#include "platform/dao/Error.h"

#include "platform/dao/RecordEdit.h"

namespace db {

dao::Variant LiveRow::value(const RowColumn& f) const
{
    return (*rs_)[f.name()].Value();
}

dao::Variant LiveRow::read(const RowColumn& f) const
{
    const dao::Variant v = value(f);
    if (!v.isNull())
        return v;
    switch (f.onNull) {
    case NullRule::Filled:
        const_cast<LiveRow*>(this)->store(f, f.shipped);
        return value(f);
    case NullRule::Shipped:
        return f.shipped;
    case NullRule::Empty:
    case NullRule::Fails:
        break;
    }
    return v;
}

void LiveRow::assign(const RowColumn& f, const dao::Variant& v)
{
    (*rs_)[f.name()] = v;
}

void LiveRow::store(const RowColumn& f, const dao::Variant& v)
{
    dao::RecordEdit edit(*rs_);
    assign(f, v);
    edit.Update();
}

void LiveRow::throwNull()
{
    throw dao::Error(dao::errInvalidUseOfNull, QStringLiteral("Invalid use of Null"));
}

template <>
QString LiveRow::as<QString>(const dao::Variant& v)
{
    return dao::CStr(v);
}

template <>
qint64 LiveRow::as<qint64>(const dao::Variant& v)
{
    return dao::CLng(v);
}

template <>
double LiveRow::as<double>(const dao::Variant& v)
{
    return dao::CDbl(v);
}

template <>
bool LiveRow::as<bool>(const dao::Variant& v)
{
    // A yes/no value, or a number or "True"/"False" as the program's truth test reads it.
    if (v.type() == dao::Variant::Type::Text && !v.isNumeric()) {
        const QString t = v.toString().trimmed();
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) != 0 &&
            t.compare(QLatin1String("False"), Qt::CaseInsensitive) != 0)
            throw dao::Error(13, QStringLiteral("Type mismatch"));
    }
    return v.toBool();
}

template <>
QDateTime LiveRow::as<QDateTime>(const dao::Variant& v)
{
    const QDateTime d = v.toDateTime();
    if (!d.isValid())
        throw dao::Error(13, QStringLiteral("Type mismatch"));
    return d;
}

}  // namespace db
