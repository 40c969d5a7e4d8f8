#pragma once

#include "platform/dao/Variant.h"

#include <QString>
#include <vector>

class QComboBox;
class QLineEdit;

namespace platform {
class DataControl;
}

// What every tagging window shares: the description history THIST, the five-character code fill, the
// description patterns and the exclusion clause, and the counted preview.
namespace tagging {

// A condition of a tagging statement: SQL text with the values of its ? placeholders. What a person typed is
// always one of the values, never part of the text.
struct Criterion {
    QString sql;
    std::vector<dao::Variant> params;

    bool isEmpty() const { return sql.isEmpty(); }
    Criterion& operator+=(const Criterion& more);
};

// The description text is no criterion: empty, or not greater than a single blank by character code (a lone
// blank, or a text that begins with a control character).
bool isBlankText(const QString& text);

// The text without its trailing blanks.
QString rtrim(const QString& text);

// The Like pattern of "contains": "*" + the text without its trailing blanks + "*". A text of blanks only
// gives "**", which matches every description.
QString containsPattern(const QString& text);

// A code box's text padded on the left with zeros to five characters: the last five characters of "00000"
// followed by the text ("12" -> "00012", "" -> "00000", "A1" -> "000A1").
QString zeroFill(const QString& code);

// " and <column> not Like ?" with the exclusion text's pattern, while the exclusion box is enabled (its
// "And Exclude" is ticked) and holds a text; otherwise nothing.
Criterion exclusionClause(const QLineEdit* exclusion, const QString& column = QStringLiteral("[Desc]"));

// The count line: "This search found" + Str(n) + " code(s) which are displayed below.". With twoBlanks, the
// specialty look-up's form, with a blank more before the number.
QString countLine(qint64 n, bool twoBlanks = false);

// Runs a preview: the data control's record source becomes the statement and is refreshed; the number of
// rows it holds, read by moving to the last row and back to the first.
qint64 runPreview(platform::DataControl& data, const QString& sql, const std::vector<dao::Variant>& params);

// Refills a description box's list from THIST, newest first, keeping the text that the box shows.
void loadTagHistory(QComboBox* box);

// After a description search: the text as typed joins THIST unless it equals the newest entry, and the list
// is filled again.
void rememberDescription(QComboBox* box);

}  // namespace tagging
