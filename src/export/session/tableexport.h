#pragma once

#include "platform/dao/Database.h"
#include "platform/dao/Recordset.h"

class ExprtInd;

// The session export's rows appended to the template's table of a dBASE III, Excel 4.0, Lotus 1-2-3 or
// Access target, one record per row by the field table (tablefields.h).
namespace tableexport {

struct Target {
    bool access = false;  // the Access template: schedules and frequencies in S1_1..Freq5_1
    bool dbase = false;   // the dBASE template: no OPPS factor columns
    bool opps = false;    // the rows of the "KELVA OPPS" view: no OPPS factor columns either
};

// Appends every row to `table` (the target's table, open in `out`), with one prepared statement in one
// transaction; the bar's maximum is the row count plus 2000 and it moves one per row. No rows: 3021. A
// target without a column of the field table: 3265. A record the target refuses ends the run; the records
// before it are committed.
void appendRows(dao::Recordset& rows, dao::Database out, dao::Recordset& table, const Target& target,
                ExprtInd* progress);

}  // namespace tableexport
