#pragma once

#include "platform/controls/DataControl.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "search/findengine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>

// What the six Find a Code windows differ in, one row each.
struct SearchFamily {
    const char* window;
    search::Family engine;
    std::array<const char*, 3> option2;  // captions of the fields searched
    const char* labelName;               // the search label: "lbl_0", or "Label1" where the window names it so
    bool hasReplaceLabels;               // lbl(1) "Replace:" and lbl(2) "Direction:" exist
    int codeColumn;                      // the grid's current column after "Search Code Only" (-1: left as is)
    int descColumn;                      // ... after the descriptions-only choice
    int clientWidthTwips;
};

// The six rows: frmSearch, frmSearchDME, frmSearchLAB, frmSearchJCD, frmSearchASC, frmSearchDRG.
extern const SearchFamily kSearchFamilies[6];

// "Find a Code": the search window of a family grid of the main window. The user's presses hand the text, a
// five-character mode and the exclusion to the family's find engine, which moves the grid; every new text
// joins the history SHIST shared by the six windows.
class SearchWindow : public platform::Form {
    Q_OBJECT
public:
    template <class T>
    using ControlArray = platform::ControlArray<T>;

    ControlArray<QLabel> lbl;             // 0 "Enter Keyword or Code:"; 1 "Replace:", 2 "Direction:" never shown
    QComboBox* Combo1;                    // the search text; its list the history, newest first
    QCheckBox* Check1;                    // "And Exclude:"
    QLineEdit* Text2;                     // the exclusion text, enabled while Check1 is ticked
    ControlArray<QPushButton> btn;        // 0 "Find"/"Find Next", 4 "&Previous", 3 "&Close"; 1, 2 never shown
    QGroupBox* Frame1;                    // "Options"
    ControlArray<QRadioButton> Option1;   // 0 "From Top", 1 "From Current"
    QGroupBox* Frame2;                    // "Fields to be searched"
    ControlArray<QRadioButton> Option2;   // code and descriptions, code only, descriptions only
    QComboBox* cmb;                       // never shown: the direction "All" 0, "Next" 1, "Previous" 2
    ControlArray<QCheckBox> chk;          // never shown nor ticked: match case, whole field, current column
    ControlArray<QLineEdit> txt;          // never shown: the replace boxes; txt(1) receives "NO REPLACE"
    platform::DataControl Data1;          // the main database, where SHIST lives

    QString strModePrefix;
    int intNewSearch = 0;
    int intFirstActivate = 0;

    void Form_Load() override;
    void Form_Activate() override;
    void BuildSearchMode();
    void LoadSearchHistory();
    void btn_Click(int Index);
    void Combo1_Change();
    void Combo1_Click();
    void Combo1_KeyPress(int& KeyAscii);
    void Check1_Click();
    void cmb_Click();
    void cmb_Change();
    void chk_Click(int Index);
    void txt_Change(int Index);

    const SearchFamily& family() const { return family_; }

protected:
    explicit SearchWindow(const SearchFamily& family);
    void keyPressEvent(QKeyEvent* event) override;

private:
    void wire();
    void ResetEngine();
    void CallEngine();
    // Step 1 of Find and Previous: a new text joins the history; false (after the message) for an empty one.
    bool RememberText();
    void FindPressed();
    void PreviousPressed();
    void ClosePressed();
    platform::DBGrid* familyGrid() const;

    const SearchFamily& family_;
};
