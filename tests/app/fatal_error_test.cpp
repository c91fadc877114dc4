// The crash report: its texts, and a real fault in a child process.
#include "app/fatal_error.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <regex>
#include <string>
#include <thread>

#include <poll.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <glib.h>
#include <gtest/gtest.h>

#include "base/dialogs.h"
#include "base/trace.h"

namespace {

const char* const segvReport3272 =
    "A program error was detected:\n"
    "\n"
    "Error Message:   Segmentation violation\n"
    "Error Code:      11\n"
    "Sourcecode line: 3272\n";

TEST(FatalErrorText, SegmentationViolationAtALine) {
  EXPECT_EQ(app::fatalErrorText(SIGSEGV, 3272), segvReport3272);
}

TEST(FatalErrorText, EverySignalHasItsOwnMessage) {
  EXPECT_EQ(app::fatalErrorMessage(4), "Illegal instruction");
  EXPECT_EQ(app::fatalErrorMessage(5), "Trace trap");
  EXPECT_EQ(app::fatalErrorMessage(6), "Abort signal");
  EXPECT_EQ(app::fatalErrorMessage(7), "BUS Error");
  EXPECT_EQ(app::fatalErrorMessage(8), "Floating-point exception");
  EXPECT_EQ(app::fatalErrorMessage(11), "Segmentation violation");
  EXPECT_EQ(app::fatalErrorMessage(31), "Bad system call");
}

TEST(FatalErrorText, AbortIsReportedAsAbortSignal) {
  EXPECT_EQ(app::fatalErrorText(6, 10),
            "A program error was detected:\n\nError Message:   Abort signal\n"
            "Error Code:      6\nSourcecode line: 10\n");
}

TEST(FatalErrorText, CodeWithoutARowIsUnknown) {
  EXPECT_EQ(app::fatalErrorMessage(15), "Unknown error code");
  EXPECT_EQ(app::fatalErrorMessage(0), "Unknown error code");
  EXPECT_EQ(app::fatalErrorText(15, 1),
            "A program error was detected:\n\nError Message:   Unknown error code\n"
            "Error Code:      15\nSourcecode line: 1\n");
}

TEST(FatalErrorText, LineBeforeAnyRecordStaysMinusOne) {
  EXPECT_EQ(app::reportedLine(-1), -1);
  EXPECT_NE(app::fatalErrorText(11, -1).find("\nSourcecode line: -1\n"), std::string::npos);
}

TEST(FatalErrorText, OnlyTheLow24BitsOfTheLineAreReported) {
  EXPECT_EQ(app::reportedLine((1 << 24) + 3272), 3272);
  EXPECT_EQ(app::reportedLine(0x7FFFFFFF), 0xFFFFFF);
  EXPECT_EQ(app::reportedLine(0xFFFFFF), 0xFFFFFF);
  EXPECT_EQ(app::fatalErrorText(11, (1 << 24) + 3272), segvReport3272);
  // A negative line other than -1 keeps its low bits and so is never negative.
  EXPECT_EQ(app::reportedLine(-2), 0xFFFFFE);
  EXPECT_EQ(app::reportedLine(-(1 << 24)), 0);
}

// What a child process reported through its pipe, and how it ended.
struct ChildOutcome {
  std::string output;
  int status = 0;
};

// Runs `body` in a forked child whose dialogs and shutdown are written to a pipe.
ChildOutcome runInChild(const std::function<void(int writeFd)>& body) {
  int fds[2];
  EXPECT_EQ(pipe(fds), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    body(fds[1]);
    _exit(99);  // the body was expected not to return
  }
  close(fds[1]);
  ChildOutcome outcome;
  char buffer[512];
  ssize_t got;
  while ((got = read(fds[0], buffer, sizeof buffer)) > 0) outcome.output.append(buffer, got);
  close(fds[0]);
  waitpid(pid, &outcome.status, 0);
  return outcome;
}

void writeAll(int fd, const std::string& text) {
  const ssize_t ignored = write(fd, text.data(), text.size());
  (void)ignored;
}

// In the child: every dialog is written to the pipe as title, TAB, text, "|".
void installRecordingReport(int fd) {
  base::setDialogHandler([fd](const base::DialogRequest& request) {
    writeAll(fd, request.title + "\t" + request.text + "|");
    return std::string();
  });
  app::installFatalErrorHandler([fd] { writeAll(fd, "shutdown|"); });
}

// Starts `body` in a child, waits until it wrote "ready|", sends it the signal
// and collects the rest; a child still running at the time limit is killed.
ChildOutcome signalChildWhenReady(const std::function<void(int writeFd)>& body, int signalNumber,
                                  int timeoutMs) {
  int fds[2];
  EXPECT_EQ(pipe(fds), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    body(fds[1]);
    _exit(99);
  }
  close(fds[1]);
  ChildOutcome outcome;
  bool signalled = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  pollfd reader{fds[0], POLLIN, 0};
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || poll(&reader, 1, static_cast<int>(left.count())) <= 0) break;
    char buffer[512];
    const ssize_t got = read(fds[0], buffer, sizeof buffer);
    if (got <= 0) break;
    outcome.output.append(buffer, got);
    if (!signalled && outcome.output.find("ready|") != std::string::npos) {
      kill(pid, signalNumber);
      signalled = true;
    }
  }
  close(fds[0]);
  while (waitpid(pid, &outcome.status, WNOHANG) == 0 && std::chrono::steady_clock::now() < deadline) {
    poll(nullptr, 0, 5);
  }
  if (waitpid(pid, &outcome.status, WNOHANG) == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &outcome.status, 0);
    outcome.output += "(killed at the time limit)";
  }
  return outcome;
}

