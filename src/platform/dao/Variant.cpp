#include "Variant.h"

#include "Error.h"
#include "jetfunctions.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace dao {

namespace {

const char* kIsoDateTime = "yyyy-MM-dd HH:mm:ss";
const char* kIsoDate = "yyyy-MM-dd";

QString dateText(const QDateTime& dt)
{
    if (!dt.isValid())
        return {};
    if (dt.time() == QTime(0, 0))
        return dt.date().toString(kIsoDate);
    return dt.toString(kIsoDateTime);
}

}  // namespace

Variant::Variant(const QDate& v) : t(v.isValid() ? Type::Date : Type::Null), s(v.toString(kIsoDate)) {}

Variant::Variant(const QDateTime& v) : t(v.isValid() ? Type::Date : Type::Null), s(dateText(v)) {}

Variant Variant::dateFromText(const QString& iso)
{
    Variant v;
    v.t = Type::Date;
    v.s = iso;
    return v;
}

QString doubleText(double v)
{
    if (std::isnan(v))
        return QStringLiteral("NaN");
    if (std::isinf(v))
        return v < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    if (v == 0)
        return QStringLiteral("0");
    char buf[40];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    QString out = QString::fromLatin1(buf, int(r.ptr - buf));
    const int e = out.indexOf(QLatin1Char('e'));
    if (e >= 0)
        out[e] = QLatin1Char('E');
    return out;
}

bool parseNumber(const QString& text, double* out)
{
    const QByteArray b = text.trimmed().toLatin1();
    if (b.isEmpty())
        return false;
    const char* p = b.constData();
    const char* end = p + b.size();
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    if (p == end || *p == '+' || *p == '-')
        return false;
    // std::from_chars takes no "inf"/"nan" words here: only digits, a point and an exponent count as a number.
    for (const char* q = p; q < end; ++q) {
        const char c = *q;
        if (!((c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-'))
            return false;
    }
    double v = 0;
    auto r = std::from_chars(p, end, v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != end)
        return false;
    if (out)
        *out = negative ? -v : v;
    return true;
}

bool Variant::isNumeric() const
{
    switch (t) {
    case Type::Long:
    case Type::Double:
    case Type::Boolean:
        return true;
    case Type::Text:
        return parseNumber(s, nullptr);
    default:
        return false;
    }
}

double Variant::toDouble() const
{
    switch (t) {
    case Type::Long:
    case Type::Boolean:
        return double(i);
    case Type::Double:
        return d;
    case Type::Text: {
        double v = 0;
        if (parseNumber(s, &v))
            return v;
        if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return -1;
        return 0;
    }
    default:
        return 0;
    }
}

qint64 Variant::toLongLong() const
{
    if (t == Type::Long || t == Type::Boolean)
        return i;
    return jet::clng(toDouble());
}

QString Variant::toString() const
{
    switch (t) {
    case Type::Null:
        return {};
    case Type::Long:
        return QString::number(i);
    case Type::Double:
        return doubleText(d);
    case Type::Boolean:
        return i ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Text:
    case Type::Date:
        return s;
    }
    return {};
}

bool Variant::toBool() const
{
    if (t == Type::Text) {
        if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return toDouble() != 0;
}

QDateTime Variant::toDateTime() const
{
    if (t != Type::Date && t != Type::Text)
        return {};
    const QString x = s.trimmed();
    QDateTime dt = QDateTime::fromString(x, kIsoDateTime);
    if (!dt.isValid())
        dt = QDateTime::fromString(x, Qt::ISODate);
    if (!dt.isValid()) {
        QDate date = QDate::fromString(x, kIsoDate);
        if (!date.isValid())
            date = QDate::fromString(x, QStringLiteral("M/d/yyyy"));
        if (date.isValid())
            dt = QDateTime(date, QTime(0, 0));
    }
    if (!dt.isValid()) {
        dt = QDateTime::fromString(x, QStringLiteral("M/d/yyyy h:mm:ss AP"));
        if (!dt.isValid())
            dt = QDateTime::fromString(x, QStringLiteral("M/d/yyyy H:mm:ss"));
    }
    return dt;
}

QVariant Variant::toQVariant() const
{
    switch (t) {
    case Type::Null:
        return {};
    case Type::Long:
        return QVariant(qlonglong(i));
    case Type::Double:
        return QVariant(d);
    case Type::Boolean:
        return QVariant(i != 0);
    case Type::Text:
        return QVariant(s);
    case Type::Date: {
        QDateTime dt = toDateTime();
        return dt.isValid() ? QVariant(dt) : QVariant(s);
    }
    }
    return {};
}

Variant Variant::fromQVariant(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::Bool:
        return Variant(v.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return Variant(qint64(v.toLongLong()));
    case QMetaType::Double:
    case QMetaType::Float:
        return Variant(v.toDouble());
    case QMetaType::QDate:
        return Variant(v.toDate());
    case QMetaType::QDateTime:
        return Variant(v.toDateTime());
    default:
        return Variant(v.toString());
    }
}

bool Variant::operator==(const Variant& o) const
{
    const bool num = t == Type::Long || t == Type::Double || t == Type::Boolean;
    const bool onum = o.t == Type::Long || o.t == Type::Double || o.t == Type::Boolean;
    if (num && onum) {
        if (t != Type::Double && o.t != Type::Double)
            return i == o.i;
        return toDouble() == o.toDouble();
    }
    if (t != o.t)
        return false;
    if (t == Type::Null)
        return true;
    return s == o.s;
}

namespace {

void requireValue(const Variant& v)
{
    if (v.isNull())
        throw Error(errInvalidUseOfNull, QStringLiteral("Invalid use of Null"));
    if (v.type() == Variant::Type::Text && !v.isNumeric()
        && v.toString().compare(QLatin1String("True"), Qt::CaseInsensitive) != 0
        && v.toString().compare(QLatin1String("False"), Qt::CaseInsensitive) != 0)
        throw Error(13, QStringLiteral("Type mismatch"));
}

}  // namespace

qint64 CLng(const Variant& v)
{
    requireValue(v);
    if (v.type() == Variant::Type::Long || v.type() == Variant::Type::Boolean)
        return v.toLongLong();
    const double x = v.type() == Variant::Type::Text && !v.isNumeric() ? (v.toBool() ? -1 : 0) : v.toDouble();
    if (!std::isfinite(x) || std::fabs(x) >= 9.2e18)
        throw Error(6, QStringLiteral("Overflow"));
    return jet::clng(x);
}

int CInt(const Variant& v)
{
    const qint64 n = CLng(v);
    if (n < -32768 || n > 32767)
        throw Error(6, QStringLiteral("Overflow"));
    return int(n);
}

double CDbl(const Variant& v)
{
    requireValue(v);
    if (v.type() == Variant::Type::Text && !v.isNumeric())
        return v.toBool() ? -1 : 0;
    return v.toDouble();
}

QString CStr(const Variant& v)
{
    if (v.isNull())
        throw Error(errInvalidUseOfNull, QStringLiteral("Invalid use of Null"));
    return v.toString();
}

Variant Nz(const Variant& v, const Variant& dflt)
{
    return v.isNull() ? dflt : v;
}

}  // namespace dao
