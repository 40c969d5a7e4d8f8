#include "platform/jet/xlsread.h"

#include "platform/dao/Error.h"
#include "platform/jet/codepage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

// Layouts: the compound file of [MS-CFB] and the BIFF records of [MS-XLS] and the older Excel file format
// descriptions, as summed up in the driver layer's format notes.

namespace jet {

namespace {

// Jet's "External table is not in the expected format."
constexpr int errNotExpectedFormat = 3274;

// Column IV is the last column of every version read here.
constexpr int maxColumns = 256;

[[noreturn]] void refuse(const QString& path, const QString& reason)
{
    throw dao::Error(errNotExpectedFormat,
                     QStringLiteral("Cannot read the workbook '%1': %2.").arg(QDir::toNativeSeparators(path), reason));
}

// Thrown inside the reader where the file's name is not at hand; readWorkbookBytes adds it.
struct Damage {
    QString reason;
    bool encrypted = false;
};

[[noreturn]] void damaged(const QString& what)
{
    throw Damage{what};
}

[[noreturn]] void encrypted()
{
    throw Damage{{}, true};
}

quint16 u16(const char* p)
{
    return quint16(quint8(p[0]) | quint8(p[1]) << 8);
}

quint32 u32(const char* p)
{
    return quint32(u16(p)) | quint32(u16(p + 2)) << 16;
}

double f64(const char* p)
{
    quint64 bits = quint64(u32(p)) | quint64(u32(p + 4)) << 32;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// ---- 8-bit texts ------------------------------------------------------------------------------------------

// The code page a CODEPAGE record names, in the numbering the decoder knows.
int codepageOf(quint16 cv)
{
    switch (cv) {
    case 0x8001:  // "Windows ANSI" of Excel 2.x and 3.0
        return 1252;
    case 0x8000:  // Apple Roman
        return 10000;
    default:
        return cv;
    }
}

// ---- The compound file --------------------------------------------------------------------------------------

constexpr quint32 endOfChain = 0xFFFFFFFE;
constexpr quint32 noStream = 0xFFFFFFFF;
const char cfbSignature[8] = {char(0xD0), char(0xCF), char(0x11), char(0xE0), char(0xA1), char(0xB1), char(0x1A), char(0xE1)};

class CompoundFile {
public:
    explicit CompoundFile(const QByteArray& file) : f(file)
    {
        if (f.size() < 512)
            damaged(QStringLiteral("the file ends inside its header"));
        const char* h = f.constData();
        const int shift = u16(h + 0x1E);
        if (shift != 9 && shift != 12)
            damaged(QStringLiteral("its header gives an unknown sector size"));
        sectorSize = 1 << shift;
        const int miniShift = u16(h + 0x20);
        if (miniShift < 1 || miniShift >= shift)
            damaged(QStringLiteral("its header gives an unknown mini sector size"));
        miniSectorSize = 1 << miniShift;
        version = u16(h + 0x1A);
        miniCutoff = u32(h + 0x38);
        readFat(u32(h + 0x2C), u32(h + 0x44), u32(h + 0x48));
        directory = chain(u32(h + 0x30), -1);
        miniFatStart = u32(h + 0x3C);
    }

    // The stream of this name among the root storage's children (names compare without regard to case).
    std::optional<QByteArray> stream(const QString& name)
    {
        const int entries = int(directory.size() / 128);
        if (entries == 0 || quint8(directory[0x42]) != 5)
            damaged(QStringLiteral("its directory has no root entry"));
        // The root's children form a tree through the left and right sibling links.
        std::vector<quint32> pending{u32(entry(0) + 0x4C)};
        std::vector<bool> seen(size_t(entries), false);
        while (!pending.empty()) {
            const quint32 id = pending.back();
            pending.pop_back();
            if (id == noStream)
                continue;
            if (id >= quint32(entries) || seen[id])
                damaged(QStringLiteral("its directory is damaged"));
            seen[id] = true;
            const char* e = entry(int(id));
            pending.push_back(u32(e + 0x44));
            pending.push_back(u32(e + 0x48));
            const int nameBytes = u16(e + 0x40);
            if (quint8(e[0x42]) != 2 || nameBytes < 2 || nameBytes > 64)
                continue;
            const QString entryName = QString::fromUtf16(reinterpret_cast<const char16_t*>(e), nameBytes / 2 - 1);
            if (entryName.compare(name, Qt::CaseInsensitive) == 0)
                return read(e);
        }
        return std::nullopt;
    }

private:
    const QByteArray& f;
    int sectorSize = 512;
    int miniSectorSize = 64;
    int version = 3;
    quint32 miniCutoff = 4096;
    quint32 miniFatStart = endOfChain;
    std::vector<quint32> fat;
    QByteArray directory;

    const char* entry(int i) const { return directory.constData() + qsizetype(i) * 128; }

    const char* sector(quint32 n) const
    {
        const qint64 at = (qint64(n) + 1) * sectorSize;
        if (at + sectorSize > f.size())
            damaged(QStringLiteral("it is cut short (sector %1 lies past its end)").arg(n));
        return f.constData() + at;
    }

    void readFat(quint32 fatSectors, quint32 difatStart, quint32 difatSectors)
    {
        const qint64 sectorsInFile = f.size() / sectorSize;
        if (fatSectors > quint32(sectorsInFile))
            damaged(QStringLiteral("its header names more allocation sectors than the file holds"));
        std::vector<quint32> fatSectorList;
        for (int i = 0; i < 109 && fatSectorList.size() < fatSectors; ++i)
            fatSectorList.push_back(u32(f.constData() + 0x4C + 4 * i));
        quint32 next = difatStart;
        const int perDifat = sectorSize / 4 - 1;
        for (quint32 k = 0; fatSectorList.size() < fatSectors; ++k) {
            if (k >= difatSectors || next >= endOfChain - 1 || k > quint32(sectorsInFile))
                damaged(QStringLiteral("its allocation table is incomplete"));
            const char* s = sector(next);
            for (int i = 0; i < perDifat && fatSectorList.size() < fatSectors; ++i)
                fatSectorList.push_back(u32(s + 4 * i));
            next = u32(s + 4 * perDifat);
        }
        fat.reserve(size_t(fatSectors) * size_t(sectorSize / 4));
        for (quint32 n : fatSectorList) {
            const char* s = sector(n);
            for (int i = 0; i < sectorSize / 4; ++i)
                fat.push_back(u32(s + 4 * i));
        }
    }

    // The bytes of a chain in the allocation table: `size` of them, or the whole chain when size is -1.
    QByteArray chain(quint32 start, qint64 size) const
    {
        QByteArray out;
        if (size >= 0)
            out.reserve(qsizetype(std::min<qint64>(size, f.size())));
        quint32 n = start;
        size_t steps = 0;
        while (n != endOfChain && (size < 0 || out.size() < size)) {
            if (n >= fat.size() || ++steps > fat.size())
                damaged(QStringLiteral("a sector chain is broken"));
            const char* s = sector(n);
            const qint64 take = size < 0 ? sectorSize : std::min<qint64>(sectorSize, size - out.size());
            out.append(s, qsizetype(take));
            n = fat[n];
        }
        if (size >= 0 && out.size() < size)
            damaged(QStringLiteral("a stream ends before its stated size"));
        return out;
    }

    QByteArray read(const char* e)
    {
        const quint32 start = u32(e + 0x74);
        qint64 size = u32(e + 0x78);
        if (version >= 4)
            size |= qint64(u32(e + 0x7C)) << 32;
        if (size > f.size())
            damaged(QStringLiteral("a stream is larger than the file"));
        if (size >= miniCutoff)
            return chain(start, size);
        // A small stream lives in the mini stream: the root's chain, cut into mini sectors.
        const char* root = entry(0);
        qint64 rootSize = u32(root + 0x78);
        if (version >= 4)
            rootSize |= qint64(u32(root + 0x7C)) << 32;
        if (rootSize > f.size())
            damaged(QStringLiteral("the mini stream is larger than the file"));
        const QByteArray mini = chain(u32(root + 0x74), rootSize);
        const QByteArray miniFatBytes = chain(miniFatStart, -1);
        const size_t miniFatSize = size_t(miniFatBytes.size() / 4);
        QByteArray out;
        out.reserve(qsizetype(size));
        quint32 n = start;
        size_t steps = 0;
        while (out.size() < size) {
            if (n >= miniFatSize || ++steps > miniFatSize)
                damaged(QStringLiteral("a mini sector chain is broken"));
            const qint64 at = qint64(n) * miniSectorSize;
            const qint64 take = std::min<qint64>(miniSectorSize, size - out.size());
            if (at + take > mini.size())
                damaged(QStringLiteral("a mini sector lies past the mini stream"));
            out.append(mini.constData() + at, qsizetype(take));
            n = u32(miniFatBytes.constData() + 4 * n);
        }
        return out;
    }
};

// ---- Records ------------------------------------------------------------------------------------------------

struct Record {
    quint16 id = 0;
    const char* data = nullptr;
    int size = 0;
    qsizetype at = 0;  // where the record's header lies in the stream
};

class RecordStream {
public:
    RecordStream(const QByteArray& s, qsizetype from) : s(s), pos(from) {}

    // The next record; false at the end of the stream.
    bool next(Record& r)
    {
        if (pos >= s.size())
            return false;
        if (pos + 4 > s.size())
            damaged(QStringLiteral("it is cut short inside a record"));
        r.at = pos;
        r.id = u16(s.constData() + pos);
        r.size = u16(s.constData() + pos + 2);
        if (pos + 4 + r.size > s.size())
            damaged(QStringLiteral("it is cut short inside a record"));
        r.data = s.constData() + pos + 4;
        pos += 4 + r.size;
        return true;
    }

    // The next record if it is a CONTINUE, leaving the stream where it was otherwise.
    bool nextContinue(Record& r)
    {
        const qsizetype keep = pos;
        if (next(r) && r.id == 0x003C)
            return true;
        pos = keep;
        return false;
    }

private:
    const QByteArray& s;
    qsizetype pos;
};

void need(const Record& r, int bytes)
{
    if (r.size < bytes)
        damaged(QStringLiteral("record 0x%1 is too short").arg(r.id, 4, 16, QLatin1Char('0')));
}

// A record's data with that of the CONTINUE records after it, read as one: texts of BIFF8 whose characters run
// into a CONTINUE go on there after a new flags byte.
class Continued {
public:
    Continued(const Record& first, RecordStream& stream)
    {
        parts.push_back(QByteArrayView(first.data, first.size));
        Record c;
        while (stream.nextContinue(c))
            parts.push_back(QByteArrayView(c.data, c.size));
    }
    explicit Continued(QByteArrayView only) { parts.push_back(only); }

    bool atEnd()
    {
        skipEmptyParts();
        return part >= parts.size();
    }

    quint8 byte()
    {
        skipEmptyParts();
        if (part >= parts.size())
            damaged(QStringLiteral("a text runs past the end of its record"));
        return quint8(parts[part][pos++]);
    }
    quint16 word() { return quint16(byte() | byte() << 8); }
    quint32 dword() { return quint32(word()) | quint32(word()) << 16; }
    void skip(quint64 n)
    {
        while (n > 0) {
            skipEmptyParts();
            if (part >= parts.size())
                damaged(QStringLiteral("a text runs past the end of its record"));
            const quint64 here = std::min<quint64>(n, quint64(parts[part].size() - pos));
            pos += qsizetype(here);
            n -= here;
        }
    }

    // A BIFF8 text: count of characters, flags, formatting runs and extra data as the flags say.
    QString unicodeText(bool shortCount = false)
    {
        const int count = shortCount ? byte() : word();
        const quint8 flags = byte();
        const quint16 runs = (flags & 0x08) ? word() : 0;
        const quint32 extra = (flags & 0x04) ? dword() : 0;
        QString text = characters(count, flags & 0x01);
        skip(quint64(runs) * 4);
        skip(extra);
        return text;
    }

    // An 8-bit text of BIFF2-5: its count (one or two bytes), then the bytes.
    QByteArray bytes(int count)
    {
        QByteArray out;
        out.reserve(count);
        for (int i = 0; i < count; ++i)
            out.append(char(byte()));
        return out;
    }

private:
    std::vector<QByteArrayView> parts;
    size_t part = 0;
    qsizetype pos = 0;

    void skipEmptyParts()
    {
        while (part < parts.size() && pos >= parts[part].size()) {
            ++part;
            pos = 0;
        }
    }

    QString characters(int count, bool wide)
    {
        QString out;
        out.reserve(count);
        while (out.size() < count) {
            if (part < parts.size() && pos >= parts[part].size()) {
                // The characters go on in the next CONTINUE, after a flags byte of their own.
                ++part;
                pos = 0;
                if (part >= parts.size() || parts[part].isEmpty())
                    damaged(QStringLiteral("a text runs past the end of its record"));
                wide = quint8(parts[part][pos++]) & 0x01;
            }
            if (part >= parts.size())
                damaged(QStringLiteral("a text runs past the end of its record"));
            const QByteArrayView p = parts[part];
            if (wide) {
                while (out.size() < count && pos + 2 <= p.size()) {
                    out.append(QChar(u16(p.data() + pos)));
                    pos += 2;
                }
                if (out.size() < count && pos + 1 == p.size())
                    damaged(QStringLiteral("a text is split inside a character"));
            } else {
                while (out.size() < count && pos < p.size())
                    out.append(QChar(quint8(p[pos++])));  // the low bytes of UTF-16: Latin-1
            }
        }
        return out;
    }
};

double rkValue(quint32 rk)
{
    double v;
    if (rk & 0x02) {
        v = double(qint32(rk) >> 2);
    } else {
        const quint64 bits = quint64(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, sizeof v);
    }
    return (rk & 0x01) ? v / 100 : v;
}

// ---- Sheets -------------------------------------------------------------------------------------------------

enum class Biff { v2, v3, v4, v5, v8 };

class SheetBuilder {
public:
    void set(int row, int col, dao::Variant v)
    {
        if (col >= maxColumns)
            damaged(QStringLiteral("a cell lies past column IV"));
        if (v.isNull() || (v.type() == dao::Variant::Type::Text && v.toString().isEmpty())) {
            clear(row, col);
            return;
        }
        if (size_t(row) >= rows.size())
            rows.resize(size_t(row) + 1);
        auto& r = rows[size_t(row)];
        if (size_t(col) >= r.size())
            r.resize(size_t(col) + 1);
        r[size_t(col)] = std::move(v);
    }

    Sheet finish(QString name)
    {
        Sheet sheet;
        sheet.name = std::move(name);
        while (!rows.empty() && rowEmpty(rows.back()))
            rows.pop_back();
        for (const auto& r : rows)
            for (size_t c = r.size(); c > 0; --c)
                if (!r[c - 1].isNull()) {
                    sheet.columns = std::max(sheet.columns, int(c));
                    break;
                }
        for (auto& r : rows)
            r.resize(size_t(sheet.columns));
        sheet.rows = std::move(rows);
        return sheet;
    }

private:
    std::vector<std::vector<dao::Variant>> rows;

    void clear(int row, int col)
    {
        if (size_t(row) < rows.size() && size_t(col) < rows[size_t(row)].size())
            rows[size_t(row)][size_t(col)] = dao::Variant();
    }
    static bool rowEmpty(const std::vector<dao::Variant>& r)
    {
        return std::all_of(r.begin(), r.end(), [](const dao::Variant& v) { return v.isNull(); });
    }
};

struct Globals {
    Biff biff = Biff::v8;
    int codepage = 1252;
    std::vector<QString> sst;
};

// The value a formula stored: a number, a boolean, a text still to come (STRING), or nothing.
struct FormulaResult {
    dao::Variant value;
    bool textFollows = false;
};

FormulaResult formulaResult(const char* r)
{
    if (u16(r + 6) != 0xFFFF) {
        const double d = f64(r);
        return {std::isfinite(d) ? dao::Variant(d) : dao::Variant(), false};
    }
    switch (quint8(r[0])) {
    case 0:
        return {{}, true};
    case 1:
        return {dao::Variant(r[2] != 0), false};
    default:  // 2 an error value, 3 an empty text
        return {{}, false};
    }
}

// Reads one sheet's records from its BOF up to the matching EOF.
Sheet readSheet(const QByteArray& stream, qsizetype bof, const Globals& g, const QString& name)
{
    RecordStream records(stream, bof);
    Record r;
    if (!records.next(r) || (r.id & 0xFF) != 0x09)
        damaged(QStringLiteral("the sheet \"%1\" does not begin where the workbook says").arg(name));
    SheetBuilder cells;
    const bool biff8 = g.biff == Biff::v8;
    const bool biff2 = g.biff == Biff::v2;
    auto text8 = [&](QByteArrayView bytes) { return decode(bytes, g.codepage); };
    int pendingRow = -1, pendingCol = 0;              // the formula cell whose text the next STRING holds
    int depth = 0;                                    // charts embedded in the sheet have BOF and EOF of their own

    while (true) {
        if (!records.next(r))
            damaged(QStringLiteral("the sheet \"%1\" has no end").arg(name));
        if (r.id == 0x0809 || r.id == 0x0409 || r.id == 0x0209 || r.id == 0x0009) {
            ++depth;
            continue;
        }
        if (r.id == 0x000A) {
            if (depth == 0)
                break;
            --depth;
            continue;
        }
        if (depth > 0)
            continue;
        if (r.id == 0x002F)
            encrypted();
        const bool cell = r.size >= 4 && (r.id == 0x0002 || r.id == 0x0003 || r.id == 0x0004 || r.id == 0x0005
                                          || r.id == 0x0006 || r.id == 0x0203 || r.id == 0x0204 || r.id == 0x0205
                                          || r.id == 0x027E || r.id == 0x00BD || r.id == 0x00D6 || r.id == 0x00FD
                                          || r.id == 0x0206 || r.id == 0x0406 || r.id == 0x0001 || r.id == 0x0201
                                          || r.id == 0x00BE);
        if (cell)
            pendingRow = -1;
        const int row = r.size >= 4 ? u16(r.data) : 0;
        const int col = r.size >= 4 ? u16(r.data + 2) : 0;
        switch (r.id) {
        case 0x0002:  // INTEGER (BIFF2)
            need(r, 9);
            cells.set(row, col, dao::Variant(double(u16(r.data + 7))));
            break;
        case 0x0003:  // NUMBER (BIFF2)
            need(r, 15);
            cells.set(row, col, dao::Variant(f64(r.data + 7)));
            break;
        case 0x0203:  // NUMBER
            need(r, 14);
            cells.set(row, col, dao::Variant(f64(r.data + 6)));
            break;
        case 0x0004: {  // LABEL (BIFF2)
            need(r, 8);
            const int n = quint8(r.data[7]);
            need(r, 8 + n);
            cells.set(row, col, text8(QByteArrayView(r.data + 8, n)));
            break;
        }
        case 0x0204:    // LABEL
        case 0x00D6: {  // RSTRING
            need(r, 8);
            if (biff8) {
                Continued c(QByteArrayView(r.data + 6, r.size - 6));
                cells.set(row, col, c.unicodeText());
            } else {
                const int n = u16(r.data + 6);
                need(r, 8 + n);
                cells.set(row, col, text8(QByteArrayView(r.data + 8, n)));
            }
            break;
        }
        case 0x00FD: {  // LABELSST
            need(r, 10);
            const quint32 i = u32(r.data + 6);
            if (i >= g.sst.size())
                damaged(QStringLiteral("a cell refers to a shared text the workbook does not have"));
            cells.set(row, col, g.sst[i]);
            break;
        }
        case 0x027E:  // RK
            need(r, 10);
            cells.set(row, col, dao::Variant(rkValue(u32(r.data + 6))));
            break;
        case 0x00BD: {  // MULRK
            need(r, 6);
            const int n = (r.size - 6) / 6;
            for (int i = 0; i < n; ++i)
                cells.set(row, col + i, dao::Variant(rkValue(u32(r.data + 4 + 6 * i + 2))));
            break;
        }
        case 0x0005:    // BOOLERR (BIFF2)
        case 0x0205: {  // BOOLERR
            const int at = r.id == 0x0005 ? 7 : 6;
            need(r, at + 2);
            cells.set(row, col, r.data[at + 1] ? dao::Variant() : dao::Variant(r.data[at] != 0));
            break;
        }
        case 0x0006:    // FORMULA (BIFF2, BIFF5, BIFF8)
        case 0x0206:    // FORMULA (BIFF3)
        case 0x0406: {  // FORMULA (BIFF4)
            const int at = biff2 ? 7 : 6;
            need(r, at + 8);
            FormulaResult result = formulaResult(r.data + at);
            cells.set(row, col, result.value);
            if (result.textFollows) {
                pendingRow = row;
                pendingCol = col;
            }
            break;
        }
        case 0x0007:    // STRING (BIFF2)
        case 0x0207: {  // STRING
            if (pendingRow < 0)
                break;
            QString text;
            if (r.id == 0x0007) {
                need(r, 1);
                const int n = quint8(r.data[0]);
                need(r, 1 + n);
                text = text8(QByteArrayView(r.data + 1, n));
            } else if (biff8) {
                Continued c(r, records);
                text = c.unicodeText();
            } else {
                need(r, 2);
                const int n = u16(r.data);
                need(r, 2 + n);
                text = text8(QByteArrayView(r.data + 2, n));
            }
            cells.set(pendingRow, pendingCol, text);
            pendingRow = -1;
            break;
        }
        default:
            break;
        }
    }
    return cells.finish(name);
}

// A worksheet of Excel 2.x to 4.0: one bare record stream, one sheet.
Workbook readWorksheet(const QByteArray& stream, Biff biff, const QString& path)
{
    Workbook book;
    Globals g;
    g.biff = biff;
    // The code page and the password record come before the cells, but look at them first in any case.
    RecordStream scan(stream, 0);
    Record r;
    while (scan.next(r) && r.id != 0x000A) {
        if (r.id == 0x002F)
            encrypted();
        if (r.id == 0x0042 && r.size >= 2)
            g.codepage = codepageOf(u16(r.data));
    }
    book.codepage = g.codepage;
    const QString name = QFileInfo(path).completeBaseName();
    book.sheets.push_back(readSheet(stream, 0, g, name.isEmpty() ? QStringLiteral("Sheet1") : name));
    return book;
}

// A workbook of Excel 5.0 to 2003: the globals (code page, shared texts, sheets, active sheet), then each sheet.
Workbook readBook(const QByteArray& stream)
{
    RecordStream records(stream, 0);
    Record r;
    if (!records.next(r) || r.id != 0x0809 || r.size < 4)
        damaged(QStringLiteral("its workbook stream does not begin with a BOF record"));
    Globals g;
    g.biff = u16(r.data) >= 0x0600 ? Biff::v8 : Biff::v5;
    g.codepage = g.biff == Biff::v8 ? 1200 : 1252;
    struct Bound {
        quint32 offset;
        QByteArray rawName;  // BIFF5: 8-bit, decoded once the code page is known
        QString name;
    };
    std::vector<Bound> bounds;
    int active = 0;
    bool window1 = false;
    while (true) {
        if (!records.next(r))
            damaged(QStringLiteral("its workbook globals have no end"));
        if (r.id == 0x000A)
            break;
        switch (r.id) {
        case 0x002F:
            encrypted();
        case 0x0042:
            need(r, 2);
            g.codepage = codepageOf(u16(r.data));
            break;
        case 0x003D:
            if (!window1 && r.size >= 12) {
                active = u16(r.data + 10);
                window1 = true;
            }
            break;
        case 0x0085: {
            need(r, 7);
            Bound b{u32(r.data), {}, {}};
            if (g.biff == Biff::v8) {
                Continued c(QByteArrayView(r.data + 6, r.size - 6));
                b.name = c.unicodeText(true);
            } else {
                const int n = quint8(r.data[6]);
                need(r, 7 + n);
                b.rawName = QByteArray(r.data + 7, n);
            }
            bounds.push_back(std::move(b));
            break;
        }
        case 0x00FC: {
            need(r, 8);
            Continued c(r, records);
            c.dword();  // the count of cells that use them
            const quint32 unique = c.dword();
            g.sst.reserve(std::min<size_t>(unique, size_t(stream.size())));
            for (quint32 i = 0; i < unique && !c.atEnd(); ++i)
                g.sst.push_back(c.unicodeText());
            break;
        }
        default:
            break;
        }
    }
    Workbook book;
    book.codepage = g.codepage;
    for (Bound& b : bounds) {
        if (g.biff == Biff::v5)
            b.name = decode(b.rawName, g.codepage);
        if (b.offset >= quint32(stream.size()))
            damaged(QStringLiteral("the sheet \"%1\" lies past the end of the workbook").arg(b.name));
        book.sheets.push_back(readSheet(stream, b.offset, g, b.name));
    }
    if (book.sheets.empty())
        damaged(QStringLiteral("the workbook has no sheets"));
    book.active = active < int(book.sheets.size()) ? active : 0;
    return book;
}

}  // namespace

Workbook readWorkbookBytes(const QByteArray& bytes, const QString& path)
{
    try {
        if (bytes.isEmpty())
            refuse(path, QStringLiteral("the file is empty"));
        if (bytes.startsWith("PK\x03\x04"))
            refuse(path, QStringLiteral("it is an Excel 2007 or later workbook (.xlsx), not an .xls file; save it "
                                        "in the Excel 97-2003 format and try again"));
        if (bytes.startsWith(QByteArrayView(cfbSignature, 8))) {
            CompoundFile cfb(bytes);
            for (const QString& name : {QStringLiteral("Workbook"), QStringLiteral("Book")})
                if (std::optional<QByteArray> stream = cfb.stream(name))
                    return readBook(*stream);
            if (cfb.stream(QStringLiteral("EncryptedPackage")))
                refuse(path, QStringLiteral("it is an Excel 2007 or later workbook protected by a password (encrypted)"));
            refuse(path, QStringLiteral("it is a compound document that holds no Excel workbook"));
        }
        if (bytes.size() >= 8) {
            const quint16 id = u16(bytes.constData());
            const quint16 size = u16(bytes.constData() + 2);
            const quint16 type = u16(bytes.constData() + 6);
            const bool worksheet = type == 0x0010 || type == 0x0020 || type == 0x0040;
            if (id == 0x0009 && size >= 4 && worksheet)
                return readWorksheet(bytes, Biff::v2, path);
            if (id == 0x0209 && size >= 6 && worksheet)
                return readWorksheet(bytes, Biff::v3, path);
            if (id == 0x0409 && size >= 6 && worksheet)
                return readWorksheet(bytes, Biff::v4, path);
            if (id == 0x0409 && size >= 6 && type == 0x0100)
                refuse(path, QStringLiteral("it is an Excel 4.0 workbook; save each sheet as a worksheet and try again"));
            if (id == 0x0809 && size >= 4)
                return readBook(bytes);
        }
        refuse(path, QStringLiteral("it is not an Excel file"));
    } catch (const Damage& d) {
        if (d.encrypted)
            refuse(path, QStringLiteral("it is protected by a password (encrypted)"));
        refuse(path, QStringLiteral("the file is damaged or incomplete (%1)").arg(d.reason));
    }
}

Workbook readWorkbook(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        throw dao::Error(dao::errFileNotFound, QStringLiteral("Could not find file '%1'.").arg(QDir::toNativeSeparators(path)));
    if (!file.open(QIODevice::ReadOnly))
        refuse(path, QStringLiteral("the file cannot be opened (%1)").arg(file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        refuse(path, QStringLiteral("the file cannot be read (%1)").arg(file.errorString()));
    return readWorkbookBytes(bytes, path);
}

}  // namespace jet
