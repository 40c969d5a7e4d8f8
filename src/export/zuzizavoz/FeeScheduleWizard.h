#pragma once

#include "platform/controls/DataControl.h"
#include "platform/dao/Database.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

class FeeScheduleWizard;

// One row per twin: what sets one wizard apart from the other.
struct FeeScheduleWizardRow {
    const char* window;
    const char* caption;
    void (FeeScheduleWizard::*next)(const QString& key);  // what "Next >>" runs with the schedule key
};

// The one-page wizards that write one of the current session's five user fee schedules for an outside
// billing system: frmExportELIG (a Zuzizavoz worksheet) and frmExportWLT (a WLT fee file).
class FeeScheduleWizard : public platform::Form {
    Q_OBJECT
public:
    explicit FeeScheduleWizard(const FeeScheduleWizardRow& row);

    QGroupBox* Frame1;
    platform::ControlArray<QRadioButton> Option1;  // S1..S5, captioned with the session's names
    QLabel* Label1;                                 // "Choose User Defined Schedule"
    platform::ControlArray<QPushButton> Command1;  // 0 Cancel, 1 "Next >>"

    void Form_Load() override;
    void Command1_Click(int Index);
    // "s1name" .. "s5name" by the selected option.
    QString scheduleKey() const;

    // Zuzizavoz: the sheet of code, modifier and allowed amount.
    void ExportSheet(const QString& key);
    // WLT: the target (0 chosen, 1 not), then the file.
    void ExportWlt(const QString& key);
    int Prompt_File();
    void Create_Table(const QString& key);

    // Zuzizavoz: the data control through which the rows reach the sheet (index 1).
    platform::DataControl& Data(int Index);
    // WLT: the folder of the proposed name, kept while the window is loaded.
    QString exportFolder;
    QString chosenPath;

private:
    void wire();
    void ReleaseSheet();
    dao::Recordset SourceRows();
    void ShowProgress(qint64 rows);
    void lowerBusy();

    const FeeScheduleWizardRow& row_;
    dao::Database conn_;  // the window's connection to the main database
    platform::DataControl data1_;
    bool busy_ = false;
};

class frmExportELIG final : public FeeScheduleWizard {
    Q_OBJECT
public:
    frmExportELIG();
};

class frmExportWLT final : public FeeScheduleWizard {
    Q_OBJECT
public:
    frmExportWLT();
};
