// The program launcher: availability, parameter splitting and detached starts.
#include "services/process_launcher.h"

#include "support/temp_dir.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <glib.h>
#include <gtest/gtest.h>

namespace {

using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeScript;
using Arguments = std::vector<std::string>;

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    hadValue_ = old != nullptr;
    if (old) oldValue_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnvironment() {
    if (hadValue_) {
      setenv(name_.c_str(), oldValue_.c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }

 private:
  std::string name_;
  std::string oldValue_;
  bool hadValue_ = false;
};

// Changes the working directory for one test.
class ScopedWorkingDirectory {
 public:
  explicit ScopedWorkingDirectory(const std::string& folder) {
    char* old = g_get_current_dir();
    old_ = old;
    g_free(old);
    EXPECT_EQ(chdir(folder.c_str()), 0);
  }
  ~ScopedWorkingDirectory() { EXPECT_EQ(chdir(old_.c_str()), 0); }

 private:
  std::string old_;
};

bool waitForFile(const std::string& path, int timeoutMs = 5000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!g_file_test(path.c_str(), G_FILE_TEST_EXISTS)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    g_usleep(2000);
  }
  return true;
}

// Writes an executable shell script below the folder, creating its parent folders.
std::string writeProgram(const TempDir& dir, const std::string& name, const std::string& body) {
  const std::string path = dir.write(name, "");
  writeScript(path, body);
  return path;
}

// A script that writes its arguments, one a line, to the file "record". The
// record appears in one rename, so a reader never sees half of it.
std::string writeRecorder(const TempDir& dir, const std::string& name) {
  const std::string record = dir.file("record");
  return writeProgram(dir, name,
                      "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + record + ".part'\nmv '" +
                          record + ".part' '" + record + "'\n");
}

// A script that writes the output of a command to the file "record".
std::string writeReporter(const TempDir& dir, const std::string& name, const std::string& command) {
  const std::string record = dir.file("record");
  return writeProgram(dir, name,
                      command + " > '" + record + ".part'\nmv '" + record + ".part' '" + record + "'\n");
}

std::string recorded(const std::string& record) {
  EXPECT_TRUE(waitForFile(record)) << record;
  return readFile(record);
}

TEST(SplitParameters, BlanksTabsAndLineFeedsSeparate) {
  EXPECT_EQ(services::splitParameters("-f 130.8 -l 100"), (Arguments{"-f", "130.8", "-l", "100"}));
  EXPECT_EQ(services::splitParameters("  a\t\tb\nc  "), (Arguments{"a", "b", "c"}));
  EXPECT_EQ(services::splitParameters(""), Arguments{});
  EXPECT_EQ(services::splitParameters(" \t\n"), Arguments{});
}

TEST(SplitParameters, DoubleQuotesMakeOneArgumentWithoutTheQuotes) {
  EXPECT_EQ(services::splitParameters("\"/my files/a b.zn\" -n"), (Arguments{"/my files/a b.zn", "-n"}));
  EXPECT_EQ(services::splitParameters("x \"open to the end"), (Arguments{"x", "open to the end"}));
  EXPECT_EQ(services::splitParameters("a\"b c\"d"), (Arguments{"a", "b c", "d"}));
  EXPECT_EQ(services::splitParameters("\"\" \"\t\n\""), (Arguments{"", "\t\n"}));
}

TEST(ProgramAvailability, APathMustNameANonEmptyExecutableFile) {
  TempDir dir;
  const std::string script = writeRecorder(dir, "tool");
  dir.write("plain", "#!/bin/sh\n");
  chmod(dir.write("empty", "").c_str(), 0755);
  EXPECT_TRUE(services::isProgramAvailable(script));
  EXPECT_FALSE(services::isProgramAvailable(dir.file("plain")));
  EXPECT_FALSE(services::isProgramAvailable(dir.file("empty")));
  EXPECT_FALSE(services::isProgramAvailable(dir.path()));
  EXPECT_FALSE(services::isProgramAvailable(dir.file("missing")));
  EXPECT_FALSE(services::isProgramAvailable("./zn-surely-missing-program"));
}

TEST(ProgramAvailability, BareNamesAreSearchedInPathSkippingEmptyEntries) {
  TempDir dir;
  writeRecorder(dir, "bin/zn-recorder");
  writeRecorder(dir, "here/zn-only-here");
  dir.write("first/zn-recorder", "not executable");
  g_mkdir_with_parents(dir.file("bin/zn-folder").c_str(), 0755);
  ScopedWorkingDirectory inside(dir.file("here"));
  {
    // An empty entry does not stand for the working directory.
    const std::string path = "::" + dir.file("first") + ":" + dir.file("bin") + "/:";
    ScopedEnvironment environment("PATH", path.c_str());
    EXPECT_TRUE(services::isProgramAvailable("zn-recorder"));
    EXPECT_FALSE(services::isProgramAvailable("zn-only-here"));
    EXPECT_FALSE(services::isProgramAvailable("zn-folder"));  // a folder is no program
    EXPECT_FALSE(services::isProgramAvailable(""));
  }
  ScopedEnvironment noPath("PATH", nullptr);
  EXPECT_FALSE(services::isProgramAvailable("zn-recorder"));
}

TEST(StartProgram, PassesQuotedArgumentsWithBlanksAsOne) {
  TempDir dir;
  const std::string script = writeRecorder(dir, "tool");
  ASSERT_TRUE(services::startProgram(script, "-f \"my file.zn\" last", ""));
  EXPECT_EQ(recorded(dir.file("record")), "-f\nmy file.zn\nlast\n");
}

TEST(StartProgram, ArgumentListsArePassedUnchanged) {
  TempDir dir;
  const std::string script = writeRecorder(dir, "tool");
  ASSERT_TRUE(services::startProgramWithArguments(script, {"a b", "", "\"q\""}, ""));
  EXPECT_EQ(recorded(dir.file("record")), "a b\n\n\"q\"\n");
}

TEST(StartProgram, FindsTheProgramThroughPath) {
  TempDir dir;
  writeRecorder(dir, "bin/zn-recorder");
  dir.write("first/zn-recorder", "#!/bin/sh\ntouch '" + dir.file("wrong") + "'\n");
  // The system folders stay last so that the script itself finds "mv".
  const std::string path = ":" + dir.file("first") + "::" + dir.file("bin") + ":/usr/bin:/bin";
  ScopedEnvironment environment("PATH", path.c_str());
  ASSERT_TRUE(services::startProgram("zn-recorder", "from-path", ""));
  EXPECT_EQ(recorded(dir.file("record")), "from-path\n");
  EXPECT_FALSE(g_file_test(dir.file("wrong").c_str(), G_FILE_TEST_EXISTS));
}

TEST(StartProgram, RefusesWhatIsNotAvailable) {
  TempDir dir;
  dir.write("plain", "#!/bin/sh\ntrue\n");
  EXPECT_FALSE(services::startProgram(dir.file("plain"), "", ""));
  EXPECT_FALSE(services::startProgram("./zn-surely-missing-program", "x", ""));
  EXPECT_FALSE(services::startProgram(dir.file("missing"), "", ""));
  // Found and executable, but the exec fails: the start does not count.
  const std::string broken = dir.write("broken", "#!/zn/no/such/interpreter\n");
  ASSERT_EQ(0, chmod(broken.c_str(), 0755));
  EXPECT_FALSE(services::startProgram(broken, "", ""));
  ScopedEnvironment noPath("PATH", nullptr);
  EXPECT_FALSE(services::startProgram("sh", "-c true", ""));
}

TEST(StartProgram, RunsInTheGivenWorkingFolder) {
  TempDir dir;
  writeReporter(dir, "bin/where", "pwd");
  g_mkdir_with_parents(dir.file("work").c_str(), 0755);
  char* real = realpath(dir.file("work").c_str(), nullptr);
  const std::string work = real;
  free(real);
  // A relative program path still names the file it named before the change of folder.
  ScopedWorkingDirectory inside(dir.path());
  ASSERT_TRUE(services::startProgram("bin/where", "", work));
  EXPECT_EQ(recorded(dir.file("record")), work + "\n");
}

TEST(StartProgram, LeavesNoChildBehind) {
  TempDir dir;
  const std::string script = writeRecorder(dir, "tool");
  const pid_t started = services::startProgramProcess(script, {"quick"}, "");
  ASSERT_GT(started, 0);
  EXPECT_EQ(recorded(dir.file("record")), "quick\n");
  // Neither the intermediate process nor the program is a child of ours.
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  std::ifstream stat("/proc/" + std::to_string(started) + "/stat");
  std::string pid, name, state;
  long parent = 0;
  if (stat >> pid >> name >> state >> parent) {
    EXPECT_NE(parent, static_cast<long>(getpid()));
  }
}

TEST(StartProgram, TheProgramInheritsNoOtherOpenFiles) {
  TempDir dir;
  const int opened = open("/dev/null", O_RDONLY);
  ASSERT_GE(opened, 0);
  const int leaked = dup2(opened, 57);
  close(opened);
  ASSERT_EQ(leaked, 57);
  const bool started = services::startProgram(writeReporter(dir, "fds", "ls /proc/$$/fd"), "", "");
  close(leaked);
  ASSERT_TRUE(started);
  const std::string descriptors = "\n" + recorded(dir.file("record"));
  EXPECT_EQ(descriptors.find("\n57\n"), std::string::npos) << descriptors;
}

}  // namespace
