#pragma once

#include "export/national/NationalWizard.h"

// " National Export Wizard": locality columns named by state, carrier and locality.
class frmExportWiz final : public NationalWizard {
    Q_OBJECT
public:
    frmExportWiz() : NationalWizard(kAllLocalityWizard) {}
};

// " National Export Wizard (Beta)": locality columns named by carrier and locality alone.
class frmExportWizBeta final : public NationalWizard {
    Q_OBJECT
public:
    frmExportWizBeta() : NationalWizard(kCarrierWizard) {}
};
