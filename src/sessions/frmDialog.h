#pragma once

#include "platform/forms/Form.h"

#include <QComboBox>
#include <QPushButton>
#include <QStringList>
#include <QTreeWidget>

// The folder chooser "Select Path" of the display settings: a drive list (the root folder, the user's home
// folder and the mounted folders under /media and /mnt) and the folder tree of the chosen one. OK hands the
// folder to the display settings' export path, which stores it.
class frmDialog : public platform::Form {
    Q_OBJECT
public:
    frmDialog();

    QComboBox* Drive1;
    QTreeWidget* Dir1;
    QPushButton* OKButton;
    QPushButton* CancelButton;

    void Form_Load() override;
    void Drive1_Change();
    void Dir1_Expand(QTreeWidgetItem* item);
    void OKButton_Click();
    void CancelButton_Click();

    // The folder the tree stands on, a full path.
    QString Dir1Path() const;
    // Opens the tree of the drive holding path and makes path its current folder.
    void setDir1Path(const QString& path);
    // The drives of this machine: "/", the home folder, then every folder under /media, /media/<user> and
    // /mnt, in that order.
    static QStringList driveFolders();

private:
    void wire();
    void ShowDrive(const QString& root);
    QTreeWidgetItem* folderItem(QTreeWidgetItem* parent, const QString& path);
    int driveOf(const QString& path) const;

    int shownDrive_ = -1;  // the entry of Drive1 whose tree is shown
};
