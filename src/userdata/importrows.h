#pragma once

#include "userdata/importcsv.h"

#include <QStringList>
#include <array>
#include <functional>
#include <optional>

// The row stage of the user-column imports from dBASE, Lotus and Access sources: columns by whole
// lower-case names, one bound UPDATE of the session table per record, keyed by CODEMOD.
namespace platform {
class DataControl;
}

namespace userimport {

// Empty connect text, database and record source, refreshed: the data control holds no source.
void releaseSource(platform::DataControl& data);

struct SourceColumns {
    int code = -1;        // of "code" and "cpt", the one further right
    bool codeIsCpt = false;
    int mod = -1;
    std::array<int, 5> value{-1, -1, -1, -1, -1};  // s1..s5 or freq1..freq5
    int tag = -1;         // schedules only
    bool anyValue() const;
};
SourceColumns sourceColumns(const QStringList& fieldNames, Member member);

// The refusal when a source has no value column.
QString noValueColumnText(Member member);
extern const char* const kNoCodeColumnText;

// The key of a record: the code without surrounding blanks, zeros in front up to 5 characters (6 and 7
// characters: up to 7), then the trimmed modifier. Nothing when the code is blank or longer than 7
// characters. A Null code gives the key "" (it reaches no row).
std::optional<QString> recordKey(const dao::Variant& code, const dao::Variant& mod, bool hasMod);

// The value a column writes (0-based column 0..4 of the member), or nothing when it is left out:
// a Null; a value below 0 (S2 and Freq2 compared with "0" as text, the others as numbers; a text that is
// no number cannot be compared and is left out); for schedules a value that is no number. Freq2..Freq5
// below 0 write 0. A Freq2 text that is no number is written as it is (the column refuses it).
std::optional<dao::Variant> columnValue(Member member, int column, const dao::Variant& v);

// What the stage keeps for the report: the record counter (the first record is 2) and the record lines.
struct RowProgress {
    int record = 0;
    int recordLines = 0;
    // Frequencies: called with the counter of each record whose CPT code is Null.
    std::function<void(int record)> recordLine;
};

enum class RowOutcome { Imported, NoCodeColumn, NoValueColumn };

// Reads the source's records from the current one to the end and updates `table` on `db`, all in one
// transaction. Any failure throws with nothing changed; progress.record then names the record.
RowOutcome importRows(Member member, dao::Recordset& source, dao::Database& db, const QString& table,
                      RowProgress& progress);

}  // namespace userimport
