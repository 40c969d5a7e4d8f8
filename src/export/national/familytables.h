#pragma once

#include "platform/dao/Database.h"

#include <QString>
#include <vector>

class ExprtInd;

// The national family tables (Lab, DMEPOS, J-codes): one table in the export file holding every row of the
// family table of the main database with all its state fee columns side by side. Nothing is computed: the
// values are copied as stored.
namespace nationaltables {

// One family's table: how its columns are made from the source's and which columns a row fills.
struct FamilyTable {
    QString family;  // "LAB", "DME", "JCD"
    QString source;  // the family table of the main database
    QString table;   // the national table of the export file
    // Source columns (upper case) that take another name; the modifiers are among them.
    std::vector<std::pair<QString, QString>> renames;
    QStringList skipped;  // source columns (upper case) that make no column; the first column never does
    bool primaryKey = false;  // CODEIndexx is the primary key: a code's later rows are left out
    // The columns a row fills, each with its source column, in the order of the row statement; the first
    // `textColumns` (code and modifiers) take the empty text for Null.
    std::vector<std::pair<QString, QString>> rowColumns;
    int textColumns = 2;
    bool yieldAfterColumns = false;  // the bar is set to 1 and the loop runs right after the columns
    bool emptySourceFails = false;   // a source without rows ends the run (3021)
};

const FamilyTable& labTable();
const FamilyTable& dmeTable();
const FamilyTable& jcodeTable();
// The table of a family code; nullptr for any other code.
const FamilyTable* familyTable(const QString& family);

// How a wizard opens its Lab stage.
struct LabOpening {
    bool dropMainTable = false;  // drop a LAB_States that the main database holds
    bool showTwice = false;      // loop, show, loop, show (else loop, show, loop)
};

// The columns of the national table, from the source's second column on, in the source's order.
std::vector<dao::FieldDef> nationalColumns(const FamilyTable& t, const dao::TableDef& source);

// What a stage did.
struct StageResult {
    qint64 written = 0;
    qint64 skippedKeys = 0;  // rows whose code the primary key already held
};

// Builds the family's national table in `target` from `mainDb`, driving `progress` and letting window events
// in at the stage's own points. The rows are written inside a transaction of `target` that the caller
// commits, also on a failure (the rows written before it stay). Throws dao::Error.
StageResult runStage(const FamilyTable& t, const LabOpening& lab, dao::Database& mainDb, dao::Database& target,
                     ExprtInd& progress);

}  // namespace nationaltables
