// Choosing the database file at start-up from the settings file or by asking the user.
#include "config/settings_fixture.h"

#include <string>

#include <sys/stat.h>

namespace {

using LocateDatabaseTest = testing_support::SettingsTest;

std::string replacedAll(std::string text, const std::string& placeholder, const std::string& value) {
  std::size_t at = 0;
  while ((at = text.find(placeholder, at)) != std::string::npos) {
    text.replace(at, placeholder.size(), value);
    at += value.size();
  }
  return text;
}

bool fileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

void expectDatabaseChooser(const base::DialogRequest& request, const std::string& fileName) {
  EXPECT_EQ(request.kind, base::DialogKind::OpenFile);
  EXPECT_EQ(request.title, "Choose database '" + fileName + "' ...");
  EXPECT_EQ(request.text, fileName);
  EXPECT_EQ(request.filterName, "XML files (*.xml)");
  EXPECT_EQ(request.filterPattern, "*.xml");
}

TEST_F(LocateDatabaseTest, StoredFileIsUsedAndNothingIsSaved) {
  const std::string database = folder.write("data/Other-Toc.xml", "<toc/>");
  const std::string original = "db-path=" + database + "\r\nLanguage=1";
  writeSettings(original);
  config::LocateDatabase();
  EXPECT_TRUE(dialogs.empty());
  EXPECT_EQ(base::appState.databasePath, database);
  EXPECT_EQ(base::appState.databaseFileName, "Other-Toc.xml");
  EXPECT_EQ(appSettings.db_path, folder.path() + "data/");
  EXPECT_EQ(settingsBytes(), original);
}

TEST_F(LocateDatabaseTest, StoredFolderGetsTheDefaultFileNameAndIsSaved) {
  folder.write("data/ZN-LinuxAPI-Toc.xml", "<toc/>");
  writeSettings("db-path=" + folder.path() + "data/\n");
  config::LocateDatabase();
  EXPECT_TRUE(dialogs.empty());
  EXPECT_EQ(base::appState.databasePath, folder.path() + "data/ZN-LinuxAPI-Toc.xml");
  EXPECT_EQ(base::appState.databaseFileName, "ZN-LinuxAPI-Toc.xml");
  EXPECT_EQ(appSettings.db_path, folder.path() + "data/");
  EXPECT_EQ(settingsBytes().find(written("db-path=" + folder.path() + "data/ZN-LinuxAPI-Toc.xml\n")), 0u);
}

TEST_F(LocateDatabaseTest, StoredFolderWithoutSlashGluesTheFileNameToIt) {
  folder.write("data/keep", "");
  writeSettings("db-path=" + folder.path() + "data\n");
  config::LocateDatabase();
  EXPECT_EQ(base::appState.databasePath, folder.path() + "dataZN-LinuxAPI-Toc.xml");
  EXPECT_NE(settingsBytes().find("db-path=" + folder.path() + "dataZN-LinuxAPI-Toc.xml\n"),
            std::string::npos);
}

TEST_F(LocateDatabaseTest, MissingPathKeysUseTheProgramFolderAndAreSavedAtOnce) {
  writeSettings("Language=2\n");
  config::LocateDatabase();
  EXPECT_TRUE(dialogs.empty());
  EXPECT_EQ(base::appState.databasePath, folder.path() + "ZN-LinuxAPI-Toc.xml");
  EXPECT_EQ(appSettings.Lib_path, "");
  EXPECT_EQ(settingsBytes(),
            written("Language=2\ndb-path=" + folder.path() +
                    "ZN-LinuxAPI-Toc.xml\nLib-path=\nabout=0\nSearchHint=0\nSearchMode=0\n"
                    "CodeMarks=0\nFontName=Monospace\nFontSize=10\nSavePaths=1\nSourceInTitle=1\n"
                    "SaveWinSetting=0\nDyeingNews=1\nCodeEditorPath=\n"));
}

TEST_F(LocateDatabaseTest, VanishedPathAsksForTheFileAndSavesTheChoice) {
  const std::string chosen = folder.write("new place/My-Toc.xml", "<toc/>");
  writeSettings("db-path=/no/such/place/ZN-LinuxAPI-Toc.xml\n");
  answers.push_back(chosen);
  config::LocateDatabase();
  ASSERT_EQ(dialogs.size(), 1u);
  expectDatabaseChooser(dialogs[0], "ZN-LinuxAPI-Toc.xml");
  EXPECT_EQ(base::appState.databasePath, chosen);
  EXPECT_EQ(base::appState.databaseFileName, "My-Toc.xml");
  EXPECT_EQ(appSettings.db_path, folder.path() + "new place/");
  EXPECT_EQ(settingsBytes().find(written("db-path=" + chosen + "\n")), 0u);
}

TEST_F(LocateDatabaseTest, VanishedPathWithTheChooserCancelledStillSaves) {
  writeSettings("db-path=/no/such/place/ZN-LinuxAPI-Toc.xml\nLanguage=1\n");
  config::LocateDatabase();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(base::appState.databasePath, "");
  EXPECT_EQ(base::appState.databaseFileName, "");
  EXPECT_EQ(appSettings.db_path, "");
  EXPECT_EQ(settingsBytes().find(written("db-path=\nLanguage=1\n")), 0u);
}

TEST_F(LocateDatabaseTest, EmptyStoredPathNamesNothing) {
  writeSettings("db-path=\n");
  config::LocateDatabase();
  EXPECT_EQ(dialogs.size(), 1u);
}

TEST_F(LocateDatabaseTest, NoSettingsFileAndCancelledWritesNothing) {
  config::LocateDatabase();
  ASSERT_EQ(dialogs.size(), 1u);
  expectDatabaseChooser(dialogs[0], "ZN-LinuxAPI-Toc.xml");
  EXPECT_EQ(base::appState.databasePath, "");
  EXPECT_FALSE(fileExists(settingsPath()));
}

TEST_F(LocateDatabaseTest, NoSettingsFileAndAChosenDatabaseCreatesTheFile) {
  const std::string chosen = folder.write("data/My-Toc.xml", "<toc/>");
  answers.push_back(chosen);
  config::LocateDatabase();
  EXPECT_EQ(base::appState.databasePath, chosen);
  EXPECT_EQ(base::appState.databaseFileName, "My-Toc.xml");
  EXPECT_EQ(appSettings.db_path, folder.path() + "data/");
  const std::string golden =
      testing_support::readFile(std::string(ZN_SOURCE_DIR) + "/tests/config/golden/created_settings.ini");
  ASSERT_FALSE(golden.empty());
  EXPECT_EQ(settingsBytes(), replacedAll(golden, "@FOLDER@", folder.path()));
  EXPECT_EQ(dialogs.size(), 1u);
}

TEST_F(LocateDatabaseTest, FolderInPlaceOfTheSettingsFileAsksAndReportsTheFailedSave) {
  ASSERT_EQ(mkdir(settingsPath().c_str(), 0755), 0);
  const std::string chosen = folder.write("data/My-Toc.xml", "<toc/>");
  answers.push_back(chosen);
  config::LocateDatabase();
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[1].text, "*.ini-file couldn't be updatet!");
  EXPECT_EQ(base::appState.databasePath, chosen);
}

}  // namespace
