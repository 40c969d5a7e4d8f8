#pragma once

#include "platform/controls/DataControl.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "platform/seam/CommonDialog.h"

#include <QDateTime>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

// "Data Update": the wizard that checks the maker's update server, downloads or takes a local update
// database and applies it. Three pages stacked in one place (Frame1 the link, Frame2 the update, Frame3 up
// to date) under the window's own "Exit".
class frmDataUpdate2 : public platform::Form {
    Q_OBJECT
public:
    frmDataUpdate2();

    // First page.
    QFrame* Frame1;
    QLabel* Picture1;
    QLabel* Label1;
    QLabel* Label2;  // the link to the update web page
    QLabel* Label6;
    QPushButton* btnNext;   // "Next >>", never shown
    QPushButton* Command1;  // "Cancel", never shown
    // Second page.
    QFrame* Frame2;
    QLabel* Picture2;
    QLabel* Label3;  // an update is offered
    QLabel* Label7;  // the status label
    QLabel* Label5;  // no connection
    QLineEdit* Text1;
    QPushButton* Command2;  // "Browse"
    QProgressBar* ProgressBar1;
    // Third page.
    QFrame* Frame3;
    QLabel* Picture3;
    QFrame* Frame4;
    QLabel* Label4;
    // "Update", "Exit" (second page), "Exit Update" (third page).
    platform::ControlArray<QPushButton> Command3;
    QPushButton* Command4;  // the window's "Exit"

    platform::DataControl Data1;  // the installed date
    platform::DataControl Data5;  // the offered date
    platform::CommonDialog Dia;

    QDateTime strDate;
    QString strDownLoadFileName;
    QString strUpdTables;

    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

    void Label2_Click();
    void Command4_Click();
    void Command1_Click();
    void btnNext_Click();
    void Command2_Click();
    void Command3_Click(int Index);

    // Opens (action 0) or prints a file or address through the shell; 0 when that failed.
    int LaunchFile(const QString& file, int action, int windowState);
    // Applies "kelvaupd04.mdb" of the program folder; ends the program when it succeeds, returns after a
    // failure, which it has shown and rolled back.
    void DownloadUpdateFile();
    // Whether the update is being applied (the program takes no input meanwhile).
    bool applying() const { return applying_; }

    static QString updateWebPage();

private:
    void wire();
    // The two dates: Data1 on the main database, Data5 on the update database.
    void refreshDates();
    QDateTime installedDate();
    QDateTime offeredDate();
    // Data5 lets the update database go.
    void releaseData5();
    void showPreparation();
    // The page of each outcome.
    void showOfferedPage();
    void showUpToDatePage();
    void showNoConnectionPage();
    void serverCheck();
    // The file chosen with "Browse" becomes the program folder's update database.
    void takeChosenFile();

    bool applying_ = false;
};
