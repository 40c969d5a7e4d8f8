#pragma once

#include "sessions/LocalityWindow.h"

// The locality window of the session settings (frmKelva's "Change Locality"): a locality chosen by state or
// by ZIP code. Its Apply hands the choice to the settings window, which stores it with its own Apply; Cancel
// hands nothing. The window writes no table.
class frmLocation : public LocalityWindow {
    Q_OBJECT
public:
    frmLocation();

    void Form_Load() override;
    void cmb_Click();
    void Text1_KeyUp(int& KeyCode, int Shift);
    void DBGrid1_RowColChange(qint64 LastRow, int LastCol);
    void SSTab1_Click(int Tab);
    void btn_Click(int Index);

private:
    void wire();
    // One row: it is the choice; several (or none): Apply waits for the user's row.
    void ShowChoice(int rows);

    // The grid lists a ZIP code's localities: the code and its HPSA indicator go with the choice.
    bool byZip_ = false;
    QString zip_;
    QString ruralInd_;
};
