#include "main/frmMain.h"

#include "platform/forms/FormRegistry.h"
#include "platform/forms/controls.h"
#include "search/SearchWindow.h"
#include "search/findengine.h"

// Edit's "&Find (key word or code)" opens the physician window modally whatever the view; the toolbar's
// "Find/Search" opens the current view's window modelessly. Either way the window starts afresh.
void frmMain::ShowFindWindow(bool modeless)
{
    const char* name = modeless ? search::findWindowOfView(platform::listIndex(cmboCurrentView))
                                : search::kFindFamilies[search::Kelva].window;
    if (!name)
        return;
    const QString window = QString::fromLatin1(name);
    if (platform::Form* open = forms().loadedByName(window))
        if (!open->Unload())
            return;
    auto* w = static_cast<SearchWindow*>(forms().getByName(window));
    platform::setText(w->txt(1), QStringLiteral("NO REPLACE"));
    w->Show(modeless ? vbModeless : vbModal);
}
