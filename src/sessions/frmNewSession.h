#pragma once

#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

class frmMain;

// A new session, made from "Default" or as a copy of a user session: a first page of options, a second
// for the name. The new session joins the main window's session list; the current session stays current.
class frmNewSession : public platform::Form {
    Q_OBJECT
public:
    frmNewSession();

    template <class T>
    using ControlArray = platform::ControlArray<T>;

    QGroupBox* Frame1;                   // "New Session Options "
    ControlArray<QRadioButton> Option1;  // 1 "Create from Default", 0 "Copy Existing Session"
    ControlArray<QLabel> lbl;            // 0 the options, 1 the hint, 2 the name's rules
    QLabel* Label1;                      // "Select From Existing Sessions:"
    QComboBox* Combo1;                   // the user sessions
    QGroupBox* Frame2;                   // "Hint:"
    QGroupBox* Frame3;                   // "Select New Session Name:"
    QLabel* Label2;                      // "New Session Name:"
    QLineEdit* Text1;                    // the name, at most 50 characters
    ControlArray<QPushButton> cmd;       // 1 "Continue", 0 "Cancel"
    QLineEdit* LoadChk;                  // hidden: "1" after loading, "2" after the first activation

    void Form_Load() override;
    void Form_Activate() override;
    void Option1_Click(int Index);
    void cmd_Click(int Index);

private:
    void wire();
    frmMain& main() const;
    void Continue();
    void Close();
};
