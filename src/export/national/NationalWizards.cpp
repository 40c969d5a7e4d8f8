#include "export/national/NationalWizards.h"

#include "platform/forms/FormRegistry.h"

KELVA_FORM_NAME(frmExportWiz)
KELVA_FORM_NAME(frmExportWizBeta)

const WizardRow kAllLocalityWizard{
    "frmExportWiz",
    " National Export Wizard",
    "Note: The National Export Wizard allows the user to create a single MS Access Database (MDB) for all codes and "
    "all  localities. For locality specific exports select  File - Export.  ",
    false,
    false,
    {true, false},
    &physician::kAllLocalityRow,
};

const WizardRow kCarrierWizard{
    "frmExportWizBeta",
    " National Export Wizard (Beta)",
    "Note: The National Export Wizard allows the user to create a single MS Access Database (MDB) for all codes and "
    "all  localities.  For locality specific exports select  File - Export.  ",
    true,
    true,
    {false, true},
    &physician::kCarrierRow,
};
