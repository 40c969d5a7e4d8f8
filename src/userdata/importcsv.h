#pragma once

#include "platform/dao/Database.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// The comma-delimited readers of the user-column imports: a file that begins with a header line, one UPDATE
// of the session's code table per data line, keyed by CODEMOD. The schedule reader writes S1..S5, the tag
// and the user field USRDF; the frequency reader writes Freq1..Freq5.
namespace userimport {

enum class Member { Schedules, Frequencies };

// At least one of the five value columns was found (-1 is absent).
bool anyColumn(const std::array<int, 5>& columns);

// The header line's roles: 0-based field numbers, -1 when absent. When several fields pass one role's
// test, the rightmost wins.
struct CsvHeader {
    int fields = 0;  // n: the header's fields, an empty last one included
    int code = -1;
    int mod = -1;
    std::array<int, 5> value{-1, -1, -1, -1, -1};  // S1..S5 or Freq1..Freq5
    int tag = -1;
    int usrdf = -1;
    // A code column and at least one value column.
    bool usable() const;
};
// Splits at every comma (no quotes honoured) and finds the roles by contained lower-case text.
CsvHeader csvHeader(const QString& line, Member member);

// The lines of a file's text: CR, LF and CR LF each end one; the end of the text after a line break is
// no further line.
QStringList textLines(const QString& text);

// One data line's fields (blanks kept): plain fields up to the next comma; a field beginning (after
// blanks) with a double quote is the text up to the closing quote, without "$", "'" and ",", and a number
// when that is numeric. A trailing empty field is not stored. Throws dao::Error when the line has more
// than maxFields fields.
std::vector<dao::Variant> splitCsvLine(const QString& line, int maxFields, int lineNumber);

// What one data line writes: the key and the column assignments in their order (column name, value).
struct CsvUpdate {
    QString key;
    std::vector<std::pair<QString, dao::Variant>> set;
};
// The update of a data line, or nothing when the line is skipped (a code of 8 or more characters, a key
// of 9 or more, no assignment). A field the line does not reach is empty.
std::optional<CsvUpdate> csvLineUpdate(const CsvHeader& header, const std::vector<dao::Variant>& fields,
                                       Member member);
// "UPDATE <table> SET col = ?, ... WHERE CODEMOD = ?" with the values and the key bound in that order
// (the tag's "+" is a constant of the text).
QString updateText(const QString& table, const CsvUpdate& update, std::vector<dao::Variant>* params);

enum class CsvOutcome {
    Imported,  // every line read; the updates are committed
    Refused,   // the reader's own failure exit: unreadable (schedules) or empty file, header without the
               // code column or every value column; nothing changed
};

// Reads the file (UTF-8, or Windows-1252 when its bytes are not UTF-8) and runs the updates on `db` in
// one transaction. `beforeFirstLine` runs once, after the header passed its checks. Every other failure
// (a line of too many fields, an update the table refuses, for the frequency reader also a file that
// cannot be read) throws dao::Error with nothing changed.
CsvOutcome importCsv(Member member, const QString& path, dao::Database& db, const QString& table,
                     const std::function<void()>& beforeFirstLine = {});

}  // namespace userimport
