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

std::vector<std::vector<TextField>> parseDelimited(const QString& text)
{
    std::vector<std::vector<TextField>> rows;
    std::vector<TextField> row;
    TextField field;
    bool fieldStarted = false;  // something of the current line has been read
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto endField = [&] {
        row.push_back(std::move(field));
        field = TextField{};
    };
    auto endLine = [&] {
        endField();
        rows.push_back(std::move(row));
        row.clear();
        fieldStarted = false;
    };
    while (i < n) {
        const QChar c = text[i];
        if (c == u'"' && field.text.isEmpty() && !field.quoted) {
            field.quoted = true;
            fieldStarted = true;
            ++i;
            while (i < n) {
                if (text[i] == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        field.text += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field.text += text[i++];
            }
            continue;
        }
        if (c == u',') {
            endField();
            fieldStarted = true;
            ++i;
        } else if (c == u'\r' || c == u'\n') {
            endLine();
            i += (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
        } else {
            field.text += c;
            fieldStarted = true;
            ++i;
        }
    }
    if (fieldStarted)
        endLine();
    return rows;
}

}  // namespace jet
