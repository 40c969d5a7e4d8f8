#include "platform/seam/CommonDialog.h"

#include "platform/dao/Error.h"

namespace platform {

namespace {
[[noreturn]] void cancelSelected()
{
    throw dao::Error(dao::errCancel, QStringLiteral("Cancel was selected."));
}
}  // namespace

void CommonDialog::show(FileDialogKind kind)
{
    FileDialogState state = *this;
    if (seam().FileDialog(kind, state)) {
        static_cast<FileDialogState&>(*this) = state;
        return;
    }
    if (CancelError)
        cancelSelected();
}

void CommonDialog::ShowPrinter()
{
    if (!seam().PrinterDialog() && CancelError)
        cancelSelected();
}

}  // namespace platform
