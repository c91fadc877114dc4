// The Debian package: what it declares, and the program unpacked from it into
// a read-only program folder, where each user's settings live in their own folder.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_window_rules.h"
#include "support/e2e.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::CommandResult;
using testing_support::readFile;
using testing_support::runCommand;
using testing_support::startLimitMs;
using testing_support::stepLimitMs;

const int scriptLimitMs = 120000;
const std::string buildDir = fs::path(ZN_PROGRAM_DIR).parent_path().string();

// Every path below the folder with the bytes of each file, to see that nothing changed.
std::map<std::string, std::string> snapshot(const std::string& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    entries[entry.path().string()] = entry.is_regular_file() ? readFile(entry.path()) : "";
  return entries;
}

// The package, made once from the ready build for all tests.
const std::string& package() {
  static testing_support::TempDir made;
  static const std::string path = [] {
    runCommand({"bash", std::string(ZN_SOURCE_DIR) + "/scripts/make-package.sh", "--build-dir", buildDir,
                "--output-dir", made.path()},
               {}, scriptLimitMs);
    // The folder holds the package alone.
    for (const auto& entry : fs::directory_iterator(made.path())) return entry.path().string();
    return std::string();
  }();
  return path;
}

class PackageE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    deb = package();
    ASSERT_EQ(fs::path(deb).filename().string().rfind("zn-api-viewer_0.25.36_", 0), 0u) << "no package made";
    ASSERT_EQ(runCommand({"dpkg-deb", "-x", deb, root.path()}, {}, scriptLimitMs).status, 0);
  }
  // The unpacked root may have been made read-only; its scratch folder must go all the same.
  void TearDown() override { runCommand({"chmod", "-R", "u+w", root.path()}, {}, scriptLimitMs); }
  std::string field(const std::string& name) {
    return runCommand({"dpkg-deb", "-f", deb, name}, {}, 5000).output;
  }

  std::string deb;
  testing_support::TempDir root;
};

TEST_F(PackageE2e, DeclaresTheLibrariesItLinksAndStartsFromTheMenuByName) {
  for (const char* library : {"libgtk2.0-0", "libexpat1", "libglib2.0-0", "libc6"})
    EXPECT_NE(field("Depends").find(library), std::string::npos) << field("Depends");
  EXPECT_EQ(field("Depends").find("curl"), std::string::npos) << "libcurl is loaded only when used";
  EXPECT_NE(field("Recommends").find("libcurl4"), std::string::npos);
  EXPECT_EQ(fs::read_symlink(root.path() + "usr/bin/zn-api-viewer"), "../lib/zn-api-viewer/zn-api-viewer");
  const std::string entry = readFile(root.path() + "usr/share/applications/zn-api-viewer.desktop");
  EXPECT_NE(entry.find("\nExec=zn-api-viewer %F\n"), std::string::npos) << entry;
}

TEST_F(PackageE2e, ReadOnlyProgramFolderKeepsEachUsersSettingsInTheirConfigFolder) {
  const std::string programFolder = root.path() + "usr/lib/zn-api-viewer/";
  ASSERT_EQ(runCommand({"chmod", "-R", "a-w", root.path() + "usr"}, {}, scriptLimitMs).status, 0);
  const auto before = snapshot(programFolder);
  testing_support::ViewerProcess viewer;
  ASSERT_TRUE(viewer.displayRunning());
  const std::string userSettings =
      viewer.homeFolder() + ".config/zn-api-viewer/" + testing_support::settingsFileName;
  const CommandResult help = runCommand({programFolder + "zn-api-viewer", "--help"},
                                        {"HOME=" + viewer.homeFolder(), "XDG_CONFIG_HOME"}, scriptLimitMs);
  EXPECT_NE(help.output.find("  " + userSettings + "\n"), std::string::npos) << help.output;

  viewer.useProgramFile(root.path() + "usr/bin/zn-api-viewer");
  // A file named relative to the folder the program started in is shown after the start.
  testing_support::writeFile(viewer.workingFolder() + "mine.zn", "Proc Main()\nEndProc\n");
  ASSERT_TRUE(viewer.start({"--sync", "mine.zn"}));
  // The settings copied at the first start still show the about dialog, then the file.
  const std::string about = viewer.waitForWindow("Zarnel-Linux-API-Viewer", startLimitMs);
  ASSERT_FALSE(about.empty()) << "the about dialog did not appear";
  EXPECT_TRUE(viewer.keyUntilHidden(about, "Escape", stepLimitMs));
  const std::string window = viewer.waitForWindow("^Linux ZN-ZID-Idavode-Ruriva ~ mine\\.zn$", stepLimitMs);
  ASSERT_FALSE(window.empty()) << "the main window did not show the file";
  EXPECT_TRUE(viewer.dialogs().empty()) << "asked for a database, or the file was missing";
  EXPECT_NE(readFile(userSettings).find("\nabout=0\n"), std::string::npos) << "no copy at the first start";

  // The settings button, then the settings window's save button.
  const auto geometry = viewer.windowGeometry(window);
  ASSERT_TRUE(geometry.has_value());
  EXPECT_TRUE(viewer.click(window, app::toolButtonPlaces(geometry->width).settingsX + 15, 17));
  const std::string settingsWindow =
      viewer.waitForWindow("^Linux ZN-ZID-Idavode-Ruriva - Settings$", stepLimitMs);
  ASSERT_FALSE(settingsWindow.empty()) << "the settings window did not open";
  EXPECT_TRUE(viewer.click(settingsWindow, 274 + 130, 440 + 18));
  EXPECT_TRUE(viewer.waitUntilHidden(settingsWindow, stepLimitMs));
  EXPECT_TRUE(viewer.keyUntilHidden(window, "Escape", stepLimitMs));
  EXPECT_EQ(viewer.waitForExit(stepLimitMs), 0);

  EXPECT_TRUE(viewer.dialogs().empty()) << viewer.dialogs().front().text;
  const std::string saved = readFile(userSettings);
  EXPECT_NE(saved.find("\ndb-path=" + programFolder + "ZN-LinuxAPI-Toc.xml\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("\nabout=1\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("\nLib-path=" + programFolder + "\n"), std::string::npos) << saved;
  EXPECT_EQ(snapshot(programFolder), before);
}

}  // namespace
