#pragma once

#include "platform/dao/Database.h"

#include <QString>
#include <QStringList>

class ExprtInd;

// The national physician table: a work table in the main database with one fee column per Medicare locality,
// priced from each locality's GPCIs, and its copy in the export file with the user's percentage applied.
namespace physician {

// What sets the physician tables of the national wizards and the lookup export apart: one row each.
struct EngineRow {
    bool stateInColumnName;  // "AL_10102_00" (state, carrier, locality) or "10102_00" (carrier, locality)
    bool typedWorkTable;     // the work table has the file's layout (fees, schedules and frequencies numbers),
                             // not text columns throughout
    bool oppsColumns;        // the two OPPS columns after the fee-type RVU column
    bool percentage;         // the export file's amounts take the wizard's percentage
    bool emptyTextInModOnly; // MOD alone takes the empty text (a Null MOD is written as it); every other text
                             // column keeps its Null and refuses the empty text
};
extern const EngineRow kAllLocalityRow;  // frmExportWiz
extern const EngineRow kCarrierRow;      // frmExportWizBeta
extern const EngineRow kLookupRow;       // frmExportWiz2: two tables per run, non-facility and facility

// What a run reads of the program's state.
struct Inputs {
    QString sessionTable;  // the session's code table: source of the RVUs and calcflag of every fee
    double convFactor = 0;
    bool facility = false;
    bool oppsView = false;  // the rows come from DATAOPPSVIEW for the current carrier and locality
    dao::Variant carrier, loc;
    QStringList schedules;  // the five schedule column names
    double percent = 0;     // the percentage change of the amounts
};

// The percentage box's text as a percentage: blank counts as 0; a text that is no number is dao::Error 13.
double percentFrom(const QString& text);
// The session's values, the parameter row's schedule names, carrier and locality, and the main window's view.
Inputs currentInputs(dao::Database& mainDb, bool facility, const QString& percentText);

// One locality column of the tables, or the national row (column empty).
struct Locality {
    QString column;
    dao::Variant work, pract, malp;
};
std::vector<Locality> localities(const EngineRow& row, dao::Database& mainDb);

// Drops and builds `table` in the main database and fills it: one row per code of the source, one fee per
// locality. Shows the progress window, lets window events in once, then opens the transaction of the main
// database that the caller ends; throws dao::Error.
void buildWorkTable(const EngineRow& row, const Inputs& in, dao::Database& mainDb, ExprtInd& progress,
                    const QString& table = QStringLiteral("KELVA_States"));

// The steps of buildWorkTable and buildExportTable, for a run that makes several tables between one yield and
// its end. Each throws dao::Error.
//
// Drops the table when the database holds it.
void dropTable(dao::Database& db, const QString& table);
// Makes `table` in `target` with the file's layout (text columns of the kinds of LOCATION's STATE, ST and
// CARRIER at the file's widths, every other column of the kind of WORK) and the index CODEMODIndexx. A column
// name that is empty or repeated is refused (3125, 3191) before anything is made.
void defineFileTable(const EngineRow& row, const Inputs& in, const std::vector<Locality>& locs,
                     dao::Database& mainDb, dao::Database& target, const QString& table);
// Fills the empty work table: every code of the source, one fee per locality priced from the session table's
// row of its CODEMOD. The bar starts at 1 of twice the number of localities plus 200 and moves by one per
// locality.
void fillWorkTable(const EngineRow& row, const Inputs& in, const std::vector<Locality>& locs,
                   dao::Database& mainDb, ExprtInd& progress, const QString& table);
// Copies every row of the work table into the table of that name in `target` (see buildExportTable); the bar
// stands still until the last row and is full after it. 3021 "No current record." when there was no row.
qint64 copyRows(const EngineRow& row, const Inputs& in, dao::Database& mainDb, dao::Database& target,
                ExprtInd& progress, const QString& table);

// Makes `table` in the export file (kinds from LOCATION's columns) and copies every work-table row into it,
// the amounts scaled by the percentage and every number written with two decimals. The rows are written in a
// transaction of `target` that the caller commits, also after a failure. Throws dao::Error.
qint64 buildExportTable(const EngineRow& row, const Inputs& in, dao::Database& mainDb, dao::Database& target,
                        ExprtInd& progress, const QString& table = QStringLiteral("KELVA_States"));

// "####0.00;;" of a double: two decimals, the 15-digit decimal form rounded half away from zero.
QString twoDecimals(double v);
// The same value as the number the text reads back as.
double twoDecimalsValue(double v);

}  // namespace physician
