// The real program from start to end: the main window, the start-up failures and a crash.
#include <csignal>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/e2e.h"
#include "support/temp_dir.h"

namespace {

using testing_support::mainWindowRegex;
using testing_support::startLimitMs;
using testing_support::stepLimitMs;
using testing_support::ViewerProcess;

const char* const errorTitle = "Linux ZN-ZID-Idavode-Ruriva-Error";
const char* const xmlErrorTitle = "Linux ZN-ZID-Idavode-RurivaError";

std::string exactly(const std::string& title) { return "^" + testing_support::regexEscape(title) + "$"; }

class StartupE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    viewer = std::make_unique<ViewerProcess>();
    ASSERT_TRUE(viewer->displayRunning()) << "Xvfb could not be started";
  }

  void TearDown() override { testing_support::reportFailure(*viewer); }

  // Settings that name the database and skip the first-start about dialog.
  std::string settingsNaming(const std::string& databasePath, int about = 1) {
    return viewer->writeSettings(
        {"db-path=" + databasePath, "Lib-path=" + viewer->programFolder(), "about=" + std::to_string(about)});
  }

  std::string sampleDatabase() { return viewer->programFolder() + testing_support::databaseFileName; }

  // Waits for the message window with this title, presses the key in it and
  // expects the program to end with status 0.
  void answerAndExpectCleanEnd(const std::string& title, const std::string& keysym) {
    const std::string window = viewer->waitForWindow(exactly(title), stepLimitMs);
    ASSERT_FALSE(window.empty()) << "no window titled " << title;
    EXPECT_TRUE(viewer->keyUntilHidden(window, keysym, stepLimitMs));
    EXPECT_EQ(viewer->waitForExit(stepLimitMs), 0);
  }

  std::unique_ptr<ViewerProcess> viewer;
};

TEST_F(StartupE2e, SampleLibraryShowsTheMainWindowAndEscapeEndsIt) {
  viewer->copyProgramFolder();
  const std::string settings = settingsNaming(sampleDatabase());
  const std::string settingsBefore = testing_support::readFile(settings);
  ASSERT_TRUE(viewer->start());

  const std::string window = viewer->waitForWindow(mainWindowRegex, startLimitMs);
  ASSERT_FALSE(window.empty()) << "the main window did not appear";
  EXPECT_TRUE(viewer->keyUntilHidden(window, "Escape", stepLimitMs));
  EXPECT_EQ(viewer->waitForExit(stepLimitMs), 0);

  EXPECT_TRUE(viewer->dialogs().empty()) << viewer->dialogs().front().title;
  // Nothing is saved at the end.
  EXPECT_EQ(testing_support::readFile(settings), settingsBefore);
  EXPECT_EQ(viewer->standardError().find("CRITICAL"), std::string::npos) << viewer->standardError();
}

TEST_F(StartupE2e, ShippedSettingsShowTheAboutDialogFirst) {
  // The shipped settings name the database relative to the program folder and have about=0.
  viewer->copyProgramFolder();
  const std::string settings = viewer->programFolder() + testing_support::settingsFileName;
  const std::string settingsBefore = testing_support::readFile(settings);
  ASSERT_NE(settingsBefore.find("\nabout=0\n"), std::string::npos);
  ASSERT_TRUE(viewer->start());

  const std::string about = viewer->waitForWindow("Zarnel-Linux-API-Viewer", startLimitMs);
  ASSERT_FALSE(about.empty()) << "the about dialog did not appear";
  EXPECT_TRUE(viewer->keyUntilHidden(about, "Escape", stepLimitMs));
  const std::string window = viewer->waitForWindow(mainWindowRegex, stepLimitMs);
  ASSERT_FALSE(window.empty()) << "the main window did not appear after the about dialog";
  EXPECT_TRUE(viewer->keyUntilHidden(window, "Escape", stepLimitMs));
  EXPECT_EQ(viewer->waitForExit(stepLimitMs), 0);
  // "about" becomes 1 in memory only; the file is not written at the end.
  EXPECT_EQ(testing_support::readFile(settings), settingsBefore);
}

