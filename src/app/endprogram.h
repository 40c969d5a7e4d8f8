#pragma once

// The end of the run. EndProgram does what the old End statement did: the run is over from here on, and
// the event loops return. It unloads nothing itself: the main window's unload closes the windows first.
// Procedures that show a window modally and may see the program end inside it test programEnded()
// afterwards and go no further.
void EndProgram(int exitCode = 0);
bool programEnded();
int programExitCode();
// A new run (tests, between cases).
void resetProgramEnded();
// An unhandled run-time error, once shown, ends the program.
void endProgramOnUnhandledError();
