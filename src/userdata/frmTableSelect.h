#pragma once

#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

// The table chooser of the Access imports: lists the tables of the Access file named in IDataBase and
// leaves the answer in frmMain.work when it closes - the chosen table's name (Continue), "nothing"
// (Cancel), or the empty text (closed otherwise, or nothing to choose).
class frmTableSelect : public platform::Form {
    Q_OBJECT
public:
    frmTableSelect();

    QLineEdit* IDataBase;  // the file's full path, written by the caller before the window is shown
    QLabel* Label1;        // the instruction
    QListWidget* List1;    // the file's tables
    platform::ControlArray<QPushButton> Command1;  // 0 "Continue", 1 "Cancel"

    void Form_Activate() override;
    void Command1_Click(int Index);

    // The calling protocol: loads the chooser, hands it the path, shows it modally and returns what it left
    // in frmMain.work ("nothing" for Cancel).
    static QString Choose(const QString& accessFile);

    // The instruction as the window stores it: its two line breaks are CR characters.
    static QString instruction();
};
