#pragma once

#include "platform/controls/DBGrid.h"
#include "platform/controls/DataControl.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "tagging/tagcriteria.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <functional>
#include <memory>

// "Code Tagging": tags physician codes of the current session (in the "KELVA OPPS" view through
// DATAOPPSVIEW) by one criterion at a time, after a counted preview.
class frmTag : public platform::Form {
    Q_OBJECT
public:
    frmTag();
    ~frmTag() override;

    template <class T>
    using ControlArray = platform::ControlArray<T>;

    // Pages: 0 description, 1 code range, 2 schedules or frequencies, 3 specialty, 4 status, 5 site of service.
    QTabWidget* SSTab1;
    // One group across the pages: 0 description, 1 code range, 2 fees, 4 frequencies, 3 specialty (never
    // shown), 5 GAP codes, 6 other status.
    ControlArray<QRadioButton> Option1;
    QComboBox* Combo1;                 // description, its list the history THIST
    QComboBox* Combo2;                 // specialties of specdesc, "ALL CODES/ALL SPECIALTIES" first
    QComboBox* Combo3;                 // status codes of data0000, then "Y" and "YC"
    ControlArray<QLineEdit> Text1;     // 0 and 1: the code range
    QLabel* Label1;                    // "through"
    ControlArray<QCheckBox> Check1;    // 0..3 "And Exclude"
    ControlArray<QLineEdit> Text2;     // 0..3 their exclusion texts
    QLabel* Label6;
    QLabel* Label7;
    QGroupBox* Frame1;                 // the preview
    platform::DBGrid* DBGrid1;
    QLabel* Label3;                    // the count line
    QLabel* Label4;                    // "Tag these codes?"
    // 0, 5, 6, 8, 9, 10 "&Start Search" of pages 0..5; 2 "Yes", 7 "No", 4 "&Clear All Tags", 3 "&Close".
    ControlArray<QPushButton> btn;
    platform::DataControl Data1;       // specdesc
    platform::DataControl& Data(int Index);  // Data(0): the preview

    void Form_Load() override;
    void Form_Activate() override;
    void SSTab1_Click(int PreviousTab);
    void SSTab1_GotFocus();
    void Option1_Click(int Index);
    void Check1_Click(int Index);
    void Combo1_Change();
    void Combo1_Click();
    void Combo1_GotFocus();
    void Combo1_KeyPress(int& KeyAscii);
    void Text1_Change(int Index);
    void Text1_GotFocus(int Index);
    void Text1_LostFocus(int Index);
    void btn_Click(int Index);

    void openresults(int i);
    void closeresults(int i);
    void LoadTagHistory();

    // The condition that "Yes" tags by, kept when a search's preview opens: empty while none is pending.
    // A specialty looked up in specfreq keeps its description, which "Yes" looks up again.
    struct Pending {
        tagging::Criterion condition;
        bool specialtyLookup = false;
    };
    const Pending& pending() const { return pending_; }

private:
    void wire();
    void FillSpecialtyList();
    void FillStatusList();
    QString sessionTable() const;

    void SearchDescription();
    void SearchCodeRange();
    void SearchSchedules();
    void SearchSpecialty();
    void SearchStatus();
    void SearchSiteOfService();
    // Counts and shows the preview; with codes found, keeps the condition and opens the preview of page.
    void RunSearch(int page, const QString& preview, const std::vector<dao::Variant>& params,
                   const Pending& condition, bool twoBlankCount = false,
                   const std::function<void()>& counted = {});
    static bool InOppsView();
    void TagCodes();
    void ClearAllTags();
    void RepaintMainGrid();

    QButtonGroup* optionGroup;
    std::unique_ptr<platform::DataControl> data0_;
    bool firstActivation = false;
    Pending pending_;
};
