#pragma once

#include "platform/dao/Database.h"
#include "platform/dao/Variant.h"

#include <QString>
#include <QStringList>
#include <vector>

// The five family fee managers (DMEPOS, Lab, J-code, ASC, DRG) as rows of one table: what their windows
// show and what their runs write. One window class serves them all (FamilyScheduleWindow).
namespace schedules {

// What a run reads at the click, from its window and from the main window.
struct FamilyRunInput {
    bool calculate = false;
    bool tagged = false;
    int source = -1;       // position in the source list
    int destination = -1;  // 0..4 for S1..S5
    QString factor;        // Calculate: (p + 100) / 100 as SQL number text
    QString tableName;     // the session's code table
    QString table;         // the same, quoted
    QString state;         // the main window's state box
    QString filterState;   // J-codes: JCDSTATE, the price column that selects the rows
    QString wageIndex;     // ASC: the main window's wage index box
    QString baseRate;      // DRG: the main window's base rate box
    dao::Database* db = nullptr;
    QString column() const { return QStringLiteral("S%1").arg(destination + 1); }
};

struct FamilyStatement {
    QString sql;
    std::vector<dao::Variant> params = {};
};

// A run refused by a value of the main window that it cannot use; nothing is written.
struct FamilyRefusal {
    QString message;
};

// A run's statements, in order, all in one transaction, with the count of the family rows it leaves out
// (a value that is no number, a key given again) as a query returning one number. Building may fail with
// dao::Error (a state that names no column of the family table) or FamilyRefusal.
struct FamilyRun {
    std::vector<FamilyStatement> statements;
    FamilyStatement skipped;
};

struct ScheduleFamily {
    const char* window;         // "frmSchedulesLAB"
    const char* caption;        // after AppTitle
    const char* sourceCaption;  // lbl(0)
    QStringList (*sourceItems)(const QString& state);
    bool sourceChosenAtLoad;    // the first source is chosen when the window opens
    const char* note;           // Label3
    bool hidesDetailOnClose;    // closing hides the main window's long description and notes
    // The run; nullptr: Run does nothing yet.
    FamilyRun (*run)(const FamilyRunInput& in);
    // Copy refuses a source equal to the destination (M2) when the state position names it.
    int sameCheckPosition;      // -1: no such check
    bool refreshAfterCopy;      // the main grid reads the session table again before the message
    bool refreshAfterCalculate;
};

enum Family { Dmepos = 0, Lab = 1, JCodes = 2, Asc = 3, Drg = 4 };
extern const ScheduleFamily kScheduleFamilies[5];

}  // namespace schedules
