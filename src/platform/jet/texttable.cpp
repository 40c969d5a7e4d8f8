#include "platform/jet/texttable.h"

#include "platform/jet/codepage.h"
#include "platform/jet/delimited.h"

#include <QFile>
#include <charconv>

namespace jet {
namespace {

// A number as dao::parseNumber reads one (blanks around it, a sign, digits, a point, an exponent), without
// copying the field.
bool readNumber(QStringView text, double* out)
{
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 60)
        return !text.isEmpty() && dao::parseNumber(text.toString(), out);
    char buf[64];
    for (qsizetype k = 0; k < text.size(); ++k) {
        const char16_t c = text[k].unicode();
        if (!((c >= u'0' && c <= u'9') || c == u'.' || c == u'e' || c == u'E' || c == u'+' || c == u'-'))
            return false;
        buf[k] = char(c);
    }
    const char* p = buf;
    const char* end = buf + text.size();
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-')
        ++p;
    if (p == end || *p == '+' || *p == '-')
        return false;
    double v = 0;
    const auto r = std::from_chars(p, end, v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != end)
        return false;
    *out = negative ? -v : v;
    return true;
}

}  // namespace

TextTable readTextTable(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throwUnreadable(path, f.errorString());
    const QString text = decodeUtf8Or1252(f.readAll());
    const auto lines = splitDelimited(text);
    TextTable t;
    if (lines.empty())
        return t;
    std::vector<dao::Variant> header;
    for (const FieldSpan& h : lines[0])
        header.emplace_back(h.view(text).toString());
    size_t width = lines[0].size();
    for (const auto& l : lines)
        width = std::max(width, l.size());
    t.names = headerNames(header, int(width));
    t.numeric.assign(width, true);
    std::vector<bool> seen(width, false);
    // One pass reads every value as a number where it is one; the columns that turn out to hold other
    // texts take their fields' texts afterwards.
    t.rows.reserve(lines.size() - 1);
    std::vector<size_t> lineOf;
    for (size_t r = 1; r < lines.size(); ++r) {
        const auto& l = lines[r];
        if (l.size() == 1 && l[0].length == 0 && !l[0].quoted)
            continue;  // an empty line
        std::vector<dao::Variant> row(width);
        for (size_t c = 0; c < l.size(); ++c) {
            const QStringView v = l[c].view(text);
            if (v.isEmpty())
                continue;
            seen[c] = true;
            double x = 0;
            if (t.numeric[c] && readNumber(v, &x))
                row[c] = x;
            else
                t.numeric[c] = false;
        }
        t.rows.push_back(std::move(row));
        lineOf.push_back(r);
    }
    for (size_t c = 0; c < width; ++c) {
        t.numeric[c] = t.numeric[c] && seen[c];
        if (t.numeric[c])
            continue;
        for (size_t i = 0; i < t.rows.size(); ++i) {
            const auto& l = lines[lineOf[i]];
            if (c < l.size()) {
                const QStringView v = l[c].view(text);
                if (!v.isEmpty())
                    t.rows[i][c] = v.toString();
            }
        }
    }
    return t;
}

QByteArray textTableBytes(const QStringList& names, const Rows& rows)
{
    std::vector<TextField> fields;
    for (const QString& n : names)
        fields.push_back({n, true});
    QByteArray out = delimitedLine(fields);
    for (const auto& row : rows) {
        fields.clear();
        for (const dao::Variant& v : row) {
            switch (v.type()) {
            case dao::Variant::Type::Null: fields.push_back({}); break;
            case dao::Variant::Type::Long:
            case dao::Variant::Type::Double: fields.push_back({dao::doubleText(v.toDouble()), false}); break;
            default: fields.push_back({v.toString(), true});
            }
        }
        out += delimitedLine(fields);
    }
    return out;
}

}  // namespace jet
