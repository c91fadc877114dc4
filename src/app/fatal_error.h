// The report of a crash: which signal stopped the program and at which source line.
#pragma once

#include <functional>
#include <string>

namespace app {

// The signals that are reported; every other signal keeps its default action.
extern const int fatalSignals[7];

// The message for a signal number, or "Unknown error code" for one without a row.
std::string fatalErrorMessage(int signalNumber);

// The line as the report shows it: only the low 24 bits, but -1 stays -1.
int reportedLine(int line);

// The whole report text, lines ended by LF; `line` is masked as reportedLine does.
std::string fatalErrorText(int signalNumber, int line);

// Installs the report for the seven fatal signals. After the user has closed
// the report, `shutdown` releases the toolkit and the process ends with status 0.
// A fault of the program itself is reported at once, inside the signal handler;
// a signal sent by another process is reported by the next turn of the default
// main loop, where no lock of the toolkit can be held.
void installFatalErrorHandler(std::function<void()> shutdown);

}  // namespace app
