#pragma once

#include "platform/dao/Database.h"

#include <QString>
#include <functional>
#include <utility>
#include <vector>

// The carry-over of a prior year's user fee schedules: S1..S5 and Freq1..Freq5 of one session of an
// earlier installation's main database copied, code by code, into a session table of this one.
namespace prioryear {

inline const QString kStageNotImported = QStringLiteral("Prior year data NOT imported.");
inline const QString kStageUnknown = QStringLiteral("Unknown (1)");
// The stage of the prior session's query: a database from before 2001 lacks the columns.
QString stageOldRelease();
inline const QString kNote = QStringLiteral(
    "Note: Update S1-S5 and Freq1-Freq5 from a prior year is designed for importing user defined fee schedules "
    "S1-S5 and Freq1-Freq5 fees from a previous year's KELVA Morvex software to this year's S1-S5 and "
    "Freq1-Freq5 fields.  Please see the help file for more information.");
inline const QString kNoteTitle = QStringLiteral("Import S1-S5 and Freq1-Freq5");
inline const QString kOwnDatabase = QStringLiteral("You have not selected a previous year's kelva.mdb");
inline const QString kNoRows = QStringLiteral(
    "The file you selected does not have any items in User Schedules S1 - S5 OR User Defined Frequenices Freq1 "
    "- Freq5.\r\n\r\nImport is canceled.");
inline const QString kImported = QStringLiteral("Prior KELVA Data Imported Successfully");
// The prior installation's folder in the user's home folder, where the dialog starts when it holds a
// kelva.mdb.
inline const QString kPriorFolder = QStringLiteral("KELVA Morvex 2014");

// The dialog's first folder: the prior installation's folder when it holds a kelva.mdb, otherwise the
// program folder.
QString initialFolder(const QString& homeFolder, const QString& programFolder);

// The sessions of a prior main database but "Default", in stored order: (name, SESTAB).
using PriorSession = std::pair<QString, QString>;
std::vector<PriorSession> priorSessions(dao::Database& prior);

// The ten columns the carry-over copies, in their order.
const std::vector<QString>& scheduleColumns();

// The prior session's codes that take part (a value above zero in any of the ten columns), in CODEMOD
// order; the table is checked against the prior database's tables and quoted.
dao::Recordset priorRows(dao::Database& prior, const QString& priorTable);

// Copies the ten values of every row of `rows` onto the row of the same code (blanks around the prior code
// removed) of `table` in `main`, in one transaction: a Null or empty value leaves the current value, every
// other one (zero and negatives included) is copied. `advance` runs after each row. A failure leaves the
// table as it was.
void copyRows(dao::Database& main, const QString& table, dao::Recordset& rows, const std::function<void()>& advance);

}  // namespace prioryear
