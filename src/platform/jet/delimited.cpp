#include "platform/jet/delimited.h"

#include "platform/dao/Error.h"
#include "platform/jet/codepage.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace jet {

QByteArray delimitedLine(const std::vector<TextField>& fields)
{
    QString line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += u',';
        const QString& t = fields[i].text;
        const bool quote = fields[i].quoted || t.contains(u',') || t.contains(u'"') || t.contains(u'\r') ||
                           t.contains(u'\n');
        if (quote) {
            line += u'"';
            line += QString(t).replace(QStringLiteral("\""), QStringLiteral("\"\""));
            line += u'"';
        } else {
            line += t;
        }
    }
    QByteArray bytes = encode(line, 1252);
    bytes.append("\r\n");
    return bytes;
}

void writeFileWhole(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        throw dao::Error(3044, QStringLiteral("'%1' is not a valid path: the folder does not exist.")
                                   .arg(QDir::toNativeSeparators(info.absolutePath())));
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw dao::Error(3051, QStringLiteral("Could not write the file '%1': %2.")
                                   .arg(QDir::toNativeSeparators(path), file.errorString()));
}

QStringView FieldSpan::view(const QString& text) const
{
    return own ? QStringView(copy) : QStringView(text).mid(start, length);
}

std::vector<std::vector<FieldSpan>> splitDelimited(const QString& text)
{
    std::vector<std::vector<FieldSpan>> rows;
    std::vector<FieldSpan> row;
    const QChar* p = text.constData();
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        FieldSpan f;
        f.start = i;
        if (p[i] == u'"') {
            f.quoted = true;
            ++i;
            f.start = i;
            while (i < n) {
                qsizetype j = i;
                while (j < n && p[j] != u'"')
                    ++j;
                if (f.own)
                    f.copy.append(p + i, j - i);
                if (j + 1 < n && p[j + 1] == u'"') {
                    if (!f.own) {
                        f.own = true;
                        f.copy = QString(p + f.start, j - f.start);
                    }
                    f.copy += u'"';
                    i = j + 2;
                    continue;
                }
                if (!f.own)
                    f.length = j - f.start;
                i = j + 1;
                break;
            }
        }
        qsizetype j = i;
        while (j < n && p[j] != u',' && p[j] != u'\r' && p[j] != u'\n')
            ++j;
        if (!f.quoted) {
            f.length = j - f.start;
        } else if (j > i) {  // text after the closing quote belongs to the field too
            if (!f.own) {
                f.own = true;
                f.copy = QString(p + f.start, f.length);
            }
            f.copy.append(p + i, j - i);
        }
        row.push_back(std::move(f));
        i = j;
        if (i >= n)
            break;
        if (p[i] == u',') {
            ++i;
            if (i == n)
                row.emplace_back();
            continue;
        }
        i += (p[i] == u'\r' && i + 1 < n && p[i + 1] == u'\n') ? 2 : 1;
        rows.push_back(std::move(row));
        row.clear();
    }
    if (!row.empty())
        rows.push_back(std::move(row));
    return rows;
}

std::vector<std::vector<TextField>> parseDelimited(const QString& text)
{
    std::vector<std::vector<TextField>> rows;
    for (const auto& spans : splitDelimited(text)) {
        std::vector<TextField> row;
        row.reserve(spans.size());
        for (const FieldSpan& f : spans)
            row.push_back({f.view(text).toString(), f.quoted});
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace jet
