#pragma once

#include "platform/dao/Variant.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// The six fixed column layouts of the predefined-layout export, as one table that the Excel 4.0, Access and
// CSV writers all read: no writer knows a layout by its number.
namespace predefined {

// How the worksheet and the Access table take a source value (a Null is never written).
enum class Value {
    Text,    // as stored
    Number,  // converted to a double: a number cell, or its general form as text in Access
    Fee,     // converted to a double and written "#0.00" as text
    Stored,  // as stored: a number cell, or its general form as text in Access
};

// How a CSV data line writes it.
enum class Csv {
    Quoted,  // the text in quotes; Null gives ""
    Bare,    // the text alone; Null gives nothing
    Number,  // the double's general form; Null fails (or 0 with nullAsZero)
    Fee,     // "#0.00"; Null fails (or 0.00 with nullAsZero)
};

// The schedule and frequency names of a session: S1NAME..S5NAME, then F1NAME..F5NAME.
using SessionNames = std::array<dao::Variant, 10>;

struct Column {
    const char* source;   // the fee query's column
    const char* sheet;    // the template's header name
    const char* table;    // the Access column; nullptr: the session's name `name`
    const char* field;    // the CSV field-name line; nullptr: the session's name
    const char* caption;  // the CSV caption line; nullptr: the session's name
    Value value;
    Csv csv;
    bool nullAsZero = false;
    int name = -1;        // index into SessionNames
};

struct Layout {
    const char* caption;       // the option's caption
    const char* label;         // the column list shown under it
    const char* templateName;  // the worksheet template in the program folder
    std::vector<Column> columns;
    bool csvEmptyLastHeader;   // the header lines end with one more, empty, quoted field
    bool csvCaptionLine;       // a caption line follows the field-name line
    bool usesNames() const;    // some column is named after the session
};

constexpr int kLayouts = 6;
const Layout& layout(int index);  // index 0..5, the option's index

// The template's first row: the layout's worksheet names.
QStringList sheetHeader(const Layout& l);

// The Access table's CREATE TABLE statement; each session name is a quoted identifier. An empty or Null name
// fails with 3125.
QString createTable(const Layout& l, const SessionNames& names);

// The CSV header lines of the layout, as fields (each quoted).
QStringList csvFieldNames(const Layout& l, const SessionNames& names);
QStringList csvCaptions(const Layout& l, const SessionNames& names);

// Writes exportpre1.xls .. exportpre6.xls into the folder; false when one cannot be written.
bool writeTemplates(const QString& folder);

}  // namespace predefined
