#pragma once

#include "db/feeformulas.h"
#include "db/sessions.h"
#include "platform/dao/Recordset.h"

#include <QString>
#include <QStringList>
#include <vector>

// The backup set in the program folder's `backup` folder: backupAllSess.mdb, whose allsessions lists the
// backed-up sessions, and one file per session named by its SESTAB, with its code rows (Data0000Bkp) and
// its settings (SESSIONSBKP). The backup writes a new set into a folder of its own and puts it in the
// place of the previous one only when it is complete.
namespace backupset {

inline const QString kFolder = QStringLiteral("backup");
inline const QString kAllSessionsFile = QStringLiteral("backupAllSess.mdb");
inline const QString kSessionTemplate = QStringLiteral("backup.mdb");
inline const QString kAllSessionsTable = QStringLiteral("allsessions");
inline const QString kCodeTable = QStringLiteral("Data0000Bkp");
inline const QString kSessionTable = QStringLiteral("SESSIONSBKP");
// The backup files carry no password.
inline const QString kConnect = QStringLiteral("Access");

// A session's file: its SESTAB as stored, with ".mdb".
QString sessionFileName(const QString& sestab);

// How a code column is written.
enum class Conversion {
    Unchanged,
    Double,     // the value as a double
    Amount,     // text "#0.00"
    RvuText,    // text "#####.00"
    UserField,  // unchanged, not written when exactly "XXXXXXX"
    Note,       // the first 150 characters, CR then LF made blanks; not written when empty
};
struct CodeColumn {
    const char* target;  // column of Data0000Bkp
    const char* source;  // column of the row source
    Conversion conversion;
};
// The columns of Data0000Bkp in the order they are assigned.
const std::vector<CodeColumn>& codeColumns();
// The value a code column receives; Null when the column is left empty.
dao::Variant converted(Conversion conversion, const dao::Variant& source);
// A note as the set keeps it.
QString backupNote(const QString& note);

// The 23 SESSIONS columns that SESSIONSBKP and allsessions receive, with their names there.
struct SessionColumn {
    const db::RowColumn* source;
    const char* target;
};
const std::vector<SessionColumn>& sessionColumns();
// Adds one record of a session row's columns to a SESSIONSBKP or allsessions recordset (Null columns are
// not assigned).
void addSessionRecord(dao::Recordset& target, const db::SessionRow& row);

// The fee factors of a session's own row: its three GPCIs, (1 + CURCONVA) x CURCONVF and the work adjuster 1.
db::FeeFactors sessionFactors(const db::SessionRow& row);

// ---- The folder

// 75 "Path/File access error" naming the file or folder that could not be made, moved or removed.
[[noreturn]] void pathError(const QString& path);

// The folder in which a backup writes its new set, inside the backup folder.
QString newSetFolder(const QString& backupFolder);
// The files of the set in a folder: backupAllSess.mdb, the files its allsessions rows name, and every file
// named like a session table ("DATA", digits, ".mdb", in any letter case). The saved tag lists and the
// user's other files are no part of it.
QStringList setFiles(const QString& folder);
// Puts the complete new set in the place of the previous one: the previous set's files go, the new ones
// move in, the new set's folder is removed. When a file cannot be moved, the previous set is put back as it
// was and dao::Error says which file.
void replaceSet(const QString& backupFolder, const QString& newFolder);
// Removes what an interrupted backup left (the new set's folder and the previous set put aside).
void removeLeftovers(const QString& backupFolder);

}  // namespace backupset
