#pragma once

#include "platform/controls/DataControl.h"
#include "platform/controls/ScrollBar.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class frmMain;

// The quick-view window: one code of the main grid and one fee in large type, on top of every window.
// It reads the main grid's query into a record source of its own and moves the main grid's record source
// with it; the main window writes into it while PlimViewActive is set.
class frmPlimView : public platform::Form {
    Q_OBJECT
public:
    frmPlimView();

    QComboBox* plimlist;
    platform::ScrollBar* plimscroll;
    platform::ControlArray<QLineEdit> Text1;  // 0 code box, 1 fee box
    platform::ControlArray<QLabel> Label1;    // 0 "Code", 1 "Fee"
    QPushButton* Command1;                    // "Locate Code"
    QPushButton* Command2;                    // "Find"
    QPushButton* Command3;                    // "Help"
    platform::DataControl Data1;
    QString SavedCodemod;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    void plimscroll_Change(bool byUser);
    void plimlist_Click();
    void Text1_GotFocus(int Index);
    void Text1_KeyDown(int Index, int& KeyCode, int Shift);
    void Text1_LostFocus(int Index);
    void Command1_Click();  // "Locate Code"
    void Command2_Click();  // "Find"
    void Command3_Click();  // "Help"

    // Finds the code typed into the code box and puts both record sources on it ("New code not found"
    // when there is none). A code alone finds its first row in CODEMOD order; a code with a modifier
    // ("71010 26", "71010-26", "7101026") finds that row.
    void LookUpCode();
    // Shows the current row: its fee of the session's kind and its code.
    void ShowRow();

    // "$" and the amount as "#0.00"; "$" alone for an empty value.
    static QString FeeText(const dao::Variant& value);
    // CPT, one blank, MOD.
    static QString CodeText(dao::Recordset& row);

private:
    void wire();
    // Reads the main grid's rows on the main grid's row; the number of rows shown (none when unreadable).
    qint64 OpenMainGridRows(frmMain* main);
    void FillFeeKinds(frmMain* main);
    frmMain* mainWindow() const;
    bool hasRow();
    int plimcol() const;
    void setTopmost(bool on);
    void browsing();

    bool userAction_ = false;  // the scroll bar's change comes from the person's action
    bool skipLookup_ = false;  // Esc already put the saved row back: the focus loss that follows finds nothing
};
