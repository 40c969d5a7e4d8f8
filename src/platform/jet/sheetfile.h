#pragma once

#include "platform/dao/Variant.h"
#include "platform/jet/bytes.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// What the worksheet and WK1 writers share: record streams, the rows to add, and the errors of a file
// that cannot be read or a value that does not fit.
namespace jet {

using Rows = std::vector<std::vector<dao::Variant>>;
// Rows handed to a writer one at a time: fills `row` and returns true, or returns false after the last.
using RowSource = std::function<bool(std::vector<dao::Variant>& row)>;
RowSource rowsOf(const Rows& rows);

// The records of a BIFF or WK1 stream; 3274 naming the file when a record runs past its end.
std::vector<bytes::Record> splitRecords(const QByteArray& data, const QString& fileName);
QByteArray joinRecords(const std::vector<bytes::Record>& records);
// The records with `inserted` (whole records already) put before the record at index `at`.
QByteArray joinRecords(const std::vector<bytes::Record>& records, int at, const QByteArray& inserted);

// 3274 "External table is not in the expected format." naming the file and the reason.
[[noreturn]] void throwUnreadable(const QString& fileName, const QString& reason);
// 3163: a value or row that the format cannot hold; the text says which and why.
[[noreturn]] void throwDoesNotFit(const QString& text);

// The fields of a sheet's header row: its texts as they stand (blanks kept); an empty cell, or a name
// already taken (without regard to case), gives "F" and the column number.
QStringList headerNames(const std::vector<dao::Variant>& header, int columns);

}  // namespace jet
