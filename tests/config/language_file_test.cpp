// The language file format, the lookup of texts and the message for a missing file.
#include "config/language_file.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <glib.h>

#include "base/app_state.h"
#include "base/dialogs.h"
#include "support/temp_dir.h"

namespace {

using config::LanguageEntry;
using config::LanguageTable;
using config::LanguageText;

LanguageTable parsed(const std::string& bytes) {
  LanguageTable table;
  config::readLanguageText(bytes, table);
  return table;
}

// A program folder of its own, an empty table and recorded messages.
class LanguageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base::resetAppState(folder.path());
    config::clearLanguageTable();
    const char* lang = std::getenv("LANG");
    hadLang_ = lang != nullptr;
    if (lang) savedLang_ = lang;
    previous_ = base::setDialogHandler([this](const base::DialogRequest& request) {
      messages.push_back(request);
      return std::string();
    });
  }

  void TearDown() override {
    base::setDialogHandler(previous_);
    config::clearLanguageTable();
    if (hadLang_)
      setenv("LANG", savedLang_.c_str(), 1);
    else
      unsetenv("LANG");
  }

  void writeLanguageFile(const std::string& bytes) { folder.write("DizerEZ API-LibLang.inf", bytes); }

  testing_support::TempDir folder;
  std::vector<base::DialogRequest> messages;

 private:
  base::DialogHandler previous_;
  bool hadLang_ = false;
  std::string savedLang_;
};

const char* const twoBlocks =
    "; header\n"
    "Key = #Ignored\nde = before the section\nen = x\nfr = y\n"
    "[LanguageItems]\n"
    "Key = #Cnf_Apply\nde = Übernehmen\nen = Apply\nfr = Appliquer\n"
    "[Tooltips]\n"
    "Key = #Cnf_Apply\nde = Tipp\nen = Tip\nfr = Astuce\n";

TEST(LanguageFileFormat, BlocksAfterTheSectionLineWithBlanksAroundTheEqualsSign) {
  const LanguageTable table = parsed(
      "free text before the section\n"
      "   [LanguageItems]\n"
      "Key=#A\nde=eins\nen=one\nfr=un\n"
      "\n"
      "a line of free text between blocks\n"
      "   Key   =   #B\n  de  =  zwei  \n en =two\nfr=   deux\n");
  ASSERT_EQ(2u, table.size());
  EXPECT_EQ("eins", table.at("#A").de);
  EXPECT_EQ("one", table.at("#A").en);
  EXPECT_EQ("un", table.at("#A").fr);
  // Leading blanks of the line and of the value go, trailing blanks of the value stay.
  EXPECT_EQ("zwei  ", table.at("#B").de);
  EXPECT_EQ("two", table.at("#B").en);
  EXPECT_EQ("deux", table.at("#B").fr);
}

TEST(LanguageFileFormat, OnlyTheExactSectionLineStartsTheBlocks) {
  EXPECT_TRUE(parsed("[LanguageItems] \nKey = #A\nde = a\nen = b\nfr = c\n").empty());
  EXPECT_TRUE(parsed("[languageitems]\nKey = #A\nde = a\nen = b\nfr = c\n").empty());
  EXPECT_TRUE(parsed("Key = #A\nde = a\nen = b\nfr = c\n").empty());
}

TEST(LanguageFileFormat, TabsAreNotBlanks) {
  const LanguageTable table = parsed(
      "[LanguageItems]\n"
      "\tKey = #Tabbed\nde = a\nen = b\nfr = c\n"
      "Key\t= #NameWithTab\nde = a\nen = b\nfr = c\n"
      "Key = #List\nde = \tzwei\tdrei\nen =\t\tthree\nfr = un\t\n");
  EXPECT_EQ(0u, table.count("#Tabbed"));
  EXPECT_EQ(0u, table.count("#NameWithTab"));
  EXPECT_EQ("\tzwei\tdrei", table.at("#List").de);
  EXPECT_EQ("\t\tthree", table.at("#List").en);
  EXPECT_EQ("un\t", table.at("#List").fr);
}

