#pragma once

#include "db/rowfield.h"
#include "platform/controls/DataControl.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <vector>

class QButtonGroup;
class frmMain;

// The main screen's display settings. For the current session: which columns of the main grid are shown
// and the captions of the user schedules, frequencies and optional field, written by "Apply". For the
// whole program: the text and background colours of the main screen and the default export folder, stored
// the moment they are chosen and kept whatever button closes the window.
class frmGridSet : public platform::Form {
    Q_OBJECT
public:
    frmGridSet();

    template <class T>
    using ControlArray = platform::ControlArray<T>;

    // One box per column 0..57 of the main grid and entry of COLVS; some are never shown but carry their
    // entry through "Apply".
    static constexpr int kColumnBoxes = 58;
    // Column boxes' captions and tips, by index (empty tip: none).
    struct ColumnBox {
        const char* caption;
        const char* tip;
        bool shown;
    };
    static const ColumnBox kColumns[kColumnBoxes];

    // The ten colour options: Option1 the text colours, Option2 the background colours.
    struct ColourOption {
        const char* caption;
        const char* tip;
        qint32 value;  // as PARMS_CL stores it
    };
    static const ColourOption kTextColours[5];
    static const ColourOption kBackColours[5];

    // Panels, named by their captions.
    QGroupBox* FrameSession;      // "Main Screen Settings for Session:"
    QGroupBox* FrameDescription;  // "CPT / HCPCS Description:"
    QGroupBox* FrameRvu;          // "Relative Value Unit Fields"
    QGroupBox* FramePractice;     // "Practice"
    QGroupBox* FrameTotals;       // "RVU Totals"
    QGroupBox* FrameFees;         // "Calculated Fee Schedules"
    QGroupBox* FrameSchedules;    // "User Defined Fee Schedules 1-5"
    QGroupBox* FrameFrequencies;  // "User Defined Frequencies Freq1 - Freq5"
    QGroupBox* FrameOptional;     // "User Defined Optional Field"
    QGroupBox* FrameColours;      // "Colors"
    QGroupBox* FramePath;         // "Export Path"

    QLabel* Label1;                      // the session's name
    ControlArray<QCheckBox> chk;         // 0..57
    QCheckBox* descchk;                  // "CPT / HCPCS Description": the description columns at all
    ControlArray<QLineEdit> SText;       // 0..4 names of S1..S5
    ControlArray<QLineEdit> FText;       // 0..4 names of Freq1..Freq5
    ControlArray<QLineEdit> OText;       // 0 the export path, 9 the optional field's name
    ControlArray<QRadioButton> Option1;  // text colours
    ControlArray<QRadioButton> Option2;  // background colours
    QCheckBox* Check1;                   // "Save as default export path"
    QPushButton* cmdPath;                // "Select Path"
    QCheckBox* GDecimal;                 // never shown: carries GDEC
    QPushButton* cmdApply;
    QPushButton* cmdCancel;
    QPushButton* cmdDefaults;            // "Restore Defaults"
    // The "Default" session row, the defaults "Restore Defaults" reads.
    platform::DataControl Default1;

    void Form_Load() override;
    void Option1_Click(int Index);
    void Option2_Click(int Index);
    void Check1_Click();
    void OText_KeyDown(int Index, int& KeyCode, int Shift);
    void chk_Click(int Index);
    void descchk_Click();
    void SText_LostFocus(int Index);
    void FText_LostFocus(int Index);
    void OText_LostFocus(int Index);
    void cmdPath_Click();
    void cmdApply_Click();
    void cmdDefaults_Click();
    void cmdCancel_Click();

    // COLVS as this window reads it: the first 58 entries, each a truth value; a missing entry, one past
    // the 58th, an empty or unreadable one, and a Null list all read as unticked.
    static std::vector<bool> readColumnList(const dao::Variant& colvs);
    // The 58 boxes as COLVS: "true" or "false" joined by commas.
    QString columnList() const;

private:
    void wire();
    void makeColumnPanels();
    void makeNamePanels();
    void makeColourAndPathPanels();
    void setColumnBoxes(const dao::Variant& colvs);
    void FindDefaultRow();
    void TickShownColumns();
    void TakeGridCaptions();
    void SelectStoredColours();
    void ShowExportPath();
    void PaintMainScreen(qint64 colour, bool background);
    void StoreColour(const db::RowColumn& column, qint32 value);
    bool StoreExportPath(const QString& path);
    void CheckName(QLineEdit* box, const QString& message);
    void Close();
    frmMain& main() const;

    QButtonGroup* textColours;
    QButtonGroup* backColours;
    bool hasDefaultRow_ = false;      // Default1 stands on the row "Default"
    bool pathKeyUnticking_ = false;   // a key in the path box is unticking Check1
};
