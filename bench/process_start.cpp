// Watches the X server for the program's window and /proc for its processor time.
#include "process_start.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <glib.h>
#include <glib/gstdio.h>

extern char** environ;

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

// How long the program must stay without processor time to count as idle.
constexpr int quietPeriodMs = 150;

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

std::string nameOf(const std::string& entry) { return entry.substr(0, entry.find('=')); }

std::vector<std::string> mergedEnvironment(const std::vector<std::string>& extra) {
  std::vector<std::string> merged;
  for (char** entry = environ; *entry; ++entry) {
    bool replaced = false;
    for (const std::string& added : extra) replaced = replaced || nameOf(added) == nameOf(*entry);
    if (!replaced) merged.emplace_back(*entry);
  }
  merged.insert(merged.end(), extra.begin(), extra.end());
  return merged;
}

std::vector<char*> pointers(const std::vector<std::string>& strings) {
  std::vector<char*> result;
  for (const std::string& text : strings) result.push_back(const_cast<char*>(text.c_str()));
  result.push_back(nullptr);
  return result;
}

pid_t startProgram(const std::vector<std::string>& argv, const std::vector<std::string>& environment) {
  const std::vector<std::string> merged = mergedEnvironment(environment);
  std::vector<char*> args = pointers(argv);
  std::vector<char*> envp = pointers(merged);
  const pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    const int quiet = open("/dev/null", O_RDWR);
    dup2(quiet, 0);
    dup2(quiet, 1);
    dup2(quiet, 2);
    execve(args[0], args.data(), envp.data());
    _exit(127);
  }
  if (pid > 0) setpgid(pid, pid);
  return pid;
}

bool stillRunning(pid_t pid) {
  int status = 0;
  return waitpid(pid, &status, WNOHANG) == 0;
}

bool titleBegins(Display* display, Window window, const std::string& prefix) {
  char* name = nullptr;
  if (!XFetchName(display, window, &name) || !name) return false;
  const bool matches = std::strncmp(name, prefix.c_str(), prefix.size()) == 0;
  XFree(name);
  return matches;
}

// Waits for the map of a top-level window with the title; 0 at the limit or when
// the program ended first.
Window waitForWindow(Display* display, pid_t pid, const std::string& prefix, Clock::time_point deadline) {
  pollfd connection{ConnectionNumber(display), POLLIN, 0};
  while (Clock::now() < deadline) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && titleBegins(display, event.xmap.window, prefix))
        return event.xmap.window;
    }
    if (!stillRunning(pid)) return 0;
    poll(&connection, 1, 5);
  }
  return 0;
}

// The nanoseconds the program's main thread has run so far.
unsigned long long processorTime(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/schedstat");
  unsigned long long nanoseconds = 0;
  file >> nanoseconds;
  return nanoseconds;
}

long residentKilobytes(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(file, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return 0;
}

}  // namespace

Clock::time_point waitUntilIdle(pid_t pid, Clock::time_point since, int quietMs, int timeoutMs) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  const auto quiet = std::chrono::milliseconds(quietMs);
  Clock::time_point lastBusy = since;
  unsigned long long lastTime = processorTime(pid);
  while (Clock::now() < deadline && Clock::now() - lastBusy < quiet) {
    usleep(1000);
    const unsigned long long time = processorTime(pid);
    if (time != lastTime) {
      lastTime = time;
      lastBusy = Clock::now();
    }
  }
  return lastBusy;
}

void endProgram(pid_t pid) {
  kill(-pid, SIGKILL);
  kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
}

ShownProgram startUntilShown(Display* display, const std::vector<std::string>& argv,
                             const std::vector<std::string>& environment, const std::string& titlePrefix,
                             int timeoutMs) {
  ShownProgram program;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  program.pid = startProgram(argv, environment);
  if (program.pid <= 0) return program;
  program.window = waitForWindow(display, program.pid, titlePrefix, deadline);
  if (!program.window) endProgram(program.pid);
  return program;
}

StartFigures measureStart(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                          const std::string& titlePrefix, int timeoutMs) {
  StartFigures figures;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return figures;
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);
  const Clock::time_point start = Clock::now();
  const ShownProgram program = startUntilShown(display, argv, environment, titlePrefix, timeoutMs);
  figures.shown = program.window != 0;
  if (figures.shown) {
    const int leftMs = std::max(0, timeoutMs - static_cast<int>(millisecondsBetween(start, Clock::now())));
    figures.readyMs =
        millisecondsBetween(start, waitUntilIdle(program.pid, Clock::now(), quietPeriodMs, leftMs));
    figures.busyMs = static_cast<double>(processorTime(program.pid)) / 1e6;
    figures.residentKb = residentKilobytes(program.pid);
    figures.alive = stillRunning(program.pid);
    endProgram(program.pid);
  }
  XCloseDisplay(display);
  return figures;
}

ProgramFolder makeProgramFolder(const std::string& viewerBinary, const std::string& databasePath,
                                const std::string& extraSettings) {
  ProgramFolder program;
  char* folder = g_dir_make_tmp("zn-bench-program-XXXXXX", nullptr);
  if (!folder) return program;
  program.folder = std::string(folder) + "/";
  g_free(folder);
  program.binary = program.folder + "zn-api-viewer";
  gchar* bytes = nullptr;
  gsize length = 0;
  if (!g_file_get_contents(viewerBinary.c_str(), &bytes, &length, nullptr)) return program;
  g_file_set_contents(program.binary.c_str(), bytes, static_cast<gssize>(length), nullptr);
  g_free(bytes);
  g_chmod(program.binary.c_str(), 0755);
  const std::string settings = "\xEF\xBB\xBF\ndb-path=" + databasePath + "\nLib-path=" + program.folder +
                               "\nabout=1\n" + extraSettings;
  g_file_set_contents((program.folder + "DizerEZ VAV-AruRuvove.ini").c_str(), settings.c_str(), -1, nullptr);
  return program;
}

void removeProgramFolder(const ProgramFolder& program) {
  for (const char* name : {"zn-api-viewer", "DizerEZ VAV-AruRuvove.ini", "gtkrc"}) {
    g_unlink((program.folder + name).c_str());
  }
  g_rmdir(program.folder.c_str());
}

std::vector<std::string> quietToolkitEnvironment(const std::string& scratchFolder) {
  const std::string rc = scratchFolder + "gtkrc";
  g_file_set_contents(rc.c_str(), "gtk-cursor-blink = 0\n", -1, nullptr);
  return {"GTK2_RC_FILES=" + rc, "GTK_MODULES=", "NO_AT_BRIDGE=1", "LANG=C.UTF-8"};
}

}  // namespace bench
