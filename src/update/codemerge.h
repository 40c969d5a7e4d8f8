#pragma once

#include "update/updatedb.h"

#include <QStringList>

// The physician codes of an update reach every session table, "Default"'s DATA0000 included.
namespace update {

// The columns a code the table already holds keeps, recognised by the session table's own column name at
// that position, letter case included: the tag, the schedules, the frequencies, the notes and the user field.
const QStringList& keptColumns();

// Merges DATA00001 of the update database into one session table: a row whose Tag is exactly "D" deletes
// the code where the table holds it; a code the table lacks is added with every column of the update row by
// position; a code it holds takes every column by position except the kept ones. Columns of the table past
// those of DATA00001 are left alone; a table with fewer columns fails (3265).
void mergeSessionTable(UpdateRun& run, const QString& table);

// Update_KELVA: every SESSIONS row in stored order, each table merged after progress 160 and one turn of
// the event loop; then progress 199, PARMS_CL.dataupdate takes strDate, " KELVA " is appended and the event
// loop turns once. Runs inside the driver's transaction and opens none of its own; every failure reaches
// the caller (3078 when the update database has no DATA00001).
void Update_KELVA(UpdateRun& run);

}  // namespace update
