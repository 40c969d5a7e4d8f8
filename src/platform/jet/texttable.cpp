#include "platform/jet/texttable.h"

#include "platform/jet/codepage.h"
#include "platform/jet/delimited.h"

#include <QFile>

namespace jet {

TextTable readTextTable(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throwUnreadable(path, f.errorString());
    auto lines = parseDelimited(decodeUtf8Or1252(f.readAll()));
    TextTable t;
    if (lines.empty())
        return t;
    std::vector<dao::Variant> header;
    for (const TextField& h : lines[0])
        header.emplace_back(h.text);
    size_t width = lines[0].size();
    for (const auto& l : lines)
        width = std::max(width, l.size());
    t.names = headerNames(header, int(width));
    t.numeric.assign(width, true);
    std::vector<bool> seen(width, false);
    for (size_t r = 1; r < lines.size(); ++r) {
        const auto& l = lines[r];
        if (l.size() == 1 && l[0].text.isEmpty() && !l[0].quoted)
            continue;  // an empty line
        for (size_t c = 0; c < l.size(); ++c) {
            if (l[c].text.isEmpty())
                continue;
            double x;
            seen[c] = true;
            if (t.numeric[c] && !dao::parseNumber(l[c].text, &x))
                t.numeric[c] = false;
        }
    }
    for (size_t c = 0; c < width; ++c)
        t.numeric[c] = t.numeric[c] && seen[c];
    t.rows.reserve(lines.size() - 1);
    for (size_t r = 1; r < lines.size(); ++r) {
        const auto& l = lines[r];
        if (l.size() == 1 && l[0].text.isEmpty() && !l[0].quoted)
            continue;
        std::vector<dao::Variant> row(width);
        for (size_t c = 0; c < l.size(); ++c) {
            if (l[c].text.isEmpty())
                continue;
            if (t.numeric[c]) {
                double x = 0;
                dao::parseNumber(l[c].text, &x);
                row[c] = x;
            } else {
                row[c] = l[c].text;
            }
        }
        t.rows.push_back(std::move(row));
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
