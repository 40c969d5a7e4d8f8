#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace dao {

// A field value as the platform has it: Null, whole number, double, text, date or boolean (-1/0).
class Variant {
public:
    enum class Type { Null, Long, Double, Text, Date, Boolean };

    Variant() = default;
    Variant(int v) : t(Type::Long), i(v) {}
    Variant(qint64 v) : t(Type::Long), i(v) {}
    Variant(long v) : t(Type::Long), i(v) {}  // qsizetype and the like, which would be ambiguous otherwise
    Variant(unsigned v) : t(Type::Long), i(v) {}
    Variant(unsigned long v) : t(Type::Long), i(qint64(v)) {}
    Variant(float v) : t(Type::Double), d(v) {}
    Variant(double v) : t(Type::Double), d(v) {}
    Variant(bool v) : t(Type::Boolean), i(v ? -1 : 0) {}
    Variant(const QString& v) : t(Type::Text), s(v) {}
    Variant(QString&& v) : t(Type::Text), s(std::move(v)) {}
    Variant(const char* v) : t(Type::Text), s(QString::fromUtf8(v)) {}
    Variant(const QDate& v);
    Variant(const QDateTime& v);

    static Variant null() { return {}; }
    // A date from its stored ISO text ("YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS"), taken as it stands.
    static Variant dateFromText(const QString& iso);

    bool isNull() const { return t == Type::Null; }
    Type type() const { return t; }
    bool isNumeric() const;  // a number, a boolean, or a text that reads as a number

    double toDouble() const;      // Null is 0; a text that is no number is 0
    qint64 toLongLong() const;    // rounds half to even, as CLng
    QString toString() const;     // Null is ""; a double in its 15-significant-digit general form
    bool toBool() const;          // non-zero; a text "True"/"False" too
    QDateTime toDateTime() const; // Date, or a text in ISO or mm/dd/yyyy form; invalid otherwise

    QVariant toQVariant() const;
    static Variant fromQVariant(const QVariant& v);

    // Same type and value; a Long and a Double compare by value, Null equals only Null.
    bool operator==(const Variant& o) const;
    bool operator!=(const Variant& o) const { return !(*this == o); }

private:
    Type t = Type::Null;
    qint64 i = 0;
    double d = 0;
    QString s;  // text, or the date in ISO form
};

// The platform's conversions: each throws Error 94 "Invalid use of Null" on Null and 13 "Type mismatch"
// on a text that is no number.
qint64 CLng(const Variant& v);   // nearest whole number, a half to even
int CInt(const Variant& v);      // the same, in the integer range (6 "Overflow" outside it)
double CDbl(const Variant& v);
QString CStr(const Variant& v);
Variant Nz(const Variant& v, const Variant& dflt = Variant(0));

// The 15-significant-digit general form of a double, as CStr writes it ("0.1", "1E+16", "1.5E-07").
QString doubleText(double v);
// Reads a text as the platform reads a number: blanks around it allowed, '.' as separator, nothing else.
bool parseNumber(const QString& text, double* out);

}  // namespace dao
