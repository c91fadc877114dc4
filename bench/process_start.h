// Times a program from its start until its first window of a given title is on the
// screen and the program has gone idle, as a user waiting for it would see it.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <sys/types.h>

#include <X11/Xlib.h>

namespace bench {

struct StartFigures {
  bool shown = false;   // the window appeared within the time limit
  bool alive = false;   // the program still ran once it had gone idle
  double readyMs = 0;   // from the start to the last moment it was busy
  double busyMs = 0;    // processor time its main thread used until then; others' load aside
  long residentKb = 0;  // resident memory once idle
};

// Starts argv with the extra "NAME=value" environment entries, waits until a
// top-level window whose title begins with titlePrefix is mapped and the program
// has used no processor time for a while, measures, and ends the program.
StartFigures measureStart(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                          const std::string& titlePrefix, int timeoutMs);

// A program started and shown: its process and its top-level window.
struct ShownProgram {
  pid_t pid = -1;
  Window window = 0;  // 0 when the window did not appear (the program is ended then)
};

// Starts argv like measureStart and waits until the window is mapped. The display
// must select SubstructureNotifyMask on the root window before.
ShownProgram startUntilShown(Display* display, const std::vector<std::string>& argv,
                             const std::vector<std::string>& environment, const std::string& titlePrefix,
                             int timeoutMs);

// Waits until the program has used no processor time for quietMs; returns the
// moment it last ran.
std::chrono::steady_clock::time_point waitUntilIdle(pid_t pid, std::chrono::steady_clock::time_point since,
                                                    int quietMs, int timeoutMs);

// Ends the program and whatever it started.
void endProgram(pid_t pid);

// A program folder of its own: the viewer's binary copied into a scratch folder
// beside settings that name the database and skip the first-start dialog; the
// extra lines (each ending in LF) are added to the settings.
struct ProgramFolder {
  std::string folder;  // ending in "/"
  std::string binary;
};
ProgramFolder makeProgramFolder(const std::string& viewerBinary, const std::string& databasePath,
                                const std::string& extraSettings = std::string());
void removeProgramFolder(const ProgramFolder& program);

// Environment entries that make the start of any GTK program quiet and alike:
// no cursor blinking (it would wake the program), no accessibility modules.
std::vector<std::string> quietToolkitEnvironment(const std::string& scratchFolder);

}  // namespace bench
