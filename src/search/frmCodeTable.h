#pragma once

#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QPushButton>
#include <QRadioButton>

// "Select Table": the families whose tables hold the text that a find missed; OK switches the main window
// to the chosen one and repeats the find there.
class frmCodeTable : public platform::Form {
    Q_OBJECT
public:
    frmCodeTable();
    platform::ControlArray<QRadioButton> Option1;  // 0 "KELVA" .. 5 "DRG Codes", none selected at first
    platform::ControlArray<QPushButton> btn;       // 1 "OK" (left), 0 "Cancel" (right)
    void btn_Click(int Index);
};