bool exitedWith(int status, int code) { return WIFEXITED(status) && WEXITSTATUS(status) == code; }

TEST(FatalErrorHandler, SegmentationViolationIsReportedAndEndsWithStatusZero) {
  const ChildOutcome outcome = runInChild([](int fd) {
    installRecordingReport(fd);
    base::currentLine = 3272;
    raise(SIGSEGV);
  });
  EXPECT_TRUE(exitedWith(outcome.status, 0)) << "status " << outcome.status;
  EXPECT_EQ(outcome.output,
            std::string("Linux ZN-ZID-Idavode-Ruriva-Error\t") + segvReport3272 + "|shutdown|");
}

TEST(FatalErrorHandler, RealInvalidMemoryAccessIsReported) {
  const ChildOutcome outcome = runInChild([](int fd) {
    installRecordingReport(fd);
    base::currentLine = 77;
    // A page that may not be touched: a real fault, without a null pointer that
    // the undefined-behaviour checks would stop first.
    void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    *static_cast<volatile int*>(page) = 1;
  });
  EXPECT_TRUE(exitedWith(outcome.status, 0)) << "status " << outcome.status;
  EXPECT_NE(outcome.output.find("Error Code:      11\nSourcecode line: 77\n|shutdown|"), std::string::npos)
      << outcome.output;
}

TEST(FatalErrorHandler, AbortIsReportedAsAbortSignal) {
  const ChildOutcome outcome = runInChild([](int fd) {
    installRecordingReport(fd);
    base::currentLine = (1 << 24) + 12;
    abort();
  });
  EXPECT_TRUE(exitedWith(outcome.status, 0)) << "status " << outcome.status;
  EXPECT_EQ(outcome.output, std::string("Linux ZN-ZID-Idavode-Ruriva-Error\t") +
                                "A program error was detected:\n\nError Message:   Abort signal\n"
                                "Error Code:      6\nSourcecode line: 12\n|shutdown|");
}

TEST(FatalErrorHandler, EveryFatalSignalIsBackAtItsDefaultWhileReporting) {
  const ChildOutcome outcome = runInChild([](int fd) {
    base::setDialogHandler([fd](const base::DialogRequest&) {
      for (const int number : app::fatalSignals) {
        struct sigaction current {};
        sigaction(number, nullptr, &current);
        writeAll(fd, current.sa_handler == SIG_DFL ? "d" : "x");
      }
      return std::string();
    });
    app::installFatalErrorHandler(nullptr);
    raise(SIGFPE);
  });
  EXPECT_TRUE(exitedWith(outcome.status, 0)) << "status " << outcome.status;
  EXPECT_EQ(outcome.output, "ddddddd");
}

TEST(FatalErrorHandler, FaultDuringTheReportEndsWithTheDefaultAction) {
  const ChildOutcome outcome = runInChild([](int fd) {
    base::setDialogHandler([fd](const base::DialogRequest&) {
      writeAll(fd, "dialog|");
      raise(SIGSEGV);
      writeAll(fd, "survived|");
      return std::string();
    });
    app::installFatalErrorHandler([fd] { writeAll(fd, "shutdown|"); });
    // The same signal again: it must not wait behind the one being handled.
    raise(SIGSEGV);
  });
  ASSERT_TRUE(WIFSIGNALED(outcome.status)) << "status " << outcome.status;
  EXPECT_EQ(WTERMSIG(outcome.status), SIGSEGV);
  EXPECT_EQ(outcome.output, "dialog|");
}

