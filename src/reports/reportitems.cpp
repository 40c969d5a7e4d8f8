#include "reports/reportitems.h"

#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "reports/frmReportz.h"

namespace reports {

namespace {

const char* const kItemTexts[kReportItems] = {
    "Code",
    "Description",
    "Non Facility Participating Fee",
    "Non Facility Non Participating Fee",
    "Non Facility Limiting Fee",
    "Facility Participating Fee",
    "Facility Non Participating Fee",
    "Facility Limiting Fee",
    "Total Non Facility KELVA Units",
    "Total Facility KELVA Units",
    "Work RVU",
    "Global Fee Period",
    "User Schedule 1",
    "User Schedule 2",
    "User Schedule 3",
    "User Schedule 4",
    "User Schedule 5",
    "Frequency1",
    "Frequency2",
    "Frequency3",
    "Frequency4",
    "Frequency5",
    "USRDF",
};

}  // namespace

QString reportItemText(int item)
{
    if (item < 0 || item >= kReportItems)
        return QString();
    return QString::fromLatin1(kItemTexts[item]);
}

int reportItemNumber(const QString& text)
{
    for (int i = 0; i < kReportItems; ++i)
        if (text == QLatin1String(kItemTexts[i]))
            return i;
    return -1;
}

const std::vector<PreselectedLayout>& preselectedLayouts()
{
    static const std::vector<PreselectedLayout> layouts = {
        {1, " 1.Code, Mod, Description, Total Non Facility KELVA Units, Non Facility Participating Fee", {0, 1, 8, 2}},
        {2, " 2.Code, Mod, Description, Total Non Facility KELVA Units, Non Facility Non Participating Fee",
         {0, 1, 8, 3}},
        {3, " 3.Code, Mod, Description, Total Non Facility KELVA Units, Non Facility Limiting Fee", {0, 1, 8, 4}},
        {4, " 4.Code, Mod, Description, Total Facility KELVA Units, Facility Participating Fee", {0, 1, 9, 5}},
        {5, " 5.Code, Mod, Description, Total Facility KELVA Units, Facility Non Participating Fee", {0, 1, 9, 6}},
        {6, " 6.Code, Mod, Description, Total Facility KELVA Units, Facility Limiting Fee", {0, 1, 9, 7}},
        {7, " 7.Code, Mod, User Schedules S1, S2, S3, S4, and S5", {0, 12, 13, 14, 15, 16}},
        {8, " 8.Code, Mod, Total Non Facility KELVA Units, Non Facility Participating Fee", {0, 8, 2}},
        {9, " 9.Code, Mod, Total Non Facility KELVA Units, Non Facility Non-Participating Fee", {0, 8, 3}},
        {10, "10.Code, Mod, Total Non Facility KELVA Units, Non Facility Limiting Fee", {0, 8, 4}},
        {11, "11.Code, Mod, Total Facility KELVA Units, Facility Participating Fee", {0, 9, 5}},
        {12, "12.Code, Mod, Total Facility KELVA Units, Facility Non-Participating Fee", {0, 9, 6}},
        {13, "13.Code, Mod, Total Facility KELVA Units, Facility Limiting Fee", {0, 9, 7}},
    };
    return layouts;
}

void openPreselectedReport(int layoutNumber, const std::vector<int>& items)
{
    auto& forms = platform::forms();
    forms.unloadIfLoaded<frmReportz>();
    frmReportz& w = forms.get<frmReportz>();
    w.Frame3->setTitle(QStringLiteral("Preselected Report #%1").arg(layoutNumber));
    w.clearChosen();
    platform::clearList(w.lst(4));
    for (int item : items)
        platform::addItem(w.lst(4), QString::number(item));
    w.Show(vbModal);
}

void openCustomReport()
{
    auto& forms = platform::forms();
    forms.unloadIfLoaded<frmReportz>();
    frmReportz& w = forms.get<frmReportz>();
    platform::clearList(w.lst(4));
    w.Show(vbModal);
}

}  // namespace reports
