#include "platform/jet/dbase.h"

#include "platform/dao/Error.h"
#include "platform/jet/codepage.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
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

QByteArray nativePath(const QString& path)
{
    return QFile::encodeName(path);
}

QString numberText(const DbfField& f, double x)
{
    return QString::asprintf("%.*f", f.decimals, x);
}

[[noreturn]] void writeFailed(const QString& path, const QString& what)
{
    throw dao::Error(3051, QStringLiteral("Could not write the table '%1': %2.").arg(QDir::toNativeSeparators(path), what));
}

}  // namespace

DbfTable readDbf(const QString& path)
{
    DbfTable t;
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            throwUnreadable(path, f.errorString());
        const QByteArray head = f.read(32);
        if (head.size() < 32)
            throwUnreadable(path, QStringLiteral("the file is too short for a dBASE table"));
        t.codepage = codepageOfDriver(bytes::u8(head, 29));
    }
    DbfHandle h(DBFOpen(nativePath(path).constData(), "rb"));
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
    const int n = DBFGetRecordCount(h.get());
    t.rows.reserve(size_t(n));
    for (int r = 0; r < n; ++r) {
        if (DBFIsRecordDeleted(h.get(), r))
            continue;
        std::vector<dao::Variant> row(static_cast<size_t>(nf));
        for (int i = 0; i < nf; ++i) {
            const DbfField& f = t.fields[size_t(i)];
            const char* raw = DBFReadStringAttribute(h.get(), r, i);
            const QByteArray text = QByteArray(raw ? raw : "").trimmed();
            switch (f.type) {
            case 'N': case 'F':
                if (!DBFIsAttributeNULL(h.get(), r, i))
                    row[size_t(i)] = DBFReadDoubleAttribute(h.get(), r, i);
                break;
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
            default: {
                // Text keeps its leading blanks; only the padding goes.
                QByteArray kept(raw ? raw : "");
                while (kept.endsWith(' '))
                    kept.chop(1);
                if (!kept.isEmpty())
                    row[size_t(i)] = decode(kept, t.codepage);
            }
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
    const QFileInfo info(path);
    QTemporaryFile temp(info.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX.dbf").arg(info.completeBaseName())));
    if (!temp.open())
        writeFailed(path, temp.errorString());
    {
        QFile original(path);
        if (!original.open(QIODevice::ReadOnly))
            writeFailed(path, original.errorString());
        const QByteArray all = original.readAll();
        if (temp.write(all) != all.size() || !temp.flush())
            writeFailed(path, temp.errorString());
    }
    temp.close();
    temp.setPermissions(QFile::permissions(path));
    {
        DbfHandle h(DBFOpen(nativePath(temp.fileName()).constData(), "r+b"));
        if (!h)
            writeFailed(path, QStringLiteral("the table cannot be opened for writing"));
        const int nf = int(layout.fields.size());
        for (const DbfWrite& w : writes) {
            const int rec = w.record >= 0 ? w.record : DBFGetRecordCount(h.get());
            for (int i = 0; i < nf; ++i) {
                const DbfField& f = layout.fields[size_t(i)];
                const dao::Variant v = size_t(i) < w.values.size() ? w.values[size_t(i)] : dao::Variant();
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
                    case 'D':
                    {
                        QByteArray date = v.toDateTime().date().toString(QStringLiteral("yyyyMMdd")).toLatin1();
                        ok = DBFWriteAttributeDirectly(h.get(), rec, i, date.data());
                    }
                        break;
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
    if (std::rename(nativePath(temp.fileName()).constData(), nativePath(path).constData()) != 0)
        writeFailed(path, QStringLiteral("the new copy cannot replace it"));
    temp.setAutoRemove(false);
}

}  // namespace jet
