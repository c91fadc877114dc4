// The matching rules of the topic search: modes, caseless Unicode comparison,
// literal search texts, start rows and the kept folded texts.
#include "search/topic_search.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <glib.h>

namespace {

using database::IndexEntry;
using search::SearchStart;

// The records view their texts: literals outlive them.
IndexEntry topic(std::string_view de, std::string_view en, std::string_view fr, std::string_view descriptDe,
                 std::string_view descriptEn, std::string_view descriptFr) {
  IndexEntry entry;
  entry.FunctionDe = de;
  entry.FunctionEn = en;
  entry.FunctionFr = fr;
  entry.DescriptDe = descriptDe;
  entry.DescriptEn = descriptEn;
  entry.DescriptFr = descriptFr;
  return entry;
}

class TopicSearchTest : public ::testing::Test {
 protected:
  void SetUp() override { search::clearSearchCache(); }
  void TearDown() override { search::clearSearchCache(); }

  // A row shown with the given text; its record as given.
  void addRow(const std::string& text, const IndexEntry& entry = IndexEntry()) {
    texts.push_back(text);
    entries.push_back(entry);
  }

  search::TopicRows rows() {
    search::TopicRows rows;
    rows.count = static_cast<int>(texts.size());
    rows.text = [this](int row) -> const std::string& { return texts[row]; };
    rows.entries = &entries;
    rows.version = version;
    return rows;
  }

  int find(const std::string& searchText, int firstRow = 0, int mode = 0, int language = 0) {
    return search::findTopicRow(searchText, firstRow, rows(), mode, language);
  }

  // Every row that a find-next sequence visits, from the top until the miss.
  std::vector<int> allHits(const std::string& searchText, int mode = 0, int language = 0) {
    std::vector<int> hits;
    int selected = -1;
    for (;;) {
      selected = find(searchText, search::firstRowToSearch(SearchStart::FindNext, selected), mode, language);
      if (selected < 0) return hits;
      hits.push_back(selected);
    }
  }

  // A little library in German display: root, group, three topics.
  void addLibrary() {
    addRow("Library");
    addRow("Windows");
    addRow("Fenster", topic("Fenster", "Window", "Fenêtre", "Ein Rahmen", "A frame", "Un cadre"));
    addRow("Knopf", topic("Knopf", "Button", "Bouton", "Drückbar", "Pressable", "Cliquable"));
    addRow("Liste", topic("Liste", "List", "Liste", "Zeilen", "Rows", "Lignes"));
  }

