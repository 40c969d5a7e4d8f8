#include "platform/jet/wk1.h"

#include "platform/jet/codepage.h"

#include <algorithm>

namespace jet {
namespace {

using bytes::Record;

enum : unsigned {
    opBof = 0x0000,
    opEof = 0x0001,
    opRange = 0x0006,
    opBlank = 0x000C,
    opInteger = 0x000D,
    opNumber = 0x000E,
    opLabel = 0x000F,
    opFormula = 0x0010,
    opString = 0x0033,
};

constexpr unsigned char kFormat = 0xFF;  // protected, default format

bool isCell(unsigned op)
{
    return op == opBlank || op == opInteger || op == opNumber || op == opLabel || op == opFormula || op == opString;
}

bool checkBof(const std::vector<Record>& records, const QString& fileName)
{
    if (records.empty() || records[0].id != opBof || records[0].body.size() < 2)
        throwUnreadable(fileName, QStringLiteral("not a Lotus 1-2-3 sheet"));
    const unsigned version = bytes::u16(records[0].body, 0);
    if (version < 0x0404 || version >= 0x1000)
        throwUnreadable(fileName, QStringLiteral("a Lotus 1-2-3 format other than WKS and WK1"));
    return true;
}

QString labelText(QByteArrayView text)
{
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0)
        text.truncate(nul);
    if (!text.isEmpty() && QByteArrayView("'\"^\\|").contains(text[0]))
        text = text.sliced(1);
    return decode(text, 437);
}

}  // namespace

Rows readWk1(const QByteArray& data, const QString& fileName)
{
    if (data.size() < 6 || bytes::u16(data, 0) != opBof || bytes::u16(data, 2) < 2)
        throwUnreadable(fileName, QStringLiteral("not a Lotus 1-2-3 sheet"));
    const unsigned version = bytes::u16(data, 4);
    if (version < 0x0404 || version >= 0x1000)
        throwUnreadable(fileName, QStringLiteral("a Lotus 1-2-3 format other than WKS and WK1"));
    Rows rows;
    int width = 0;
    auto put = [&](int row, int col, dao::Variant v) {
        if (size_t(row) >= rows.size())
            rows.resize(size_t(row) + 1);
        auto& r = rows[size_t(row)];
        if (size_t(col) >= r.size())
            r.resize(std::max(size_t(col) + 1, size_t(width)));
        r[size_t(col)] = std::move(v);
        width = std::max(width, col + 1);
    };
    // The records are walked where they lie: a sheet has a record per cell.
    qsizetype at = 0;
    while (at < data.size()) {
        if (at + 4 > data.size())
            throwUnreadable(fileName, QStringLiteral("a record is cut off at the end of the file"));
        const unsigned op = bytes::u16(data, at);
        const qsizetype size = bytes::u16(data, at + 2);
        const qsizetype body = at + 4;
        if (body + size > data.size())
            throwUnreadable(fileName, QStringLiteral("a record runs past the end of the file"));
        at = body + size;
        if (op == opEof)
            break;
        if (!isCell(op) || op == opBlank)
            continue;
        if (size < 5)
            throwUnreadable(fileName, QStringLiteral("a cell record is too short"));
        const int col = int(bytes::u16(data, body + 1));
        const int row = int(bytes::u16(data, body + 3));
        switch (op) {
        case opInteger:
            if (size >= 7)
                put(row, col, double(qint16(bytes::u16(data, body + 5))));
            break;
        case opNumber:
        case opFormula:
            if (size >= 13)
                put(row, col, bytes::f64(data, body + 5));
            break;
        case opLabel:
        case opString:  // the text result of the formula before it
            put(row, col, labelText(QByteArrayView(data.constData() + body + 5, size - 5)));
            break;
        default:
            break;
        }
    }
    for (auto& r : rows)
        r.resize(size_t(width));
    return rows;
}

QByteArray wk1Template(const QStringList& header)
{
    QByteArray out;
    {
        QByteArray b;
        bytes::put16(b, 0x0406);
        bytes::putRecord(out, opBof, b);
    }
    QByteArray range;
    bytes::put16(range, 0xFFFF);
    bytes::put16(range, 0);
    bytes::put16(range, 0);
    bytes::put16(range, 0);
    bytes::putRecord(out, opRange, range);
    bytes::putRecord(out, opEof, {});
    Rows head(1);
    for (const QString& name : header)
        head[0].emplace_back(name);
    return wk1WithRows(out, 0, head, false, QStringLiteral("template"));
}

