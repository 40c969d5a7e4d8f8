#pragma once
#include "db/feeformulas.h"
#include "platform/dao/Database.h"
#include <QString>
#include <array>

// The program-wide values: one set for the whole run. Flags are integers used as booleans
// (-1 true, 0 false), as every window reads them.
struct Globals {
    // The main database and how it is reached.
    dao::Database MainDb;
    dao::Database AuxDb;
    QString DbConnect;
    QString AppTitle;
    QString YearSuffix;
    QString ProgramFolder;
    // What the analysis print-out's own data control reads: its connect text and database file.
    QString ReportDbConnect;
    QString ReportDbName;

    // The current session and its fee factors.
    QString CurSesName;
    QString CurSesTab;
    double ConvFactorAdj = 0;
    double BaseConvFactor = 0;
    double ConvFactor = 0;
    int UseWorkAdj = 0;
    double WorkGpci = 0;
    double PracGpci = 0;
    double MalpGpci = 0;
    double WorkAdjuster = 1.0;

    // Hand-overs between windows.
    int PlimViewActive = 0;
    QString SelectedZip;
    QString RuralInd;
    QString strCurrentCodemod;
    QString PendingSearchText;
    int SkipOtherTables = 0;
    int NoTaggedCodes = 0;

    // Focus and layout flags of the main window's panels.
    int GridHadFocus = 0;
    int SkipRecolumnize = 0;
    int PlimViewHasFocus = 0;
    int PlimListHasFocus = 0;
    int PlimScrollHasFocus = 0;
    int DbgScrollHasFocus = 0;

    // The recent-codes store behind the code panel's list: oldest first from slot 0; held for the run only.
    std::array<QString, 21> RecentCodes;
    QString LastRecentCode;

    // The menus' help commands: the help file the last one opened, kept until the next.
    QString HelpFile;

    // The code search: what each family's find engine remembers for the run (KELVA, DME, LAB, JCD, ASC, DRG),
    // and the other families that held the text of the last find that reached the end of its table.
    struct RememberedSearch {
        QString LastSearchText;
        QString LastSearchOptions;
    };
    std::array<RememberedSearch, 6> FindMemory;
    QString FoundInTables;
};

Globals& g();

// The current session's factors as the fee formulas take them.
db::FeeFactors sessionFactors();

// A path in the program folder.
QString programPath(const QString& fileName);