  std::vector<std::string> texts;
  std::vector<IndexEntry> entries;
  std::uint64_t version = 1;  // changed by a test that rebuilds the rows
};

TEST_F(TopicSearchTest, StartRowIsTheTopOrTheRowAfterTheSelection) {
  EXPECT_EQ(0, search::firstRowToSearch(SearchStart::FromTop, 7));
  EXPECT_EQ(0, search::firstRowToSearch(SearchStart::FromTop, -1));
  EXPECT_EQ(8, search::firstRowToSearch(SearchStart::FindNext, 7));
  EXPECT_EQ(0, search::firstRowToSearch(SearchStart::FindNext, -1));
}

TEST_F(TopicSearchTest, ModesSearchTheirFields) {
  addLibrary();
  // Mode 1: row texts only.
  EXPECT_EQ(3, find("knopf", 0, search::TitleOnly));
  EXPECT_EQ(-1, find("Rahmen", 0, search::TitleOnly));
  EXPECT_EQ(-1, find("Button", 0, search::TitleOnly));
  // Mode 0: the row text and the description of the display language only.
  EXPECT_EQ(2, find("Rahmen", 0, search::TitleAndDescription, 0));
  EXPECT_EQ(-1, find("frame", 0, search::TitleAndDescription, 0));
  EXPECT_EQ(2, find("frame", 0, search::TitleAndDescription, 1));
  EXPECT_EQ(2, find("cadre", 0, search::TitleAndDescription, 2));
  EXPECT_EQ(2, find("cadre", 0, search::TitleAndDescription, 5));    // any other value: French
  EXPECT_EQ(-1, find("Button", 0, search::TitleAndDescription, 1));  // a title of another language
  // Mode 2: the row text, every title and every description.
  EXPECT_EQ(3, find("Button", 0, search::AllLanguages, 0));
  EXPECT_EQ(3, find("Cliquable", 0, search::AllLanguages, 0));
  EXPECT_EQ(4, find("Rows", 0, search::AllLanguages, 0));
  // An unknown mode searches like the default mode 0.
  EXPECT_EQ(2, find("Rahmen", 0, 9, 0));
  EXPECT_EQ(-1, find("Button", 0, 9, 0));
}

TEST_F(TopicSearchTest, SearchedTextsJoinTheFieldsWithSemicolons) {
  const IndexEntry entry = topic("De", "En", "Fr", "dDe", "dEn", "dFr");
  const std::string row = "Row";
  EXPECT_EQ("Row", search::searchedText(search::searchedFields(row, entry, 1, 0)));
  EXPECT_EQ("Row;dEn", search::searchedText(search::searchedFields(row, entry, 0, 1)));
  EXPECT_EQ("Row;De;En;Fr;dDe;dEn;dFr", search::searchedText(search::searchedFields(row, entry, 2, 1)));
  // So a text with ";" can match across the fields.
  addRow("Row", entry);
  EXPECT_EQ(0, find("row;dde", 0, 0, 0));
  EXPECT_EQ(0, find("fr;dde", 0, 2, 0));
  EXPECT_EQ(-1, find("row;dde", 0, 1, 0));
}

TEST_F(TopicSearchTest, GroupRowsAreFoundByTheirLabel) {
  addLibrary();
  EXPECT_EQ(1, find("WINDOW", 0, search::TitleOnly));
  EXPECT_EQ(0, find("brary"));
}

TEST_F(TopicSearchTest, LetterCaseIsIgnoredForAllOfUnicode) {
  addRow("Ärger über Größe");
  addRow("ΣΊΣΥΦΟΣ");
  addRow("Привет мир");
  addRow("Straße");
  addRow("\u01C5emal");    // a title-case letter
  addRow("\u13B2\u13A0");  // Cherokee: small letters fold to the capitals
  for (const char* text : {"ärger", "ÄRGER", "ÜBER", "GRÖSSE", "größe", "Ä"})
    EXPECT_EQ(0, find(text)) << text;
  EXPECT_EQ(1, find("σίσυφος"));
  EXPECT_EQ(1, find("σίσυφοσ"));
  EXPECT_EQ(2, find("ПРИВЕТ"));
  EXPECT_EQ(3, find("STRASSE"));
  EXPECT_EQ(4, find("\u01C6emal"));
  EXPECT_EQ(4, find("\u01C4EMAL"));
  EXPECT_EQ(5, find("\uAB82\uAB70"));
  EXPECT_EQ(5, find("\u13B2"));
  EXPECT_EQ(search::foldCase("\uAB82"), search::foldCase(search::foldCase("\u13B2")));
  // Folding is not a loss of accents: "a" does not find "ä".
  EXPECT_EQ(-1, find("arger"));
  EXPECT_EQ(search::foldCase("ÄÖÜ ABC"), search::foldCase("äöü abc"));
}

TEST_F(TopicSearchTest, FromTopFindsTheFirstRowAndFindNextStepsOnWithoutWrapping) {
  addLibrary();
  addRow("Fensterrahmen", topic("Fensterrahmen", "", "", "", "", ""));
  EXPECT_EQ(2, find("fenster"));
  EXPECT_EQ(5, find("fenster", 3));
  EXPECT_EQ(-1, find("fenster", 6));   // past the last row
  EXPECT_EQ(-1, find("fenster", 99));  // past the end of the rows
  // After the miss the selection is gone, so the next find-next starts at the top.
  EXPECT_EQ((std::vector<int>{2, 5}), allHits("FENSTER"));
}

TEST_F(TopicSearchTest, EmptyTextSearchesNothing) {
  addLibrary();
  EXPECT_EQ(-1, find(""));
  EXPECT_EQ(-1, find("", 2));
  EXPECT_EQ(-1, find("", 0, search::AllLanguages));
}

TEST_F(TopicSearchTest, SearchTextIsTakenLiterally) {
  addRow("Width in percent");
  addRow("Done to 50% here");
  addRow("Path C:\\temp\\x");
  addRow("a.b");
  addRow("Star *");
  EXPECT_EQ(1, find("%"));
  EXPECT_EQ(1, find("50%"));
  EXPECT_EQ(-1, find("5%h"));
  EXPECT_EQ(2, find("\\"));
  EXPECT_EQ(2, find("c:\\TEMP\\"));
  EXPECT_EQ(-1, find("\\n"));
  EXPECT_EQ(3, find("."));
  EXPECT_EQ(-1, find("a?b"));
  EXPECT_EQ(4, find("*"));
  EXPECT_EQ(-1, find(".*x"));
  EXPECT_EQ(-1, find("_"));
}

TEST_F(TopicSearchTest, VeryLongSearchTextsAreHandled) {
  std::string longTitle;
  for (int i = 0; i < 2500; ++i) longTitle += "Äbc ";  // 10,000 characters
  addRow("short");
  addRow("x" + longTitle + "y");
  ASSERT_EQ(10000, g_utf8_strlen(longTitle.c_str(), -1));
  const std::string needle = longTitle.substr(0, longTitle.size() - 1);  // 9,999 characters
  std::string upper = needle;
  for (char& c : upper) c = static_cast<char>(c == 'b' ? 'B' : c);
  EXPECT_EQ(1, find(upper));
  EXPECT_EQ(1, find("X" + longTitle));
  EXPECT_EQ(-1, find(longTitle + "z"));
  EXPECT_EQ(-1, find(std::string(10000, '%')));
}

// What the search field keeps of a miss: the longest beginning, cut between characters.
TEST_F(TopicSearchTest, TheLongestBeginningFoundIsCutBetweenCharacters) {
  addLibrary();
  addRow("Größe über alles");
  struct Case {
    std::string text, kept;
    int row;
  };
  std::string pasted = "Liste";
  while (pasted.size() < 200000) pasted += "ä#€";
  for (const Case& c : std::vector<Case>{{"fensterXYZ", "fenster", 2},
                                         {"FENÊTRE", "FEN", 2},
                                         {"GRÖSSEN", "GRÖSSE", 5},
                                         {"Größe üb€", "Größe üb", 5},
                                         {"Knopf", "Knopf", 3},
                                         {"€uro", "", -1},
                                         {"", "", -1},
                                         {pasted, "Liste", 4}}) {
    const search::FoundBeginning found = search::longestFoundBeginning(c.text, rows(), 0, 0);
    EXPECT_EQ(c.kept, c.text.substr(0, found.bytes)) << c.text.substr(0, 20);
    EXPECT_EQ(c.row, found.row) << c.text.substr(0, 20);
  }
}

TEST_F(TopicSearchTest, BrokenTextsAreComparedWithoutFailing) {
  addRow(std::string("bad \xC3 byte"));
  addRow(std::string("nul\0inside", 10));
  EXPECT_EQ(0, find("BAD"));
  EXPECT_EQ(0, find("BAD \xEF\xBF\xBD BYTE"));  // the broken byte stands as U+FFFD
  EXPECT_EQ(1, find("NUL\xEF\xBF\xBDINSIDE"));
  EXPECT_EQ(-1, find(std::string("\xFF\xFE")));
}

TEST_F(TopicSearchTest, KeptTextsFollowRebuiltRowsLanguageAndMode) {
  addLibrary();
  EXPECT_EQ(2, find("Rahmen"));
  // The rows are rebuilt with the same number of rows but other texts.
  entries[2].DescriptDe = "Ein Gestell";
  texts[4] = "Tabelle";
  ++version;
  EXPECT_EQ(-1, find("Rahmen"));
  EXPECT_EQ(2, find("gestell"));
  EXPECT_EQ(4, find("tabelle"));
  EXPECT_EQ(-1, find("liste", 0, search::TitleOnly));
  // Other language and other mode read other fields of the same rows.
  EXPECT_EQ(2, find("frame", 0, search::TitleAndDescription, 1));
  EXPECT_EQ(-1, find("frame", 0, search::TitleAndDescription, 0));
  EXPECT_EQ(4, find("List", 0, search::AllLanguages));
  EXPECT_EQ(-1, find("List", 0, search::TitleOnly));
  // Fewer rows, then more: the count alone is noticed too.
  texts.resize(2);
  entries.resize(2);
  EXPECT_EQ(-1, find("Fenster"));
  addRow("Neu", topic("Neu", "", "", "Fenster", "", ""));
  EXPECT_EQ(2, find("fenster"));
  // Dropping the kept texts changes no result.
  search::clearSearchCache();
  EXPECT_EQ(2, find("fenster"));
}

TEST_F(TopicSearchTest, MatchesDoNotRunFromOneRowIntoTheNext) {
  addRow("ends with ab");
  addRow("cd starts the next");
  EXPECT_EQ(-1, find("abcd"));
  EXPECT_EQ(-1, find("ab cd"));
  EXPECT_EQ(-1, find("ab\ncd"));
  EXPECT_EQ(1, find("cd", 1));
}

TEST_F(TopicSearchTest, RowsWithoutRecordCountAsEmpty) {
  addLibrary();
  texts.push_back("Extra");  // a row the record list does not cover
  EXPECT_EQ(5, find("extra", 0, search::AllLanguages));
}

TEST_F(TopicSearchTest, LargeLibrariesFindEveryRowAcrossTheKeptGroupsOfRows) {
  // Rows are kept in groups that a search may pass by; a hit in any group, at its
  // first or last row, must still be found, and a miss must stay one.
  for (int row = 0; row < 200; ++row) addRow("Fenster " + std::to_string(1000 + row));
  texts[0] += " Anfang";
  texts[31] += " Ende der Gruppe";
  texts[32] += " Gruppe zwei";
  texts[199] += " Schluss";
  struct Case {
    const char* text;
    int firstRow;
    int row;
  };
  const Case cases[] = {{"anfang", 0, 0},   {"ende der", 0, 31}, {"GRUPPE", 0, 31},     {"gruppe", 32, 32},
                        {"gruppe", 33, -1}, {"schluss", 0, 199}, {"schluss", 199, 199}, {"1131", 0, 131},
                        {"11", 0, 11},      {"9", 5, 9},         {"nirgends", 0, -1},   {"r 1", 150, 150}};
  for (const Case& c : cases) EXPECT_EQ(c.row, find(c.text, c.firstRow)) << c.text << " from " << c.firstRow;
}

TEST_F(TopicSearchTest, TextsFoldedInTheBackgroundGiveTheSameHits) {
  for (int row = 0; row < 100; ++row)
    addRow("Eintrag " + std::to_string(row), topic("", "", "", "Ein Rahmen", "A frame", "Un cadre"));
  std::atomic<int> finished{0};
  ASSERT_TRUE(search::foldRowsInBackground(rows(), search::AllLanguages, 0, [&] { ++finished; }));
  EXPECT_EQ(77, find("eintrag 77;", 0, search::AllLanguages)) << "the search waits for the thread";
  EXPECT_EQ(1, finished.load());
  EXPECT_FALSE(search::foldRowsInBackground(rows(), search::AllLanguages, 0, nullptr))
      << "the texts are kept";
  EXPECT_EQ(12, find("12;;;;ein rahmen;a frame", 0, search::AllLanguages))
      << "the fields joined as a search joins them";

  // Rows rebuilt while they are folded: the texts kept are those of the new rows.
  ASSERT_TRUE(search::foldRowsInBackground(rows(), 0, 0, nullptr));
  texts[5] = "Neu";
  ++version;
  ASSERT_TRUE(search::foldRowsInBackground(rows(), 0, 0, [&] { ++finished; }));
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (finished < 2 && std::chrono::steady_clock::now() < limit) std::this_thread::yield();
  ASSERT_EQ(2, finished.load());
  search::takeOverBackgroundFolding(rows(), 0, 0);
  EXPECT_EQ(5, find("neu;ein rahmen"));
  EXPECT_EQ(50, find("eintrag 5")) << "not the old text of row 5";
}

}  // namespace
