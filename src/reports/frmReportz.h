#pragma once

#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

namespace dao {
class Recordset;
}

// "Reports": the physician fee report builder. The user chooses which report items print and in which
// order (custom mode), or prints the fixed list a caller handed over in lst(4) (preselected mode), limits
// the report to a code range or to tagged codes, and prints. Its only memory is PARMS_CL.Last_Print.
class frmReportz : public platform::Form {
    Q_OBJECT
public:
    frmReportz();

    template <class T>
    using ControlArray = platform::ControlArray<T>;

    // lst(0) the available item texts, lst(1) the chosen ones in print order; lst(2) and lst(3) (hidden)
    // their item numbers entry for entry; lst(4) (hidden) the preselected numbers a caller wrote.
    ControlArray<QListWidget> lst;
    ControlArray<QLabel> lbl;          // 0 "Fields Available:", 1 "Fields to be printed:"
    ControlArray<QLineEdit> txt;       // 0 lower, 1 upper code bound
    QLineEdit* txtText0;               // overlay edit boxes over txt(0) and txt(1)
    QLineEdit* txtText1;
    QCheckBox* chk;                    // "Print &Tagged Codes Only"
    ControlArray<QRadioButton> opt;    // 0 Portrait, 1 Landscape (frame never shown)
    ControlArray<QRadioButton> Option1;  // description format: no effect (frame never shown)
    QGroupBox* FrameRange;             // "Code Range:"
    QGroupBox* FrameTagged;            // "Tagged Codes"
    QGroupBox* FrameOrientation;       // "Paper Orientation:"
    QGroupBox* FrameDescription;       // "Description Format:"
    QGroupBox* FrameHint;              // "Hint"
    QGroupBox* FrameSpare;             // no caption, no role
    QGroupBox* Frame3;                 // "Preselected Report #n", covers the available list in preselected mode
    QLabel* Label4;
    ControlArray<QLabel> InItems;      // static labels
    ControlArray<QPushButton> btn;     // 0 Close, 1 Print, 2 Printer Setup, 3 Help, 4 ">", 5 "<<", 6 settings

    static inline const QString kLowestCode = QStringLiteral("00000");
    static inline const QString kHighestCode = QStringLiteral("ZZZZZZ");

    void Form_Load() override;
    void Form_Activate() override;

    void FillReportItems();
    void MoveReportItems(bool toChosen);
    // Clears the chosen list and its numbers (a caller about to hand over a preselected list).
    void clearChosen();
    // The text report of the chosen items (printing).
    void PrintReport();
    void PrintPageHeader(int descWidth);
    void PrintPageFooter(int lines, int columns, int lineCounter);
    int pageCounter = 0;  // pages finished in the run
    int lineCounter = 3;  // rows of the page, counting from 3

    void btn_Click(int Index);
    void lst_DblClick(int Index);
    void lst_KeyDown(int Index, int& KeyCode, int Shift);
    void txt_GotFocus(int Index);
    void txt_LostFocus(int Index);
    void txtText_Change(int Index);
    void txtText_GotFocus(int Index);
    void txtText_LostFocus(int Index);
    void opt_Click(int Index);

    // The item numbers of lst(3), in print order.
    std::vector<int> chosenItems() const;
    // The overlay box of a range box (0 txtText0, 1 txtText1).
    QLineEdit* overlay(int Index) const { return Index == 0 ? txtText0 : txtText1; }

private:
    void wire();
    void makeRangeAndTagged();
    void makeLists();
    void makeHiddenFrames();
    void makeButtons();
    void RestoreLastReport(const QString& lastPrint);
    void EnterPreselectedMode();
    void PrinterSetup();
    void add(int list, const QString& text);
    void removeAt(int list, int row);
    void swapChosen(int a, int b);
    void PrintRow(dao::Recordset& rs, int descWidth);
    void PrintPages(dao::Recordset& rs, int descWidth, int lines, int columns);
    bool printerSetupUsed_ = false;  // the dialog now reports a cancel as an error
};
