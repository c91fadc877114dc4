// The code index: folding that gives the original back, reading files as the code view
// shows them, the search with its counts and lines, and the reading thread.
#include "search/code_index.h"

#include <algorithm>
#include <string>
#include <vector>

#include <unistd.h>

#include <glib.h>
#include <gtest/gtest.h>

#include "search/code_index_reader.h"
#include "support/temp_dir.h"
#include "viewer/code_file.h"

namespace {

using search::CodeIndex;
using search::FileState;
using testing_support::TempDir;

TEST(RestorableFold, FoldsLikeTheTopicSearchAndGivesEveryPieceOfTheOriginalBack) {
  // Capitals on both sides of an eight-byte step, letters whose folded form is longer,
  // shorter or ASCII, and control characters.
  for (const std::string text : {"Procedure.i CreateIconColumn() ; EndProcedure", "Größe ÄÖÜ Straße \u1E9E",
                                 "\u212Aelvin \u0130stanbul", "ΣΊΣΥΦΟΣ Привет", "\u13B2\uAB82 \u13F8",
                                 "a\tB\x01"
                                 "C\u00DF\u00DFD",
                                 ""}) {
    const search::RestorableFold fold = search::foldRestorably(text);
    EXPECT_EQ(search::foldCase(text), fold.text) << text;
    EXPECT_EQ(text, search::restoreOriginal(fold, 0, fold.text.size())) << text;
    for (std::size_t cut = 0; cut <= fold.text.size(); ++cut) {
      const std::size_t back = search::originalEdge(fold, cut, false);
      const std::size_t on = search::originalEdge(fold, cut, true);
      EXPECT_EQ(text, search::restoreOriginal(fold, 0, back) +
                          search::restoreOriginal(fold, back, fold.text.size()))
          << text << " at " << cut;
      EXPECT_EQ(text,
                search::restoreOriginal(fold, 0, on) + search::restoreOriginal(fold, on, fold.text.size()));
    }
  }
}

// An index over the given texts: row i names file i, and every file is read.
CodeIndex indexOf(const std::vector<std::string>& texts, const std::vector<std::string>& files = {}) {
  std::vector<std::string> names = files;
  for (std::size_t i = names.size(); i < texts.size(); ++i) names.push_back("f" + std::to_string(i) + ".zn");
  std::vector<database::IndexEntry> entries(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) entries[i].File = names[i];
  CodeIndex index = search::planCodeIndex(entries, "/lib/");
  for (std::size_t i = 0; i < index.files.size(); ++i) {
    search::FileReading reading;
    reading.file = static_cast<int>(i);
    reading.state = FileState::Read;
    reading.code = search::foldRestorably(texts[i]);
    search::countBytes(reading.code.text, index.byteCounts);
    search::takeReading(index, std::move(reading));
  }
  return index;
}

TEST(CodeIndexPlan, AnIndexIsThePlanOfRowsOnlyWhenPlanningThemGivesItsTopicsAndFiles) {
  const auto rowsOf = [](const std::vector<std::string>& files) {
    std::vector<database::IndexEntry> entries(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) entries[i].File = files[i];
    return entries;
  };
  const std::vector<std::string> planned = {"a.zn", "", "G/b.zn", "a.zn", "/c.zn"};
  std::vector<database::IndexEntry> plannedRows = rowsOf(planned);
  const CodeIndex index = search::planCodeIndex(plannedRows, "/lib/");
  struct Case {
    std::vector<std::string> files;
    std::string libPath;
    bool same;
  };
  for (const Case& c : std::vector<Case>{
           {planned, "/lib/", true},
           {{"a.zn", "", "//G/b.zn", "/a.zn", "c.zn"}, "/lib/", true},  // leading slashes
           {planned, "/lib2/", false},
           {{"a.zn", "", "G/b.zn", "a.zn", "/c.zn", ""}, "/lib/", true},  // a row without a file
           {{"a.zn", "", "G/b.zn", "a.zn", "/c.zn", "d.zn"}, "/lib/", false},
           {{"a.zn", "", "G/b.zn", "a.zn"}, "/lib/", false},
           {{"a.zn", "x.zn", "G/b.zn", "a.zn", "/c.zn"}, "/lib/", false},
           {{"", "a.zn", "G/b.zn", "a.zn", "/c.zn"}, "/lib/", false},  // moved to another row
           {{"a.zn", "", "G/b.zn", "a.zm", "/c.zn"}, "/lib/", false},
           {{"a.zn", "", "G/b.zn", "c.zn", "/a.zn"}, "/lib/", false},
       }) {
    const std::vector<database::IndexEntry> rows = rowsOf(c.files);
    EXPECT_EQ(c.same, search::isPlanOf(index, rows, c.libPath)) << c.files.size() << " " << c.files.back();
  }
  EXPECT_TRUE(search::isPlanOf(CodeIndex(), {}, ""));
  EXPECT_FALSE(search::isPlanOf(CodeIndex(), plannedRows, ""));
}

std::string shown(const search::HitLine& line) {
  return line.text.substr(0, line.matchBegin) + "[" +
         line.text.substr(line.matchBegin, line.matchEnd - line.matchBegin) + "]" +
         line.text.substr(line.matchEnd);
}

TEST(CodeSearch, ListsTopicsInTreeOrderWithTheirFirstLineAndCountsEveryMatchingLine) {
  const CodeIndex index =
      indexOf({"no match here", "  gtk_window_new()  \nx = GTK_WINDOW_NEW gtk_window_new\n",
               "; Gtk_Window_New\n\n\tcall gtk_window_new", "gtk_window_new"},
              {"a.zn", "b.zn", "/c.zn", "b.zn"});
  ASSERT_EQ(3u, index.files.size()) << "b.zn is one file for two rows";
  const search::CodeSearchResult result = search::searchCode(index, "gtk_WINDOW_new", 1000);
  EXPECT_EQ(3, result.topicCount);
  EXPECT_EQ(2 + 2 + 2, result.lineCount);  // two matches on one line count once
  ASSERT_EQ(3u, result.hits.size());
  EXPECT_EQ((std::vector<int>{1, 2, 3}),
            (std::vector<int>{result.hits[0].row, result.hits[1].row, result.hits[2].row}));
  EXPECT_EQ((std::vector<int>{0, 0, 0}),
            (std::vector<int>{result.hits[0].line, result.hits[1].line, result.hits[2].line}));
  const auto lineOf = [&](const search::CodeHit& hit) {
    return shown(search::hitLine(index.files[hit.file].code, hit.at, result.matchLength));
  };
  EXPECT_EQ("[gtk_window_new]()", lineOf(result.hits[0]));
  EXPECT_EQ("; [Gtk_Window_New]", lineOf(result.hits[1]));
  // The limit cuts the list, not the counts; one character is a search text too.
  const search::CodeSearchResult limited = search::searchCode(index, "(", 1);
  EXPECT_EQ(2, limited.topicCount);
  EXPECT_EQ(1u, limited.hits.size());
  EXPECT_EQ(0, search::searchCode(index, "", 1000).topicCount);
  // The line of a later hit counts from the first line of the code.
  EXPECT_EQ(2, search::searchCode(index, "CALL", 1000).hits.at(0).line);
}

TEST(CodeSearch, OneCharacterCountsEveryLineThatHoldsItOnceWhereverLinesAndBlocksMeet) {
  // After a first line holding it twice, lines of every length up to 40 with the character
  // nowhere, at either end or several times, so that lines and matches fall on every place
  // of the sixteen-byte blocks.
  std::string text = "--qQ\n";
  int holding = 1;
  for (int length = 0; length <= 40; ++length) {
    for (int kind = 0; kind < 4; ++kind) {
      std::string row(static_cast<std::size_t>(length), 'x');
      if (length > 0 && kind > 0) row[kind == 1 ? 0 : static_cast<std::size_t>(length - 1)] = 'Q';
      if (length > 2 && kind == 3) row[0] = row[1] = 'q';
      holding += row.find_first_of("qQ") != std::string::npos;
      text += row + "\n";
    }
  }
  text += "tail q";  // a last line without its end
  ++holding;
  const search::CodeSearchResult result = search::searchCode(indexOf({text}, {"a.zn"}), "q", 1000);
  EXPECT_EQ(holding, result.lineCount);
  ASSERT_EQ(1u, result.hits.size());
  EXPECT_EQ(2u, result.hits[0].at);
  EXPECT_EQ(0, result.hits[0].line);
  // A pasted line end is found at the end of every line that has one.
  const search::CodeSearchResult ends = search::searchCode(indexOf({text}, {"a.zn"}), "\n", 1000);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), ends.lineCount);
  EXPECT_EQ(4u, ends.hits.at(0).at);
}

