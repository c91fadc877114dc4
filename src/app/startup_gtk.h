// Start-up, the event loop and shutdown.
#pragma once

#include <string>

namespace app {

// Runs the whole program; returns the exit status.
int runProgram(int argc, char** argv);

// The folder of the running program file, ending in "/".
std::string findProgramFolder();

// Releases the toolkit and ends the process with status 0.
[[noreturn]] void endProgram();

// Runs the event loop until the program is asked to quit.
void runEventLoop();

}  // namespace app
