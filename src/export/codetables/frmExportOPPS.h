#pragma once

#include "export/codetables/codetablewindow.h"

// The OPPS export window: the OPPS-capped fees of the current carrier and locality, all or tagged codes.
class frmExportOPPS : public CodeTableWindow {
    Q_OBJECT
public:
    frmExportOPPS();

    void ExportOPPS();

protected:
    void Continue() override { ExportOPPS(); }
};
