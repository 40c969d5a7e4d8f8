#pragma once

#include "platform/jet/xlsread.h"

#include <QByteArray>
#include <QString>

namespace jet {

// Where the comma-delimited copy of a workbook goes: its full path without the last three characters,
// followed by "csv" ("C:/fees/2004.xls" -> "C:/fees/2004.csv").
QString workbookCopyPath(const QString& workbookPath);

// A sheet as comma-delimited text: one line per row, each with `columns` fields; texts bare unless they hold
// a comma, a quote or a line break; numbers in the plain 15-significant-digit form with "."; booleans TRUE
// and FALSE; empty cells empty. No number or date format is applied (a date is its serial number).
// Windows-1252, CR LF.
QByteArray delimitedSheet(const Sheet& sheet);

// Reads the workbook and writes its active sheet to workbookCopyPath(), replacing a file of that name.
// Written whole or not at all: a workbook that cannot be read throws dao::Error and leaves that file as it
// was. Returns the copy's path.
QString saveWorkbookCopy(const QString& workbookPath);

}  // namespace jet
