#pragma once
#include <QString>

// The main fee query's shape for benchmarks: a table WIDE of 61 columns (Tag, CODEMOD, DESCR and 58
// numbers) over 16,000 rows, in a new file at `path`. Returns the path.
QString makeWideTable(const QString& path);
