// Reading the settings file into the settings record, with its corrections.
#include "config/settings_fixture.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <glib.h>

#include "support/unprivileged.h"

namespace {

using LoadSettingsTest = testing_support::SettingsTest;

bool isValidUtf8(const std::string& text) {
  return g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr);
}

TEST_F(LoadSettingsTest, StartValuesAreTheDefaultsWithBothPathsInTheProgramFolder) {
  resetAppSettings("/program/");
  EXPECT_EQ(appSettings.Lib_path, "/program/");
  EXPECT_EQ(appSettings.db_path, "/program/");
  EXPECT_EQ(appSettings.FontName, "Monospace");
  EXPECT_EQ(appSettings.CodeEditorPath, "");
  const std::vector<std::pair<const char*, std::int64_t>> numbers = {
      {"about", appSettings.about},
      {"Language", appSettings.Language},
      {"SearchHint", appSettings.SearchHint},
      {"SearchMode", appSettings.SearchMode},
      {"CodeMarks", appSettings.CodeMarks},
      {"FontSize", appSettings.FontSize},
      {"SavePaths", appSettings.SavePaths},
      {"SourceInTitle", appSettings.SourceInTitle},
      {"SaveWinSetting", appSettings.SaveWinSetting},
      {"DyeingNews", appSettings.DyeingNews},
      {"WinX", appSettings.WinX},
      {"WinY", appSettings.WinY},
      {"WinWidth", appSettings.WinWidth},
      {"WinHight", appSettings.WinHight},
      {"Splitter", appSettings.Splitter}};
  const std::vector<std::int64_t> expected = {0, 0, 0, 0, 0, 10, 1, 1, 0, 1, -1, -1, 800, 600, 345};
  for (std::size_t i = 0; i < numbers.size(); ++i)
    EXPECT_EQ(numbers[i].second, expected[i]) << numbers[i].first;
}

TEST_F(LoadSettingsTest, MissingFileReturnsFalseAndChangesNothing) {
  appSettings.Lib_path = "/lib/";
  appSettings.Splitter = 500;
  EXPECT_FALSE(config::LoadSettings());
  EXPECT_EQ(appSettings.Lib_path, "/lib/");
  EXPECT_EQ(appSettings.Splitter, 500);
}

TEST_F(LoadSettingsTest, FolderInPlaceOfTheFileCountsAsMissing) {
  ASSERT_EQ(mkdir(settingsPath().c_str(), 0755), 0);
  EXPECT_FALSE(config::LoadSettings());
}

TEST_F(LoadSettingsTest, ReadsEveryKeyIntoItsField) {
  writeSettings(written(
      "db-path=/db/Toc.xml\nLib-path=/lib/\nabout=1\nLanguage=2\nSearchHint=1\nSearchMode=2\nCodeMarks=1\n"
      "FontName=Courier\nFontSize=12\nSavePaths=0\nSourceInTitle=2\nSaveWinSetting=1\nDyeingNews=0\n"
      "CodeEditorPath=/usr/bin/gedit\nWinX=10\nWinY=20\nWinWidth=700\nWinHight=500\nSplitter=200\n"));
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.db_path, "/db/Toc.xml");
  EXPECT_EQ(appSettings.Lib_path, "/lib/");
  EXPECT_EQ(appSettings.about, 1);
  EXPECT_EQ(appSettings.Language, 2);
  EXPECT_EQ(appSettings.SearchHint, 1);
  EXPECT_EQ(appSettings.SearchMode, 2);
  EXPECT_EQ(appSettings.CodeMarks, 1);
  EXPECT_EQ(appSettings.FontName, "Courier");
  EXPECT_EQ(appSettings.FontSize, 12);
  EXPECT_EQ(appSettings.SavePaths, 0);
  EXPECT_EQ(appSettings.SourceInTitle, 2);
  EXPECT_EQ(appSettings.SaveWinSetting, 1);
  EXPECT_EQ(appSettings.DyeingNews, 0);
  EXPECT_EQ(appSettings.CodeEditorPath, "/usr/bin/gedit");
  EXPECT_EQ(appSettings.WinX, 10);
  EXPECT_EQ(appSettings.WinY, 20);
  EXPECT_EQ(appSettings.WinWidth, 700);
  EXPECT_EQ(appSettings.WinHight, 500);
  EXPECT_EQ(appSettings.Splitter, 200);
}

