#include "platform/jet/dbase.h"

#include "platform/dao/Error.h"
#include "platform/jet/codepage.h"
#include "platform/jet/delimited.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <memory>
#include <shapefil.h>

namespace jet {
namespace {

struct DbfCloser {
    void operator()(DBFInfo* h) const
    {
        if (h)
            DBFClose(h);
    }
};
using DbfHandle = std::unique_ptr<DBFInfo, DbfCloser>;

int codepageOfDriver(unsigned ldid)
{
    switch (ldid) {
    case 0x01: return 437;
    case 0x02: return 850;
    case 0xC8: return 1250;
    case 0xC9: return 1251;
    case 0xCB: return 1253;
    case 0xCA: return 1254;
    default: return 1252;  // 0x03, 0x57, none and the rest
    }
}

unsigned driverOfCodepage(int codepage)
{
    switch (codepage) {
    case 437: return 0x01;
    case 850: return 0x02;
    default: return 0x03;
    }
}

// shapelib reads and writes a table in memory through these hooks: the file is read whole once and written
// whole once, instead of a seek and a read or write per record.
struct MemFile {
    QByteArray data;
    qsizetype pos = 0;
};
thread_local MemFile* tOpening = nullptr;  // the file that the next open of a .dbf gets

SAFile memOpen(const char* name, const char* access)
{
    Q_UNUSED(access);
    if (!tOpening || !QByteArray(name).toLower().endsWith(".dbf"))
        return nullptr;  // the side file (.cpg)
    MemFile* f = tOpening;
    tOpening = nullptr;
    return reinterpret_cast<SAFile>(f);
}
SAOffset memRead(void* p, SAOffset size, SAOffset count, SAFile file)
{
    auto* f = reinterpret_cast<MemFile*>(file);
    const qsizetype want = qsizetype(size * count);
    const qsizetype got = std::clamp<qsizetype>(f->data.size() - f->pos, 0, want);
    std::memcpy(p, f->data.constData() + f->pos, size_t(got));
    f->pos += got;
    return size ? SAOffset(got) / size : 0;
}
SAOffset memWrite(void* p, SAOffset size, SAOffset count, SAFile file)
{
    auto* f = reinterpret_cast<MemFile*>(file);
    const qsizetype n = qsizetype(size * count);
    if (f->pos + n > f->data.size()) {
        if (f->pos + n > f->data.capacity())
            f->data.reserve(std::max(f->pos + n, 2 * f->data.capacity()));
        f->data.resize(f->pos + n, '\0');
    }
    std::memcpy(f->data.data() + f->pos, p, size_t(n));
    f->pos += n;
    return count;
}
SAOffset memSeek(SAFile file, SAOffset offset, int whence)
{
    auto* f = reinterpret_cast<MemFile*>(file);
    const qsizetype base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? f->pos : f->data.size();
    f->pos = base + qsizetype(offset);
    return 0;
}
SAOffset memTell(SAFile file) { return SAOffset(reinterpret_cast<MemFile*>(file)->pos); }
int memFlush(SAFile) { return 0; }
int memClose(SAFile) { return 0; }
int memRemove(const char*) { return -1; }
void memError(const char*) {}
double memAtof(const char* s) { return std::atof(s); }

QByteArray nativePath(const QString& path)
{
    return QFile::encodeName(path);
}

QString numberText(const DbfField& f, double x)
{
    char buf[400];
    const int n = std::snprintf(buf, sizeof buf, "%.*f", f.decimals, x);
    return QString::fromLatin1(buf, n < 0 ? 0 : std::min<int>(n, int(sizeof buf) - 1));
}

[[noreturn]] void writeFailed(const QString& path, const QString& what)
{
    throw dao::Error(3051, QStringLiteral("Could not write the table '%1': %2.").arg(QDir::toNativeSeparators(path), what));
}

}  // namespace

DbfTable readDbf(const QString& path)
{
    DbfTable t;
    MemFile file;
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            throwUnreadable(path, f.errorString());
        file.data = f.readAll();
        if (file.data.size() < 32)
            throwUnreadable(path, QStringLiteral("the file is too short for a dBASE table"));
        t.codepage = codepageOfDriver(bytes::u8(file.data, 29));
    }
    SAHooks hooks{memOpen, memRead, memWrite, memSeek, memTell, memFlush, memClose, memRemove, memError, memAtof};
    tOpening = &file;
    DbfHandle h(DBFOpenLL(nativePath(path).constData(), "rb", &hooks));
    tOpening = nullptr;
    if (!h)
        throwUnreadable(path, QStringLiteral("not a dBASE table"));
    const int nf = DBFGetFieldCount(h.get());
    for (int i = 0; i < nf; ++i) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        int width = 0;
        int decimals = 0;
        DBFGetFieldInfo(h.get(), i, name, &width, &decimals);
        t.fields.push_back({decode(name, t.codepage), DBFGetNativeFieldType(h.get(), i), width, decimals});
    }
    std::vector<int> offsets;  // of each field in a record, after the deletion flag
    int at = 1;
    for (const DbfField& f : t.fields) {
        offsets.push_back(at);
        at += f.width;
    }
    const int n = DBFGetRecordCount(h.get());
    t.rows.reserve(size_t(n));
    for (int r = 0; r < n; ++r) {
        const char* rec = DBFReadTuple(h.get(), r);
        if (!rec)
            throwUnreadable(path, QStringLiteral("record %1 cannot be read").arg(r + 1));
        if (rec[0] == '*')
            continue;
        std::vector<dao::Variant> row(static_cast<size_t>(nf));
        for (int i = 0; i < nf; ++i) {
            const DbfField& f = t.fields[size_t(i)];
            QByteArrayView raw(rec + offsets[size_t(i)], f.width);
            const QByteArrayView text = raw.trimmed();
            switch (f.type) {
            case 'N': case 'F': {
                // Blank, or stars and other non-numbers (a Null number of some writers), read as Null.
                double x = 0;
                const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), x);
                if (!text.isEmpty() && ec == std::errc() && end == text.data() + text.size())
                    row[size_t(i)] = x;
                break;
            }
            case 'D': {
                const QDate d = QDate::fromString(QString::fromLatin1(text), QStringLiteral("yyyyMMdd"));
                if (d.isValid())
                    row[size_t(i)] = d;
                break;
            }
            case 'L':
                if (!text.isEmpty() && QByteArrayView("TtYy").contains(text[0]))
                    row[size_t(i)] = true;
                else if (!text.isEmpty() && QByteArrayView("FfNn").contains(text[0]))
                    row[size_t(i)] = false;
                break;
            default:
                // Text keeps its leading blanks; only the padding goes.
                while (!raw.isEmpty() && (raw.back() == ' ' || raw.back() == '\0'))
                    raw.chop(1);
                if (!raw.isEmpty())
                    row[size_t(i)] = decode(raw, t.codepage);
            }
        }
        t.rows.push_back(std::move(row));
        t.recordIndex.push_back(r);
    }
    return t;
}

