#pragma once

#include <QString>

namespace reports {

// Shows the NDC crosswalk report of one J-code in its preview (the crosswalk window's "&Print Crosswalk").
void showCrosswalkReport(const QString& hcpcs);

} // namespace reports
