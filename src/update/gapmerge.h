#pragma once

#include "platform/dao/Database.h"

#include <QDate>

// The gap codes of GAP reach every session table, "Default"'s DATA0000 included ("Gap Code Update").
namespace update {

// Merges GAP into every session table and records the merge's date in PARMS_CL.gapdate, all in one
// transaction: a code the table holds gets "g" added to its status (a Null status stays Null), the gap RVUs,
// totals and global period, and the gap practice-expense RVUs in NF98WORK and F98WORK; a code it lacks is
// added with status "g", calcflag 1 and cwork 0. Every other column keeps its value. Failures reach the caller
// and leave everything as it was.
void mergeGapCodes(dao::Database& db, const QDate& gapDate);

// MergeGapData: mergeGapCodes on MainDb with the clock's date under the hourglass, then the completion message;
// on a failure the error's own description and "An error has occurred in updating with Gap information ".
// True when the merge was kept.
bool MergeGapData();

}  // namespace update
