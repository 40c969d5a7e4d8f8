#include "export/windowbuttons.h"

#include "app/globals.h"
#include "platform/forms/Form.h"
#include "platform/seam/Seam.h"

namespace windowbuttons {

void click(platform::Form& window, int Index, int helpContext, const std::function<void()>& continueExport)
{
    switch (Index) {
    case 0:
        seam().HtmlHelp(programPath(QStringLiteral("morvex.chm")), helpContext);
        break;
    case 1:
        window.Unload();
        break;
    case 2:
        continueExport();
        break;
    default:
        break;
    }
}

}  // namespace windowbuttons
