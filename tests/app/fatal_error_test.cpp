// The crash report: its texts, and a real fault in a child process.
#include "app/fatal_error.h"

#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/dialogs.h"

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
  app::setDialogHandler([fd](const app::DialogRequest& request) {
    writeAll(fd, request.title + "\t" + request.text + "|");
    return std::string();
  });
  app::installFatalErrorHandler([fd] { writeAll(fd, "shutdown|"); });
}

bool exitedWith(int status, int code) { return WIFEXITED(status) && WEXITSTATUS(status) == code; }

TEST(FatalErrorHandler, SegmentationViolationIsReportedAndEndsWithStatusZero) {
  const ChildOutcome outcome = runInChild([](int fd) {
    installRecordingReport(fd);
    currentLine = 3272;
    raise(SIGSEGV);
  });
  EXPECT_TRUE(exitedWith(outcome.status, 0)) << "status " << outcome.status;
  EXPECT_EQ(outcome.output, std::string("Linux ZN-ZID-Idavode-Ruriva-Error\t") + segvReport3272 +
                                "|shutdown|");
}

TEST(FatalErrorHandler, RealInvalidMemoryAccessIsReported) {
  const ChildOutcome outcome = runInChild([](int fd) {
    installRecordingReport(fd);
    currentLine = 77;
    volatile int* nowhere = nullptr;
    *nowhere = 1;
  });
  EXPECT_TRUE(exitedWith(outcome.status, 0)) << "status " << outcome.status;
  EXPECT_NE(outcome.output.find("Error Code:      11\nSourcecode line: 77\n|shutdown|"),
            std::string::npos)
      << outcome.output;
}

TEST(FatalErrorHandler, AbortIsReportedAsAbortSignal) {
  const ChildOutcome outcome = runInChild([](int fd) {
    installRecordingReport(fd);
    currentLine = (1 << 24) + 12;
    abort();
  });
  EXPECT_TRUE(exitedWith(outcome.status, 0)) << "status " << outcome.status;
  EXPECT_EQ(outcome.output, std::string("Linux ZN-ZID-Idavode-Ruriva-Error\t") +
                                "A program error was detected:\n\nError Message:   Abort signal\n"
                                "Error Code:      6\nSourcecode line: 12\n|shutdown|");
}

TEST(FatalErrorHandler, EveryFatalSignalIsBackAtItsDefaultWhileReporting) {
  const ChildOutcome outcome = runInChild([](int fd) {
    app::setDialogHandler([fd](const app::DialogRequest&) {
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
    app::setDialogHandler([fd](const app::DialogRequest&) {
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
    EXPECT_NE(outcome.output.find("Error Code:      " + std::to_string(number) + "\n"),
              std::string::npos)
        << "signal " << number;
  }
}

}  // namespace
