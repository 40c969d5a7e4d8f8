#pragma once

#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// "Edit Code": changes the description of one code in Procoden. The opener fills the code box, the
// description and LoadStat (n gives box n - 1 the focus); the seven percentile boxes are checked while
// typed and never stored. No command of the program opens it.
class frmUpdateCode : public platform::Form {
    Q_OBJECT
public:
    frmUpdateCode();

    platform::ControlArray<QLabel> lbl;       // 0 "Code:", 1 "Description:", 2..8 the percentiles
    platform::ControlArray<QLineEdit> txt;    // 0 code, 1 description, 2..8 P40 .. P95
    QLineEdit* LoadStat;                      // hidden: the opener's focus choice
    QGroupBox* Frame1;                        // "Hint"
    QLabel* Label1;                           // the hint's text
    platform::ControlArray<QPushButton> btn;  // 0 "&Cancel", 1 "&Update"

    void Form_Activate() override;
    void txt_Change(int Index);
    void txt_KeyPress(int Index, int& KeyAscii);
    void btn_Click(int Index);
    void SaveCode();

private:
    void wire();
};
