#pragma once

#include <functional>

namespace platform {
class Form;
}

// The Help, Cancel and Continue buttons (Command1 elements 0, 1 and 2) that the export windows share.
namespace windowbuttons {

// A click on element Index: Help opens the help file at the window's topic, Cancel unloads the window and
// Continue runs its export. Other elements do nothing.
void click(platform::Form& window, int Index, int helpContext, const std::function<void()>& continueExport);

}  // namespace windowbuttons
