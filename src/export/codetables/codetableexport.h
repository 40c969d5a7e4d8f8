#pragma once

#include "platform/dao/Database.h"

#include <QString>
#include <vector>

namespace platform {
class Form;
}

// The code-table and OPPS exports: one procedure that writes one table of the main database, all rows or the
// tagged ones, to an Access file (a copy of export.mdb holding one new table) or a comma-delimited file, the
// type taken from the chosen name. Each exported table is a row of the member table; what differs between
// them is a field of that row.
namespace codetables {

// The members, in the order of the code-table window's family options, then OPPS.
enum class Family { Dmepos, Lab, JCodes, Asc, Drg, Locality, Zip, Opps };
constexpr int kFamilies = 8;

// What the source queries read of the main window when an export starts.
struct Inputs {
    bool tagged = false;                      // the tagged-codes option is selected
    QString baseRate;                         // the DRG base-rate box, as typed
    QString wageIndex;                        // the ASC wage-index box, as typed
    QString dmeState, labState, jcdState;     // the state columns of the parameter row
    QString carrier, loc;                     // the current locality of the parameter row
};
// The main window's boxes and parameter row now.
Inputs currentInputs(bool tagged);

struct Query {
    QString sql;
    std::vector<dao::Variant> params;
};

// One column of a source query, in query order.
struct Column {
    const char* label;              // its title in the CSV label line
    bool inTable = true;            // the Access table has a column for it (the J-code limiting charge has none)
    const char* pattern = nullptr;  // a number written with this format pattern in both targets; else plain
    const char* csvNull = "";       // what a Null is written as in the CSV
};

struct Member {
    Family family;
    const char* prefix;  // of the proposed name, before the last three digits of the export number
    bool readsRowChoice; // false: every row whatever the all/tagged option says
    // The source rows. State columns are checked against the table (3265 when it has no such column) and
    // the typed rates must be numbers (13), so a bad choice fails here, after the table or label line exists.
    Query (*source)(dao::Database& main, const Inputs& in);
    const char* createTable;  // the Access target's table, its columns those of `columns` with inTable
    const char* table;
    std::vector<Column> columns;
    bool showsDescription;   // the failure path shows the error's description before the step text
    bool attachCheck;        // the Access copy is opened before the query, with a step text naming it
    bool countAfterMessage;  // the CSV success message comes before the export number is stored
};

const Member& member(Family family);

// The step text of the attach check.
QString attachStep(const QString& path);

// Runs the export of `m` from the window's Continue: the save dialog, the refusals, the chosen target, the
// export number and every message. Success unloads the window; a refusal or a failure leaves it open.
void run(const Member& m, platform::Form& window, bool tagged);

}  // namespace codetables
