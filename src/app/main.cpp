#include "app/endprogram.h"
#include "app/globals.h"
#include "main/frmMain.h"
#include "platform/forms/FormRegistry.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Every fixed file is named relative to the program folder, which is also the current folder.
    g().ProgramFolder = QCoreApplication::applicationDirPath();
    QDir::setCurrent(g().ProgramFolder);
    endProgramOnUnhandledError();

    frmMain& window = platform::forms().get<frmMain>();
    if (programEnded())
        return programExitCode();
    // The end of the main window's load shows it, whatever its start-up left undone: the program never runs
    // on without a window.
    if (!window.isVisible())
        window.Show();
    const int code = app.exec();
    return programEnded() ? programExitCode() : code;
}
