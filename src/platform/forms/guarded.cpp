#include "platform/forms/guarded.h"

#include "platform/seam/Seam.h"

namespace platform {

namespace {
std::function<void()>& unhandledHandler()
{
    static std::function<void()> handler;
    return handler;
}
}  // namespace

void setUnhandledErrorHandler(std::function<void()> handler)
{
    unhandledHandler() = std::move(handler);
}

void showRuntimeError(int number, const QString& description)
{
    try {
        seam().MsgBox(QStringLiteral("Run-time error '") + QString::number(number) + QStringLiteral("':\r\n\r\n") +
                          description,
                      vbOKOnly, QString::fromLatin1(kProgramTitle));
    } catch (...) {
        // A seam that refuses the message (a test's unexpected dialog) has already reported it.
    }
    if (unhandledHandler())
        unhandledHandler()();
}

}  // namespace platform
