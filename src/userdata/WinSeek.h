#pragma once

#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "platform/seam/CommonDialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>

// The prior-year carry-over window "KELVA Find Import File": "Import" chooses a prior year's main database
// and lists its sessions, a click chooses one, "Continue" copies its S1..S5 and Freq1..Freq5 into the
// current session. It also holds a search of the drives for files named "parms.mdb" inside folders whose
// path holds "QDX", whose buttons lie below the client area; the search is started from the keyboard and
// its result feeds nothing.
class WinSeek : public platform::Form {
    Q_OBJECT
public:
    WinSeek();

    // What the search needs of the old drive, folder and file lists: the drives (on this system, the
    // folders a search over "the drives" covers), a folder path with its subfolders sorted by name, and
    // the files of a path matching a pattern (without regard to case) sorted by name. Links to folders are
    // not followed; a folder that cannot be read has no entries.
    struct FolderList {
        QString path;
        QStringList subfolders() const;  // full paths
    };
    struct FileList {
        QString path;
        QString pattern;
        QStringList files() const;  // names
    };

    QGroupBox* Frame1;  // "Instructions:"
    QLabel* Label1;
    QGroupBox* Frame2;  // the session choice; the search's status
    QListWidget* List1;
    QLabel* Label5;
    platform::ControlArray<QPushButton> btn;  // 0 "Continue", 1 "Cancel", 2 "Import"
    QProgressBar* ProgressBar1;
    QLabel* Label4;  // "Importing"
    QPushButton* cmdSearch;
    QPushButton* cmdExit;
    QWidget* Picture1;  // the search's lists, never shown
    QStringList drvList;
    FolderList dirList;
    FileList filList;
    QLineEdit* txtSearchSpec;
    QLabel* lblCriteria;
    QWidget* Picture2;  // the search's result panel
    QLabel* Label3;
    QListWidget* lstFoundFiles;
    QLabel* Label2;
    QLabel* lblfound;
    QLabel* lblCount;  // the number of files found, kept only as this text
    platform::CommonDialog dia;

    // -1 while a search runs, 0 when the user asked to skip the drive, 2 when asked to stop.
    int SearchState = -1;
    // SESTAB of each List1 entry, and of the entry last clicked.
    QStringList SessionTables;
    QString PriorSessionTable;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    void btn_Click(int Index);
    void cmdSearch_Click();
    void cmdExit_Click();
    void lstFoundFiles_Click();
    void List1_Click();
    // Points dirList at a folder: filList follows, and Label4 names the folder.
    void setDirListPath(const QString& path);
    void dirList_Change();
    // Walks `path` and its subfolders; true when the walk is to be abandoned.
    bool SearchFolder(const QString& path, const QString& returnPath);
    void SelectPriorDatabase();
    // "Continue": the copy of the chosen prior session.
    void CopyPriorSession();

    // The search's drives: the user's home folder, /media and /mnt, those that exist.
    static QStringList searchRoots();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void wire();
    void BeginSearch();
    void EndSearch();
    void listFiles();
    QString programFolder() const;
};