TEST(CodeSearch, HitLinesAreTrimmedCutAroundTheMatchAndShowTheOriginalCharacters) {
  const std::string longLine = std::string(300, 'a') + "Match" + std::string(300, 'b');
  const CodeIndex index = indexOf({"\t  Die Straße  \n", longLine, "x\x01y"});
  const auto first = [&](const std::string& text) {
    const search::CodeSearchResult result = search::searchCode(index, text, 10);
    const search::CodeHit& hit = result.hits.at(0);
    return shown(search::hitLine(index.files[hit.file].code, hit.at, result.matchLength));
  };
  EXPECT_EQ("Die [Straße]", first("strasse"));
  EXPECT_EQ("Die Stra[ß]e", first("ss"));  // a match inside what one letter folds to shows the letter
  EXPECT_EQ("\u2026" + std::string(60, 'a') + "[Match]" + std::string(135, 'b') + "\u2026", first("MATCH"));
  EXPECT_EQ("[x\uFFFDy]", first("x\x01y"));
}

TEST(CodeSearch, CountTextsTakeTheSingularOrThePluralForm) {
  EXPECT_EQ("12 Themen, 31 Zeilen",
            search::hitCountText("{n} Thema\t{n} Themen", "{n} Zeile\t{n} Zeilen", 12, 31));
  EXPECT_EQ("1 topic, 1 line", search::hitCountText("{n} topic\t{n} topics", "{n} line\t{n} lines", 1, 1));
  EXPECT_EQ("0 x, 2 y", search::hitCountText("{n} x", "{n} y", 0, 2));
  EXPECT_EQ("Reading 3 of 40", search::fillInNumbers("Reading {n} of {total}", 3, 40));
}

