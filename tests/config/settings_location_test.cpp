// A shared program folder: each user's settings live in their own configuration folder,
// copied from the program folder's at the first start.
#include "config/settings_location.h"

#include <string>

#include <sys/stat.h>

#include <glib.h>

#include "config/settings_fixture.h"

namespace {

class SettingsLocationTest : public testing_support::SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    g_setenv("XDG_CONFIG_HOME", config.path().c_str(), TRUE);
  }
  void TearDown() override {
    chmod(folder.path().c_str(), 0755);
    g_unsetenv("XDG_CONFIG_HOME");
    SettingsTest::TearDown();
  }
  // The program folder as a system install leaves it: no write bits, which root honours too.
  void shareProgramFolder() {
    chmod(settingsPath().c_str(), 0444);
    chmod(folder.path().c_str(), 0555);
  }
  std::string userSettingsPath() const { return config.path() + "zn-api-viewer/DizerEZ VAV-AruRuvove.ini"; }

  testing_support::TempDir config;
};

TEST_F(SettingsLocationTest, SettingsStayBesideTheProgramWhileTheFolderOrTheFileMayBeWritten) {
  EXPECT_EQ(config::settingsFileFor(folder.path()), settingsPath()) << "writable folder";
  writeSettings("Language=1\n");
  chmod(folder.path().c_str(), 0555);
  EXPECT_EQ(config::settingsFileFor(folder.path()), settingsPath()) << "writable file in a read-only folder";
  shareProgramFolder();
  EXPECT_EQ(config::settingsFileFor(folder.path()), userSettingsPath()) << "neither may be written";
  // The package manager's folders are never written, not even by root.
  EXPECT_EQ(config::settingsFileFor("/usr/lib/"), userSettingsPath());
}

TEST_F(SettingsLocationTest, FirstStartCopiesTheSettingsWithAbsolutePathsAndLaterStartsUseTheCopy) {
  folder.write("ZN-LinuxAPI-Toc.xml", "<toc/>");
  const std::string shipped = written("; Viewer\ndb-path=ZN-LinuxAPI-Toc.xml\nLib-path=\nLanguage=1\n");
  writeSettings(shipped);
  shareProgramFolder();

  config::LocateDatabase();
  EXPECT_TRUE(dialogs.empty());
  EXPECT_EQ(testing_support::readFile(userSettingsPath()),
            written("; Viewer\ndb-path=" + folder.path() + "ZN-LinuxAPI-Toc.xml\nLib-path=" + folder.path() +
                    "\nLanguage=1\n"));
  EXPECT_EQ(base::appState.databasePath, folder.path() + "ZN-LinuxAPI-Toc.xml");
  EXPECT_EQ(appSettings.Lib_path, folder.path());

  appSettings.Language = 2;
  config::SaveSettings();
  resetAppSettings(folder.path());
  config::LocateDatabase();
  EXPECT_EQ(appSettings.Language, 2);
  EXPECT_EQ(settingsBytes(), shipped);
  EXPECT_TRUE(dialogs.empty());
}

TEST_F(SettingsLocationTest, WithoutARoomForTheCopyTheProgramFoldersSettingsAreReadAsTheCopyWouldHoldThem) {
  folder.write("ZN-LinuxAPI-Toc.xml", "<toc/>");
  writeSettings("db-path=ZN-LinuxAPI-Toc.xml\nLanguage=1\n");
  shareProgramFolder();
  g_setenv("XDG_CONFIG_HOME", config.write("not a folder", "").c_str(), TRUE);

  config::LocateDatabase();
  EXPECT_TRUE(dialogs.empty()) << "no database chooser and no failed save";
  EXPECT_EQ(base::appState.databasePath, folder.path() + "ZN-LinuxAPI-Toc.xml");
  EXPECT_EQ(appSettings.Language, 1);
}

}  // namespace
