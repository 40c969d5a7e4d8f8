#pragma once

#include "app/globals.h"
#include "support/SeamTest.h"

#include "db/schema.h"
#include "platform/dao/Database.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <map>

// A program folder of its own for the backup: a small main database (PARMS_CL, SESSIONS with "Default",
// DATA0000), the two backup templates and the empty folder backup/.
class BackupTest : public SeamTest {
protected:
    void SetUp() override;
    void TearDown() override;

    QString programFile(const QString& name) const { return folder.filePath(name); }
    QString backupFile(const QString& name) const { return folder.filePath("backup/" + name); }
    dao::Database& db() { return g().MainDb; }

    // A code row of DATA0000 (every session made afterwards copies it).
    void addCode(const db::ColumnValues& values);
    // A session owning `table`, a copy of DATA0000, with the given SESSIONS values.
    void addSession(const QString& name, const QString& table, const db::ColumnValues& values = {});
    // The fixture's usual codes and three sessions on two localities: Office (DATA0001), Restored
    // (DATA00031) and Clinic (DATA0002), in this stored order.
    void addThreeSessions();

    // Every file of the backup folder (its sub-folders left out), name -> bytes.
    std::map<QString, QByteArray> backupFolderFiles() const;
    // A backup file opened as the restore opens it (no password).
    dao::Database openBackup(const QString& name) const;

    // Clicks "Create Backup File" expecting a complete backup.
    void backupCompletes();
    // Clicks it expecting a failure: the failure's description (returned), then `stage`.
    QString backupFails(const QString& stage);

    // At the next DoEvents of a running backup or restore: every button of the window clicked and the
    // window asked to close, each of which must do nothing; counts the attempts.
    void clickEverythingWhileRunning(int& attempts);

    QTemporaryDir folder;
};
