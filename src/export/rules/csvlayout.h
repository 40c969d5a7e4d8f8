#pragma once

#include "platform/dao/Variant.h"
#include "platform/jet/delimited.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <vector>

// The comma-delimited form of the exports (ExportCsvLayout): Windows-1252 text, every line ended by CR LF.
// A header line holds each text quoted and one more empty quoted field; a data line holds each value
// followed by a comma. A quoted value doubles its quotes; a bare value holding a comma, a quote or a line
// break is quoted all the same, so every file reads back field for field. Numbers use "." whatever the locale.
namespace exportcsv {

// The target file, created or emptied when opened and written line by line: what was written before a
// failure stays in it. Opening fails with 76 "Path not found" when the folder is missing, 75 otherwise.
class CsvFile {
public:
    explicit CsvFile(const QString& path);
    ~CsvFile();
    CsvFile(const CsvFile&) = delete;
    CsvFile& operator=(const CsvFile&) = delete;

    void header(const QStringList& texts);
    // Each value followed by a comma; the line ends with that comma.
    void data(std::vector<jet::TextField>& values);
    // Closes the file; 75 when what was written could not be saved.
    void close();

private:
    void write(const QByteArray& line);
    QFile file_;
};

// ---- Value forms; those that convert throw 94 "Invalid use of Null" on Null, 13 "Type mismatch" on a text
// that is no number.

// The stored text between quotes; empty quotes for Null.
jet::TextField quoted(const dao::Variant& v);
jet::TextField quoted(QString text);
// The stored value unchanged (a number in its general form), empty for Null.
jet::TextField bare(const dao::Variant& v);
// The value as a double in its general form ("0.07", "1.5", "12").
jet::TextField number(const dao::Variant& v);
// The value as a double written with a pattern ("#####.0000" writes 0.5 as .5000).
jet::TextField patterned(const dao::Variant& v, const QString& pattern);
// Empty for Null, else the value as a double written "#0.00".
jet::TextField fee(const dao::Variant& v);

// The short description as the exports write it: its first 150 characters, each quote made a blank.
QString shortDescription(const dao::Variant& v);
// A text with each quote made a blank (notes keep their line breaks).
QString quotesToBlanks(const dao::Variant& v);

}  // namespace exportcsv
