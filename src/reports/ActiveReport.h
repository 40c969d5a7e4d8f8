#pragma once

#include "platform/report/ReportDocument.h"

#include <QString>

class frmAnal;

// The report documents of the analysis print-out (ActiveReport1) and the NDC crosswalk (ActiveReport2).
namespace reports {

inline const QString kProductLine = QStringLiteral("KELVA Morvex   2014");

// The analysis print-out's design over prtanalysis.
platform::report::Design analysisDesign();
// The analysis window's "&Print": prtanalysis made anew from the window's choice, the window unloaded and
// the print-out shown beside the main window. A failure to build the table is shown and leaves the window open.
void printAnalysis(frmAnal& window);

// The crosswalk report's design.
platform::report::Design crosswalkDesign();

// A design's page-header line of text, placed in twips.
platform::report::Control reportText(const QString& name, const QString& text, int left, int top, int width,
                                     int height, double points, bool bold, const QString& family = "Arial");
// A field bound to a column.
platform::report::Control reportField(const QString& name, const QString& column, const QString& format, int left,
                                      int top, int width, int height, double points, bool bold = false,
                                      const QString& family = "Arial");

}  // namespace reports
