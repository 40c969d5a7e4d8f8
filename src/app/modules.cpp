#include "app/modules.h"

#include "app/globals.h"
#include "platform/controls/DBGrid.h"
#include "platform/controls/WheelFilter.h"
#include "platform/forms/guarded.h"
#include "platform/seam/Seam.h"

#include <QFileInfo>
#include <QFontDatabase>

int ShellOpenDocument(const QString& document, int printFlag, int /*windowState: the desktop decides*/)
{
    return seam().ShellExecute(printFlag != 0 ? QStringLiteral("Print") : QStringLiteral("Open"), document);
}

void ShowFederalRegister()
{
    int result = 2;
    platform::resumeNext([&] { result = ShellOpenDocument(programPath(QStringLiteral("fedreg.pdf")), 0, 1); });
    // Any failure to open the document says so: a missing file, no application, a shell error.
    if (result <= 32)
        seam().MsgBox(QStringLiteral("Could not open a pdf reader for viewing document."), vbOKOnly);
}

void InstallFont(const QString& fontFile)
{
    if (!QFileInfo(fontFile).isFile())
        return;
    QFontDatabase::addApplicationFont(fontFile);
}

platform::WheelFilter* InstallGridWheel(platform::DBGrid& grid)
{
    return new platform::WheelFilter(grid);
}
