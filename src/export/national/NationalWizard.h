#pragma once

#include "export/national/familytables.h"
#include "export/national/physiciantable.h"
#include "platform/dao/Database.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "platform/seam/CommonDialog.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

// What sets the two national wizards apart: one row each.
struct WizardRow {
    const char* window;       // "frmExportWiz", "frmExportWizBeta"
    const char* caption;
    const char* introNote;    // Label3: the two differ in the blanks after "localities."
    bool hideFamilyPageOnRun; // the family page is hidden before the target prompt (Lab, DMEPOS, J-codes)
    bool suffixWithBlank;     // the count's last three characters with its sign blank ("NATLAB 5.mdb")
    nationaltables::LabOpening lab;
    const physician::EngineRow* physician;  // how the physician table is built
};

extern const WizardRow kAllLocalityWizard;
extern const WizardRow kCarrierWizard;

// The national export wizard: an introduction, the code family and, for the physician codes, the fee type
// with a percentage; then the target file and one run that writes one national table into a copy of the
// export template.
class NationalWizard : public platform::Form {
    Q_OBJECT
public:
    explicit NationalWizard(const WizardRow& row);

    QFrame* Frame3;  // introduction
    QLabel* Label3;
    QLabel* Label2;
    QFrame* Frame1;  // code family
    QLabel* Label1;
    QFrame* Frame4;  // fee type and percentage
    QLabel* Label4;
    platform::ControlArray<QRadioButton> Option1;  // 0..3 the family, 7 non-facility, 6 facility
    platform::ControlArray<QLabel> lbl;            // 2 the percentage's caption, 3 "%"
    QLineEdit* Text1;
    platform::ControlArray<QPushButton> Command1;  // 0 Cancel, 1 Next >>, 2 << Back
    platform::CommonDialog dia;

    void Form_Load() override {}
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Command1_Click(int Index);
    void Text1_KeyPress(int& KeyAscii);

    // 1 when no target was accepted (cancelled, refused, failed), 0 when the run may start.
    int Prompt_File();
    void Create_Table(const QString& family);

    // The family code of the chosen family option ("KELVA", "LAB", "DME", "JCD").
    QString familyCode() const;
    // The window's own mouse pointer: 11 during a run, 0 otherwise.
    int MousePointer() const { return pointer_; }
    bool running() const { return running_; }
    // What the last family stage did (rows written, codes the key already held).
    nationaltables::StageResult lastStage() const { return stage_; }

    const WizardRow& row;

private:
    void wire();
    void Next();
    void Back();
    void setMousePointer(int pointer);
    void CommonEnd();
    void FailureReport(const QString& description);
    void CloseRun();

    dao::Database NatTargetDb;
    dao::Database NatMainDb;
    dao::Recordset LocationRs;
    nationaltables::StageResult stage_;
    int pointer_ = 0;
    bool running_ = false;
};
