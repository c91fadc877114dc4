// The pieces of the end-to-end harness that need no display: the dialog log,
// title patterns and helper programs.
#include <chrono>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "support/e2e.h"

namespace {

using testing_support::parseDialogLog;

TEST(DialogLog, RecordsKeepTitleAndRestoreLineBreaks) {
  const auto records = parseDialogLog(
      "Linux ZN-ZID-Idavode-RurivaError\tError in the XML file:\\rMessage: x\\rLine: 1\n"
      "Linux ZN-ZID-Idavode-Ruriva\tFile type 'txt' not supported!\\nNot loaded!\n");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].title, "Linux ZN-ZID-Idavode-RurivaError");
  EXPECT_EQ(records[0].text, "Error in the XML file:\rMessage: x\rLine: 1");
  EXPECT_EQ(records[1].title, "Linux ZN-ZID-Idavode-Ruriva");
  EXPECT_EQ(records[1].text, "File type 'txt' not supported!\nNot loaded!");
}

TEST(DialogLog, EmptyTitleTabsInTextAndOtherBackslashesSurvive) {
  const auto records = parseDialogLog("\tLanguage-File not found!\nT\ta\tb C:\\x\\\n");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].title, "");
  EXPECT_EQ(records[0].text, "Language-File not found!");
  EXPECT_EQ(records[1].text, "a\tb C:\\x\\");
}

TEST(DialogLog, LineStillBeingWrittenIsNotYetARecord) {
  EXPECT_TRUE(parseDialogLog("").empty());
  EXPECT_TRUE(parseDialogLog("Title\tpart of a te").empty());
  EXPECT_EQ(parseDialogLog("A\tone\nB\ttw").size(), 1u);
}

TEST(WindowPattern, EscapedTitleMatchesOnlyItself) {
  const std::string title = "Choose database 'ZN-LinuxAPI-Toc.xml' ...";
  const std::regex pattern("^" + testing_support::regexEscape(title) + "$", std::regex::extended);
  EXPECT_TRUE(std::regex_search(title, pattern));
  EXPECT_FALSE(std::regex_search("Choose database 'ZN-LinuxAPI-TocXxml' abc", pattern));
  EXPECT_EQ(testing_support::regexEscape("a(b)[c]{d}*+?|^$\\."),
            "a\\(b\\)\\[c\\]\\{d\\}\\*\\+\\?\\|\\^\\$\\\\\\.");
}

TEST(HelperProgram, OutputStatusAndEnvironment) {
  const auto result = testing_support::runCommand({"sh", "-c", "printf '%s' \"$ZN_HARNESS_PROBE\"; exit 3"},
                                                  {"ZN_HARNESS_PROBE=seen"}, 10000);
  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.output, "seen");
}

TEST(HelperProgram, HangingProgramIsKilledAtTheTimeLimit) {
  const auto begin = std::chrono::steady_clock::now();
  const auto result = testing_support::runCommand({"sh", "-c", "exec sleep 60"}, {}, 300);
  EXPECT_EQ(result.status, -1);
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(30));
}

TEST(HelperProgram, MissingProgramDoesNotSucceed) {
  EXPECT_NE(testing_support::runCommand({"zn-no-such-program-here"}, {}, 10000).status, 0);
}

}  // namespace
