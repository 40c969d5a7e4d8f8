#pragma once

#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

// The agreement window: the licence agreement and disclaimer of kvdis.txt. Accept goes on (for good when the
// box is ticked: SHOW_DISC 0); Cancel or the close box ends the program.
class frmSplash : public platform::Form {
    Q_OBJECT
public:
    frmSplash();

    QLabel* picLogo;
    platform::ControlArray<QLabel> lbl;       // 0 instruction, 1 "Welcome to 2014", 2 "KELVA", 3 "®", 4 "Morvex"
    QPlainTextEdit* txt;                      // the agreement text, read only in effect
    QLabel* Label1;
    platform::ControlArray<QPushButton> btn;  // 0 "&Accept", 1 "&Cancel"
    QCheckBox* chk;                           // "Do not display this message again."

    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_Unload(int& Cancel) override;
    void txt_KeyPress(int& KeyAscii);
    void btn_Click(int Index);

private:
    void wire();
};

// The agreement text as the window shows it: every line of the file followed by CR LF. A line ends at a CR or
// a CR LF; a lone LF stays part of its line.
QString agreementText(const QByteArray& fileContent);
