#pragma once

#include "db/feeformulas.h"
#include "platform/dao/Variant.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace dao {
class Database;
}

// The fixed-width physician fee text report: its columns, settings, query and how values are laid out.
namespace reports {

enum class PrintStyle { Plain, Description, Amount, Count };

// One entry per report item, by item number.
struct ReportColumn {
    const char* heading[3];
    int width;
    PrintStyle style;
};
const ReportColumn& reportColumn(int item);

// Every column is followed by this many blanks.
inline constexpr int kColumnGap = 3;
// The description's least printed width.
inline constexpr int kMinDescriptionWidth = 20;

// The page head's title and notice lines.
extern const QString kReportTitle;
extern const QString kReportNotice;

// The print settings of PARMS_CL. Null, or a value the reports cannot print with, reads as its default.
struct PrintSettings {
    QString font = QStringLiteral("Courier");
    int columns = 90;
    int lines = 52;
    double size = 10;
};
PrintSettings readPrintSettings(dao::Database& db);

// S: the widths plus gaps of every chosen item but the last.
int widthSum(const std::vector<int>& items);
// The description width of a run: PCOLS - S, at least 20.
int descriptionWidth(int columns, int sum);
// Blanks before "Page " on the page-number line: columns / 2 - 3, a half rounded to even.
int pageNumberIndent(int columns);
// Pages for a number of rows at lines per page.
int pageCount(qint64 rows, int lines);

// Last_Print: "lower,upper" or "Tag,Tag", ",0" portrait or ",1" landscape, then ",text" per chosen item.
QString lastPrintText(const QString& lower, const QString& upper, bool tagged, int orientation,
                      const QStringList& chosenTexts);

// The report query: the chosen items' columns named by their list texts, the codes between the bounds
// (parameters 1 and 2), tagged only when asked; over DATAOPPSVIEW also carrier and locality (3 and 4).
QString reportQuery(const QString& table, bool opps, bool tagged, const db::FeeFactors& factors);

// A value laid into its column. last: the item ends the line. An empty value prints as blanks of the
// column's width; an amount wider than its column prints whole.
QString columnText(int item, const dao::Variant& value, int descWidth, bool last);

// The printer font for a setting: the first installed fixed-pitch family whose name contains it, else
// the system's fixed-pitch font.
QString printerFontFor(const QString& setting);

}  // namespace reports
