#include "platform/jet/sheetfile.h"

#include "platform/dao/Error.h"

#include <QDir>
#include <QFileInfo>

namespace jet {

std::vector<bytes::Record> splitRecords(const QByteArray& data, const QString& fileName)
{
    std::vector<bytes::Record> out;
    qsizetype at = 0;
    while (at < data.size()) {
        if (at + 4 > data.size())
            throwUnreadable(fileName, QStringLiteral("a record is cut off at the end of the file"));
        const unsigned id = bytes::u16(data, at);
        const unsigned size = bytes::u16(data, at + 2);
        if (at + 4 + size > data.size())
            throwUnreadable(fileName, QStringLiteral("a record runs past the end of the file"));
        out.push_back({id, data.mid(at + 4, size)});
        at += 4 + size;
    }
    return out;
}

QByteArray joinRecords(const std::vector<bytes::Record>& records)
{
    return joinRecords(records, int(records.size()), {});
}

QByteArray joinRecords(const std::vector<bytes::Record>& records, int at, const QByteArray& inserted)
{
    qsizetype total = inserted.size();
    for (const auto& r : records)
        total += 4 + r.body.size();
    QByteArray out;
    out.reserve(total);
    for (int i = 0; i < int(records.size()); ++i) {
        if (i == at)
            out.append(inserted);
        bytes::putRecord(out, records[size_t(i)].id, records[size_t(i)].body);
    }
    if (at >= int(records.size()))
        out.append(inserted);
    return out;
}

RowSource rowsOf(const Rows& rows)
{
    return [&rows, i = size_t(0)](std::vector<dao::Variant>& row) mutable {
        if (i >= rows.size())
            return false;
        row = rows[i++];
        return true;
    };
}

void throwUnreadable(const QString& fileName, const QString& reason)
{
    throw dao::Error(3274, QStringLiteral("External table is not in the expected format: '%1' cannot be read (%2).")
                               .arg(QDir::toNativeSeparators(fileName), reason));
}

void throwDoesNotFit(const QString& text)
{
    throw dao::Error(3163, text);
}

QStringList headerNames(const std::vector<dao::Variant>& header, int columns)
{
    QStringList names;
    for (int c = 0; c < columns; ++c) {
        QString name = c < int(header.size()) ? header[size_t(c)].toString() : QString();
        if (name.isEmpty() || names.contains(name, Qt::CaseInsensitive))
            name = QStringLiteral("F%1").arg(c + 1);
        names << name;
    }
    return names;
}

}  // namespace jet