TEST(LanguageFileFormat, AValueKeepsEverythingAfterTheFirstEqualsSign) {
  const LanguageTable table = parsed("[LanguageItems]\nKey = #A=B\nde = x = y==z\nen == lead\nfr = =\n");
  ASSERT_EQ(1u, table.count("#A=B"));
  EXPECT_EQ("x = y==z", table.at("#A=B").de);
  EXPECT_EQ("= lead", table.at("#A=B").en);
  EXPECT_EQ("=", table.at("#A=B").fr);
}

TEST(LanguageFileFormat, TrailingBlanksOfAKeyStayPartOfIt) {
  const LanguageTable table = parsed("[LanguageItems]\nKey = #Cnf_Apply   \nde = a\nen = b\nfr = c\n");
  EXPECT_EQ(0u, table.count("#Cnf_Apply"));
  EXPECT_EQ("b", table.at("#Cnf_Apply   ").en);
}

TEST(LanguageFileFormat, TooltipBlocksCarryTheirPrefix) {
  const LanguageTable table = parsed(twoBlocks);
  EXPECT_EQ(0u, table.count("#Ignored"));
  EXPECT_EQ("Apply", table.at("#Cnf_Apply").en);
  EXPECT_EQ("Tip", table.at("TT#Cnf_Apply").en);
  EXPECT_EQ("Astuce", table.at("TT#Cnf_Apply").fr);
}

TEST(LanguageFileFormat, EveryLineEndCountsAndEmptyLinesBetweenBlocksAreSkipped) {
  const std::string lf =
      "[LanguageItems]\nKey = #A\nde = a\nen = b\nfr = c\n\nKey = #B\nde = d\nen = e\nfr = f\n";
  const std::string mixed =
      "[LanguageItems]\r\nKey = #A\rde = a\r\nen = b\nfr = c\r\r\nKey = #B\rde = d\r\nen = e\nfr = f";
  const LanguageTable expected = parsed(lf);
  const LanguageTable table = parsed(mixed);
  ASSERT_EQ(2u, table.size());
  for (const char* key : {"#A", "#B"}) {
    EXPECT_EQ(expected.at(key).de, table.at(key).de) << key;
    EXPECT_EQ(expected.at(key).en, table.at(key).en) << key;
    EXPECT_EQ(expected.at(key).fr, table.at(key).fr) << key;
  }
  EXPECT_EQ("f", table.at("#B").fr);
}

TEST(LanguageFileFormat, ALineEndInsideABlockIsALineOfItsOwn) {
  // "\n\r" is two line ends: the empty line between them takes the place of the
  // de line, so every following line of the block stands one place too late.
  const LanguageTable table = parsed("[LanguageItems]\nKey = #A\n\rde = a\nen = b\nfr = c\n");
  EXPECT_EQ(0u, table.count("#A"));
}

TEST(LanguageFileFormat, ALeadingByteOrderMarkIsSkipped) {
  const LanguageTable table = parsed("\xEF\xBB\xBF[LanguageItems]\nKey = #A\nde = a\nen = b\nfr = c\n");
  ASSERT_EQ(1u, table.count("#A"));
  EXPECT_EQ("b", table.at("#A").en);
}

TEST(LanguageFileFormat, TheThreeLinesAfterAKeyLineAreConsumedWhateverTheyHold) {
  const LanguageTable table = parsed(
      "[LanguageItems]\n"
      "Key = #A\nKey = #B\nde = b-de\nen = b-en\n"
      "fr = stray\n"
      "Key = #C\n[Tooltips]\nen = c-en\nfr = c-fr\n"
      "Key = #D\nde = d-de\nen = d-en\nfr = d-fr\n");
  EXPECT_EQ(0u, table.count("#B"));
  // The key line, de line and en line stood where de, en and fr were expected.
  EXPECT_EQ(0u, table.count("#A"));
  // "[Tooltips]" consumed as the de line of #C switches nothing.
  EXPECT_EQ("c-en", table.at("#C").en);
  EXPECT_EQ("c-fr", table.at("#C").fr);
  EXPECT_EQ("d-de", table.at("#D").de);
  EXPECT_EQ(0u, table.count("TT#D"));
}

