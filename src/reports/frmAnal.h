#pragma once

#include "platform/controls/DBGrid.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/ScrollBar.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

// The utilization analysis: one user schedule of the session against one frequency column, code by code
// (fee, frequency, gross and its share of the current total) and in totals. Fees and frequencies typed into
// the grid are stored into the session's code table at once.
class frmAnal : public platform::Form {
    Q_OBJECT
public:
    frmAnal();

    template <class T>
    using ControlArray = platform::ControlArray<T>;

    ControlArray<QLabel> Label1;            // Label1(50): the session's name
    QLabel* Label2;                          // the no-codes message in fra(0)
    ControlArray<QComboBox> Combo1;          // 0 the schedules, 1 "Freq1".."Freq5"
    ControlArray<QRadioButton> Option1;      // 0 tagged, 1 fees > 0, 2 frequencies > 0, 3 all codes
    ControlArray<QLineEdit> tdsp;            // 0..4 S1 x Freq1 .. S5 x Freq5, 6 the current total
    ControlArray<QLabel> tlbl;               // their labels
    ControlArray<QLineEdit> ListHolder;      // hidden: position + 1 of the entry each list handled last
    QLineEdit* changeholder;                 // hidden: the row's product when its edit began
    ControlArray<QGroupBox> fra;             // 2 the grid area, 0 the no-codes panel over it
    ControlArray<platform::DBGrid> adbg;     // adbg(0) over Data1
    platform::DataControl Data1;
    QTableWidget* perc;                      // "% of Total", one row per shown grid row, at most 10
    platform::ScrollBar* VScroll1;
    QPushButton* Command1;                   // "&Refresh"
    ControlArray<QPushButton> btn;           // 0 "&Close", 1 "&Print"

    // The percentage list's fixed rows (all but its last) and the index of its last row.
    int percFixedRows() const { return fixedRows_; }
    int lastPercRow() const { return lastRow_; }

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    void Combo1_Click(int Index);
    void Combo1_KeyPress(int Index, int& KeyAscii);
    void Option1_Click(int Index);
    void Command1_Click();
    void btn_Click(int Index);
    void VScroll1_Change();
    void adbg_KeyPress(int& KeyAscii);
    void adbg_Change();
    void adbg_BeforeColEdit();
    void adbg_AfterColEdit(int ColIndex);
    void adbg_RowColChange(qint64 LastRow, int LastCol);
    void adbg_LostFocus();

    void settotals();
    void SetCurTotals();
    void updateit();
    void updatetot();

    // What the print-out takes: the schedule position (0..4), the frequency column and the viewing option.
    int schedulePosition() const;
    QString frequencyColumn() const;
    int viewingOption() const;
    // The session's code table, as the main window's session row names it now.
    QString sessionTable() const;

private:
    void wire();
    void LoadAnalysisGrid();
    QString scheduleColumn() const;
    QString totalLabel(int lastChars) const;
    void showTotal(QLineEdit* box, const dao::Variant& sum);
    void reportFailure(const dao::Error& e);
    void reread();
    static double boxValue(const QLineEdit* box);

    int fixedRows_ = 0;
    int lastRow_ = -1;
    bool failureShown_ = false;  // a failing query is reported once per command
    bool loading_ = false;
    // The running adjustment: edits taken in since the grid last lost the focus, and the row edited.
    bool editOpen_ = false;
    int edits_ = 0;
    int editRow_ = -1;
    bool written_ = false;  // an edit was written since the rows were read
};
