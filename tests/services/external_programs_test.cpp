// The desktop openers, the code editor rule and the help file, with recording programs on PATH.
#include "services/external_programs.h"
#include "services/process_launcher.h"

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

#include <unistd.h>

#include "base/app_state.h"
#include "config/app_settings.h"
#include "database/topic_index.h"
#include "support/recorded_dialogs.h"
#include "support/temp_dir.h"

using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeScript;

namespace {

class ExternalProgramsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    base::resetAppState(dir.path());
    resetAppSettings(dir.path());
    dir.write("bin/.keep", "");
    setenv("PATH", (dir.path() + "bin:/usr/bin:/bin").c_str(), 1);
    dir.write("My Library/Gtk/Some Window.zn", "code\n");
  }
  void TearDown() override {
    setenv("PATH", savedPath_.c_str(), 1);
    database::indexEntries.clear();
  }

  // A program in the fake bin folder that writes each argument on a line of its log, then exits with the
  // status.
  void fake(const std::string& name, int status = 0) {
    writeScript(dir.path() + "bin/" + name, "for a in \"$@\"; do echo \"[$a]\"; done >> '" + log(name) +
                                                ".tmp'\n"
                                                "/bin/mv '" +
                                                log(name) + ".tmp' '" + log(name) + "'\nexit " +
                                                std::to_string(status) + "\n");
  }
  std::string log(const std::string& name) const { return dir.path() + name + ".log"; }
  // Waits for the program's log to appear.
  std::string waitForLog(const std::string& name) {
    for (int i = 0; i < 5000; ++i) {
      if (access(log(name).c_str(), F_OK) == 0) return readFile(log(name));
      usleep(1000);
    }
    return "(no call)";
  }
  bool called(const std::string& name) { return access(log(name).c_str(), F_OK) == 0; }
  // Waits for a marker program started after the one checked, so that a call that did not happen has had its
  // chance.
  void settle() {
    fake("marker");
    services::OpenWithDesktop("/dev/null");  // not a regular file: starts nothing
    ASSERT_TRUE(services::isUsableEditor("marker"));
    appSettings.CodeEditorPath = "marker";
    base::appState.currentCodeFile = "settle";
    services::openCode();
    waitForLog("marker");
  }

  TempDir dir;
  testing_support::RecordedDialogs dialogs;

 private:
  std::string savedPath_;
};

TEST_F(ExternalProgramsTest, OpenWithDesktopPrefersXdgOpenAndPassesThePathAsOneArgument) {
  fake("xdg-open", 1);  // failing inside xdg-open is not noticed
  fake("gnome-open");
  const std::string path = dir.path() + "My Library/Gtk/Some Window.zn";
  EXPECT_TRUE(services::OpenWithDesktop(path));
  EXPECT_EQ("[" + path + "]\n", waitForLog("xdg-open"));
  settle();
  EXPECT_FALSE(called("gnome-open"));
}

TEST_F(ExternalProgramsTest, GnomeOpenIsTheFallbackWhenXdgOpenIsMissing) {
  fake("gnome-open");
  setenv("PATH", (dir.path() + "bin").c_str(), 1);
  const std::string path = dir.path() + "My Library/Gtk/Some Window.zn";
  EXPECT_TRUE(services::OpenWithDesktop(path));
  EXPECT_EQ("[" + path + "]\n", waitForLog("gnome-open"));
}

TEST_F(ExternalProgramsTest, OpenWithDesktopIgnoresFoldersAndMissingFiles) {
  fake("xdg-open");
  EXPECT_FALSE(services::OpenWithDesktop(dir.path()));
  EXPECT_FALSE(services::OpenWithDesktop(dir.path() + "nothing.zn"));
  settle();
  EXPECT_FALSE(called("xdg-open"));
}

TEST_F(ExternalProgramsTest, FolderOpenerTakesTheFieldOrTheProgramFolder) {
  fake("xdg-open");
  services::OpenFolderWithDesktop(dir.path() + "My Library//");
  EXPECT_EQ("[" + dir.path() + "My Library]\n", waitForLog("xdg-open"));
  unlink(log("xdg-open").c_str());
  services::OpenFolderWithDesktop("");
  std::string programFolder = dir.path();
  programFolder.pop_back();
  EXPECT_EQ("[" + programFolder + "]\n", waitForLog("xdg-open"));
}

