#pragma once

#include <QString>

namespace platform {
class DBGrid;
class WheelFilter;
}

// Services the windows of the whole program share (the busy cursor is the platform's SetBusyCursor, the
// folder check CheckPathExists in pathcheck.h).

// Opens (printFlag 0) or prints a document with the desktop's application. Returns what the shell gave:
// above 32 on success, 2 when the file was not found.
int ShellOpenDocument(const QString& document, int printFlag, int windowState);

// Opens fedreg.pdf of the program folder; "Could not open a pdf reader for viewing document." when it
// cannot be opened.
void ShowFederalRegister();

// Registers a font file for this run. A file that cannot be registered changes nothing and says nothing.
void InstallFont(const QString& fontFile);

// A grid's mouse wheel: scrolls that grid three rows a notch (a notch away from the user goes up), a part
// of a notch carried to the next movement. Returns the filter, which lives as long as the grid.
platform::WheelFilter* InstallGridWheel(platform::DBGrid& grid);
