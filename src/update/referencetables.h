#pragma once

#include "update/updatedb.h"

#include <vector>

// The reference tables of a data update: the three ASC tables, LAB, DME, DRG, JCD, LOCATION and the six
// data-date tables are each emptied and refilled whole from their source in the update database. Every other
// table (ASC, MMA, DMECATS, ZPLC, GAP ...) is left alone.
namespace update {

struct TablePair {
    const char* target;  // in the main database
    const char* source;  // in the update database
};

// One member of the replacement: a row of the table the driver runs in order.
struct ReplacementMember {
    const char* operation;          // "Update_DME"
    std::vector<TablePair> tables;  // emptied and refilled in this order
    const char* probe;              // the source whose presence decides whether the member runs at all
    const char* word;               // appended to strUpdTables when it completes; none for the date tables
};

// The twelve members in the driver's order.
const std::vector<ReplacementMember>& replacementMembers();
// The member of that operation name; 3265 when there is none.
const ReplacementMember& replacementMember(const QString& operation);

// Runs a member: nothing when the update database lacks its probe; otherwise each target whose source the
// update database holds is emptied and refilled, all of them or none (a savepoint inside the driver's
// transaction), and the member's word is appended. A failure reaches the caller.
void applyReplacement(UpdateRun& run, const ReplacementMember& member);

// Empties `target` and refills it with the rows of the update database's `source` in stored order, the
// source's columns taken by position (3127 when it has more columns than the target). A row the target
// refuses (a text that is no number in a number column, a key or a required value it cannot take) is left
// out; returns how many were.
qint64 replaceRows(UpdateRun& run, const QString& target, const QString& source);

void Update_ASC(UpdateRun& run);
void Update_Lab(UpdateRun& run);
void Update_DME(UpdateRun& run);
void Update_DRG(UpdateRun& run);
void Update_JCODE(UpdateRun& run);
void Update_Location(UpdateRun& run);
void Update_ExcelReplacementsKelva(UpdateRun& run);
void Update_ExcelReplacementsAsc(UpdateRun& run);
void Update_ExcelReplacementsJCD(UpdateRun& run);
void Update_ExcelReplacementsDME(UpdateRun& run);
void Update_ExcelReplacementsLab(UpdateRun& run);
void Update_ExcelReplacementsDrg(UpdateRun& run);

}  // namespace update
