#pragma once

#include "tagging/TagCriteriaWindow.h"

// "Code Tagging": tags physician codes of the current session (in the "KELVA OPPS" view through
// DATAOPPSVIEW) by one criterion at a time, after a counted preview.
// Pages: 0 description, 1 code range, 2 schedules or frequencies, 3 specialty, 4 status, 5 site of service.
// Option1 0 description, 1 code range, 2 fees, 4 frequencies, 3 specialty (never shown), 5 GAP codes, 6 other
// status; Check1 and Text2 0..3; btn 0, 5, 6, 8, 9, 10 "&Start Search" of pages 0..5.
class frmTag : public TagCriteriaWindow {
    Q_OBJECT
public:
    frmTag();
    ~frmTag() override;

    QComboBox* Combo2;                 // specialties of specdesc, "ALL CODES/ALL SPECIALTIES" first
    QComboBox* Combo3;                 // status codes of data0000, then "Y" and "YC"
    QLabel* Label6;
    QLabel* Label7;
    platform::DataControl Data1;       // specdesc

    void Form_Load() override;
    void Form_Activate() override;
    void SSTab1_Click(int PreviousTab) override;
    void Option1_Click(int Index) override;
    void Combo1_GotFocus();

    // The condition that "Yes" tags by, kept when a search's preview opens: empty while none is pending.
    // A specialty looked up in specfreq keeps its description, which "Yes" looks up again.
    struct Pending {
        tagging::Criterion condition;
        bool specialtyLookup = false;
    };
    const Pending& pending() const { return pending_; }

protected:
    void RunCommand(int Index) override;
    std::vector<int> LockedOptions() const override { return {0, 1, 2, 4}; }
    std::vector<int> LockedSearches() const override { return {0, 5, 6}; }

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

    bool firstActivation = false;
    Pending pending_;
};