TEST(LanguageFileFormat, EnglishAndFrenchLinesBelongToTheirOwnKeyEvenWithoutAGermanLine) {
  const LanguageTable table = parsed(
      "[LanguageItems]\n"
      "Key = #First\nde = first\nen = first-en\nfr = first-fr\n"
      "Key = #Second\nxx = no german\nen = second-en\nfr = second-fr\n");
  EXPECT_EQ("first-en", table.at("#First").en);
  EXPECT_EQ("first-fr", table.at("#First").fr);
  EXPECT_EQ("", table.at("#Second").de);
  EXPECT_EQ("second-en", table.at("#Second").en);
}

TEST(LanguageFileFormat, ABlockCutShortAtTheEndOfTheFile) {
  const LanguageTable table =
      parsed("[LanguageItems]\nKey = #A\nde = a\nen = b\nfr = c\nKey = #B\nde = only german");
  EXPECT_EQ("only german", table.at("#B").de);
  EXPECT_EQ("", table.at("#B").en);
  EXPECT_EQ("", table.at("#B").fr);
  EXPECT_EQ(2u, parsed("[LanguageItems]\nKey = #A\nde = a\nen = b\nfr = c\nKey = #B\nde = x\n").size());
  EXPECT_EQ(1u, parsed("[LanguageItems]\nKey = #A\nde = a\nen = b\nfr = c\nKey = #B\n").size());
}

TEST(LanguageFileFormat, LinesOfAMegabyteAreKeptWhole) {
  const std::string big(1 << 20, 'x');
  const std::string bigKey = "#" + std::string(1 << 20, 'k');
  const LanguageTable table = parsed("[LanguageItems]\n" + std::string(1 << 20, ' ') + "Key = " + bigKey +
                                     "\nde = " + big + "\r\nen = " + big + "y\rfr = z\n");
  ASSERT_EQ(1u, table.count(bigKey));
  EXPECT_EQ(big, table.at(bigKey).de);
  EXPECT_EQ(big + "y", table.at(bigKey).en);
  EXPECT_EQ("z", table.at(bigKey).fr);
}

TEST(LanguageFileFormat, BinaryBytesBecomeReplacementCharacters) {
  const std::string bytes =
      std::string("[LanguageItems]\nKey = #Bin\nde = A\xFF") + '\0' + "B\xC3\nen = \xE2\x82\nfr = ok\n";
  const LanguageTable table = parsed(bytes);
  ASSERT_EQ(1u, table.count("#Bin"));
  const LanguageEntry& entry = table.at("#Bin");
  for (const std::string* text : {&entry.de, &entry.en, &entry.fr})
    EXPECT_TRUE(g_utf8_validate(text->data(), static_cast<gssize>(text->size()), nullptr)) << *text;
  EXPECT_EQ(
      "A\xEF\xBF\xBD\xEF\xBF\xBD"
      "B\xEF\xBF\xBD",
      entry.de);
  EXPECT_EQ("ok", entry.fr);
}

TEST(LanguageFileFormat, ListItemsAreTheTabSeparatedParts) {
  EXPECT_EQ("A", config::listItemText("A\tB\tC", 0));
  EXPECT_EQ("B", config::listItemText("A\tB\tC", 1));
  EXPECT_EQ("C", config::listItemText("A\tB\tC", 2));
  EXPECT_EQ("", config::listItemText("A\tB", 2));
  EXPECT_EQ("", config::listItemText("", 1));
  EXPECT_EQ("", config::listItemText("\tB", 0));
  EXPECT_EQ("", config::listItemText("A\t\tC", 1));
}

TEST(LanguageFileFormat, LanguageCodes) {
  EXPECT_EQ("de", config::languageCode(0));
  EXPECT_EQ("en", config::languageCode(1));
  EXPECT_EQ("fr", config::languageCode(2));
  EXPECT_EQ("", config::languageCode(3));
  EXPECT_EQ("", config::languageCode(-1));
}

