#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace platform {
class Form;
}

// What the main window's menus and toolbar hand over, kept as data beside their handlers.
namespace menudata {

// Captions of Reports menu items 0 to 12, the thirteen fixed physician fee reports. The columns each prints
// are reports::preselectedLayouts()[index].items.
const QStringList& preselectedReportCaptions();

// The help topic of a Help or References menu item.
enum class HelpMenu { Help, References };
struct HelpTopic {
    QString file;  // in the program folder
    int context = 0;
};
std::optional<HelpTopic> helpTopic(HelpMenu menu, int index);

// How a window is opened by a command. Fresh: unloaded when loaded, then loaded anew; reused: loaded when
// not loaded, an open instance keeps its state and comes forward. A window already shown (a modeless one the
// toolbar opened) is brought forward as it is even when the command would show it modal.
enum class Open { Fresh, Reused };
// Opens the window of that name; nullptr when no window has the name (not part of this build) or when its
// loading failed (the failure's own message is shown). modal: vbModal or vbModeless.
platform::Form* openWindow(const QString& name, Open how, int modal);

}  // namespace menudata
