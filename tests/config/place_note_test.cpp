// The place note: its format byte for byte, garbled notes passed over, its folder, and a
// noted topic found again by its file and titles.
#include "config/place_note.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using config::NotedTopic;

config::PlaceNote goldenNote() {
  config::PlaceNote note;
  note.databasePath = "/home/ana/Zarnel Lib/ZN-LinuxAPI-Toc.xml";
  note.shown = NotedTopic{"Gtk/Window.zn", "Fenster", "Window", "Fenêtre", "Windows"};
  note.history = {*note.shown, NotedTopic{"", "", "", "", "Tab\there\\ and\nnew line\r"}};
  note.zoomLevel = 7;
  note.lineWrap = true;
  note.searchText = "gtk_\\ «Grüße»";
  return note;
}

TEST(PlaceNoteTest, IsWrittenAsTheGoldenFileAndReadBackWhole) {
  const std::string golden = testing_support::readFile(ZN_SOURCE_DIR "/tests/config/golden/place_note.txt");
  EXPECT_EQ(golden, config::formatPlaceNote(goldenNote()));
  testing_support::TempDir dir;
  const std::string path = dir.file("state/zn-api-viewer/place");
  ASSERT_TRUE(config::writePlaceNote(path, goldenNote())) << "the folders are made";
  EXPECT_EQ(golden, testing_support::readFile(path));
  const std::optional<config::PlaceNote> read = config::readPlaceNote(path);
  ASSERT_TRUE(read);
  EXPECT_EQ(golden, config::formatPlaceNote(*read));
  EXPECT_FALSE(config::readPlaceNote(dir.file("none"))) << "a missing note";
  EXPECT_FALSE(config::readPlaceNote(dir.file("state"))) << "a folder";
  EXPECT_FALSE(config::writePlaceNote(dir.file("state/zn-api-viewer"), goldenNote())) << "a folder stays";
}

TEST(PlaceNoteTest, GarbledNotesArePassedOverAndLaterKeysIgnored) {
  const std::string head = "zn-api-viewer place 1\ndatabase=/x\n";
  const struct {
    const char* what;
    std::string bytes;
  } garbled[] = {
      {"an empty file", ""},
      {"another first line", "zn-api-viewer place 2\ndatabase=/x\n"},
      {"no database", "zn-api-viewer place 1\nzoom=3\n"},
      {"a line without =", head + "zoom\n"},
      {"a zoom step beyond the last", head + "zoom=8\n"},
      {"a wrap other than 0 or 1", head + "wrap=2\n"},
      {"an unknown escape", head + "search=a\\q\n"},
      {"a topic of four fields", head + "shown=a\tb\tc\td\n"},
      {"bytes that are not UTF-8", head + "search=\xFF\n"},
      {"line ends of another system", "zn-api-viewer place 1\r\ndatabase=/x\r\n"},
      {"far more than a note", head + "search=" + std::string(2 << 20, 'a') + "\n"},
  };
  for (const auto& test : garbled) EXPECT_FALSE(config::parsePlaceNote(test.bytes)) << test.what;
  const std::optional<config::PlaceNote> later = config::parsePlaceNote(head + "\nlater=1\nwrap=1");
  ASSERT_TRUE(later) << "a key of a later note and an empty line";
  EXPECT_TRUE(later->lineWrap);
}

TEST(PlaceNoteTest, LivesInTheStateFolderOfTheUser) {
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", "/home/ana", 1);
  const std::string fallback = "/home/ana/.local/state/zn-api-viewer/place";
  const std::pair<const char*, std::string> cases[] = {
      {"/var/state/", "/var/state/zn-api-viewer/place"}, {"", fallback}, {"relative/state", fallback}};
  for (const auto& [state, path] : cases) {
    setenv("XDG_STATE_HOME", state, 1);
    EXPECT_EQ(path, config::placeNotePath()) << state;
  }
  unsetenv("XDG_STATE_HOME");
  EXPECT_EQ(fallback, config::placeNotePath());
  setenv("HOME", home.c_str(), 1);
}

database::IndexEntry entry(std::string_view file, std::string_view de, std::string_view group) {
  database::IndexEntry record;
  record.File = file;
  record.FunctionDe = de;
  record.FunctionEn = file.empty() ? "" : "English";
  record.Group = group;
  return record;
}

TEST(PlaceNoteTest, NotedTopicsAreFoundByTheirFilesAndTitlesNotByTheirRows) {
  const std::vector<database::IndexEntry> entries = {
      entry("", "", "Library"),
      entry("", "", "Windows"),
      entry("W.zn", "Fenster", "Windows"),
      entry("B.zn", "\u2730Knopf", "Windows"),
      entry("", "", "Copies"),
      entry("W.zn", "Fenster", "Copies"),
  };
  const struct {
    NotedTopic topic;
    int row;
    const char* why;
  } cases[] = {
      {{"W.zn", "Fenster", "English", "", "Copies"}, 5, "of two alike, the one of the noted group"},
      {{"W.zn", "Fenster", "English", "", "Gone"}, 2, "of two alike in other groups, the first"},
      {{"B.zn", "Knopf", "English", "", "Windows"}, 3, "noted while new topics were not coloured"},
      {{"W.zn", "\u21BAFenster", "English", "", "Windows"}, 2, "noted with the updated marker"},
      {{"W.zn", "Fenster", "Window", "", "Windows"}, -1, "another English title"},
      {{"X.zn", "Fenster", "English", "", "Windows"}, -1, "another file"},
      {{"", "", "", "", "Copies"}, 4, "a group by its name"},
      {{"", "", "", "", "Gone"}, -1, "a group no longer there"},
  };
  std::vector<NotedTopic> noted;
  for (const auto& test : cases) noted.push_back(test.topic);
  const std::vector<int> rows = config::findNotedTopics(entries, noted);
  ASSERT_EQ(noted.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(cases[i].row, rows[i]) << cases[i].why;
}

}  // namespace
