#include "app/endprogram.h"

#include "platform/forms/guarded.h"

#include <QCoreApplication>

namespace {
bool ended = false;
int exitCode = 0;
}  // namespace

void EndProgram(int code)
{
    if (ended)
        return;
    ended = true;
    exitCode = code;
    QCoreApplication::exit(code);
}

bool programEnded()
{
    return ended;
}

int programExitCode()
{
    return exitCode;
}

void resetProgramEnded()
{
    ended = false;
    exitCode = 0;
}

void endProgramOnUnhandledError()
{
    platform::setUnhandledErrorHandler([] { EndProgram(1); });
}
