#include "main/menudata.h"

#include "platform/dao/Error.h"
#include "platform/forms/FormRegistry.h"
#include "platform/seam/Seam.h"

#include <QPointer>

namespace menudata {

const QStringList& preselectedReportCaptions()
{
    static const QStringList captions = {
        "1. Code, Mod, Description, Total Non Facility KELVA Units, Non Facility Participating Fee",
        "2. Code, Mod, Description, Total Non Facility KELVA Units, Non Facility Non Participating Fee",
        "3. Code, Mod, Description, Total Non Facility KELVA Units, Non Facility Limiting Fee",
        "4. Code, Mod, Description, Total Facility KELVA Units, Facility Participating Fee",
        "5. Code, Mod, Description, Total Facility KELVA Units, Facility Non Participating Fee",
        "6. Code, Mod, Description, Total Facility KELVA Units, Facility Limiting Fee",
        "7. Code, Mod, User Schedules S1, S2, S3, S4, and S5",
        "8. Code, Mod, Total Non Facility KELVA Units, Non Facility Participating Fee",
        "9. Code, Mod, Total Non Facility KELVA Units, Non Facility Non-Participating Fee",
        "10. Code, Mod, Total Non Facility KELVA Units, Non Facility Limiting Fee",
        "11. Code, Mod, Total Facility KELVA Units, Facility Participating Fee",
        "12. Code, Mod, Total Facility KELVA Units, Facility Non-Participating Fee",
        "13. Code, Mod, Total Facility KELVA Units, Facility Limiting Fee",
    };
    return captions;
}

std::optional<HelpTopic> helpTopic(HelpMenu menu, int index)
{
    if (index < 0 || index > 3)
        return std::nullopt;
    // Help: "Help Topics", "Help Index", "Ordering Updates", "Disclaimer"; References: the carriers and the
    // three kinds of state offices.
    static const int help[] = {20, 10, 420, 900};
    static const int references[] = {40, 20, 10, 30};
    if (menu == HelpMenu::Help)
        return HelpTopic{QStringLiteral("morvex.chm"), help[index]};
    return HelpTopic{QStringLiteral("refer.chm"), references[index]};
}

platform::Form* openWindow(const QString& name, Open how, int modal)
{
    auto& registry = platform::forms();
    if (!platform::FormRegistry::hasName(name))
        return nullptr;
    try {
        if (how == Open::Fresh) {
            if (platform::Form* open = registry.loadedByName(name))
                if (!registry.Unload(*open))
                    return nullptr;  // it would not close: the open one stays as it is
        }
        QPointer<platform::Form> form = registry.getByName(name);
        if (!form || !form->isLoaded())
            return nullptr;
        if (modal == vbModal && form->isVisible())
            form->Show(vbModeless);  // shown already: it comes forward and keeps its state
        else
            form->Show(modal);
        return form;
    } catch (const dao::Error& e) {
        seam().MsgBox(e.description, vbOKOnly);
        return nullptr;
    }
}

}  // namespace menudata
