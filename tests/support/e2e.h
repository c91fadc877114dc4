// Drives the real program binary: a private program folder, a private X server,
// fake external programs first on PATH, xdotool for the user's hands, and the
// dialog log for what the program said.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <glib.h>
#include <sys/types.h>

#include "support/temp_dir.h"
#include "support/xvfb.h"

namespace testing_support {

// How long the program may take to show its main window, and each later step.
constexpr int startLimitMs = 20000;
constexpr int stepLimitMs = 10000;
// The main window's title, with or without the shown file after it.
constexpr const char* mainWindowRegex = "^Linux ZN-ZID-Idavode-Ruriva( ~ .*)?$";

// The outcome of a helper program run to its end.
struct CommandResult {
  int status = -1;  // exit status; -1 when it could not run or was killed at the time limit
  std::string output;
};

// Runs argv[0] (searched on PATH) with the extra "NAME=value" entries added to
// the environment (a bare "NAME" removes it), collecting its standard output;
// kills it at the time limit.
CommandResult runCommand(const std::vector<std::string>& argv,
                         const std::vector<std::string>& extraEnvironment, int timeoutMs);

// The text with every regular-expression special character escaped.
std::string regexEscape(const std::string& text);

// One dialog the program showed, as its dialog log recorded it.
struct DialogRecord {
  std::string title;
  std::string text;  // line breaks restored
};

// Parses the dialog log: one record per line, title TAB text with "\n" and "\r" escaped.
std::vector<DialogRecord> parseDialogLog(const std::string& bytes);

struct WindowGeometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The name of the settings file and of the database file in the program folder.
extern const char* const settingsFileName;
extern const char* const databaseFileName;

// The real program in a program folder of its own, on a display of its own.
class ViewerProcess {
 public:
  // Makes the folders and starts the X server; nothing is copied yet.
  ViewerProcess();
  // Kills the program (and what it started) if it still runs.
  ~ViewerProcess();
  ViewerProcess(const ViewerProcess&) = delete;
  ViewerProcess& operator=(const ViewerProcess&) = delete;

  // Copies the ready program folder: the binary and the sample library beside it.
  void copyProgramFolder();
  // Copies only the binary; the test writes the files it wants beside it.
  void copyBinaryOnly();
  // Copies this binary into the program folder as the program.
  void copyBinary(const std::string& binaryPath);
  // Moves the program folder two levels below a root folder, where the
  // administrator's exports look for Templates/ and Export/. Call it first.
  void placeProgramBelowRoot();
  // The scratch folder that holds everything the program sees (resolved, ending in "/").
  std::string rootFolder() const;
  // Writes a file below the program folder and returns its full path.
  std::string writeProgramFile(const std::string& name, const std::string& bytes) const;
  // Writes a settings file (byte-order mark, empty line, then the given lines).
  std::string writeSettings(const std::vector<std::string>& keyLines) const;

  // Puts a shell script with this body first on the program's PATH.
  void fakeProgram(const std::string& name, const std::string& body) const;
  // A fake that appends its arguments (one line per call) to fakeLog(name).
  void recordingFake(const std::string& name) const;
  std::string fakeLog(const std::string& name) const;

  // Adds "NAME=value" to the program's environment (before start()).
  void setEnvironment(const std::string& entry) { extraEnvironment_.push_back(entry); }

  // Starts a window manager (openbox) on the display until this object ends; false when it is not up.
  bool startWindowManager();

  // Starts this file (a launcher, say) instead of the binary in the program folder.
  void useProgramFile(const std::string& path) { programFile_ = path; }
  // Starts the binary in another working directory; false when it cannot start.
  bool start(const std::vector<std::string>& arguments = {});
  bool running();
  // The exit status (128 + signal when a signal ended it), or -1 at the time
  // limit, in which case the program is killed.
  int waitForExit(int timeoutMs);
  pid_t pid() const { return pid_; }

  // The program folder (resolved, ending in "/"), as the program itself sees it.
  const std::string& programFolder() const { return programFolder_; }
  const std::string& workingFolder() const { return workFolder_.path(); }
  // The program's home folder ($HOME, with XDG_CONFIG_HOME and XDG_DATA_HOME below it), ending in "/".
  std::string homeFolder() const { return sandbox_.path() + "home/"; }
  const std::string& display() const { return xserver_.display(); }
  bool displayRunning() const { return xserver_.running(); }
  std::string standardOutput() const;
  std::string standardError() const;

  // Runs xdotool on this display.
  CommandResult xdotool(const std::vector<std::string>& arguments, int timeoutMs = 10000) const;
  // Polls for a visible window whose name matches the (extended, case-insensitive)
  // regular expression, other than those excepted; returns its id, or "" at the time
  // limit or once the started program has ended.
  std::string waitForWindow(const std::string& nameRegex, int timeoutMs,
                            const std::vector<std::string>& except = {});
  // The visible windows whose name matches.
  std::vector<std::string> visibleWindows(const std::string& nameRegex) const;
  bool isVisible(const std::string& windowId) const;
  std::string windowName(const std::string& windowId) const;
  // Waits until the window is no longer visible.
  bool waitUntilHidden(const std::string& windowId, int timeoutMs);
  std::optional<WindowGeometry> windowGeometry(const std::string& windowId) const;
  // Gives the window the keyboard focus (there is no window manager: the pointer is
  // moved into it and the focus is set directly).
  bool focus(const std::string& windowId) const;
  // Clicks the left button at a point inside the window.
  bool click(const std::string& windowId, int x, int y) const;
  // Presses a key (an X keysym name such as "Escape", "Return", "ctrl+c") in the window.
  bool key(const std::string& windowId, const std::string& keysym) const;
  // Presses the key until the window disappears, at most for the time given.
  bool keyUntilHidden(const std::string& windowId, const std::string& keysym, int timeoutMs);
  bool type(const std::string& windowId, const std::string& text) const;
  // Saves a picture of the whole screen as PNG (for looking at a failure).
  bool screenshot(const std::string& pngPath) const;

  // Every dialog logged so far.
  std::vector<DialogRecord> dialogs() const;
  // Waits for a dialog with this title logged after the one the previous call
  // returned, and gives its text; nothing at the time limit or once the program
  // has ended without it.
  std::optional<std::string> waitForDialog(const std::string& title, int timeoutMs);

 private:
  std::vector<std::string> childEnvironment() const;
  void killProgram();

  TempDir programDir_;
  TempDir workFolder_;
  TempDir sandbox_;  // fake programs, home folder, logs and captured output
  XvfbServer xserver_;
  std::string programFolder_;
  std::string programFile_;
  std::string programSubfolder_;  // below programDir_, "" or ending in "/"
  std::string fakeBin_;
  std::vector<std::string> extraEnvironment_;
  pid_t pid_ = -1;
  GPid windowManager_ = -1;
  bool started_ = false;
  int exitStatus_ = -1;
  size_t dialogsTaken_ = 0;
};

// When the running test has failed: the screen as a picture in the test build folder
// and the program's standard error, printed for the test log.
void reportFailure(ViewerProcess& viewer);

}  // namespace testing_support
