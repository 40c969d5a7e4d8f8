#pragma once

#include "platform/jet/sheetfile.h"

// Lotus 1-2-3 WK1 sheets: labels in code page 437.
namespace jet {

constexpr int kWk1MaxRows = 65536;  // the row number is 16 bits
constexpr int kWk1MaxLabel = 240;

// The cells of a WK1 (or WKS) sheet, from row 0 to the last used one, each row as wide as the widest:
// labels as text without their prefix, numbers as doubles, formulas by their stored result, empty cells
// Null. Throws 3274 naming the file for a file that is no WK1 sheet.
Rows readWk1(const QByteArray& data, const QString& fileName);

// A sheet holding only the header row.
QByteArray wk1Template(const QStringList& header);

// As biff4WithRows: `rows` added from sheet row firstRow on after the last cell (labels with the "'"
// prefix, numbers as NUMBER, yes/no as 1 and 0), RANGE rewritten. Throws 3163 for a label over 240
// characters or a row past 65,536.
QByteArray wk1WithRows(const QByteArray& original, int firstRow, const Rows& rows, bool replaceData,
                       const QString& fileName);
// The same, the rows handed over one at a time.
QByteArray wk1WithRows(const QByteArray& original, int firstRow, const RowSource& next, bool replaceData,
                       const QString& fileName);

}  // namespace jet
