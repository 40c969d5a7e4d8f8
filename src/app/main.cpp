#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel placeholder(
        "KELVA Morvex\n\n"
        "This build has the program folder and its files, but not yet the windows:\n"
        "the main window, the first-run wizard, the fee grid and the other windows\n"
        "are still missing.");
    placeholder.setWindowTitle("KELVA Morvex");
    placeholder.setMargin(24);
    placeholder.show();
    return app.exec();
}
