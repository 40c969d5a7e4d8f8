#pragma once

#include "export/menu/exportmenu.h"
#include "platform/controls/DataControl.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

// What the code-table and OPPS export windows share: the note, the all/tagged choice, Help, Cancel and
// Continue, the data control bound to the main database, and the Export menu's setting.
class CodeTableWindow : public platform::Form, public exportmenu::Target {
    Q_OBJECT
public:
    CodeTableWindow(const QString& name, const QString& designCaption);

    QGroupBox* Frame1;                             // "Note"
    platform::ControlArray<QLabel> Label1;         // 0: the format note
    QGroupBox* Frame2;                             // "Options"
    platform::ControlArray<QRadioButton> Option1;  // 0 all codes, 1 tagged codes
    platform::ControlArray<QPushButton> Command1;  // 0 Help, 1 Cancel, 2 Continue
    platform::DataControl& Data(int Index);        // element 1

    void Form_Load() override;
    void Command1_Click(int Index);
    void applyExportMenuSetting(const exportmenu::Setting& s) override;

protected:
    // Continue: the export of the window's current choice.
    virtual void Continue() = 0;
    // Only the tagged option selected means tagged rows.
    bool taggedChosen() const { return Option1(1)->isChecked(); }

private:
    platform::DataControl data1_;
};