TEST(CodeIndexFiles, AreReadAsTheCodeViewShowsThemAndOnlyAgainWhenChanged) {
  TempDir dir;
  const std::string utf8 = dir.write("a.zn",
                                     "\xEF\xBB\xBF\n?? Gr\xC3\xB6\xC3\x9F"
                                     "e\r\ncode\n; IDE Options = x\n; hidden\n");
  const std::string latin = dir.write("b.zn",
                                      "Gr\xF6\xDF"
                                      "e\n");
  const std::string utf16 = dir.write("c.zn", std::string("\xFF\xFEZ\0n\0", 6));
  for (const std::string& path : {utf8, latin, utf16}) {
    const search::FileReading reading = search::readIndexedFile(7, path, search::FileStamp());
    EXPECT_EQ(FileState::Read, reading.state) << path;
    EXPECT_EQ(7, reading.file);
    EXPECT_EQ(search::foldCase(viewer::readCodeFile(path).text), reading.code.text) << path;
  }
  EXPECT_EQ(" grösse\ncode", search::readIndexedFile(0, utf8, search::FileStamp()).code.text);
  const search::FileStamp stamp = search::readIndexedFile(0, latin, search::FileStamp()).stamp;
  EXPECT_EQ(FileState::Unchanged, search::readIndexedFile(0, latin, stamp).state);
  dir.write("b.zn", "other text\n");
  EXPECT_EQ(FileState::Read, search::readIndexedFile(0, latin, stamp).state);
  // Missing, a folder, and too large to hold (a sparse file takes no room on the disk).
  EXPECT_EQ(FileState::Gone, search::readIndexedFile(0, dir.file("none.zn"), stamp).state);
  EXPECT_EQ(FileState::Gone, search::readIndexedFile(0, dir.path(), search::FileStamp()).state);
  const std::string huge = dir.write("huge.zn", "x");
  ASSERT_EQ(0, truncate(huge.c_str(), search::largestIndexedFile + 1));
  EXPECT_EQ(FileState::Gone, search::readIndexedFile(0, huge, search::FileStamp()).state);
}

