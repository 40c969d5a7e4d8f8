#pragma once

#include "export/rules/csvlayout.h"
#include "platform/dao/Recordset.h"

#include <QString>
#include <array>

class ExprtInd;

// The session export's two comma-delimited forms over the rows of its fee query.
namespace sessioncsv {

// The session's names for S1..S5 and Freq1..Freq5 (S1NAME..S5NAME, F1NAME..F5NAME); Null gives an empty header.
using ScheduleNames = std::array<dao::Variant, 10>;

// Every exported column: the field-name line, the caption line, then one line per row. In the "KELVA OPPS"
// view (opps) the three OPPS factor columns are left out. A Null or non-numeric RVU fails, as does a
// query without rows (3021, after the two header lines).
void writeAllColumns(dao::Recordset& rows, exportcsv::CsvFile& file, const ScheduleNames& names, bool opps,
                     ExprtInd* progress);

// The code columns and the columns the main grid shows by COLVS (entry k for grid column k, at most 58
// read): one header line, then one line per row. A Null COLVS or an entry that is no truth word or number
// fails before anything is written.
void writeDisplayedColumns(dao::Recordset& rows, exportcsv::CsvFile& file, const dao::Variant& colvs,
                           const ScheduleNames& names, ExprtInd* progress);

// The 58 visibility flags of a COLVS text.
std::array<bool, 58> visibility(const dao::Variant& colvs);

}  // namespace sessioncsv
