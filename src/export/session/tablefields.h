#pragma once

#include "platform/dao/Variant.h"
#include "platform/jet/dbase.h"

#include <QString>
#include <QStringList>
#include <vector>

// The columns the session export writes into the table of a dBASE III, Excel 4.0, Lotus 1-2-3 or Access
// target, and the templates that hold that table. The program and the build's template generator share it.
namespace tablefields {

enum class Value {
    Unchanged,
    ShortDesc,  // the first 150 characters, each quote then a blank
    UnitText,   // the number as text "#####.00" (.25)
    Number,     // the value as a double
    FeeText,    // the number as text "#0.00" (0.50)
    UserField,  // unchanged, not written when exactly "XXXXXXX"
    Notes,      // CR and LF each a blank, the first 150 characters, quotes made blanks; not written when empty
    LongDesc,   // the first 150 characters
};

struct Field {
    const char* target;  // the column of the template's table
    const char* source;  // the column of the fee query
    Value value;
    bool oppsFactor = false;  // not in the "KELVA OPPS" view's rows
    bool schedule = false;    // S1..S5, Freq1..Freq5: named S1_1..Freq5_1 in the Access template
};

// The 52 columns in the order they are written.
const std::vector<Field>& fields();

// The target column of a field: the Access template names the schedules and frequencies with "_1".
QString targetName(const Field& field, bool access);

// The value the field writes for a source value; Null when nothing is written. A number that is Null or no
// number fails with the platform's conversion error.
dao::Variant converted(Value value, const dao::Variant& source);

// The templates' tables: the header row of export.xls and export.wk1 (the 52 targets with S1..Freq5) and the
// fields of export.dbf (the same less the three OPPS factors, whose names dBASE cannot hold).
QStringList sheetHeader();
std::vector<jet::DbfField> dbfFields();

// Writes export.xls, export.wk1 and export.dbf into the folder; false when one could not be written.
bool writeTemplates(const QString& folder);

}  // namespace tablefields
