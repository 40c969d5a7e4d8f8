#pragma once

#include <QString>

class frmBackup;

// The restore of frmBackup's "Restore ": every session of the backup set in the program folder's `backup`
// folder becomes a new session of the main database. Its table is the backed-up table name followed by
// "1", filled with the rows DATA0000 holds now, on which the backed-up tags, schedules, frequencies and
// user fields are laid; its SESSIONS row takes the "Default" row's fee and layout settings with the
// backed-up names and ZIP code. A backed-up first session (table DATA0001, or one restored from it) takes
// the place of the database's own first session. The whole restore is one transaction: a failure leaves
// the database as it was.
namespace restore {

inline const QString kStageNoBackup = QStringLiteral("Could not find backup information.");
inline const QString kStageTables = QStringLiteral("Error restoring backup tables.");
inline const QString kStagePrevious = QStringLiteral("Backup process has been previously executed.");
inline const QString kQuestion =
    QStringLiteral(" Warning: Restore will overwrite all user defined fee information.  Do you wish to continue?");
inline const QString kQuestionTitle = QStringLiteral("Restoring");
inline const QString kComplete = QStringLiteral("Restore complete. You will need to restart the application.");
// The unique index of a restored session table.
inline const QString kRestoredIndex = QStringLiteral("CODEMODIndexxData00");
// The bar's margin beyond a session's codes: it stops short of full until the session is done.
inline constexpr int kBarMargin = 2000;

// Asks, then restores every backed-up session in one transaction on the main database; the program's
// windows take no input meanwhile. True when the restore is committed. False when there is no backup
// set or the answer is No (nothing changed), or after a failure, which it has shown (the failure's
// description, then the stage text) and rolled back; the window stays open.
bool RestoreSessions(frmBackup& window);

// The end of a committed restore: the window and the progress window close, the closing message, and the
// program ends.
void FinishRestore(frmBackup& window);

}  // namespace restore
