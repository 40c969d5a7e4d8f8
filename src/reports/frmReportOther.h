#pragma once

#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "platform/report/ReportDocument.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace reports {

inline const QString kPrinterMessage = QStringLiteral("Unable to use the current printer device selected.");

// One member of the family fee reports (RptLab, RptDME, RptJcd, RptAsc).
struct FamilyReport {
    const char* view;        // the view text that selects it
    const char* name;
    int frame;               // the layout frame shown (Frame1, 3, 4, 6)
    bool tagged;             // "Show tagged only" is offered and read
    const char* title;
    const char* caption;     // of the preview
    bool notice;             // the copyright line
    enum class StateText { Label, JCodeHeadings, None } stateText;
    const char* stateColumn; // the PARMS_CL column naming the state's fee column; nullptr: the wage index
    const char* table;
};
const std::vector<FamilyReport>& familyReports();
// The report's design; its start step reads the main window and the chooser at the moment it runs.
platform::report::Report familyReport(const FamilyReport& member);

}  // namespace reports

// The report chooser of the family views: the view's one layout, "Show tagged only", "Print" and "Close".
class frmReportOther : public platform::Form {
    Q_OBJECT
public:
    frmReportOther();

    template <class T>
    using ControlArray = platform::ControlArray<T>;

    QGroupBox* Frame5;   // "Report Print Options for Session:"
    QLabel* Label1;      // the session's name
    QCheckBox* Check1;   // "Show tagged only"
    QGroupBox *Frame1, *Frame3, *Frame4, *Frame6;  // J-code, DMEPOS, Lab, ASC layouts
    ControlArray<QRadioButton> rptopt;
    QPushButton* Command1;  // "Print"
    QPushButton* Command2;  // "Close"

    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();

private:
    void wire();
};