class CodeIndexReading : public ::testing::Test {
 protected:
  void SetUp() override { search::codeIndex = search::CodeIndex(); }
  void TearDown() override { search::stopCodeIndexReading(); }

  // Runs the main loop, which takes the readings, until the reading is done.
  bool readToTheEnd() {
    const gint64 deadline = g_get_monotonic_time() + 20 * G_USEC_PER_SEC;
    do {
      while (g_main_context_iteration(nullptr, FALSE)) {
      }
      if (!search::codeIndexProgress().building && !reading() && g_main_context_pending(nullptr) == FALSE)
        return true;
      g_usleep(1000);
    } while (g_get_monotonic_time() < deadline);
    return false;
  }

  bool reading() const { return search::codeIndexProgress().total > search::codeIndexProgress().done; }

  int topicsWith(const std::string& text) {
    return search::searchCode(search::codeIndex, text, 1000).topicCount;
  }

  // A library of snippet files in dir, one row each.
  std::vector<database::IndexEntry> library(TempDir& dir, const std::string& word, int files) {
    names.clear();
    for (int i = 0; i < files; ++i) {
      names.push_back("G/s" + std::to_string(i) + ".zn");
      dir.write(names.back(), "; snippet " + std::to_string(i) + "\n" + word + "\n");
    }
    std::vector<database::IndexEntry> entries(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) entries[i].File = names[i];
    return entries;
  }

  std::vector<std::string> names;
};

TEST_F(CodeIndexReading, TheFirstReadingPlansTheIndexOnItsThreadNotInTheMainLoop) {
  TempDir first, second;
  search::refreshCodeIndex(library(first, "Alpha", 300), first.path());
  EXPECT_TRUE(search::codeIndex.files.empty()) << "planned on the main loop";
  EXPECT_TRUE(search::codeIndexProgress().building);
  // Another library before the first plan came over: the index is the second one's.
  std::vector<database::IndexEntry> rows = library(second, "Beta", 30);
  rows.insert(rows.begin() + 7, rows[3]);  // two topics, one file
  search::rebuildCodeIndex(rows, second.path());
  ASSERT_TRUE(readToTheEnd());
  EXPECT_EQ(30u, search::codeIndex.files.size());
  EXPECT_EQ(31u, search::codeIndex.topics.size());
  EXPECT_EQ(second.path(), search::codeIndex.libPath);
  EXPECT_EQ(0, topicsWith("alpha"));
  EXPECT_EQ(31, topicsWith("beta"));
}

TEST_F(CodeIndexReading, ANewLibraryStopsTheOldReadingAndRefreshingReadsOnlyChangedFiles) {
  TempDir oldDir, newDir;
  const std::vector<database::IndexEntry> oldRows = library(oldDir, "OldWord", 2000);
  search::rebuildCodeIndex(oldRows, oldDir.path());
  // Stopped in the middle: what the old reading still hands over must not count.
  while (search::codeIndexProgress().done == 0) g_main_context_iteration(nullptr, TRUE);
  const std::vector<database::IndexEntry> newRows = library(newDir, "NewWord", 500);
  search::rebuildCodeIndex(newRows, newDir.path());
  ASSERT_TRUE(readToTheEnd());
  EXPECT_EQ(500u, search::codeIndexProgress().done);
  EXPECT_EQ(0, topicsWith("oldword"));
  EXPECT_EQ(500, topicsWith("newword"));

  newDir.write(names[3], "changed\n");
  ASSERT_EQ(0, unlink(newDir.file(names[4]).c_str()));
  search::refreshCodeIndex(newRows, newDir.path());
  EXPECT_FALSE(search::codeIndexProgress().building) << "a refresh keeps what is read";
  EXPECT_EQ(500, topicsWith("newword"));
  ASSERT_TRUE(readToTheEnd());
  EXPECT_EQ(498, topicsWith("newword"));
  EXPECT_EQ(1, topicsWith("changed"));
  // Another library path plans the index anew.
  search::refreshCodeIndex(oldRows, oldDir.path());
  ASSERT_TRUE(readToTheEnd());
  EXPECT_EQ(2000, topicsWith("oldword"));
}

}  // namespace
