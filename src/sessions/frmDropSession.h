#pragma once

#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

class frmMain;

// Deletes a session with its code table, or gives one a new name. Neither the current session nor "Default"
// is offered; the current session stays current.
class frmDropSession : public platform::Form {
    Q_OBJECT
public:
    frmDropSession();

    template <class T>
    using ControlArray = platform::ControlArray<T>;

    QTabWidget* SSTab1;          // 0 "Delete Session", 1 "Rename Session"
    QGroupBox* FrameIntro;       // the warning and "Next"
    ControlArray<QLabel> lbl;    // 0, 1 the warnings; 2 the delete choice's text; 3, 4 the rename labels
    QGroupBox* FrameSelect;      // "Select the session to delete:" (after Next)
    QComboBox* Combo1;           // sessions to delete
    QComboBox* Combo2;           // sessions to rename
    QLineEdit* Text1;            // the new name, at most 45 characters
    ControlArray<QPushButton> Command1;  // 0 Cancel, 1 Next, 2 Delete, 4 Apply

    void Form_Load() override;
    void Command1_Click(int Index);

private:
    void wire();
    frmMain& main() const;
    // The session current now (PARMS_CL.CURSES as stored).
    QString currentSession();
    void Next();
    void Delete();
    void Rename();
    void Close();
};
