// Catches the fatal signals, tells the user what happened and where, then ends the program.
#include "app/fatal_error.h"

#include "base/dialogs.h"
#include "base/trace.h"

#include <csignal>
#include <utility>

#include <sys/syscall.h>
#include <unistd.h>

#include <glib-unix.h>
#include <glib.h>

namespace app {
namespace {

struct SignalText {
  int number;
  const char* message;
};

const SignalText signalTexts[] = {
    {SIGILL, "Illegal instruction"},
    {SIGTRAP, "Trace trap"},
    {SIGABRT, "Abort signal"},
    {SIGBUS, "BUS Error"},
    {SIGFPE, "Floating-point exception"},
    {SIGSEGV, "Segmentation violation"},
    {SIGSYS, "Bad system call"},
};

std::function<void()> shutdownHook;

// A signal sent by another process, waiting to be reported from the main loop.
volatile sig_atomic_t pendingSignal = 0;
volatile sig_atomic_t pendingLine = -1;
int wakeUpPipe[2] = {-1, -1};

void restoreDefaultActions() {
  for (const int number : fatalSignals) signal(number, SIG_DFL);
}

// Shows the report and ends the process; returns only if the ending failed.
void reportFatalError(int signalNumber, int line) {
  base::showMessage(base::errorTitle, fatalErrorText(signalNumber, line));
  if (shutdownHook) shutdownHook();
  _exit(0);
}

gboolean onPendingReport(gint fd, GIOCondition, gpointer) {
  char drained[16];
  while (read(fd, drained, sizeof drained) > 0) {
  }
  if (pendingSignal != 0) {
    reportFatalError(pendingSignal, pendingLine);
    _exit(1);
  }
  return G_SOURCE_CONTINUE;
}

// A signal from another process interrupts the program at any point, also while
// the toolkit holds its display lock; a dialog shown right there would wait for
// that lock forever. Such a signal is reported from the main loop instead. A real
// fault (or an abort) cannot wait: returning would repeat it.
bool sentByAnotherProcess(const siginfo_t* info) {
  return info && info->si_code <= 0 && info->si_pid != getpid() && wakeUpPipe[1] >= 0;
}

// The toolkit belongs to the main thread: a fault in a background thread (the code
// index reads its files in one) is reported by the main loop too.
bool onBackgroundThread() { return syscall(SYS_gettid) != getpid() && wakeUpPipe[1] >= 0; }

void reportFromMainLoop(int signalNumber, int line) {
  pendingLine = line;
  pendingSignal = signalNumber;
  const ssize_t ignored = write(wakeUpPipe[1], "!", 1);
  (void)ignored;
}

// No TRACE_LINE here: the report names the line of the code that was interrupted.
void onFatalSignal(int signalNumber, siginfo_t* info, void*) {
  // A second fault while reporting must end the process at once.
  restoreDefaultActions();
  const int line = base::currentLine;
  if (sentByAnotherProcess(info)) {
    reportFromMainLoop(signalNumber, line);
    return;
  }
  if (onBackgroundThread()) {
    reportFromMainLoop(signalNumber, line);
    // Going on would repeat the fault; the report ends the program meanwhile.
    for (;;) pause();
  }
  reportFatalError(signalNumber, line);
  _exit(1);
}

void watchForPendingReports() {
  if (wakeUpPipe[0] >= 0) return;
  if (!g_unix_open_pipe(wakeUpPipe, FD_CLOEXEC, nullptr)) return;
  g_unix_set_fd_nonblocking(wakeUpPipe[0], TRUE, nullptr);
  g_unix_set_fd_nonblocking(wakeUpPipe[1], TRUE, nullptr);
  g_unix_fd_add(wakeUpPipe[0], G_IO_IN, onPendingReport, nullptr);
}

}  // namespace

// The numbers are fixed by the report texts; on Linux they equal the named signals.
const int fatalSignals[7] = {SIGILL, SIGTRAP, SIGABRT, SIGBUS, SIGFPE, SIGSEGV, SIGSYS};
static_assert(SIGILL == 4 && SIGTRAP == 5 && SIGABRT == 6 && SIGBUS == 7 && SIGFPE == 8 && SIGSEGV == 11 &&
                  SIGSYS == 31,
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
  std::string text = "A program error was detected:\n\n";
  text += "Error Message:   " + fatalErrorMessage(signalNumber) + "\n";
  text += "Error Code:      " + std::to_string(signalNumber) + "\n";
  text += "Sourcecode line: " + std::to_string(reportedLine(line)) + "\n";
  return text;
}

void installFatalErrorHandler(std::function<void()> shutdown) {
  TRACE_LINE();
  shutdownHook = std::move(shutdown);
  watchForPendingReports();
  struct sigaction action {};
  action.sa_sigaction = onFatalSignal;
  // SA_NODEFER: a repeat of the same signal during the report must not wait
  // behind the blocked mask but take the default action at once.
  action.sa_flags = SA_SIGINFO | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  for (const int number : fatalSignals) sigaction(number, &action, nullptr);
}

}  // namespace app