TEST_F(StartupE2e, FirstStartProposesTheDatabaseOfTheProgramFolderWithoutAToolkitWarning) {
  viewer->copyProgramFolder();
  const std::string settings = viewer->programFolder() + testing_support::settingsFileName;
  std::filesystem::remove(settings);
  ASSERT_TRUE(viewer->start());

  const std::string chooser =
      viewer->waitForWindow(exactly("Choose database 'ZN-LinuxAPI-Toc.xml' ..."), startLimitMs);
  ASSERT_FALSE(chooser.empty()) << "the database chooser did not appear";
  // The proposed database is selected in its folder, so Return opens it.
  EXPECT_TRUE(viewer->keyUntilHidden(chooser, "Return", stepLimitMs));
  const std::string about = viewer->waitForWindow("Zarnel-Linux-API-Viewer", startLimitMs);
  ASSERT_FALSE(about.empty()) << "the about dialog of the first start did not appear";
  EXPECT_TRUE(viewer->keyUntilHidden(about, "Escape", stepLimitMs));
  const std::string window = viewer->waitForWindow(mainWindowRegex, stepLimitMs);
  ASSERT_FALSE(window.empty()) << "the main window did not appear";
  EXPECT_NE(testing_support::readFile(settings).find("\ndb-path=" + sampleDatabase() + "\n"),
            std::string::npos)
      << testing_support::readFile(settings);
  EXPECT_TRUE(viewer->keyUntilHidden(window, "Escape", stepLimitMs));
  EXPECT_EQ(viewer->waitForExit(stepLimitMs), 0);
  EXPECT_EQ(viewer->standardError(), "");
}

TEST_F(StartupE2e, MalformedDatabaseShowsTheXmlErrorAndEnds) {
  viewer->copyBinaryOnly();
  const std::string database = viewer->writeProgramFile(
      testing_support::databaseFileName, "<?xml version=\"1.0\"?>\n<root label=\"x\">\n  <a></b>\n</root>\n");
  settingsNaming(database);
  ASSERT_TRUE(viewer->start());

  const auto text = viewer->waitForDialog(xmlErrorTitle, startLimitMs);
  ASSERT_TRUE(text.has_value()) << "no XML error was shown";
  EXPECT_EQ(*text, "Error in the XML file:\rMessage: mismatched tag\rLine: 3   Character: 8");
  answerAndExpectCleanEnd(xmlErrorTitle, "Return");
}

TEST_F(StartupE2e, NoSettingsAndCancelledChooserEndsWithoutWritingSettings) {
  viewer->copyBinaryOnly();
  ASSERT_TRUE(viewer->start());

  const std::string chooser =
      viewer->waitForWindow(exactly("Choose database 'ZN-LinuxAPI-Toc.xml' ..."), startLimitMs);
  ASSERT_FALSE(chooser.empty()) << "the database chooser did not appear";
  EXPECT_TRUE(viewer->keyUntilHidden(chooser, "Escape", stepLimitMs));

  const auto text = viewer->waitForDialog(errorTitle, stepLimitMs);
  ASSERT_TRUE(text.has_value()) << "no message after the cancelled chooser";
  EXPECT_EQ(*text, "No database selected. Programm canceled!");
  answerAndExpectCleanEnd(errorTitle, "Return");

  EXPECT_FALSE(std::filesystem::exists(viewer->programFolder() + testing_support::settingsFileName));
  EXPECT_FALSE(std::filesystem::exists(viewer->workingFolder() + testing_support::settingsFileName));
}

TEST_F(StartupE2e, EmptyDatabaseFileCannotBeOpened) {
  viewer->copyBinaryOnly();
  const std::string database = viewer->writeProgramFile(testing_support::databaseFileName, "");
  settingsNaming(database);
  ASSERT_TRUE(viewer->start());

  const auto text = viewer->waitForDialog(errorTitle, startLimitMs);
  ASSERT_TRUE(text.has_value()) << "no message for the empty database";
  EXPECT_EQ(*text, "The database '" + database + "' cannot be opened.");
  answerAndExpectCleanEnd(errorTitle, "Return");
}

TEST_F(StartupE2e, DirectoryInPlaceOfTheDatabaseCannotBeOpened) {
  viewer->copyBinaryOnly();
  // The settings name the program folder; the database name inside it is a folder.
  const std::string database = sampleDatabase();
  std::filesystem::create_directories(database);
  settingsNaming(viewer->programFolder());
  ASSERT_TRUE(viewer->start());

  const auto text = viewer->waitForDialog(errorTitle, startLimitMs);
  ASSERT_TRUE(text.has_value()) << "no message for the folder";
  EXPECT_EQ(*text, "The database '" + database + "' cannot be opened.");
  answerAndExpectCleanEnd(errorTitle, "Return");
}

