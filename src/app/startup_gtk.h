// Start-up, the event loop and shutdown.
#pragma once

#include <string>

namespace app {

// Runs the whole program; returns the exit status.
int runProgram(int argc, char** argv);

// The folder of the running program file, ending in "/".
std::string findProgramFolder();

// The end of start-up, once the database is loaded and the windows exist: the
// topic tree built, counted and wholly open, the stored language applied, the
// about dialog on a first start, row 0 selected and its topic's change event
// posted (or, taking up the place, the noted topic), the main window shown and
// laid out, and the focus in the search field.
void presentLibrary(bool takeUpPlace = false);

// Releases the toolkit and ends the process with status 0.
[[noreturn]] void endProgram();

// Runs the event loop until the program is asked to quit.
void runEventLoop();

}  // namespace app
