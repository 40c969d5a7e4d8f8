#pragma once

#include "tagging/TagCriteriaWindow.h"

#include <vector>

class frmMain;

// One family tagging window: what frmTagDME, frmTagLAB, frmTagJCD, frmTagASC and frmTagDRG differ in.
// Statement texts name the session's code table as %T where they need it (the ASC window).
struct TagFamily {
    struct Column {
        const char* caption;
        const char* field;
        int width;
    };
    const char* window;
    const char* table;              // as statements write it: "DME", "[ASC]"
    const char* keyColumn;          // compared in the code range: "[HCPCS]", "[CODE]", "[DRG]"
    bool numericKey;                // the codes must be numbers and are compared as numbers (DRG)
    const char* descColumn;         // the description search's column
    const char* excludeColumn;      // the exclusion's column, both tabs
    const char* loadSource;         // the preview's record source at load
    const char* descriptionPreview; // + " WHERE " + criterion
    const char* rangePreview;       // + " WHERE " + criterion
    const char* tagStatement;       // + criterion
    const char* clearStatement;
    const char* clearWarning;
    const char* frameCaption;
    std::vector<Column> columns;
    platform::DBGrid* frmMain::*grid;  // the main window's grid of the family, repainted after a change
    const char* rangeWord;          // "through"; "to" in the J-code window
    bool rangeWordAlwaysEnabled;
    bool firstCodeAtActivation;     // "00000" into the first code box once, at the first activation
    bool firstCodeAtRangeChoice;    // "00000" into it at every choice of "&Code Range" (Lab)
    const char* countLabel;         // the count line's and the question's names: Label3/Label4, JCDel3/JCDel4
    const char* questionLabel;
};

// The five rows, in view order: DMEPOS, Lab, J-code, ASC, DRG.
extern const TagFamily kTagFamilies[5];

// The design of the five family tagging windows: a description search and a code range, each with an
// exclusion, a counted preview and "Yes" tagging by the previewed criterion.
// Tabs 0 "Description Contains" and 1 "Code Range"; Option1 0 "&Short Description Contains", 1 "&Code Range";
// Check1 and Text2 0 and 1; Label1 "through" ("to"); Label3 and Label4 are JCDel3 and JCDel4 in the J-code
// window.
class TagWindow : public TagCriteriaWindow {
    Q_OBJECT
public:
    void Form_Load() override;
    void Form_Activate() override;
    void SSTab1_Click(int PreviousTab) override;
    void Option1_Click(int Index) override;

    const TagFamily& family() const { return family_; }
    // The criterion "Yes" tags by: the last search's that found codes; empty while none.
    const tagging::Criterion& criterion() const { return criterion_; }
    qint64 matches() const { return n_; }

protected:
    explicit TagWindow(const TagFamily& family);
    ~TagWindow() override;
    void RunCommand(int Index) override;
    std::vector<int> LockedOptions() const override { return {0, 1}; }
    std::vector<int> LockedSearches() const override { return {0, 5}; }

private:
    QString statement(const char* text) const;  // %T: the session's code table
    void SearchDescription();
    void SearchCodeRange();
    void ShowPreview(int Index, const QString& source, const tagging::Criterion& c, bool remember);
    void TagCodes();
    void ClearAllTags();
    void RepaintFamilyGrid();

    const TagFamily& family_;
    bool firstActivation = false;
    tagging::Criterion criterion_;
    qint64 n_ = 0;
};

class frmTagDME final : public TagWindow {
    Q_OBJECT
public:
    frmTagDME() : TagWindow(kTagFamilies[0]) {}
};
class frmTagLAB final : public TagWindow {
    Q_OBJECT
public:
    frmTagLAB() : TagWindow(kTagFamilies[1]) {}
};
class frmTagJCD final : public TagWindow {
    Q_OBJECT
public:
    frmTagJCD() : TagWindow(kTagFamilies[2]), JCDel3(Label3), JCDel4(Label4) {}
    QLabel* JCDel3;  // this window's names of the count line and the question
    QLabel* JCDel4;
};
class frmTagASC final : public TagWindow {
    Q_OBJECT
public:
    frmTagASC() : TagWindow(kTagFamilies[3]) {}
};
class frmTagDRG final : public TagWindow {
    Q_OBJECT
public:
    frmTagDRG() : TagWindow(kTagFamilies[4]) {}
};