TEST_F(LanguageFileTest, LookupByCodeAndTooltipFlag) {
  writeLanguageFile(twoBlocks);
  EXPECT_EQ("Übernehmen", LanguageText("#Cnf_Apply", false, "de"));
  EXPECT_EQ("Apply", LanguageText("#Cnf_Apply", false, "en"));
  EXPECT_EQ("Appliquer", LanguageText("#Cnf_Apply", false, "fr"));
  EXPECT_EQ("Tip", LanguageText("#Cnf_Apply", true, "en"));
  EXPECT_EQ("", LanguageText("#Cnf_Cancel", false, "en"));
  EXPECT_EQ("", LanguageText("#Cnf_Apply", false, "es"));
  EXPECT_EQ("", LanguageText("#Cnf_Apply", false, "EN"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(LanguageFileTest, AnEmptyCodeTakesTheFirstTwoCharactersOfLang) {
  writeLanguageFile(twoBlocks);
  setenv("LANG", "fr_FR.UTF-8", 1);
  EXPECT_EQ("Appliquer", LanguageText("#Cnf_Apply", false, ""));
  setenv("LANG", "en", 1);
  EXPECT_EQ("Tip", LanguageText("#Cnf_Apply", true, ""));
  setenv("LANG", "de_AT", 1);
  EXPECT_EQ("Übernehmen", LanguageText("#Cnf_Apply", false, ""));
  setenv("LANG", "C.UTF-8", 1);
  EXPECT_EQ("", LanguageText("#Cnf_Apply", false, ""));
  setenv("LANG", "e", 1);
  EXPECT_EQ("", LanguageText("#Cnf_Apply", false, ""));
  unsetenv("LANG");
  EXPECT_EQ("", LanguageText("#Cnf_Apply", false, ""));
  // A language value without a code looks up through LANG as well.
  setenv("LANG", "en_GB.UTF-8", 1);
  EXPECT_EQ("Apply", LanguageText("#Cnf_Apply", false, config::languageCode(7)));
}

TEST_F(LanguageFileTest, AMissingFileIsReportedOnceWithAnEmptyTitleAndRetried) {
  EXPECT_FALSE(config::LoadLanguageFile());
  EXPECT_EQ("", LanguageText("#Cnf_Apply", false, "en"));
  EXPECT_EQ("", LanguageText("#Cnf_Apply", true, "de"));
  ASSERT_EQ(1u, messages.size());
  EXPECT_EQ(base::DialogKind::Message, messages[0].kind);
  EXPECT_EQ("", messages[0].title);
  EXPECT_EQ("Language-File not found!", messages[0].text);
  writeLanguageFile(twoBlocks);
  EXPECT_EQ("Apply", LanguageText("#Cnf_Apply", false, "en"));
  EXPECT_EQ(1u, messages.size());
}

TEST_F(LanguageFileTest, AFolderInPlaceOfTheFileCountsAsMissing) {
  folder.write("DizerEZ API-LibLang.inf/inside", "");
  EXPECT_EQ("", LanguageText("#Cnf_Apply", false, "en"));
  ASSERT_EQ(1u, messages.size());
  EXPECT_EQ("Language-File not found!", messages[0].text);
}

TEST_F(LanguageFileTest, TheFileIsReadOnceASuccessfulLoadHasHappened) {
  writeLanguageFile(twoBlocks);
  EXPECT_EQ("Apply", LanguageText("#Cnf_Apply", false, "en"));
  writeLanguageFile("[LanguageItems]\nKey = #Cnf_Apply\nde = neu\nen = new\nfr = nouveau\n");
  EXPECT_EQ("Apply", LanguageText("#Cnf_Apply", false, "en"));
}

TEST_F(LanguageFileTest, AFileWithoutTheSectionLoadsAnEmptyTable) {
  writeLanguageFile("Key = #Cnf_Apply\nde = a\nen = b\nfr = c\n");
  EXPECT_TRUE(config::LoadLanguageFile());
  EXPECT_TRUE(config::languageTable.empty());
  EXPECT_EQ("", LanguageText("#Cnf_Apply", false, "en"));
  EXPECT_TRUE(messages.empty());
}

}  // namespace