// A library whose topics (without snippet files) are nested the given number of
// levels deep below one group.
std::string nestedDatabase(int depth) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<toc name=\"Deep\">Deep library of 2026-11-30\n";
  xml += "<group name=\"Tiefe\">\n";
  for (int level = 2; level < depth; ++level) {
    xml += "<t theme_de=\"Ebene " + std::to_string(level) + "\" theme_en=\"Level\" theme_fr=\"Niveau\">\n";
  }
  for (int level = 2; level < depth; ++level) xml += "</t>";
  return xml + "</group></toc>\n";
}

TEST_F(StartupE2e, AThousandLevelsOfTopicsOpenTheWindow) {
  viewer->copyBinaryOnly();
  settingsNaming(viewer->writeProgramFile(testing_support::databaseFileName, nestedDatabase(1000)));
  ASSERT_TRUE(viewer->start());

  const std::string window = viewer->waitForWindow(mainWindowRegex, startLimitMs);
  ASSERT_FALSE(window.empty()) << "the main window did not appear";
  // The deepest topic lies far to the right; the tree scrolls there without trouble.
  ASSERT_TRUE(viewer->click(window, 180, 300));
  ASSERT_TRUE(viewer->key(window, "End"));
  EXPECT_TRUE(viewer->running());
  EXPECT_TRUE(viewer->keyUntilHidden(window, "Escape", stepLimitMs));
  EXPECT_EQ(viewer->waitForExit(stepLimitMs), 0);
  EXPECT_TRUE(viewer->dialogs().empty());
  EXPECT_EQ(viewer->standardError(), "");
}

TEST_F(StartupE2e, ElementsNestedDeeperThanAThousandLevelsAreRefused) {
  viewer->copyBinaryOnly();
  settingsNaming(viewer->writeProgramFile(testing_support::databaseFileName, nestedDatabase(1001)));
  ASSERT_TRUE(viewer->start());

  const auto text = viewer->waitForDialog(xmlErrorTitle, startLimitMs);
  ASSERT_TRUE(text.has_value()) << "no XML error was shown";
  // The 1001st element is the 999th topic, on line 1002 from the first column.
  EXPECT_EQ(
      *text,
      "Error in the XML file:\rMessage: elements nested deeper than 1000 levels\rLine: 1002   Character: 1");
  answerAndExpectCleanEnd(xmlErrorTitle, "Return");
}

TEST_F(StartupE2e, SegmentationViolationIsReportedAndEndsWithStatusZero) {
  viewer->copyProgramFolder();
  settingsNaming(sampleDatabase());
  ASSERT_TRUE(viewer->start());
  ASSERT_FALSE(viewer->waitForWindow(mainWindowRegex, startLimitMs).empty())
      << "the main window did not appear";

  ASSERT_EQ(kill(viewer->pid(), SIGSEGV), 0);
  const auto text = viewer->waitForDialog(errorTitle, stepLimitMs);
  ASSERT_TRUE(text.has_value()) << "no crash report";
  EXPECT_TRUE(std::regex_match(*text, std::regex("A program error was detected:\n\n"
                                                 "Error Message:   Segmentation violation\n"
                                                 "Error Code:      11\n"
                                                 "Sourcecode line: (-1|[0-9]+)\n")))
      << *text;
  answerAndExpectCleanEnd(errorTitle, "Return");
}

TEST(NoDisplayE2e, TheProgramNamesTheDisplayItCouldNotOpenAndEndsWithStatusOne) {
  // Environment, argument, the display named.
  const char* const cases[][3] = {{"DISPLAY", "", "none given (DISPLAY is not set)"},
                                  {"DISPLAY=:9873", "", "\":9873\""},
                                  {"DISPLAY=:9873", "--display=:9874", "\":9874\""}};
  for (const auto& c : cases) {  // standard error alone comes through the pipe, then the status
    const auto result = testing_support::runCommand(
        {"sh", "-c", "\"$0\" $1 2>&1 >/dev/null; echo \"status $?\"", ZN_VIEWER_BINARY, c[1]}, {c[0]},
        stepLimitMs);
    EXPECT_EQ(std::string("zn-api-viewer: cannot open display ") + c[2] + "\nstatus 1\n", result.output)
        << c[1];
  }
}

}  // namespace
