#pragma once

#include "db/feeformulas.h"

#include <QString>
#include <QStringList>

// The physician fee manager's sources and statements as SQL text. Tables and columns come from the
// program (a session's SESTAB, "S1".."S5"), never from what a person typed; numbers enter through
// db::sqlNumber.
namespace schedulesql {

// The 23 source expressions of the "KELVA" view: the six Medicare amounts of the fee formulas, the RVU
// expressions 6..17 and the schedules S1..S5 (bare column names) at 18..22.
QStringList physicianSources(const db::FeeFactors& f);
// The two of "KELVA OPPS": the capped fees DATAOPPSVIEW holds, qualified since the session table carries
// RVU totals under the same names.
QStringList oppsSources();

// Copy of a source into a schedule column of the session table, all or tagged codes. The table is quoted.
QString copySchedule(const QString& table, const QString& column, const QString& expression, bool tagged);

}  // namespace schedulesql
