// The one launcher of external programs: started detached, never waited for.
#include "services/process_launcher.h"

#include "base/trace.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace services {
namespace {

bool isExecutableRegularFile(const std::string& path, bool mustHaveContent) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if (mustHaveContent && info.st_size <= 0) return false;
  return access(path.c_str(), X_OK) == 0;
}

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

std::string searchPath(const std::string& program) {
  const char* pathVariable = std::getenv("PATH");
  if (!pathVariable) return std::string();
  const std::string directories = pathVariable;
  std::size_t start = 0;
  while (start <= directories.size()) {
    std::size_t end = directories.find(':', start);
    if (end == std::string::npos) end = directories.size();
    std::string candidate = directories.substr(start, end - start);
    if (!candidate.empty()) {
      if (candidate.back() != '/') candidate.push_back('/');
      candidate += program;
      if (isExecutableRegularFile(candidate, false)) return candidate;
    }
    start = end + 1;
  }
  return std::string();
}

// The file the availability test found, "" when the program is not available.
// The new process executes exactly this file, so the test and the start agree
// (a name such as "tools/x" found through PATH would otherwise be looked for in
// the working folder by the exec call).
std::string locateProgram(const std::string& program) {
  TRACE_LINE();
  if (program.find('/') != std::string::npos && isExecutableRegularFile(program, true)) return program;
  if (startsWith(program, "/") || startsWith(program, "./")) return std::string();
  return searchPath(program);
}

// A relative path must still name the same file after the new process changed
// into its working folder.
std::string absolutePath(const std::string& path) {
  if (startsWith(path, "/")) return path;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.string();
}

// Everything the new process needs is prepared before fork: between fork and
// exec only async-signal-safe calls are allowed.
struct LaunchPlan {
  std::string file;
  std::vector<std::string> argumentTexts;
  std::vector<char*> argv;  // points into argumentTexts
  std::string workingFolder;
  long highestDescriptor = 1024;
};

void fillLaunchPlan(LaunchPlan& plan, const std::string& file, const std::string& program,
                    const std::vector<std::string>& arguments, const std::string& workingFolder) {
  plan.file = absolutePath(file);
  plan.argumentTexts.push_back(program);
  plan.argumentTexts.insert(plan.argumentTexts.end(), arguments.begin(), arguments.end());
  for (std::string& text : plan.argumentTexts) plan.argv.push_back(&text[0]);
  plan.argv.push_back(nullptr);
  plan.workingFolder = workingFolder;
  const long openMax = sysconf(_SC_OPEN_MAX);
  if (openMax > 0) plan.highestDescriptor = openMax < 65536 ? openMax : 65536;
}

// The program should not inherit the viewer's open files, blocked signals or an
// ignored SIGPIPE. Only the descriptor that reports a failed start stays (it closes
// itself at the exec).
void prepareProcessForExec(const LaunchPlan& plan, int failureFd) {
  const unsigned keep = static_cast<unsigned>(failureFd);
  if ((keep > 3 && close_range(3, keep - 1, 0) != 0) || close_range(keep + 1, ~0U, 0) != 0) {
    for (long fd = 3; fd < plan.highestDescriptor; ++fd)
      if (fd != failureFd) close(static_cast<int>(fd));
  }
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  struct sigaction standard = {};
  standard.sa_handler = SIG_DFL;
  sigaction(SIGPIPE, &standard, nullptr);
}

void writeFully(int fd, const void* data, std::size_t size) {
  const char* from = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = write(fd, from, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    from += written;
    size -= static_cast<std::size_t>(written);
  }
}

// False when the other end closed before the whole value came.
bool readFully(int fd, void* data, std::size_t size) {
  char* target = static_cast<char*>(data);
  std::size_t filled = 0;
  while (filled < size) {
    const ssize_t got = read(fd, target + filled, size - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    filled += static_cast<std::size_t>(got);
  }
  return true;
}

// A program that cannot change into its folder or be executed sends the reason through
// failureFd before it ends; a successful exec closes the descriptor without a word.
[[noreturn]] void runProgram(const LaunchPlan& plan, int failureFd) {
  prepareProcessForExec(plan, failureFd);
  if (plan.workingFolder.empty() || chdir(plan.workingFolder.c_str()) == 0)
    execvp(plan.file.c_str(), plan.argv.data());
  const int error = errno;
  writeFully(failureFd, &error, sizeof error);
  _exit(1);
}

// The intermediate process: starts the program, waits only until it runs or failed to,
// reports its id (-1 for a failed start) and ends at once, so the program is handed to
// init and never becomes the viewer's zombie.
[[noreturn]] void runIntermediate(const LaunchPlan& plan, int reportFd) {
  pid_t started = -1;
  int failure[2];
  if (pipe2(failure, O_CLOEXEC) == 0) {
    started = fork();
    if (started == 0) {
      close(failure[0]);
      runProgram(plan, failure[1]);
    }
    close(failure[1]);
    int error = 0;
    if (started > 0 && readFully(failure[0], &error, sizeof error)) started = -1;
    close(failure[0]);
  }
  writeFully(reportFd, &started, sizeof started);
  _exit(started < 0 ? 1 : 0);
}

pid_t readReportedPid(int fd) {
  pid_t started = -1;
  return readFully(fd, &started, sizeof started) ? started : -1;
}

void reapChild(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

pid_t launchDetached(const LaunchPlan& plan) {
  TRACE_LINE();
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
  const pid_t intermediate = fork();
  if (intermediate == 0) {
    close(pipeFds[0]);
    runIntermediate(plan, pipeFds[1]);
  }
  close(pipeFds[1]);
  const pid_t started = intermediate < 0 ? -1 : readReportedPid(pipeFds[0]);
  close(pipeFds[0]);
  if (intermediate > 0) reapChild(intermediate);
  return started > 0 ? started : -1;
}

}  // namespace

bool isProgramAvailable(const std::string& program) { return !locateProgram(program).empty(); }

std::vector<std::string> splitParameters(const std::string& text) {
  TRACE_LINE();
  std::vector<std::string> arguments;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c == ' ' || c == '\t' || c == '\n') {
      ++pos;
    } else if (c == '"') {
      const std::size_t close = text.find('"', pos + 1);
      const std::size_t end = close == std::string::npos ? text.size() : close;
      arguments.push_back(text.substr(pos + 1, end - pos - 1));
      pos = close == std::string::npos ? text.size() : close + 1;
    } else {
      const std::size_t end = text.find_first_of(" \t\n\"", pos);
      const std::size_t stop = end == std::string::npos ? text.size() : end;
      arguments.push_back(text.substr(pos, stop - pos));
      pos = stop;
    }
  }
  return arguments;
}

pid_t startProgramProcess(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& workingFolder) {
  TRACE_LINE();
  const std::string file = locateProgram(program);
  if (file.empty()) return -1;
  LaunchPlan plan;
  fillLaunchPlan(plan, file, program, arguments, workingFolder);
  return launchDetached(plan);
}

bool startProgramWithArguments(const std::string& program, const std::vector<std::string>& arguments,
                               const std::string& workingFolder) {
  return startProgramProcess(program, arguments, workingFolder) > 0;
}

bool startProgram(const std::string& program, const std::string& parameters,
                  const std::string& workingFolder) {
  TRACE_LINE();
  return startProgramWithArguments(program, splitParameters(parameters), workingFolder);
}

}  // namespace services
