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
#include <memory>
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
class TagWindow : public platform::Form {
    Q_OBJECT
public:
    template <class T>
    using ControlArray = platform::ControlArray<T>;

    QTabWidget* SSTab1;              // 0 "Description Contains", 1 "Code Range"
    ControlArray<QRadioButton> Option1;  // 0 "&Short Description Contains", 1 "&Code Range"
    QComboBox* Combo1;               // the description, its list the history THIST
    ControlArray<QLineEdit> Text1;   // 0 and 1: the code range
    QLabel* Label1;                  // "through" ("to")
    ControlArray<QCheckBox> Check1;  // 0, 1 "And Exclude"
    ControlArray<QLineEdit> Text2;   // 0, 1 the exclusion texts
    QGroupBox* Frame1;
    platform::DBGrid* DBGrid1;
    QLabel* Label3;                  // the count line (JCDel3 in the J-code window)
    QLabel* Label4;                  // "Tag these codes?" (JCDel4)
    // 0 and 5 "&Start Search" of tabs 0 and 1; 2 "Yes", 7 "No", 4 "&Clear All Tags", 3 "&Close".
    ControlArray<QPushButton> btn;
    platform::DataControl& Data(int Index);

    void Form_Load() override;
    void Form_Activate() override;
    void SSTab1_Click(int PreviousTab);
    void SSTab1_GotFocus();
    void Option1_Click(int Index);
    void Check1_Click(int Index);
    void Combo1_Change();
    void Combo1_Click();
    void Combo1_KeyPress(int& KeyAscii);
    void Text1_Change(int Index);
    void Text1_GotFocus(int Index);
    void Text1_LostFocus(int Index);
    void btn_Click(int Index);

    void openresults(int Index);
    void closeresults(int Index);

    const TagFamily& family() const { return family_; }
    // The criterion "Yes" tags by: the last search's that found codes; empty while none.
    const tagging::Criterion& criterion() const { return criterion_; }
    qint64 matches() const { return n_; }

protected:
    explicit TagWindow(const TagFamily& family);
    ~TagWindow() override;

private:
    void wire();
    void LoadTagHistory();
    QString statement(const char* text) const;  // %T: the session's code table
    void SearchDescription();
    void SearchCodeRange();
    void ShowPreview(int Index, const QString& source, const tagging::Criterion& c, bool remember);
    void TagCodes();
    void ClearAllTags();
    void RepaintFamilyGrid();

    const TagFamily& family_;
    QButtonGroup* optionGroup;
    std::unique_ptr<platform::DataControl> data0_;
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
