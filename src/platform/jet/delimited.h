#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <vector>

// Delimited text (comma-separated fields, double quotes) and writing a file whole.
namespace jet {

struct TextField {
    QString text;
    bool quoted = false;  // bare fields holding , " CR LF are quoted anyway
};

// One line: the fields separated by commas, a quoted field in double quotes with its quotes doubled;
// Windows-1252 ("?" for what it lacks), ended by CR LF.
QByteArray delimitedLine(const std::vector<TextField>& fields);

// Writes the bytes to a temporary file beside path and renames it over path, so the file is either whole
// or as it was. Throws dao::Error naming the file: 3044 when its folder does not exist, 3051 otherwise.
void writeFileWhole(const QString& path, const QByteArray& bytes);

// Splits delimited text into rows of fields: commas separate fields; a field in double quotes may hold
// commas, line breaks and doubled quotes; CR, LF and CR LF each end a line. A field's "quoted" says it was
// in quotes. An empty last line is no row.
std::vector<std::vector<TextField>> parseDelimited(const QString& text);

// The same split, with each field left where it lies in the text: a view of it, or, for a quoted field with
// doubled quotes or text after its closing quote, its own copy.
struct FieldSpan {
    qsizetype start = 0;
    qsizetype length = 0;
    bool quoted = false;
    bool own = false;
    QString copy;
    QStringView view(const QString& text) const;
};
std::vector<std::vector<FieldSpan>> splitDelimited(const QString& text);

}  // namespace jet
