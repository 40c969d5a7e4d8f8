#pragma once

#include "export/codetables/codetablewindow.h"

#include <QWidget>

// The code-table export window, one for the seven families: the Export menu sets its caption, the captions
// of the all/tagged choice, its note and the hidden family option; Continue exports that family's table.
class frmExportOther : public CodeTableWindow {
    Q_OBJECT
public:
    frmExportOther();

    // The family, never shown: 0 DMEPOS, 1 Lab Fees, 2 J-Codes, 3 ASC, 4 DRG, 5 Locality, 6 Zip Codes.
    platform::ControlArray<QRadioButton> Option2;

    void applyExportMenuSetting(const exportmenu::Setting& s) override;

    void ExportDMEPOS();
    void ExportLab();
    void ExportJCodes();
    void ExportASC();
    void ExportDRG();
    void ExportLocality();
    void ExportZipGPCI();

protected:
    void Continue() override;

private:
    QWidget* families_;  // hidden holder of Option2, a group of its own
};
