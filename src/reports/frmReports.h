#pragma once

#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "reports/reportitems.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

// The preselected report chooser: one of the fixed layouts, or "Custom Reports", opened in the report
// builder by "NEXT".
class frmReports : public platform::Form {
    Q_OBJECT
public:
    // The layouts offered, one option each (the program's fixed thirteen unless a caller gives others).
    explicit frmReports(std::vector<reports::PreselectedLayout> layouts = reports::preselectedLayouts());

    template <class T>
    using ControlArray = platform::ControlArray<T>;

    QGroupBox* FrameSession;  // "Report Print Options for Session:"
    QLabel* Label1;           // the session's name
    QGroupBox* FrameLayouts;  // "Select Predefined Report Layout:"
    QGroupBox* FrameCustom;   // "Custom Report Generator"
    ControlArray<QRadioButton> rptopt;  // 0..12 the layouts, 13 "Custom Reports"
    QPushButton* Command1;    // "NEXT"
    QPushButton* Command2;    // "Close"

    int customOption() const { return static_cast<int>(layouts_.size()); }

    void Form_Load() override;
    void Form_Activate() override;
    void rptopt_Click(int Index);
    void Command1_Click();
    void Command2_Click();

private:
    void wire();
    static void setOff(QRadioButton* option);

    std::vector<reports::PreselectedLayout> layouts_;
};
