// Runs the real program binary under a private X server and drives it with xdotool.
#include "support/e2e.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <glib.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

extern char** environ;

namespace testing_support {
namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point deadlineAfter(int timeoutMs) { return Clock::now() + std::chrono::milliseconds(timeoutMs); }

int millisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// The pause between two looks at a condition that has no event to wait on.
void pollPause() { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }

std::string entryName(const std::string& entry) { return entry.substr(0, entry.find('=')); }

// The current environment with the given entries added or replacing theirs.
std::vector<std::string> mergedEnvironment(const std::vector<std::string>& extra) {
  std::vector<std::string> merged;
  for (char** entry = environ; *entry; ++entry) {
    const std::string name = entryName(*entry);
    bool replaced = false;
    for (const std::string& added : extra) replaced = replaced || entryName(added) == name;
    if (!replaced) merged.push_back(*entry);
  }
  for (const std::string& added : extra) {
    if (added.find('=') != std::string::npos) merged.push_back(added);
  }
  return merged;
}

// argv/envp arrays for exec; the strings must outlive them.
std::vector<char*> pointerArray(const std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (const std::string& text : strings) pointers.push_back(const_cast<char*>(text.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

// Reaps the child, waiting at most until the deadline; false if it still runs.
bool reapBefore(pid_t pid, Clock::time_point deadline, int* status) {
  for (;;) {
    const pid_t done = waitpid(pid, status, WNOHANG);
    if (done == pid || done < 0) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

std::string unescapeLogText(const std::string& text) {
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() &&
        (text[i + 1] == 'n' || text[i + 1] == 'r' || text[i + 1] == '\\')) {
      plain += text[i + 1] == 'n' ? '\n' : text[i + 1] == 'r' ? '\r' : '\\';
      ++i;
    } else {
      plain += text[i];
    }
  }
  return plain;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string shellQuote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string resolvedFolder(const std::string& folder) {
  char resolved[PATH_MAX];
  if (!realpath(folder.c_str(), resolved)) return folder;
  return std::string(resolved) + "/";
}

}  // namespace

const char* const settingsFileName = "DizerEZ VAV-AruRuvove.ini";
const char* const databaseFileName = "ZN-LinuxAPI-Toc.xml";

CommandResult runCommand(const std::vector<std::string>& argv,
                         const std::vector<std::string>& extraEnvironment, int timeoutMs) {
  CommandResult result;
  const std::vector<std::string> environment = mergedEnvironment(extraEnvironment);
  std::vector<char*> args = pointerArray(argv);
  std::vector<char*> envp = pointerArray(environment);
  int fds[2];
  if (argv.empty() || pipe(fds) != 0) return result;
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    dup2(fds[1], 1);
    const int devnull = open("/dev/null", O_RDWR);
    dup2(devnull, 0);
    dup2(devnull, 2);
    execvpe(args[0], args.data(), envp.data());
    _exit(127);
  }
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    return result;
  }
  const auto deadline = deadlineAfter(timeoutMs);
  pollfd reader{fds[0], POLLIN, 0};
  while (poll(&reader, 1, millisecondsLeft(deadline)) > 0) {
    char buffer[4096];
    const ssize_t got = read(fds[0], buffer, sizeof buffer);
    if (got <= 0) break;
    result.output.append(buffer, got);
  }
  close(fds[0]);
  int status = 0;
  if (!reapBefore(pid, deadline, &status)) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return result;
  }
  if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  return result;
}

std::string regexEscape(const std::string& text) {
  static const std::string special = "\\^$.|?*+()[]{}";
  std::string escaped;
  for (const char c : text) {
    if (special.find(c) != std::string::npos) escaped += '\\';
    escaped += c;
  }
  return escaped;
}

std::vector<DialogRecord> parseDialogLog(const std::string& bytes) {
  // A line still being written has no line feed yet and is left for the next look.
  const size_t complete = bytes.rfind('\n');
  std::vector<DialogRecord> records;
  if (complete == std::string::npos) return records;
  for (const std::string& line : splitLines(bytes.substr(0, complete + 1))) {
    const size_t tab = line.find('\t');
    DialogRecord record;
    record.title = line.substr(0, tab);
    if (tab != std::string::npos) record.text = unescapeLogText(line.substr(tab + 1));
    records.push_back(record);
  }
  return records;
}

ViewerProcess::ViewerProcess() {
  programFolder_ = resolvedFolder(programDir_.path());
  fakeBin_ = sandbox_.path() + "bin/";
  std::filesystem::create_directories(fakeBin_);
  // A new user's home: the data folder, where the toolkit keeps its recently used files,
  // is not there yet.
  std::filesystem::create_directories(sandbox_.path() + "home");
  // The real ones would open browsers or sound the bell of this machine.
  for (const char* name : {"beep", "xdg-open", "gnome-open"}) recordingFake(name);
}

ViewerProcess::~ViewerProcess() {
  killProgram();
  if (windowManager_ > 0) {
    kill(windowManager_, SIGTERM);
    waitpid(windowManager_, nullptr, 0);
  }
}

bool ViewerProcess::startWindowManager() {
  const std::vector<std::string> environment = mergedEnvironment(childEnvironment());
  std::vector<char*> envp = pointerArray(environment);
  const char* argv[] = {"openbox", "--sm-disable", nullptr};
  if (!g_spawn_async(nullptr, const_cast<char**>(argv), envp.data(),
                     GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD |
                                 G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL),
                     nullptr, nullptr, &windowManager_, nullptr))
    return false;
  // Once it runs, the manager has a window of its own class on the display.
  const auto deadline = deadlineAfter(stepLimitMs);
  while (xdotool({"search", "--class", "openbox"}).status != 0) {
    if (Clock::now() >= deadline) return false;
    pollPause();
  }
  return true;
}

