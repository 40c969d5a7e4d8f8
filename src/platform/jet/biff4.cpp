#include "platform/jet/biff4.h"

#include "platform/jet/codepage.h"

#include <algorithm>

namespace jet {
namespace {

using bytes::Record;

enum : unsigned {
    idBof = 0x0409,
    idEof = 0x000A,
    idCodepage = 0x0042,
    idFont = 0x0231,
    idFormat = 0x041E,
    idXf = 0x0443,
    idDimensions = 0x0200,
    idBlank = 0x0201,
    idNumber = 0x0203,
    idLabel = 0x0204,
    idBoolErr = 0x0205,
    idString = 0x0207,
    idRk = 0x027E,
    idFormula = 0x0406,
    idRString = 0x00D6,
    idMulRk = 0x00BD,
    idMulBlank = 0x00BE,
    idWindow2 = 0x023E,
};

bool isCell(unsigned id)
{
    switch (id) {
    case idBlank: case idNumber: case idLabel: case idBoolErr: case idRk: case idFormula: case idRString:
    case idMulRk: case idMulBlank:
        return true;
    default:
        return false;
    }
}

QByteArray bodyOf(std::initializer_list<unsigned char> b)
{
    return QByteArray(reinterpret_cast<const char*>(std::data(b)), qsizetype(b.size()));
}


}  // namespace

bool isBiff4(const QByteArray& data)
{
    return data.size() >= 8 && bytes::u16(data, 0) == idBof && bytes::u16(data, 4) == 0x0400;
}

QByteArray biff4Template(const QStringList& header)
{
    QByteArray out;
    {
        QByteArray b;
        bytes::put16(b, 0x0400);
        bytes::put16(b, 0x0010);
        bytes::put16(b, 0);
        bytes::putRecord(out, idBof, b);
    }
    bytes::putRecord(out, idCodepage, bodyOf({0xE4, 0x04}));
    bytes::putRecord(out, idFont, bodyOf({0xC8, 0x00, 0x00, 0x00, 0xFF, 0x7F, 0x05, 'A', 'r', 'i', 'a', 'l'}));
    bytes::putRecord(out, idFormat, bodyOf({0x00, 0x00, 0x07, 'G', 'e', 'n', 'e', 'r', 'a', 'l'}));
    bytes::putRecord(out, idXf, bodyOf({0x00, 0x00, 0xF5, 0xFF, 0x20, 0x00, 0x00, 0xCE, 0x00, 0x00, 0x00, 0x00}));
    bytes::putRecord(out, idXf, bodyOf({0x00, 0x00, 0x01, 0x00, 0x20, 0x00, 0x00, 0xCE, 0x00, 0x00, 0x00, 0x00}));
    bytes::putRecord(out, idDimensions, QByteArray(10, '\0'));
    bytes::putRecord(out, idWindow2, bodyOf({0xB6, 0x00, 0, 0, 0, 0, 0, 0, 0, 0}));
    bytes::putRecord(out, idEof, {});
    Rows head(1);
    for (const QString& name : header)
        head[0].emplace_back(name);
    return biff4WithRows(out, 0, head, false, QStringLiteral("template"));
}

QByteArray biff4WithRows(const QByteArray& original, int firstRow, const Rows& rows, bool replaceData,
                         const QString& fileName)
{
    return biff4WithRows(original, firstRow, rowsOf(rows), replaceData, fileName);
}

QByteArray biff4WithRows(const QByteArray& original, int firstRow, const RowSource& next, bool replaceData,
                         const QString& fileName)
{
    if (!isBiff4(original))
        throwUnreadable(fileName, QStringLiteral("not an Excel 4.0 worksheet"));
    std::vector<Record> records = splitRecords(original, fileName);

    int codepage = 1252;
    int dimensions = -1;
    int xfCount = 0;
    int cellXf = -1;      // the first cell XF of the file
    int headerXf = -1;    // the XF of the first header cell
    int lastRow = -1;
    int lastCol = -1;
    std::vector<Record> kept;
    kept.reserve(records.size());
    int insertAt = -1;  // index in kept after the last cell record
    bool dropString = false;
    for (const Record& r : records) {
        if (r.id == idString && dropString) {
            dropString = false;
            continue;
        }
        dropString = false;
        if (r.id == idCodepage && r.body.size() >= 2) {
            codepage = int(bytes::u16(r.body, 0));
            if (codepage == 0x8000 || codepage == 0x8001)
                codepage = 1252;  // the Apple and Windows ANSI markers of old files
        } else if (r.id == idXf && r.body.size() >= 4) {
            if (cellXf < 0 && (bytes::u16(r.body, 2) & 0x0004) == 0)
                cellXf = xfCount;
            ++xfCount;
        } else if (r.id == idDimensions) {
            dimensions = int(kept.size());
        }
        if (isCell(r.id) && r.body.size() >= 4) {
            const int row = int(bytes::u16(r.body, 0));
            int col = int(bytes::u16(r.body, 2));
            if (replaceData && row >= 1) {
                dropString = r.id == idFormula;
                continue;
            }
            if (r.id == idMulRk || r.id == idMulBlank)
                col = int(bytes::u16(r.body, int(r.body.size()) - 2));
            if (row == 0 && headerXf < 0 && r.id != idMulRk && r.id != idMulBlank && r.body.size() >= 6)
                headerXf = int(bytes::u16(r.body, 4));
            lastRow = std::max(lastRow, row);
            lastCol = std::max(lastCol, col);
            kept.push_back(r);
            insertAt = int(kept.size());
            continue;
        }
        if (r.id == idString && insertAt == int(kept.size())) {
            kept.push_back(r);  // a formula's text result belongs to its cell
            insertAt = int(kept.size());
            continue;
        }
        kept.push_back(r);
    }
    if (dimensions < 0)
        throwUnreadable(fileName, QStringLiteral("the worksheet has no DIMENSIONS record"));
    if (insertAt < 0)
        insertAt = dimensions + 1;
    const unsigned xf = unsigned(headerXf >= 0 ? headerXf : cellXf >= 0 ? cellXf : 0);

    QByteArray added;  // the new cells' records
    added.reserve(4096);
    std::vector<dao::Variant> cells;
    QByteArray b;
    for (size_t i = 0; next(cells); ++i) {
        const int row = firstRow + int(i);
        if (row >= kBiff4MaxRows)
            throwDoesNotFit(QStringLiteral("A worksheet holds at most %1 rows with its header: row %2 of '%3' "
                                           "cannot be written.")
                                .arg(kBiff4MaxRows).arg(row + 1).arg(fileName));
        bool any = false;
        for (size_t c = 0; c < cells.size(); ++c) {
            const dao::Variant& v = cells[c];
            if (v.isNull())
                continue;
            if (int(c) >= kBiff4MaxColumns)
                throwDoesNotFit(QStringLiteral("A worksheet holds at most %1 columns.").arg(kBiff4MaxColumns));
            b.resize(0);
            bytes::put16(b, unsigned(row));
            bytes::put16(b, unsigned(c));
            bytes::put16(b, xf);
            switch (v.type()) {
            case dao::Variant::Type::Long:
            case dao::Variant::Type::Double:
                bytes::putF64(b, v.toDouble());
                bytes::putRecord(added, idNumber, b);
                break;
            case dao::Variant::Type::Boolean:
                bytes::put8(b, v.toBool() ? 1 : 0);
                bytes::put8(b, 0);
                bytes::putRecord(added, idBoolErr, b);
                break;
            default: {
                const QByteArray text = encode(v.toString(), codepage);
                if (text.size() > kBiff4MaxLabelBytes)
                    throwDoesNotFit(QStringLiteral("The text of row %1, column %2 is %3 bytes long; a worksheet "
                                                   "cell holds at most %4.")
                                        .arg(row + 1).arg(c + 1).arg(text.size()).arg(kBiff4MaxLabelBytes));
                bytes::put16(b, unsigned(text.size()));
                b.append(text);
                bytes::putRecord(added, idLabel, b);
            }
            }
            lastCol = std::max(lastCol, int(c));
            any = true;
        }
        if (any)
            lastRow = std::max(lastRow, row);
    }

    QByteArray dim;
    bytes::put16(dim, 0);
    bytes::put16(dim, unsigned(lastRow + 1));
    bytes::put16(dim, 0);
    bytes::put16(dim, unsigned(lastCol + 1));
    bytes::put16(dim, 0);
    kept[size_t(dimensions)].body = dim;
    return joinRecords(kept, insertAt, added);
}

}  // namespace jet
