#pragma once

#include "platform/controls/DataControl.h"
#include "platform/forms/Form.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <array>
#include <memory>

namespace db {
class SessionRow;
}
class ExprtInd;

// The backup and restore window: "Create Backup File" writes every session but "Default" into the backup
// set of the program folder's `backup` folder.
class frmBackup : public platform::Form {
    Q_OBJECT
public:
    frmBackup();
    ~frmBackup() override;

    QGroupBox* Frame1;      // "Backup"
    QPushButton* Command1;  // "Create Backup File"
    QGroupBox* Frame2;      // "Restore"
    QPushButton* Command2;  // "Restore "
    QPushButton* Command4;  // "Cancel"
    QLabel* Label1;         // the note at the foot
    // Data(0) is bound to the new backupAllSess.mdb, Data(1) to each session's file in turn.
    platform::DataControl& Data(int Index) { return *data_.at(std::size_t(Index)); }
    platform::DataControl Data1;  // not used by the backup

    void Command1_Click();
    void Command2_Click();
    void Command4_Click();
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

    // Lets the TAG fields of DATA0000 (main database) and of DATA0000BKP in the backup file take the
    // zero-length text. `table` is not used.
    void MatchTagFieldSize(const QString& backupFile, const QString& table);

    // A backup or a restore is running: the buttons and closing the window do nothing meanwhile.
    bool backupRunning() const { return running_; }

private:
    void wire();
    void BackupSessions();
    void PrepareFolder(const QString& backupFolder, const QString& newFolder);
    void BackupSession(const db::SessionRow& session, const QString& newFolder);
    void CopyCodeRows(const db::SessionRow& session, ExprtInd& progress);
    void ReleaseData(int Index);

    std::array<std::unique_ptr<platform::DataControl>, 2> data_;
    bool running_ = false;
};
