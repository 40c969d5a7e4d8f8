#pragma once

#include "platform/jet/sheetfile.h"

// The tables of the "Text;" driver: comma-delimited files whose first line names the fields.
namespace jet {

struct TextTable {
    QStringList names;
    std::vector<bool> numeric;  // every non-empty value of the column is a number
    Rows rows;                  // numbers as doubles in numeric columns, else text; empty fields Null
};

// Reads the file: UTF-8, or Windows-1252 when the bytes are not UTF-8. Throws 3274 naming the file when it
// cannot be read.
TextTable readTextTable(const QString& path);

// The file's bytes: the names line and a line per row, texts quoted, numbers bare with "." as separator.
QByteArray textTableBytes(const QStringList& names, const Rows& rows);

}  // namespace jet
