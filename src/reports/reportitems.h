#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The columns a physician fee text report can print, and the thirteen fixed report layouts.
namespace reports {

// Item numbers 0 to 22: 0 the code, 1 the description, 2..7 the six fees, 8 and 9 the unit totals,
// 10 the work RVU, 11 the global period, 12..16 the user schedules, 17..21 the frequencies, 22 the user field.
inline constexpr int kReportItems = 23;
inline constexpr int kCodeItem = 0;
// The list text of an item ("Code", "Description", ...); empty for a number outside 0..22.
QString reportItemText(int item);
// The item with that list text, -1 when none has it.
int reportItemNumber(const QString& text);

// One fixed layout: its number 1..13, the chooser's option caption, and the items it prints in order,
// beginning with 0 (the code).
struct PreselectedLayout {
    int number;
    const char* caption;
    std::vector<int> items;
};
const std::vector<PreselectedLayout>& preselectedLayouts();

// The report builder opened fresh and shown modally. Preselected: the frame names layout n and the chosen
// list is the given items (the first, the code, is not read); custom: the last custom report.
void openPreselectedReport(int layoutNumber, const std::vector<int>& items);
void openCustomReport();

}  // namespace reports
