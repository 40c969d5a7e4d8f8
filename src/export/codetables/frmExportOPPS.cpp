#include "export/codetables/frmExportOPPS.h"

#include "export/codetables/codetableexport.h"
#include "platform/forms/FormRegistry.h"

frmExportOPPS::frmExportOPPS()
    : CodeTableWindow(QStringLiteral("frmExportOPPS"), QStringLiteral("Title in frmMain click of export"))
{
}

void frmExportOPPS::ExportOPPS()
{
    codetables::run(codetables::member(codetables::Family::Opps), *this, taggedChosen());
}

KELVA_FORM_NAME(frmExportOPPS)