void ViewerProcess::copyProgramFolder() {
  // Copied, not linked: the program finds its folder through /proc/self/exe.
  std::filesystem::copy(
      ZN_PROGRAM_DIR, programFolder_,
      std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
}

void ViewerProcess::copyBinaryOnly() { copyBinary(std::string(ZN_PROGRAM_DIR) + "/zn-api-viewer"); }

void ViewerProcess::copyBinary(const std::string& binaryPath) {
  std::filesystem::copy_file(binaryPath, programFolder_ + "zn-api-viewer",
                             std::filesystem::copy_options::overwrite_existing);
}

void ViewerProcess::placeProgramBelowRoot() {
  programSubfolder_ = "Programs/Viewer/";
  std::filesystem::create_directories(programDir_.path() + programSubfolder_);
  programFolder_ = resolvedFolder(programDir_.path() + programSubfolder_);
}

std::string ViewerProcess::rootFolder() const { return resolvedFolder(programDir_.path()); }

std::string ViewerProcess::writeProgramFile(const std::string& name, const std::string& bytes) const {
  return programDir_.write(programSubfolder_ + name, bytes);
}

std::string ViewerProcess::writeSettings(const std::vector<std::string>& keyLines) const {
  std::string bytes = "\xEF\xBB\xBF\n";
  for (const std::string& line : keyLines) bytes += line + "\n";
  return writeProgramFile(settingsFileName, bytes);
}

void ViewerProcess::fakeProgram(const std::string& name, const std::string& body) const {
  writeScript(fakeBin_ + name, body);
}

void ViewerProcess::recordingFake(const std::string& name) const {
  fakeProgram(name, "printf '%s\\n' \"$*\" >> " + shellQuote(fakeLog(name)) + "\n");
}

std::string ViewerProcess::fakeLog(const std::string& name) const {
  return sandbox_.path() + name + ".calls";
}

std::vector<std::string> ViewerProcess::childEnvironment() const {
  const char* path = getenv("PATH");
  std::vector<std::string> environment = {
      "DISPLAY=" + display(),
      "PATH=" + fakeBin_ + ":" + (path ? path : "/usr/bin:/bin"),
      "ZN_DIALOG_LOG=" + sandbox_.path() + "dialogs.log",
      "HOME=" + sandbox_.path() + "home",
      "XDG_CONFIG_HOME=" + sandbox_.path() + "home/.config",
      "XDG_DATA_HOME=" + sandbox_.path() + "home/.local/share",
      "XDG_CACHE_HOME=" + sandbox_.path() + "home/.cache",
      "LANG=C.UTF-8",
      "LC_ALL=",
      "LANGUAGE=",
      "GTK_MODULES=",
      "NO_AT_BRIDGE=1",
  };
  for (const std::string& entry : extraEnvironment_) environment.push_back(entry);
  return environment;
}

bool ViewerProcess::start(const std::vector<std::string>& arguments) {
  if (!displayRunning() || pid_ > 0) return false;
  std::vector<std::string> argv = {programFile_.empty() ? programFolder_ + "zn-api-viewer" : programFile_};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  const std::vector<std::string> environment = mergedEnvironment(childEnvironment());
  std::vector<char*> args = pointerArray(argv);
  std::vector<char*> envp = pointerArray(environment);
  const std::string out = sandbox_.path() + "stdout.txt";
  const std::string err = sandbox_.path() + "stderr.txt";
  const std::string work = workFolder_.path();
  pid_ = fork();
  if (pid_ == 0) {
    // A group of its own, so that what it starts is ended with it.
    setpgid(0, 0);
    if (chdir(work.c_str()) != 0) _exit(126);
    dup2(open("/dev/null", O_RDONLY), 0);
    dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    execve(args[0], args.data(), envp.data());
    _exit(127);
  }
  if (pid_ > 0) setpgid(pid_, pid_);
  started_ = pid_ > 0;
  return started_;
}

bool ViewerProcess::running() {
  if (pid_ <= 0) return false;
  int status = 0;
  const pid_t done = waitpid(pid_, &status, WNOHANG);
  if (done == 0) return true;
  if (done == pid_) {
    exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  pid_ = -1;
  return false;
}

int ViewerProcess::waitForExit(int timeoutMs) {
  const auto deadline = deadlineAfter(timeoutMs);
  while (running()) {
    if (Clock::now() >= deadline) {
      killProgram();
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return exitStatus_;
}

void ViewerProcess::killProgram() {
  if (pid_ <= 1) return;
  // The leader is not yet reaped, so its group id cannot have been reused.
  kill(-pid_, SIGKILL);
  kill(pid_, SIGKILL);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
}

std::string ViewerProcess::standardOutput() const { return readFile(sandbox_.path() + "stdout.txt"); }

std::string ViewerProcess::standardError() const { return readFile(sandbox_.path() + "stderr.txt"); }

CommandResult ViewerProcess::xdotool(const std::vector<std::string>& arguments, int timeoutMs) const {
  std::vector<std::string> argv = {"xdotool"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return runCommand(argv, {"DISPLAY=" + display()}, timeoutMs);
}

std::vector<std::string> ViewerProcess::visibleWindows(const std::string& nameRegex) const {
  return splitLines(xdotool({"search", "--onlyvisible", "--name", nameRegex}).output);
}

std::string ViewerProcess::waitForWindow(const std::string& nameRegex, int timeoutMs,
                                         const std::vector<std::string>& except) {
  const auto deadline = deadlineAfter(timeoutMs);
  for (;;) {
    const bool stillRunning = !started_ || running();
    for (const std::string& found : visibleWindows(nameRegex))
      if (std::find(except.begin(), except.end(), found) == except.end()) return found;
    if (!stillRunning || Clock::now() >= deadline) return std::string();
    pollPause();
  }
}

bool ViewerProcess::isVisible(const std::string& windowId) const {
  for (const std::string& id : visibleWindows("")) {
    if (id == windowId) return true;
  }
  return false;
}

std::string ViewerProcess::windowName(const std::string& windowId) const {
  std::string name = xdotool({"getwindowname", windowId}).output;
  if (!name.empty() && name.back() == '\n') name.pop_back();
  return name;
}

bool ViewerProcess::waitUntilHidden(const std::string& windowId, int timeoutMs) {
  const auto deadline = deadlineAfter(timeoutMs);
  while (isVisible(windowId)) {
    if (Clock::now() >= deadline) return false;
    pollPause();
  }
  return true;
}

std::optional<WindowGeometry> ViewerProcess::windowGeometry(const std::string& windowId) const {
  const CommandResult result = xdotool({"getwindowgeometry", "--shell", windowId});
  if (result.status != 0) return std::nullopt;
  WindowGeometry geometry;
  for (const std::string& line : splitLines(result.output)) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string name = line.substr(0, equals);
    const int value = std::atoi(line.c_str() + equals + 1);
    if (name == "X") geometry.x = value;
    if (name == "Y") geometry.y = value;
    if (name == "WIDTH") geometry.width = value;
    if (name == "HEIGHT") geometry.height = value;
  }
  return geometry;
}

bool ViewerProcess::focus(const std::string& windowId) const {
  // Focus follows the pointer without a window manager, so the pointer goes in
  // first; the direct focus then holds even if the pointer moves on.
  if (xdotool({"mousemove", "--window", windowId, "5", "5"}).status != 0) return false;
  return xdotool({"windowfocus", "--sync", windowId}, 3000).status == 0;
}

bool ViewerProcess::click(const std::string& windowId, int x, int y) const {
  return xdotool({"mousemove", "--window", windowId, std::to_string(x), std::to_string(y), "click", "1"})
             .status == 0;
}

bool ViewerProcess::key(const std::string& windowId, const std::string& keysym) const {
  focus(windowId);
  return xdotool({"key", "--clearmodifiers", keysym}).status == 0;
}

bool ViewerProcess::keyUntilHidden(const std::string& windowId, const std::string& keysym, int timeoutMs) {
  const auto deadline = deadlineAfter(timeoutMs);
  while (isVisible(windowId)) {
    if (Clock::now() >= deadline) return false;
    key(windowId, keysym);
    // A key that arrives before the window listens is lost: look for a while, then press again.
    if (waitUntilHidden(windowId, std::min(1000, millisecondsLeft(deadline)))) return true;
  }
  return true;
}

bool ViewerProcess::type(const std::string& windowId, const std::string& text) const {
  focus(windowId);
  return xdotool({"type", "--delay", "20", text}).status == 0;
}

bool ViewerProcess::screenshot(const std::string& pngPath) const {
  return runCommand({"import", "-display", display(), "-window", "root", pngPath}, {}, 20000).status == 0;
}

std::vector<DialogRecord> ViewerProcess::dialogs() const {
  return parseDialogLog(readFile(sandbox_.path() + "dialogs.log"));
}

std::optional<std::string> ViewerProcess::waitForDialog(const std::string& title, int timeoutMs) {
  const auto deadline = deadlineAfter(timeoutMs);
  for (;;) {
    // Looked at before reading, so that a record written just before the end counts.
    const bool stillRunning = !started_ || running();
    const std::vector<DialogRecord> records = dialogs();
    for (size_t i = dialogsTaken_; i < records.size(); ++i) {
      if (records[i].title != title) continue;
      dialogsTaken_ = i + 1;
      return records[i].text;
    }
    if (!stillRunning || Clock::now() >= deadline) return std::nullopt;
    pollPause();
  }
}

void reportFailure(ViewerProcess& viewer) {
  if (!::testing::Test::HasFailure()) return;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string picture = std::string(ZN_TEST_BINARY_DIR) + "/e2e-" + info->name() + ".png";
  if (viewer.running() && viewer.screenshot(picture))
    std::printf("screen at the failure: %s\n", picture.c_str());
  std::printf("program stderr:\n%s\n", viewer.standardError().c_str());
}

}  // namespace testing_support
