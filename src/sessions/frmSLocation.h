#pragma once

#include "sessions/LocalityWindow.h"

// The first-run locality window: the locality step of the first-run wizard (FirstTime). The choice goes into
// the wizard's hidden boxes (the three GPCIs and the locality text) and the carrier and locality code into
// PARMS_CL; Back (or the close box) returns the wizard to its first page.
class frmSLocation : public LocalityWindow {
    Q_OBJECT
public:
    frmSLocation();

    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void cmb_Click();
    void Text1_KeyUp(int& KeyCode, int Shift);
    void DBGrid1_Click();
    void DBGrid1_RowColChange(qint64 LastRow, int LastCol);
    void btn_Click(int Index);

private:
    void wire();
    // One row: it is the choice; several (or none): the user picks one.
    void ShowChoice(int rows);
    void Back();
};
