#pragma once

#include "update/updatedb.h"

#include <vector>

// The fourteen steps of an applied data update and the conversion factor every update sets.
namespace update {

// The conversion factor of the installed data: every session and the parameter row take it.
inline constexpr double kUpdateConvFactor = 37.3374;

struct ApplyStep {
    const char* name;           // "Update_ASC"
    int progress;               // ProgressBar1 just before the step; 0 leaves it where it is
    void (*run)(UpdateRun& run);
};

// The steps in the order they run.
const std::vector<ApplyStep>& applySteps();

// Applies the update database at `path` to `main` as one transaction: the update database is attached
// first, then every step runs in order with its progress value, then CURCONVF of every SESSIONS row and of
// PARMS_CL becomes kUpdateConvFactor (CURCONVA untouched). `strDate` is the update's date; the families'
// words are appended to `strUpdTables`. A failure anywhere rolls every step back and reaches the caller;
// the main database is then as it was.
void applyUpdate(dao::Database main, const QString& path, const QString& connect, const UpdateHooks& hooks,
                 const QDateTime& strDate, QString& strUpdTables);

}  // namespace update