void createDbf(const QString& path, const std::vector<DbfField>& fields, int codepage)
{
    if (!QFileInfo(path).absoluteDir().exists())
        throw dao::Error(3044, QStringLiteral("'%1' is not a valid path: the folder does not exist.")
                                   .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
    for (const DbfField& f : fields)
        if (encode(f.name, codepage).size() > 10)
            throwDoesNotFit(QStringLiteral("The field name '%1' is longer than the 10 characters of a dBASE field.").arg(f.name));
    {
        DbfHandle h(DBFCreateEx(nativePath(path).constData(), QStringLiteral("LDID/%1").arg(driverOfCodepage(codepage)).toLatin1().constData()));
        if (!h)
            writeFailed(path, QStringLiteral("the file cannot be created"));
        for (const DbfField& f : fields)
            if (DBFAddNativeFieldType(h.get(), encode(f.name, codepage).constData(), f.type, f.width, f.decimals) < 0)
                writeFailed(path, QStringLiteral("the field '%1' cannot be added").arg(f.name));
        const QDate today = QDate::currentDate();
        DBFSetLastModifiedDate(h.get(), today.year() - 1900, today.month(), today.day());
    }
}

QString dbfValueProblem(const DbfField& f, const dao::Variant& v, int codepage)
{
    if (v.isNull())
        return {};
    switch (f.type) {
    case 'N': case 'F': {
        double x = 0;
        if (v.type() == dao::Variant::Type::Text) {
            if (!dao::parseNumber(v.toString(), &x))
                return QStringLiteral("the field '%1' takes numbers, not '%2'").arg(f.name, v.toString());
        } else {
            x = v.toDouble();
        }
        // Plainly narrow enough needs no formatting; near the width the formatted text decides.
        const double digits = std::fabs(x) < 1 ? 1 : std::floor(std::log10(std::fabs(x))) + 1;
        if (std::isfinite(x) && digits + (x < 0) + (f.decimals > 0 ? f.decimals + 1 : 0) < f.width - 1)
            return {};
        const QString text = numberText(f, x);
        if (text.size() > f.width)
            return QStringLiteral("the number %1 is wider than the %2 characters of the field '%3'")
                .arg(text).arg(f.width).arg(f.name);
        return {};
    }
    case 'D':
        if (!v.toDateTime().isValid())
            return QStringLiteral("the field '%1' takes dates, not '%2'").arg(f.name, v.toString());
        return {};
    case 'L':
        return {};
    default: {
        const qsizetype n = encode(v.toString(), codepage).size();
        if (n > f.width)
            return QStringLiteral("the text of %1 characters is wider than the %2 of the field '%3'")
                .arg(n).arg(f.width).arg(f.name);
        return {};
    }
    }
}

void writeDbf(const QString& path, const DbfTable& layout, const std::vector<DbfWrite>& writes,
              const std::vector<int>& deleted)
{
    MemFile file;
    {
        QFile original(path);
        if (!original.open(QIODevice::ReadOnly))
            writeFailed(path, original.errorString());
        file.data = original.readAll();
    }
    {
        SAHooks hooks{memOpen, memRead, memWrite, memSeek, memTell, memFlush, memClose, memRemove, memError, memAtof};
        tOpening = &file;
        DbfHandle h(DBFOpenLL(nativePath(path).constData(), "r+b", &hooks));
        tOpening = nullptr;
        if (!h)
            writeFailed(path, QStringLiteral("the table cannot be opened for writing"));
        const int nf = int(layout.fields.size());
        for (const DbfWrite& w : writes) {
            const int rec = w.record >= 0 ? w.record : DBFGetRecordCount(h.get());
            for (int i = 0; i < nf; ++i) {
                const DbfField& f = layout.fields[size_t(i)];
                const dao::Variant v = size_t(i) < w.values.size() ? w.values[size_t(i)] : dao::Variant();
                if (v.type() == dao::Variant::Type::Text && (f.type == 'N' || f.type == 'F' || f.type == 'D'))
                    if (const QString problem = dbfValueProblem(f, v, layout.codepage); !problem.isEmpty())
                        throwDoesNotFit(QStringLiteral("A record cannot be written to '%1': %2.")
                                            .arg(QDir::toNativeSeparators(path), problem));
                int ok = 1;
                if (v.isNull()) {
                    if (w.record >= 0)  // a new record is blank already
                        ok = DBFWriteAttributeDirectly(h.get(), rec, i, const_cast<char*>(""));
                } else {
                    switch (f.type) {
                    case 'N': case 'F': {
                        double x = 0;
                        if (v.type() == dao::Variant::Type::Text)
                            dao::parseNumber(v.toString(), &x);
                        else
                            x = v.toDouble();
                        ok = DBFWriteDoubleAttribute(h.get(), rec, i, x);
                        break;
                    }
                    case 'D': {
                        QByteArray date = v.toDateTime().date().toString(QStringLiteral("yyyyMMdd")).toLatin1();
                        ok = DBFWriteAttributeDirectly(h.get(), rec, i, date.data());
                        break;
                    }
                    case 'L':
                        ok = DBFWriteLogicalAttribute(h.get(), rec, i, v.toBool() ? 'T' : 'F');
                        break;
                    default:
                        ok = DBFWriteStringAttribute(h.get(), rec, i, encode(v.toString(), layout.codepage).constData());
                    }
                }
                if (!ok)
                    throwDoesNotFit(QStringLiteral("A record cannot be written to '%1': the value '%2' does not fit "
                                                   "the field '%3'.")
                                        .arg(QDir::toNativeSeparators(path), v.toString(), f.name));
            }
        }
        for (int rec : deleted)
            if (!DBFMarkRecordDeleted(h.get(), rec, 1))
                writeFailed(path, QStringLiteral("record %1 cannot be deleted").arg(rec + 1));
        const QDate today = QDate::currentDate();
        DBFSetLastModifiedDate(h.get(), today.year() - 1900, today.month(), today.day());
    }
    writeFileWhole(path, file.data);
}

}  // namespace jet
