#pragma once

#include "platform/dao/Error.h"

#include <QString>
#include <exception>
#include <functional>

namespace platform {

// Shows "Run-time error '<number>':" CR LF CR LF <description> titled with the program's title, then runs
// the handler set by setUnhandledErrorHandler (the program ends itself there, as the old one did).
void showRuntimeError(int number, const QString& description);
// What runs after an unhandled failure has been shown; nothing by default (tests).
void setUnhandledErrorHandler(std::function<void()> handler);

// Every event procedure runs through this: a failure that the procedure did not trap is shown as the
// old platform's run-time error and goes no further (never into Qt's signal dispatch).
template <class F>
void guarded(F&& fn) noexcept
{
    try {
        fn();
    } catch (const dao::Error& e) {
        showRuntimeError(e.number, e.description);
    } catch (const std::exception& e) {
        showRuntimeError(5, QString::fromUtf8(e.what()));
    } catch (...) {
        showRuntimeError(5, QStringLiteral("Invalid procedure call or argument"));
    }
}

// The old "skip a failing step and go on": runs fn; a failure of the data layer (dao::Error) is swallowed
// and the result is false. Any other fault still reaches guarded's run-time error text.
template <class F>
bool resumeNext(F&& fn)
{
    try {
        fn();
        return true;
    } catch (const dao::Error&) {
        return false;
    }
}

// Names the step a long run is in, so that its failure message can say where it stopped:
//     platform::StepGuard step;
//     try {
//         step(QStringLiteral("Reading the update file"));
//         ...
//     } catch (const dao::Error& e) {
//         seam().MsgBox(step.text() + ": " + e.description);
//     }
class StepGuard {
public:
    void operator()(QString text) { text_ = std::move(text); }
    const QString& text() const { return text_; }

private:
    QString text_;
};

}  // namespace platform
