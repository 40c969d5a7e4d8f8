#pragma once

#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The first-run wizard: on a fresh installation it asks for the first session's name, lets the user choose the
// practice's locality (frmSLocation), and on Finish writes that locality into "Default", creates the first
// session from it, makes it current and marks the set-up as done. Cancel (or the close box) ends the program.
class FirstTime : public platform::Form {
    Q_OBJECT
public:
    FirstTime();

    QGroupBox* Frame1;                        // its caption names the page
    platform::ControlArray<QLabel> lbl;       // 0 the page text
    QLabel* lblSession;                       // "Initial Session Name:"
    QLineEdit* txtSession;                    // the session name, page 1 only, at most 50 characters
    platform::ControlArray<QPushButton> btn;  // 0 "Cancel" / "Back", 1 "Next" / "Finish"
    // Hidden: the page ("1" page 1, "2" the locality step and the final page, "3" Finish), and the chosen
    // locality's GPCIs and text, which frmSLocation fills.
    QLineEdit* step;
    QLineEdit* CURWORKGPCI;
    QLineEdit* CURPRACGPCI;
    QLineEdit* CURMALPGPCI;
    QLineEdit* GEOLOC;

    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void btn_Click(int Index);
    // Finish's database work, in one transaction: the locality into "Default", the first session, CURSES,
    // SESCOUNT and CreateTables. On failure nothing of it stays and the error goes on to the caller.
    void SetupTables();

private:
    void wire();
    void ShowFirstPage();
    void ShowFinalPage();
    void LocalityStep();
    void CreateFirstSession();
    void CancelSetup();
};
