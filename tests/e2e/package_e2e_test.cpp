// The Debian package: what it holds and declares, and the program unpacked from it into
// a read-only program folder, where each user's settings live in their own folder.
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "app/main_layout.h"
#include "support/e2e.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::CommandResult;
using testing_support::readFile;
using testing_support::runCommand;

const int scriptLimitMs = 120000;
const std::string buildDir = fs::path(ZN_PROGRAM_DIR).parent_path().string();

// Every file below the folder with its bytes and mode, to see that nothing changed.
std::map<std::string, std::string> snapshot(const std::string& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    struct stat info;
    lstat(entry.path().c_str(), &info);
    const std::string bytes = entry.is_regular_file() && !entry.is_symlink() ? readFile(entry.path()) : "";
    entries[entry.path().string()] = std::to_string(info.st_mode) + ":" + bytes;
  }
  return entries;
}

class PackageE2e : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    made = new testing_support::TempDir();
    const CommandResult make = runCommand({"bash", std::string(ZN_SOURCE_DIR) + "/scripts/make-package.sh",
                                           "--build-dir", buildDir, "--output-dir", made->path()},
                                          {}, scriptLimitMs);
    for (const auto& entry : fs::directory_iterator(made->path()))
      if (entry.path().extension() == ".deb") package = entry.path().string();
    makeOutput = make.output;
  }
  static void TearDownTestSuite() {
    delete made;
    made = nullptr;
  }
  void SetUp() override { ASSERT_FALSE(package.empty()) << "no package was made:\n" << makeOutput; }
  // The unpacked root may have been made read-only; its scratch folder must go all the same.
  void TearDown() override { runCommand({"chmod", "-R", "u+w", root.path()}, {}, scriptLimitMs); }

  // Unpacks the package below a fresh root, as dpkg places it.
  std::string unpack() {
    EXPECT_EQ(runCommand({"dpkg-deb", "-x", package, root.path()}, {}, scriptLimitMs).status, 0);
    return root.path();
  }
  std::string field(const std::string& name) {
    return runCommand({"dpkg-deb", "-f", package, name}, {}, scriptLimitMs).output;
  }

  static testing_support::TempDir* made;
  static std::string package;
  static std::string makeOutput;
  testing_support::TempDir root;
};

testing_support::TempDir* PackageE2e::made = nullptr;
std::string PackageE2e::package;
std::string PackageE2e::makeOutput;

TEST_F(PackageE2e, HoldsTheProgramForEveryUserAndDeclaresWhatItNeeds) {
  EXPECT_EQ(fs::path(package).filename().string().rfind("zn-api-viewer_0.25.36_", 0), 0u) << package;
  for (const char* library : {"libgtk2.0-0", "libexpat1", "libglib2.0-0", "libc6"})
    EXPECT_NE(field("Depends").find(library), std::string::npos) << field("Depends");
  EXPECT_EQ(field("Depends").find("curl"), std::string::npos) << "libcurl is loaded only when used";
  EXPECT_NE(field("Recommends").find("libcurl4"), std::string::npos);

  const std::string usr = unpack() + "usr/";
  EXPECT_EQ(fs::read_symlink(usr + "bin/zn-api-viewer"), "../lib/zn-api-viewer/zn-api-viewer");
  for (const char* file :
       {"lib/zn-api-viewer/ZN-LinuxAPI-Toc.xml", "lib/zn-api-viewer/DizerEZ API-LibLang.inf",
        "lib/zn-api-viewer/DizerEZ VAV-AruRuvove.ini", "lib/zn-api-viewer/Gtk",
        "share/icons/hicolor/48x48/apps/zn-api-viewer.png",
        "share/icons/hicolor/scalable/mimetypes/text-x-zarnel.svg", "share/mime/packages/zn-api-viewer.xml",
        "share/man/man1/zn-api-viewer.1.gz", "share/doc/zn-api-viewer/copyright"})
    EXPECT_TRUE(fs::exists(usr + file)) << file;
  const std::string entry = readFile(usr + "share/applications/zn-api-viewer.desktop");
  EXPECT_NE(entry.find("\nExec=zn-api-viewer %F\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("\nMimeType=text/x-zarnel;\n"), std::string::npos) << entry;

  const std::string metainfo = usr + "share/metainfo/org.zarnel.apiviewer.metainfo.xml";
  EXPECT_EQ(runCommand({"appstreamcli", "validate", "--no-net", metainfo}, {}, scriptLimitMs).status, 0);
  const CommandResult entryCheck = runCommand(
      {"desktop-file-validate", usr + "share/applications/zn-api-viewer.desktop"}, {}, scriptLimitMs);
  EXPECT_EQ(entryCheck.status, 0);
  EXPECT_EQ(entryCheck.output, "");
}

TEST_F(PackageE2e, ReadOnlyProgramFolderKeepsEachUsersSettingsInTheirConfigFolder) {
  const std::string programFolder = unpack() + "usr/lib/zn-api-viewer/";
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
  ASSERT_TRUE(viewer.start());
  // The settings copied at the first start still show the about dialog, then the library.
  const std::string about = viewer.waitForWindow("Zarnel-Linux-API-Viewer", testing_support::startLimitMs);
  ASSERT_FALSE(about.empty()) << "the about dialog did not appear";
  EXPECT_TRUE(viewer.keyUntilHidden(about, "Escape", testing_support::stepLimitMs));
  const std::string window =
      viewer.waitForWindow(testing_support::mainWindowRegex, testing_support::stepLimitMs);
  ASSERT_FALSE(window.empty()) << "the main window did not appear";
  EXPECT_TRUE(viewer.dialogs().empty()) << "asked for a database or reported a failure";
  const std::string copied = readFile(userSettings);
  EXPECT_NE(copied.find("\ndb-path=" + programFolder + "ZN-LinuxAPI-Toc.xml\n"), std::string::npos) << copied;
  EXPECT_NE(copied.find("\nLib-path=" + programFolder + "\n"), std::string::npos) << copied;
  EXPECT_NE(copied.find("\nabout=0\n"), std::string::npos) << copied;

  // The settings button, then the settings window's save button.
  const auto geometry = viewer.windowGeometry(window);
  ASSERT_TRUE(geometry.has_value());
  EXPECT_TRUE(viewer.click(window, app::toolButtonPlaces(geometry->width).settingsX + 15, 17));
  const std::string settingsWindow =
      viewer.waitForWindow("^Linux ZN-ZID-Idavode-Ruriva - Settings$", testing_support::stepLimitMs);
  ASSERT_FALSE(settingsWindow.empty()) << "the settings window did not open";
  EXPECT_TRUE(viewer.click(settingsWindow, 274 + 130, 440 + 18));
  EXPECT_TRUE(viewer.waitUntilHidden(settingsWindow, testing_support::stepLimitMs));
  EXPECT_TRUE(viewer.keyUntilHidden(window, "Escape", testing_support::stepLimitMs));
  EXPECT_EQ(viewer.waitForExit(testing_support::stepLimitMs), 0);

  EXPECT_TRUE(viewer.dialogs().empty()) << viewer.dialogs().front().text;
  const std::string saved = readFile(userSettings);
  EXPECT_NE(saved.find("\nabout=1\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("\nLib-path=" + programFolder + "\n"), std::string::npos) << saved;
  EXPECT_EQ(snapshot(programFolder), before);
}

}  // namespace
