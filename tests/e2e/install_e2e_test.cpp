// Installing for a user: the files in place, the menu entry, the installed program
// started through its launcher, re-installing and removing; and the command line.
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "support/e2e.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::CommandResult;
using testing_support::readFile;
using testing_support::runCommand;

const int scriptLimitMs = 120000;
const int windowLimitMs = 20000;
const std::string buildDir = fs::path(ZN_PROGRAM_DIR).parent_path().string();
const std::string installScript = std::string(ZN_SOURCE_DIR) + "/scripts/install.sh";

// Every path below the folder with its content ("dir", or "-> target" for a link),
// with the folder's own path replaced, so that two prefixes compare.
std::map<std::string, std::string> snapshot(const std::string& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    std::string content = entry.is_symlink()     ? "-> " + fs::read_symlink(entry.path()).string()
                          : entry.is_directory() ? "dir"
                                                 : readFile(entry.path().string());
    for (size_t at = content.find(folder); at != std::string::npos; at = content.find(folder, at))
      content.replace(at, folder.size(), "PREFIX/");
    entries[fs::relative(entry.path(), folder).string()] = content;
  }
  return entries;
}

// The key=value lines of a desktop entry.
std::map<std::string, std::string> desktopKeys(const std::string& path) {
  std::map<std::string, std::string> keys;
  std::istringstream lines(readFile(path));
  for (std::string line; std::getline(lines, line);) {
    const size_t equals = line.find('=');
    if (equals != std::string::npos) keys[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return keys;
}

// Width and height from a PNG file's header.
std::pair<int, int> pngSize(const std::string& path) {
  const std::string bytes = readFile(path);
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
  auto number = [&](size_t at) {
    unsigned value = 0;
    for (size_t i = at; i < at + 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return static_cast<int>(value);
  };
  return {number(16), number(20)};
}

// Writes the file, making the folders above it.
void put(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  testing_support::writeFile(path, bytes);
}

class InstallE2e : public ::testing::Test {
 protected:
  // A space in the prefix checks the quoting of the entry's Exec line.
  InstallE2e() : prefix(scratch.path() + "user prefix/") { fs::create_directories(prefix); }

  CommandResult install(const std::vector<std::string>& extra = {}) {
    std::vector<std::string> argv = {"bash", installScript, "--build-dir", buildDir, "--prefix", prefix};
    argv.insert(argv.end(), extra.begin(), extra.end());
    return runCommand(argv, {}, scriptLimitMs);
  }
  CommandResult uninstall() { return install({"--uninstall"}); }

  testing_support::TempDir scratch;
  const std::string prefix;
  const std::string programFolder = prefix + "share/zn-api-viewer/";
  const std::string launcher = prefix + "bin/zn-api-viewer";
  const std::string desktopFile = prefix + "share/applications/zn-api-viewer.desktop";
  const std::string settingsFile = programFolder + testing_support::settingsFileName;
  const std::string databaseFile = programFolder + testing_support::databaseFileName;
};

TEST_F(InstallE2e, PlacesTheProgramFolderLauncherAndIcons) {
  ASSERT_EQ(install().status, 0);

  for (const auto& file : fs::recursive_directory_iterator(std::string(ZN_SOURCE_DIR) + "/sample")) {
    if (!file.is_regular_file()) continue;
    const std::string relative = fs::relative(file.path(), std::string(ZN_SOURCE_DIR) + "/sample").string();
    EXPECT_EQ(readFile(programFolder + relative), readFile(file.path().string())) << relative;
  }
  EXPECT_EQ(access((programFolder + "zn-api-viewer").c_str(), X_OK), 0);
  EXPECT_EQ(fs::canonical(launcher), fs::canonical(programFolder + "zn-api-viewer"));
  // The program writes its settings into its own folder.
  for (const std::string& path : {programFolder, settingsFile})
    EXPECT_TRUE((fs::status(path).permissions() & fs::perms::owner_write) != fs::perms::none) << path;

  const std::string icons = prefix + "share/icons/hicolor/";
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    EXPECT_EQ(pngSize(icons + folder + "/apps/zn-api-viewer.png"), std::make_pair(size, size)) << folder;
  }
  EXPECT_EQ(readFile(icons + "scalable/apps/zn-api-viewer.svg"),
            readFile(std::string(ZN_SOURCE_DIR) + "/src/resources/logo.svg"));
}

TEST_F(InstallE2e, DesktopEntryValidatesAndNamesTheLauncher) {
  ASSERT_EQ(install().status, 0);

  const CommandResult validation = runCommand({"desktop-file-validate", desktopFile}, {}, scriptLimitMs);
  EXPECT_EQ(validation.status, 0);
  EXPECT_EQ(validation.output, "");
  auto keys = desktopKeys(desktopFile);
  EXPECT_EQ(keys["Exec"], "\"" + launcher + "\" %F");
  EXPECT_EQ(keys["MimeType"], "text/x-zarnel;");
  EXPECT_EQ(keys["Icon"], "zn-api-viewer");
  EXPECT_EQ(keys["Categories"], "Development;Documentation;");
  EXPECT_EQ(keys["StartupNotify"], "true");
  for (const char* key : {"Name", "Name[de]", "Name[fr]", "Comment", "Comment[de]", "Comment[fr]"})
    EXPECT_FALSE(keys[key].empty()) << key;
}

TEST_F(InstallE2e, LauncherStartsTheInstalledProgramOnItsSampleLibrary) {
  ASSERT_EQ(install().status, 0);
  testing_support::ViewerProcess viewer;
  ASSERT_TRUE(viewer.displayRunning());
  viewer.useProgramFile(launcher);
  ASSERT_TRUE(viewer.start());

  // The shipped settings show the about dialog first, then the sample library.
  const std::string about = viewer.waitForWindow("Zarnel-Linux-API-Viewer", windowLimitMs);
  ASSERT_FALSE(about.empty()) << "the about dialog did not appear";
  EXPECT_TRUE(viewer.keyUntilHidden(about, "Escape", windowLimitMs));
  const std::string window = viewer.waitForWindow("^Linux ZN-ZID-Idavode-Ruriva( ~ .*)?$", windowLimitMs);
  ASSERT_FALSE(window.empty()) << "the main window did not appear";
  const std::string proc = "/proc/" + std::to_string(viewer.pid());
  EXPECT_EQ(fs::read_symlink(proc + "/cwd"), fs::canonical(programFolder));
  EXPECT_TRUE(viewer.dialogs().empty()) << "the program asked for a database or reported an error";

  // The menu entry's StartupWMClass is the class of the program's window.
  const std::string windowClass = desktopKeys(desktopFile)["StartupWMClass"];
  const CommandResult byClass =
      viewer.xdotool({"search", "--onlyvisible", "--class", "^" + windowClass + "$"});
  EXPECT_NE(byClass.output.find(window), std::string::npos) << "no window of class " << windowClass;
  EXPECT_TRUE(viewer.keyUntilHidden(window, "Escape", windowLimitMs));
  EXPECT_EQ(viewer.waitForExit(windowLimitMs), 0);
}

TEST_F(InstallE2e, ReinstallKeepsTheUsersSettingsAndDatabaseAndRenewsTheRest) {
  ASSERT_EQ(install().status, 0);
  put(settingsFile, "\xEF\xBB\xBF\nLanguage=2\n");
  put(databaseFile, "<changed/>\n");
  const std::string help = programFolder + "ViewerHelp.txt";
  put(help, "damaged");

  ASSERT_EQ(install().status, 0);
  EXPECT_EQ(readFile(settingsFile), "\xEF\xBB\xBF\nLanguage=2\n");
  EXPECT_EQ(readFile(databaseFile), "<changed/>\n");
  EXPECT_EQ(readFile(help), readFile(std::string(ZN_SOURCE_DIR) + "/sample/ViewerHelp.txt"));
}

TEST_F(InstallE2e, UninstallLeavesThePrefixAsItWas) {
  put(prefix + "share/applications/other.desktop", "[Desktop Entry]\n");
  fs::create_directories(prefix + "share/icons/hicolor/48x48/apps");
  put(prefix + "bin/other-tool", "#!/bin/sh\n");
  const auto before = snapshot(prefix);

  ASSERT_EQ(install().status, 0);
  ASSERT_EQ(install().status, 0);
  ASSERT_EQ(uninstall().status, 0);
  EXPECT_EQ(snapshot(prefix), before);
}

TEST_F(InstallE2e, UninstallKeepsWhatTheUserPutIntoTheProgramFolder) {
  // A settings file from before the first install is the user's, not the installer's.
  put(settingsFile, "\xEF\xBB\xBF\nabout=1\n");
  ASSERT_EQ(install().status, 0);
  put(programFolder + "Notes/mine.txt", "mine");

  ASSERT_EQ(uninstall().status, 0);
  EXPECT_EQ(readFile(settingsFile), "\xEF\xBB\xBF\nabout=1\n");
  EXPECT_EQ(readFile(programFolder + "Notes/mine.txt"), "mine");
  EXPECT_FALSE(fs::exists(programFolder + "zn-api-viewer"));
  EXPECT_FALSE(fs::exists(databaseFile));
  EXPECT_FALSE(fs::exists(prefix + "bin"));
}

TEST_F(InstallE2e, CmakeInstallGivesTheSameResult) {
  ASSERT_EQ(install().status, 0);
  testing_support::TempDir other;
  const CommandResult cmake =
      runCommand({"cmake", "--install", buildDir, "--prefix", other.path()}, {}, scriptLimitMs);
  ASSERT_EQ(cmake.status, 0) << cmake.output;
  EXPECT_EQ(snapshot(other.path()), snapshot(prefix));
}

TEST(CommandLineE2e, VersionAndHelpAnswerWithoutADisplay) {
  const std::string binary = ZN_VIEWER_BINARY;
  const std::vector<std::string> noDisplay = {"DISPLAY", "WAYLAND_DISPLAY"};
  const CommandResult version = runCommand({binary, "--version"}, noDisplay, scriptLimitMs);
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.output, "zn-api-viewer 0.25.36\n");

  const CommandResult help = runCommand({binary, "--sync", "--help"}, noDisplay, scriptLimitMs);
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.output.rfind("Usage: zn-api-viewer ", 0), 0u) << help.output;
  const std::string settings =
      fs::canonical(ZN_PROGRAM_DIR).string() + "/" + testing_support::settingsFileName;
  EXPECT_NE(help.output.find("  " + settings + "\n"), std::string::npos) << help.output;
  EXPECT_NE(help.output.find("db-path="), std::string::npos) << help.output;

  // Anything else is the toolkit's, which needs a display.
  EXPECT_NE(runCommand({binary, "--", "--version"}, noDisplay, scriptLimitMs).status, 0);
}

}  // namespace