TEST_F(LoadSettingsTest, MissingKeysKeepTheCurrentValuesExceptLibPathAndSplitter) {
  appSettings.CodeMarks = 2;
  appSettings.CodeEditorPath = "/bin/vi";
  appSettings.Splitter = 500;
  writeSettings(written("Language=1\n"));
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.Language, 1);
  EXPECT_EQ(appSettings.CodeMarks, 2);
  EXPECT_EQ(appSettings.CodeEditorPath, "/bin/vi");
  EXPECT_EQ(appSettings.db_path, folder.path());
  EXPECT_EQ(appSettings.Lib_path, "");
  EXPECT_EQ(appSettings.Splitter, 345);
}

TEST_F(LoadSettingsTest, EmptyValuesGiveEmptyTextAndZero) {
  appSettings.CodeEditorPath = "/bin/vi";
  writeSettings(written("CodeEditorPath=\nDyeingNews=\n"));
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.CodeEditorPath, "");
  EXPECT_EQ(appSettings.DyeingNews, 0);
}

TEST_F(LoadSettingsTest, IndentedLowerCaseKeyWithBlanksAroundTheEqualsSign) {
  writeSettings("  \tfontname \t=  Courier New \n");
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.FontName, "Courier New ");
}

TEST_F(LoadSettingsTest, Latin1ByteWithoutMarkIsReadAsUnicode) {
  writeSettings("FontName=B\xE4r Sans\r\n");
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.FontName, "B\xC3\xA4r Sans");
}

TEST_F(LoadSettingsTest, NumbersTakeTheLeadingDigitsOnly) {
  writeSettings("Language=  -12abc\nSearchMode=abc\nCodeMarks=7 (blue)\n");
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.Language, -12);
  EXPECT_EQ(appSettings.SearchMode, 0);
  EXPECT_EQ(appSettings.CodeMarks, 7);
}

TEST_F(LoadSettingsTest, KeysAfterAGroupLineAreIgnored) {
  writeSettings("Language=1\n[Other]\nLanguage=2\nCodeMarks=2\n");
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.Language, 1);
  EXPECT_EQ(appSettings.CodeMarks, 0);
}

TEST_F(LoadSettingsTest, FirstOccurrenceWins) {
  writeSettings("FontName=First\nFONTNAME=Second\n");
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.FontName, "First");
}

TEST_F(LoadSettingsTest, FontSizeIsClampedToSixThroughTwentyFour) {
  const std::vector<std::pair<std::string, std::int64_t>> cases = {
      {"40", 24}, {"3", 6}, {"x", 6}, {"-8", 6}, {"6", 6}, {"24", 24}, {"99999999999999999999", 24}};
  for (const auto& [stored, loaded] : cases) {
    SCOPED_TRACE(stored);
    writeSettings("FontSize=" + stored + "\n");
    EXPECT_TRUE(config::LoadSettings());
    EXPECT_EQ(appSettings.FontSize, loaded);
  }
}

TEST_F(LoadSettingsTest, WindowXBelowMinusOneBecomesZeroButYIsNotCorrected) {
  writeSettings("WinX=-5\nWinY=-5\n");
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.WinX, 0);
  EXPECT_EQ(appSettings.WinY, -5);
  writeSettings("WinX=-1\nWinY=-1\n");
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.WinX, -1);
  EXPECT_EQ(appSettings.WinY, -1);
}

TEST_F(LoadSettingsTest, WindowSizeStaysFiftyPixelsInsideThePrimaryMonitor) {
  config::setScreenLimits({1920, 1080});
  writeSettings("WinWidth=5000\nWinHight=5000\n");
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.WinWidth, 1870);
  EXPECT_EQ(appSettings.WinHight, 1030);
  writeSettings("WinWidth=1000\nWinHight=700\n");
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.WinWidth, 1000);
  EXPECT_EQ(appSettings.WinHight, 700);
}

