#pragma once

#include "platform/seam/Seam.h"

namespace platform {

// The old CommonDialog control: set its properties, call ShowOpen / ShowSave / ShowPrinter. With
// CancelError set, a cancel throws dao::Error 32755 "Cancel was selected."; without it the properties
// stay as they were. The dialog itself goes through the seam.
class CommonDialog : public FileDialogState {
public:
    void ShowOpen() { show(FileDialogKind::Open); }
    void ShowSave() { show(FileDialogKind::Save); }
    void ShowPrinter();

private:
    void show(FileDialogKind kind);
};

}  // namespace platform
