#pragma once

#include "platform/dao/Database.h"

#include <QString>

class ExprtInd;

// The export rules that every file export of the program follows: reading the parameter row, the proposed
// folder and name, the save dialog, the refused targets, the file type, the template copy, the advance of
// the running export number and the failure path. Each export calls these and states only its differences.
//
//     const exportrules::Parms parms = exportrules::readParms(g().MainDb);
//     const QString folder = exportrules::proposedFolder(parms.exportPath, g().ProgramFolder);
//     StepGuard step; step(exportrules::kNoExport);
//     try {
//         const exportrules::Target t = exportrules::chooseTarget(filter, folder, exportrules::proposedName(parms.exportCnt));
//         if (exportrules::refused(t.title)) { exportrules::showRefused(); ...; return; }
//         step(exportrules::kCreatingFile);
//         ... write ...
//         exportrules::advanceCount(g().MainDb, parms.exportCnt);
//     } catch (const dao::Error& e) {
//         exportrules::showFailure(step.text(), e.description);
//     }
namespace exportrules {

// The texts a failure shows first, by the stage the export reached.
inline const QString kNoExport = QStringLiteral("No Export Performed");
inline const QString kCreatingFile = QStringLiteral("Error creating file");
inline const QString kWritingText = QStringLiteral("Error writing Text File");
inline const QString kExportingData = QStringLiteral("An Error occurred while exporting data");
inline const QString kSuccess = QStringLiteral("File exported successfully");
inline const QString kRefusedMessage = QStringLiteral(
    "You can not select files: KELVA.MDB or any of the export template files (files begining with EXPORT.??" "?) "
    "as the export file.  Please pick another file name.");
inline const QString kOverwriteAccess = QStringLiteral(
    "Exporting to an existing access database will overwrite the entire database.  Do you wish to continue?");

// exportpath ("(Default)" or a folder) and ExportCnt of the parameter row, read once at the start of a run.
struct Parms {
    QString exportPath;
    qint64 exportCnt = 0;
};
Parms readParms(dao::Database& db);

// The folder the save dialog starts in: the program folder for "(Default)"; exportPath when the folder
// check finds it; otherwise "Unable to find user defined path <exportPath>." is shown and the program
// folder taken.
QString proposedFolder(const QString& exportPath, const QString& programFolder);
// A folder and a name joined by exactly one "/" (the stored folder ends with one).
QString joinPath(const QString& folder, const QString& name);

// The last three characters of the number written with its sign blank: "234" for 1234, " 5" for 5.
QString countSuffix(qint64 count);
// The last three digits, or all of them under 100: "234" for 1234, "5" for 5 (the national wizard's form).
QString countDigits(qint64 count);
// "morvex" and countSuffix: the session export's proposed name, without a file type.
QString proposedName(qint64 count);

// The main database's name or a name beginning with "EXPORT", in any letter case, in any folder.
bool refused(const QString& fileTitle);
void showRefused();

enum class FileType { Other, Dbf, Xls, Wk1, Mdb, Csv };
// The last three characters of the path, in lower case; nothing else of the name counts.
FileType fileType(const QString& path);

// What the save dialog returned.
struct Target {
    QString path;   // the chosen full path
    QString title;  // its name without the folder
};
// The save dialog "Export" with the filter (first entry selected), folder and proposed name. Cancel throws
// 32755 "Cancel was selected.".
Target chooseTarget(const QString& filter, const QString& folder, const QString& name);

// Copies a template of the program folder onto the target, replacing a file that is there; the copy is
// writable. 3024 when the template is missing, 75 when the target cannot be written.
void copyTemplate(const QString& templatePath, const QString& target);

// The count after n: above 2000 it restarts at 1000, then one is added (1234 -> 1235, 2001 -> 1001).
qint64 nextCount(qint64 n);
// Stores nextCount(n) as ExportCnt.
void advanceCount(dao::Database& db, qint64 n);

// The failure path's two messages: the step text, then the error's own description.
void showFailure(const QString& step, const QString& description);

// Counts the rows to write, as moving to the last row and back does (3021 "No current record." when there are
// none), and gives the progress bar its maximum: the count plus 2000.
void startRows(dao::Recordset& rows, ExprtInd* progress);

// Makes a folder current again (the save dialog may leave another one current).
void makeCurrent(const QString& folder);

}  // namespace exportrules