TEST_F(ExternalProgramsTest, FolderOpenerDoesNothingForRootOrAMissingFolder) {
  fake("xdg-open");
  services::OpenFolderWithDesktop("/");
  services::OpenFolderWithDesktop(dir.path() + "missing/");
  settle();
  EXPECT_FALSE(called("xdg-open"));
}

TEST_F(ExternalProgramsTest, OpenCodeStartsAnEditorFoundInPath) {
  fake("myeditor");
  appSettings.CodeEditorPath = "myeditor";
  appSettings.Lib_path = dir.path() + "My Library/";
  base::appState.currentCodeFile = "/Gtk/Some Window.zn";
  services::openCode();
  EXPECT_EQ("[" + dir.path() + "My Library/Gtk/Some Window.zn]\n", waitForLog("myeditor"));
  EXPECT_EQ("Open code in myeditor", services::editorMenuText());
}

TEST_F(ExternalProgramsTest, OpenCodeWithNothingShownGivesTheEditorTheLibraryFolderOrNoArgument) {
  fake("myeditor");
  appSettings.CodeEditorPath = "myeditor";
  base::appState.currentCodeFile.clear();
  appSettings.Lib_path = dir.path() + "My Library/";
  services::openCode();
  EXPECT_EQ("[" + dir.path() + "My Library/]\n", waitForLog("myeditor"));
  unlink(log("myeditor").c_str());
  appSettings.Lib_path.clear();
  services::openCode();
  EXPECT_EQ("", waitForLog("myeditor")) << "no empty argument";
}

TEST_F(ExternalProgramsTest, OpenCodeWithoutEditorUsesTheDesktop) {
  fake("xdg-open");
  appSettings.Lib_path = dir.path() + "My Library/";
  base::appState.currentCodeFile = "Gtk/Some Window.zn";
  services::openCode();
  EXPECT_EQ("[" + dir.path() + "My Library/Gtk/Some Window.zn]\n", waitForLog("xdg-open"));
  EXPECT_EQ("", services::editorMenuText());
}

TEST_F(ExternalProgramsTest, EditorRuleLooksAtTheOwnerExecuteBitOfTheFileItself) {
  const std::string plain = dir.write("plain.txt", "not a program\n");
  EXPECT_FALSE(services::isUsableEditor(plain));
  EXPECT_TRUE(services::isUsableEditor(dir.path() + "no-such-editor"));
  ASSERT_EQ(0, symlink((dir.path() + "nowhere").c_str(), (dir.path() + "dangling").c_str()));
  EXPECT_TRUE(services::isUsableEditor(dir.path() + "dangling")) << "a link counts as executable";
  EXPECT_FALSE(services::isUsableEditor(""));

  // An editor that cannot be started (not executable, missing, a folder) is named in a message,
  // and so is a missing desktop opener; a missing beep says nothing.
  fake("xdg-open");
  base::appState.currentCodeFile = "My Library/Gtk/Some Window.zn";
  for (const std::string& editor : {plain, dir.path() + "dangling", dir.path()}) {
    appSettings.CodeEditorPath = editor;
    services::openCode();
  }
  settle();
  EXPECT_FALSE(called("xdg-open"));
  setenv("PATH", (dir.path() + "bin").c_str(), 1);
  unlink((dir.path() + "bin/xdg-open").c_str());
  services::OpenFolderWithDesktop("");
  services::startProgram("beep", "", "");
  ASSERT_EQ(4u, dialogs.requests.size());
  EXPECT_EQ("Das Programm '" + plain + "' kann nicht gestartet werden.", dialogs.requests[0].text);
  EXPECT_EQ("Das Programm 'xdg-open' kann nicht gestartet werden.", dialogs.requests[3].text);
}

TEST_F(ExternalProgramsTest, EditHelpFileOpensTheHelpRowOrSaysSorry) {
  fake("xdg-open");
  fake("gnome-open");
  services::editHelpFile();
  ASSERT_EQ(1u, dialogs.requests.size());
  EXPECT_EQ("Sorry", dialogs.requests[0].title);
  EXPECT_EQ("seems the helpfile can't be found.", dialogs.requests[0].text);

  database::indexEntries.resize(3);
  database::indexEntries[2].File = "/Help/ViewerHelp.txt";
  base::appState.helpRow = 2;
  appSettings.Lib_path = "/opt/lib/";
  services::editHelpFile();
  EXPECT_EQ("[/opt/lib/Help/ViewerHelp.txt]\n", waitForLog("xdg-open"));
}

}  // namespace
