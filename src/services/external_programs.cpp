// Handing work to other programs: the desktop openers, the code editor and the help file.
#include "services/external_programs.h"

#include <sys/stat.h>

#include "base/app_state.h"
#include "base/dialogs.h"
#include "base/paths.h"
#include "base/trace.h"
#include "config/app_settings.h"
#include "config/message_texts.h"
#include "database/topic_index.h"
#include "services/process_launcher.h"

namespace services {
namespace {

// Paths go to the started program as one argument each, so that blanks in a
// path do not break it into pieces.
bool startWithPath(const std::string& program, const std::string& path) {
  return startProgramWithArguments(program, {path}, "");
}

// The user asked for the program, so a program that does not start is named to them.
void reportNotStarted(const std::string& program) {
  base::showMessage(base::messageTitle, config::messageText(config::ProgramNotStarted, program));
}

bool startDesktopOpener(const std::string& path) {
  TRACE_LINE();
  if (startWithPath("xdg-open", path) || startWithPath("gnome-open", path)) return true;
  reportNotStarted("xdg-open");
  return false;
}

std::string currentCodeFilePath() {
  return base::joinLibraryPath(appSettings.Lib_path, base::appState.currentCodeFile);
}

}  // namespace

bool OpenWithDesktop(const std::string& path) {
  TRACE_LINE();
  if (!base::isRegularFile(path)) return false;
  return startDesktopOpener(path);
}

void OpenFolderWithDesktop(const std::string& libraryFieldText) {
  TRACE_LINE();
  std::string folder = libraryFieldText.empty() ? base::appState.programFolder : libraryFieldText;
  while (!folder.empty() && folder.back() == '/') folder.pop_back();
  if (folder.empty() || !base::isDirectory(folder)) return;
  startDesktopOpener(folder);
}

bool isUsableEditor(const std::string& editorPath) {
  if (editorPath.empty()) return false;
  // The link itself is examined, not its target: a symbolic link always counts as executable.
  struct stat info;
  if (lstat(editorPath.c_str(), &info) != 0) return true;
  return (info.st_mode & S_IXUSR) != 0;
}

void openCode() {
  TRACE_LINE();
  const std::string path = currentCodeFilePath();
  const std::string& editor = appSettings.CodeEditorPath;
  if (editor.empty()) {
    OpenWithDesktop(path);
    return;
  }
  // With nothing shown and no library folder there is no path: the editor starts without one.
  const bool started = isUsableEditor(editor) && (path.empty() ? startProgramWithArguments(editor, {}, "")
                                                               : startWithPath(editor, path));
  if (!started) reportNotStarted(editor);
}

void editHelpFile() {
  TRACE_LINE();
  const int row = base::appState.helpRow;
  if (row != 0 && row > 0 && row < static_cast<int>(database::indexEntries.size())) {
    const std::string file(database::indexEntries[row].File);
    if (!startWithPath("xdg-open", base::joinLibraryPath(appSettings.Lib_path, file)))
      reportNotStarted("xdg-open");
    return;
  }
  base::showMessage("Sorry", "seems the helpfile can't be found.");
}

std::string editorMenuText() {
  if (!isUsableEditor(appSettings.CodeEditorPath)) return std::string();
  return "Open code in " + base::fileNamePart(appSettings.CodeEditorPath);
}

}  // namespace services
