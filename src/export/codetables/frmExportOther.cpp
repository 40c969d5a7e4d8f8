#include "export/codetables/frmExportOther.h"

#include "export/codetables/codetableexport.h"
#include "platform/controls/twips.h"
#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"

using codetables::Family;

namespace {
const char* const kFamilyCaptions[] = {"DMEPOS", "Lab Fees", "J-Codes", "ASC", "DRG", "Locality", "Zip Codes"};
}  // namespace

frmExportOther::frmExportOther() : CodeTableWindow(QStringLiteral("frmExportOther"), QStringLiteral("Export"))
{
    families_ = new QWidget(this);
    families_->hide();
    for (int i = 0; i < 7; ++i) {
        Option2.add(i, platform::newControl<QRadioButton>(families_, "Option2", 0, 0, 1215, 255,
                                                           QString::fromLatin1(kFamilyCaptions[i])));
    }
}

void frmExportOther::applyExportMenuSetting(const exportmenu::Setting& s)
{
    CodeTableWindow::applyExportMenuSetting(s);
    if (Option2.contains(s.option2))
        platform::setOptionValue(Option2(s.option2), true);
}

void frmExportOther::Continue()
{
    for (auto [i, option] : Option2) {
        if (!option->isChecked())
            continue;
        switch (i) {
        case 0: ExportDMEPOS(); break;
        case 1: ExportLab(); break;
        case 2: ExportJCodes(); break;
        case 3: ExportASC(); break;
        case 4: ExportDRG(); break;
        case 5: ExportLocality(); break;
        case 6: ExportZipGPCI(); break;
        default: break;
        }
    }
}

void frmExportOther::ExportDMEPOS() { codetables::run(codetables::member(Family::Dmepos), *this, taggedChosen()); }
void frmExportOther::ExportLab() { codetables::run(codetables::member(Family::Lab), *this, taggedChosen()); }
void frmExportOther::ExportJCodes() { codetables::run(codetables::member(Family::JCodes), *this, taggedChosen()); }
void frmExportOther::ExportASC() { codetables::run(codetables::member(Family::Asc), *this, taggedChosen()); }
void frmExportOther::ExportDRG() { codetables::run(codetables::member(Family::Drg), *this, taggedChosen()); }
void frmExportOther::ExportLocality() { codetables::run(codetables::member(Family::Locality), *this, taggedChosen()); }
void frmExportOther::ExportZipGPCI() { codetables::run(codetables::member(Family::Zip), *this, taggedChosen()); }

KELVA_FORM_NAME(frmExportOther)
