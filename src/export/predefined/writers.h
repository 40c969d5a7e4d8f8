#pragma once

#include "export/predefined/layouts.h"
#include "platform/dao/Database.h"
#include "platform/dao/Recordset.h"
#include "platform/jet/delimited.h"

#include <QFile>

namespace platform {
class DataControl;
}

// What the three writers of the predefined layouts do with a layout's columns, the layout table leading.
namespace predefined {

// A source value as the worksheet takes it (Null stays Null: the cell is left empty).
dao::Variant sheetValue(const Column& c, const dao::Variant& v);
// ... as the Access table takes it: texts only.
dao::Variant tableValue(const Column& c, const dao::Variant& v);
// ... as a CSV data line writes it; a Null that the column cannot convert fails with 94.
jet::TextField csvValue(const Column& c, const dao::Variant& v);

// Appends one record to `table` of `out` per source row: the layout's column i goes to targetNames[i],
// converted by `convert`. The records before a failing one stay.
void appendRows(const Layout& l, dao::Recordset& rows, dao::Database out, const QString& table,
                const QStringList& targetNames, dao::Variant (*convert)(const Column&, const dao::Variant&));

// The fields of `table` in `db` that the layout's worksheet names address, matched without regard to case;
// 3265 when the sheet lacks one.
QStringList sheetColumns(const Layout& l, dao::Recordset& table);

// Empties a data control's connect text, database name and record source and refreshes it: a driver's
// file is written out whole then.
void releaseDataControl(platform::DataControl& data);

// The comma-delimited file of the predefined layouts: created or emptied when opened, one line per call,
// what was written before a failure stays. 76 when its folder is missing, 75 when it cannot be written.
class TextFile {
public:
    explicit TextFile(const QString& path);
    void line(const std::vector<jet::TextField>& fields);
    void close();

private:
    QFile file_;
};

// The layout's header lines and one data line per source row, none ending in a comma.
void writeCsv(const Layout& l, const SessionNames& names, dao::Recordset& rows, TextFile& file);

}  // namespace predefined
