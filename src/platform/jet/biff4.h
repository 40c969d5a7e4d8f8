#pragma once

#include "platform/jet/sheetfile.h"

// Excel 4.0 worksheets (BIFF4): a bare record stream of one sheet.
namespace jet {

constexpr int kBiff4MaxRows = 16384;     // rows of a sheet, the header row included
constexpr int kBiff4MaxColumns = 256;
constexpr int kBiff4MaxLabelBytes = 255;

// A worksheet holding only the header row, every name a label.
QByteArray biff4Template(const QStringList& header);

// The worksheet `original` (BIFF4) with `rows` added from sheet row `firstRow` on, after its last cell; with
// replaceData the original's cells below the header row are dropped first. Texts become labels in the
// sheet's code page, numbers NUMBER cells, yes/no BOOLERR cells; a Null cell is left out. DIMENSIONS is
// rewritten. Throws 3163 for a label over 255 bytes or a row past the sheet's last, 3274 when `original`
// is no BIFF4 worksheet.
QByteArray biff4WithRows(const QByteArray& original, int firstRow, const Rows& rows, bool replaceData,
                         const QString& fileName);
// The same, the rows handed over one at a time.
QByteArray biff4WithRows(const QByteArray& original, int firstRow, const RowSource& next, bool replaceData,
                         const QString& fileName);

// True when the bytes begin a BIFF4 worksheet stream.
bool isBiff4(const QByteArray& data);

}  // namespace jet
