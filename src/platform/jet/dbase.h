#pragma once

#include "platform/jet/sheetfile.h"

// dBASE III tables, through shapelib.
namespace jet {

struct DbfField {
    QString name;        // at most 10 characters
    char type = 'C';     // C, N, F, D or L
    int width = 0;
    int decimals = 0;
};

struct DbfTable {
    std::vector<DbfField> fields;
    Rows rows;                     // the records that are not deleted
    std::vector<int> recordIndex;  // the record number of each row in the file
    int codepage = 1252;           // from the language-driver byte
};

// The table's fields and records: C text without its padding (empty is Null), N and F numbers, D dates
// (blank is Null), L yes/no (unknown is Null); deleted records are left out. Throws 3274 naming the file
// when it cannot be read.
DbfTable readDbf(const QString& path);

// A new table without records (version 3, no side file). Throws 3163 for a field name over 10 characters,
// 3044 for a missing folder.
void createDbf(const QString& path, const std::vector<DbfField>& fields, int codepage = 1252);

// Why a value does not fit a field (too wide, not a number, not a date), or an empty text when it fits.
QString dbfValueProblem(const DbfField& field, const dao::Variant& value, int codepage);

// Writes the changes into the table at path, whole or not at all (a copy is written and renamed over it):
// each write is a record number (-1 appends a record) with the values of every field; Null numbers and
// dates stay blank. Deleted record numbers are marked deleted. Throws 3163 for a value that does not fit.
struct DbfWrite {
    int record = -1;
    std::vector<dao::Variant> values;
};
void writeDbf(const QString& path, const DbfTable& layout, const std::vector<DbfWrite>& writes,
              const std::vector<int>& deleted);

}  // namespace jet