TEST_F(LoadSettingsTest, MissingWindowSizeIsClampedToo) {
  config::setScreenLimits({640, 480});
  writeSettings("Language=0\n");
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.WinWidth, 590);
  EXPECT_EQ(appSettings.WinHight, 430);
}

TEST_F(LoadSettingsTest, UnknownMonitorSetsNoLimit) {
  writeSettings("WinWidth=5000\nWinHight=4000\n");
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.WinWidth, 5000);
  EXPECT_EQ(appSettings.WinHight, 4000);
}

TEST_F(LoadSettingsTest, CodeFontIsRecreatedOnlyWhenNameOrSizeChange) {
  std::vector<std::pair<std::string, std::int64_t>> loads;
  config::setCodeFontLoader([&loads](const std::string& name, std::int64_t size) {
    loads.emplace_back(name, size);
    return true;
  });
  writeSettings("FontName=Monospace\nFontSize=10\n");
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_TRUE(loads.empty());
  writeSettings("FontName=Courier\nFontSize=40\n");
  EXPECT_TRUE(config::LoadSettings());
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0], std::make_pair(std::string("Courier"), std::int64_t(24)));
}

TEST_F(LoadSettingsTest, FontThatCannotBeMadeFallsBackToMonospaceTen) {
  std::vector<std::pair<std::string, std::int64_t>> loads;
  config::setCodeFontLoader([&loads](const std::string& name, std::int64_t size) {
    loads.emplace_back(name, size);
    return name != "No Such Font";
  });
  writeSettings("FontName=No Such Font\nFontSize=14\n");
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.FontName, "Monospace");
  EXPECT_EQ(appSettings.FontSize, 10);
  ASSERT_EQ(loads.size(), 2u);
  EXPECT_EQ(loads[1], std::make_pair(std::string("Monospace"), std::int64_t(10)));
}

TEST_F(LoadSettingsTest, WithoutALoaderEveryFontIsAccepted) {
  writeSettings("FontName=Anything\nFontSize=13\n");
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.FontName, "Anything");
  EXPECT_EQ(appSettings.FontSize, 13);
}

TEST_F(LoadSettingsTest, BinaryBytesYieldValidTextsAndNoCrash) {
  std::string bytes = "FontName=";
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  bytes += "\nCodeEditorPath=a";
  bytes += '\0';
  bytes += "b\xFF\n";
  writeSettings(bytes);
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_TRUE(isValidUtf8(appSettings.FontName));
  EXPECT_EQ(appSettings.CodeEditorPath,
            "a\xEF\xBF\xBD"
            "b\xC3\xBF");

  writeSettings(written("FontName=\xC0\x80\xED\xA0\x80ok\n"));
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_TRUE(isValidUtf8(appSettings.FontName));
  EXPECT_NE(appSettings.FontName.find("ok"), std::string::npos);
}

TEST_F(LoadSettingsTest, AMegabyteLineIsReadWhole) {
  const std::string editor = "/" + std::string(1 << 20, 'e');
  writeSettings("CodeEditorPath=" + editor + "\nLanguage=2");
  EXPECT_TRUE(config::LoadSettings());
  EXPECT_EQ(appSettings.CodeEditorPath, editor);
  EXPECT_EQ(appSettings.Language, 2);
}

TEST_F(LoadSettingsTest, UnreadableFileStillCountsAsPresentWithDefaults) {
  writeSettings("Language=2\nLib-path=/lib/\n");
  testing_support::runUnprivileged({folder.path()}, [&] {
    ASSERT_EQ(chmod(settingsPath().c_str(), 0), 0);
    ASSERT_NE(access(settingsPath().c_str(), R_OK), 0);
    appSettings.Splitter = 500;
    EXPECT_TRUE(config::LoadSettings());
    EXPECT_EQ(appSettings.Language, 0);
    EXPECT_EQ(appSettings.Lib_path, "");
    EXPECT_EQ(appSettings.Splitter, 345);
  });
}

}  // namespace