QByteArray wk1WithRows(const QByteArray& original, int firstRow, const Rows& rows, bool replaceData,
                       const QString& fileName)
{
    return wk1WithRows(original, firstRow, rowsOf(rows), replaceData, fileName);
}

QByteArray wk1WithRows(const QByteArray& original, int firstRow, const RowSource& next, bool replaceData,
                       const QString& fileName)
{
    std::vector<Record> records = splitRecords(original, fileName);
    checkBof(records, fileName);
    std::vector<Record> kept;
    kept.reserve(records.size());
    int rangeAt = -1;
    int eofAt = -1;
    int insertAt = -1;
    int lastRow = -1;
    int lastCol = -1;
    for (const Record& r : records) {
        if (isCell(r.id) && r.body.size() >= 5) {
            const int col = int(bytes::u16(r.body, 1));
            const int row = int(bytes::u16(r.body, 3));
            if (replaceData && row >= 1)
                continue;
            lastRow = std::max(lastRow, row);
            lastCol = std::max(lastCol, col);
            kept.push_back(r);
            insertAt = int(kept.size());
            continue;
        }
        if (r.id == opRange)
            rangeAt = int(kept.size());
        if (r.id == opEof && eofAt < 0)
            eofAt = int(kept.size());
        kept.push_back(r);
    }
    if (eofAt < 0) {
        eofAt = int(kept.size());
        kept.push_back({opEof, {}});
    }
    if (insertAt < 0)
        insertAt = rangeAt >= 0 ? rangeAt + 1 : eofAt;
    insertAt = std::min(insertAt, eofAt);

    QByteArray added;  // the new cells' records
    added.reserve(4096);
    std::vector<dao::Variant> cells;
    QByteArray b;
    for (size_t i = 0; next(cells); ++i) {
        const int row = firstRow + int(i);
        if (row >= kWk1MaxRows)
            throwDoesNotFit(QStringLiteral("A WK1 sheet holds at most %1 rows: row %2 of '%3' cannot be written.")
                                .arg(kWk1MaxRows).arg(row + 1).arg(fileName));
        bool any = false;
        for (size_t c = 0; c < cells.size(); ++c) {
            const dao::Variant& v = cells[c];
            if (v.isNull())
                continue;
            b.resize(0);
            bytes::put8(b, kFormat);
            bytes::put16(b, unsigned(c));
            bytes::put16(b, unsigned(row));
            switch (v.type()) {
            case dao::Variant::Type::Long:
            case dao::Variant::Type::Double:
                bytes::putF64(b, v.toDouble());
                bytes::putRecord(added, opNumber, b);
                break;
            case dao::Variant::Type::Boolean:
                bytes::putF64(b, v.toBool() ? 1.0 : 0.0);
                bytes::putRecord(added, opNumber, b);
                break;
            default: {
                const QString text = v.toString();
                if (text.size() > kWk1MaxLabel)
                    throwDoesNotFit(QStringLiteral("The text of row %1, column %2 is %3 characters long; a WK1 "
                                                   "cell holds at most %4.")
                                        .arg(row + 1).arg(c + 1).arg(text.size()).arg(kWk1MaxLabel));
                b.append('\'');
                b.append(encode(text, 437));
                b.append('\0');
                bytes::putRecord(added, opLabel, b);
            }
            }
            lastCol = std::max(lastCol, int(c));
            any = true;
        }
        if (any)
            lastRow = std::max(lastRow, row);
    }

    QByteArray range;
    bytes::put16(range, lastCol < 0 ? 0xFFFF : 0);
    bytes::put16(range, 0);
    bytes::put16(range, unsigned(std::max(lastCol, 0)));
    bytes::put16(range, unsigned(std::max(lastRow, 0)));
    if (rangeAt >= 0)
        kept[size_t(rangeAt)].body = range;
    else
        kept.insert(kept.begin() + 1, Record{opRange, range}), ++insertAt;
    return joinRecords(kept, insertAt, added);
}

}  // namespace jet
