#pragma once

#include "platform/dao/Database.h"
#include "platform/dao/Recordset.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

// The NDC crosswalk's two export forms: the table [ND Export] in a copy of the Access template, and a
// comma-delimited file of its own layout. Both write every row of the rows given, in their order.
namespace crosswalkexport {

// The crosswalk columns the export copies, in the order it writes them.
const QStringList& columns();
// The CSV header's texts for those columns (the file adds one empty quoted field after them).
const QStringList& csvHeader();

// The save dialog's filter: entry 1 Access, entry 2 comma-delimited.
inline const QString kFilter =
    QStringLiteral("Access 2000 (*.mdb)|*.mdb|Comma Delimited Text (*.csv)|*.csv");

enum class Kind { Access, Csv };

// The chosen path made exportable: a name already ending in "mdb" or "csv" (any letter case, with or without
// a dot) stays as it is; any other name gets the file type of the filter entry chosen (".mdb" for entry 1,
// ".csv" for entry 2).
QString completedPath(const QString& path, int filterIndex);
// The kind, from the last three characters of a completed path.
Kind kindOf(const QString& completedPath);

// Writes the header line, then one line per row: every value quoted (its quotes doubled), Null as empty
// quotes, each line ending with a comma and CR LF. A device that refuses a write fails with 75, naming
// `name`; the lines written before stay.
void writeCsv(dao::Recordset& rows, QIODevice& out, const QString& name);

// Creates [ND Export] (nine text columns) in the target, appends one row per row - each value as text,
// Null left Null - and drops the template's placeholder table `export`. Rows appended before a failure
// stay in the file.
void writeAccess(dao::Recordset& rows, dao::Database& target);

}  // namespace crosswalkexport