TEST(FatalErrorHandler, OtherSignalsKeepTheirDefaultAction) {
  const ChildOutcome outcome = runInChild([](int fd) {
    installRecordingReport(fd);
    raise(SIGTERM);
  });
  ASSERT_TRUE(WIFSIGNALED(outcome.status)) << "status " << outcome.status;
  EXPECT_EQ(WTERMSIG(outcome.status), SIGTERM);
  EXPECT_EQ(outcome.output, "");
}

TEST(FatalErrorHandler, EachOfTheSevenSignalsIsCaught) {
  for (const int number : app::fatalSignals) {
    const ChildOutcome outcome = runInChild([number](int fd) {
      installRecordingReport(fd);
      raise(number);
    });
    EXPECT_TRUE(exitedWith(outcome.status, 0)) << "signal " << number;
    EXPECT_NE(outcome.output.find("Error Code:      " + std::to_string(number) + "\n"), std::string::npos)
        << "signal " << number;
  }
}

TEST(FatalErrorHandler, FaultInABackgroundThreadIsReportedByTheMainLoopWithThatThreadsLine) {
  const ChildOutcome outcome = runInChild([](int fd) {
    installRecordingReport(fd);
    base::currentLine = 10;
    std::thread reader([] {
      base::currentLine = 4242;
      raise(SIGSEGV);
    });
    reader.detach();
    // The main thread goes on with its own line; only its loop may show the report.
    for (;;) g_main_context_iteration(nullptr, TRUE);
  });
  EXPECT_TRUE(exitedWith(outcome.status, 0)) << "status " << outcome.status;
  EXPECT_NE(outcome.output.find("Error Code:      11\nSourcecode line: 4242\n|shutdown|"), std::string::npos)
      << outcome.output;
}

// A lock that the interrupted code holds, as the toolkit holds its display lock
// while it talks to the X server.
GMutex busyLock;

TEST(FatalErrorHandler, SignalFromAnotherProcessIsReportedFromTheMainLoop) {
  const ChildOutcome outcome = signalChildWhenReady(
      [](int fd) {
        base::setDialogHandler([fd](const base::DialogRequest& request) {
          // Showing the report needs the lock; inside the handler it would wait forever.
          g_mutex_lock(&busyLock);
          writeAll(fd, request.title + "\t" + request.text + "|");
          g_mutex_unlock(&busyLock);
          return std::string();
        });
        app::installFatalErrorHandler([fd] { writeAll(fd, "shutdown|"); });
        base::currentLine = 600;
        writeAll(fd, "ready|");
        for (;;) {
          g_mutex_lock(&busyLock);
          base::currentLine = 500;
          for (volatile int spin = 0; spin < 200000; spin = spin + 1) {
          }
          g_mutex_unlock(&busyLock);
          base::currentLine = 600;
          g_main_context_iteration(nullptr, FALSE);
        }
      },
      SIGSEGV, 20000);
  EXPECT_TRUE(exitedWith(outcome.status, 0)) << "status " << outcome.status;
  // The line is the one that ran when the signal came, not when it was reported.
  EXPECT_TRUE(std::regex_match(outcome.output, std::regex("ready\\|Linux ZN-ZID-Idavode-Ruriva-Error\t"
                                                          "A program error was detected:\n\n"
                                                          "Error Message:   Segmentation violation\n"
                                                          "Error Code:      11\n"
                                                          "Sourcecode line: (500|600)\n\\|shutdown\\|")))
      << outcome.output;
}

TEST(FatalErrorHandler, SecondSignalFromOutsideBeforeTheReportEndsAtOnce) {
  const ChildOutcome outcome = signalChildWhenReady(
      [](int fd) {
        installRecordingReport(fd);
        writeAll(fd, "ready|");
        // No main loop runs, so the report of the first signal waits; a fault
        // after it meets the default action.
        for (;;) {
          struct sigaction current {};
          sigaction(SIGSEGV, nullptr, &current);
          if (current.sa_handler == SIG_DFL) raise(SIGSEGV);
        }
      },
      SIGBUS, 20000);
  ASSERT_TRUE(WIFSIGNALED(outcome.status)) << "status " << outcome.status << outcome.output;
  EXPECT_EQ(WTERMSIG(outcome.status), SIGSEGV);
  EXPECT_EQ(outcome.output, "ready|");
}

}  // namespace
