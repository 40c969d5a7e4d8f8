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
#include <vector>

// What every tagging window has: the pages of criteria with the description box, the code range and the
// "And Exclude" pairs, and the counted preview with "Tag these codes?". The windows make and place the
// controls themselves, then call wireCriteria().
class TagCriteriaWindow : public platform::Form {
    Q_OBJECT
public:
    template <class T>
    using ControlArray = platform::ControlArray<T>;

    QTabWidget* SSTab1;
    ControlArray<QRadioButton> Option1;  // one group across the pages
    QComboBox* Combo1;               // the description, its list the history THIST
    ControlArray<QLineEdit> Text1;   // 0 and 1: the code range
    QLabel* Label1;                  // the word between the code boxes
    ControlArray<QCheckBox> Check1;  // "And Exclude"
    ControlArray<QLineEdit> Text2;   // their exclusion texts
    QGroupBox* Frame1;               // the preview
    platform::DBGrid* DBGrid1;
    QLabel* Label3;                  // the count line
    QLabel* Label4;                  // "Tag these codes?"
    ControlArray<QPushButton> btn;   // 0 the description's search, 5 the code range's, 2 "Yes", 7 "No",
                                     // 4 "&Clear All Tags", 3 "&Close"
    platform::DataControl& Data(int Index);  // Data(0): the preview

    virtual void SSTab1_Click(int PreviousTab) = 0;
    void SSTab1_GotFocus();
    virtual void Option1_Click(int Index) = 0;
    void Check1_Click(int Index);
    void Combo1_Change();
    void Combo1_Click();
    void Combo1_KeyPress(int& KeyAscii);
    void Text1_Change(int Index);
    void Text1_GotFocus(int Index);
    void Text1_LostFocus(int Index);
    // Every button: "No" and "&Close" here, the rest by the window's own commands; a statement the database
    // refuses is reported here.
    void btn_Click(int Index);
    void openresults(int Index);
    void closeresults(int Index);
    void LoadTagHistory();

protected:
    TagCriteriaWindow();
    ~TagCriteriaWindow() override;

    // An option button, placed on its page and joined to the one group of every page.
    void addOption(int Index, QWidget* page, int left, int top, int width, const QString& caption);
    // The window's own commands of its buttons.
    virtual void RunCommand(int Index) = 0;
    // What the preview locks besides the description, the code range and the window's buttons: the options
    // and the search buttons of the pages.
    virtual std::vector<int> LockedOptions() const = 0;
    virtual std::vector<int> LockedSearches() const = 0;
    // The preview frame at its place, in twips: the count line, the grid (columns still to add), "Tag these
    // codes?" with "Yes" and "No"; the count line and the question named as the window names them.
    void addPreview(int left, int top, int width, int height, const char* countName = "Label3",
                    const char* questionName = "Label4");
    // "&Clear All Tags" at the left and "&Close" at the right of a window of that width, at top.
    void addWindowButtons(int top, int width);
    // Shows or hides the preview, locking or freeing the criteria with it; Index is the page whose exclusion
    // pair goes with them.
    void SetPreviewOpen(bool open, int Index);
    // Connects the events of the controls above; the window's own controls it connects itself.
    void wireCriteria();
    // Counts the preview of a statement and shows the count line; the number of codes found. counted runs
    // between the counting and the showing.
    qint64 CountPreview(const QString& sql, const std::vector<dao::Variant>& params, bool twoBlankCount = false,
                        const std::function<void()>& counted = {});
    // A statement the database refused: its description shown, the window back at its criteria.
    void Refused(const dao::Error& e);
    // The "And Exclude" box is ticked, by the colour its caption shows.
    bool ExclusionTicked(int Index) const;

private:
    QButtonGroup* optionGroup;
    std::unique_ptr<platform::DataControl> data0_;
};
