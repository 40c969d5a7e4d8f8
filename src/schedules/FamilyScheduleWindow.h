#pragma once

#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "schedules/ScheduleFamily.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

class frmMain;

// The fee manager of a code family: Copy or Calculate one amount of the family table into a user schedule
// S1..S5 of the current session, for all codes or the codes tagged in the family's view, adding the family's
// codes the session lacks. frmSchedulesDME, frmSchedulesLAB, frmSchedulesJCD, frmSchedulesASC and
// frmSchedulesDRG are this class with their row of kScheduleFamilies.
class FamilyScheduleWindow : public platform::Form {
    Q_OBJECT
public:
    explicit FamilyScheduleWindow(const schedules::ScheduleFamily& family);

    template <class T>
    using ControlArray = platform::ControlArray<T>;

    QGroupBox* Frame5;  // "Applying to Session"
    QLabel* Label2;     // the session's name as loaded
    QGroupBox* Frame3;  // "Action"
    ControlArray<QRadioButton> opt;  // 0 Copy, 1 Calculate
    QGroupBox* Frame2;  // "Tagged Codes"
    QCheckBox* chk;
    QLabel* Label1;
    QGroupBox* Frame1;  // "Source and Destination Fields"
    ControlArray<QLabel> lbl;  // 0 source caption, 1 destination caption, 2 and 3 the percentage's captions
    QComboBox* Combo1;  // the family's sources, as loaded
    QComboBox* Combo2;  // S1..S5 by the session's names
    QLineEdit* Text1;   // percentage of Calculate
    ControlArray<QPushButton> btn;  // 0 Run, 1 Cancel
    QLabel* Label3;     // the family's note

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    void opt_Click(int Index);
    void Text1_KeyPress(int& KeyAscii);
    void btn_Click(int Index);

    const schedules::ScheduleFamily& family() const { return family_; }
    // Family rows the last run left out: a value that is no number, a key given again.
    qint64 SkippedRows = 0;

private:
    void wire();
    frmMain& main() const;
    void Run();
    void Close();

    const schedules::ScheduleFamily& family_;
};
