// Catches the fatal signals, tells the user what happened and where, then ends the program.
#include "app/fatal_error.h"

#include "app/app_state.h"
#include "app/dialogs.h"

#include <csignal>
#include <utility>

#include <unistd.h>

namespace app {
namespace {

struct SignalText {
  int number;
  const char* message;
};

const SignalText signalTexts[] = {
    {SIGILL, "Illegal instruction"},      {SIGTRAP, "Trace trap"},
    {SIGABRT, "Abort signal"},            {SIGBUS, "BUS Error"},
    {SIGFPE, "Floating-point exception"}, {SIGSEGV, "Segmentation violation"},
    {SIGSYS, "Bad system call"},
};

std::function<void()> shutdownHook;

void restoreDefaultActions() {
  for (const int number : fatalSignals) signal(number, SIG_DFL);
}

// Shows the report and ends the process; returns only if the ending failed.
void reportFatalError(int signalNumber) {
  // A second fault while reporting must end the process at once.
  restoreDefaultActions();
  const int line = currentLine;
  showMessage(errorTitle, fatalErrorText(signalNumber, line));
  if (shutdownHook) shutdownHook();
  _exit(0);
}

void onFatalSignal(int signalNumber, siginfo_t*, void*) {
  reportFatalError(signalNumber);
  _exit(1);
}

}  // namespace

// The numbers are fixed by the report texts; on Linux they equal the named signals.
const int fatalSignals[7] = {SIGILL, SIGTRAP, SIGABRT, SIGBUS, SIGFPE, SIGSEGV, SIGSYS};
static_assert(SIGILL == 4 && SIGTRAP == 5 && SIGABRT == 6 && SIGBUS == 7 && SIGFPE == 8 &&
                  SIGSEGV == 11 && SIGSYS == 31,
              "the report names the Linux signal numbers");

std::string fatalErrorMessage(int signalNumber) {
  for (const SignalText& entry : signalTexts) {
    if (entry.number == signalNumber) return entry.message;
  }
  return "Unknown error code";
}

int reportedLine(int line) {
  if (line == -1) return -1;
  // Masked as unsigned so that a negative line keeps its low bits without overflow.
  return static_cast<int>(static_cast<unsigned>(line) & 0xFFFFFFu);
}

std::string fatalErrorText(int signalNumber, int line) {
  TRACE_LINE();
  return "A program error was detected:\n\n"
         "Error Message:   " + fatalErrorMessage(signalNumber) + "\n"
         "Error Code:      " + std::to_string(signalNumber) + "\n"
         "Sourcecode line: " + std::to_string(reportedLine(line)) + "\n";
}

void installFatalErrorHandler(std::function<void()> shutdown) {
  TRACE_LINE();
  shutdownHook = std::move(shutdown);
  struct sigaction action {};
  action.sa_sigaction = onFatalSignal;
  // SA_NODEFER: a repeat of the same signal during the report must not wait
  // behind the blocked mask but take the default action at once.
  action.sa_flags = SA_SIGINFO | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  for (const int number : fatalSignals) sigaction(number, &action, nullptr);
}

}  // namespace app
