#pragma once

#include "platform/controls/DataControl.h"
#include "platform/controls/ScrollBar.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The quick-view window: one code of the main grid and one fee in large type, on top of every window.
class frmPlimView : public platform::Form {
    Q_OBJECT
public:
    frmPlimView();

    QComboBox* plimlist;
    platform::ScrollBar* plimscroll;
    platform::ControlArray<QLineEdit> Text1;  // 0 code box, 1 fee box
    platform::ControlArray<QLabel> Label1;    // 0 "Code", 1 "Fee"
    QPushButton* Command1;                    // "Locate Code"
    QPushButton* Command2;                    // "Find"
    QPushButton* Command3;                    // "Help"
    platform::DataControl Data1;
    QString SavedCodemod;
};
