// The code of every topic's snippet, held folded in memory, and the search through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "database/topic_index.h"
#include "search/case_folding.h"

namespace search {

// A file's modification time and size when it was read.
struct FileStamp {
  std::int64_t seconds = 0;
  std::int64_t nanoseconds = 0;
  std::int64_t size = -1;
  bool operator==(const FileStamp& other) const {
    return seconds == other.seconds && nanoseconds == other.nanoseconds && size == other.size;
  }
};

// One snippet file of the library, its text as the code view shows it.
struct CodeFile {
  std::string fullPath;
  bool read = false;  // false: not read yet, missing or unreadable
  FileStamp stamp;
  RestorableFold code;
};

// A tree row that names a snippet file.
struct CodeTopic {
  int row = 0;
  int file = 0;  // into CodeIndex::files; topics naming the same file share it
};

struct CodeIndex {
  std::string libPath;
  std::vector<CodeTopic> topics;  // in tree order
  std::vector<CodeFile> files;
  // How often each byte occurs in the texts read: the search looks for the
  // rarest byte of the search text first.
  std::vector<std::size_t> byteCounts = std::vector<std::size_t>(256, 0);
};

// Files larger than this are left out, like unreadable ones.
constexpr std::int64_t largestIndexedFile = std::int64_t(256) << 20;

// An index of the rows that name a file (each full path once), nothing read yet.
CodeIndex planCodeIndex(const std::vector<database::IndexEntry>& entries, const std::string& libPath);

// The rows that name a file and their file values, copied out of the entries (which
// view the database document) in one piece, for planning on another thread.
struct TopicFiles {
  std::vector<int> rows;
  std::string values;             // the file values one after the other
  std::vector<std::size_t> ends;  // where each row's value ends in `values`
};
TopicFiles topicFilesOf(const std::vector<database::IndexEntry>& entries);
CodeIndex planCodeIndex(const TopicFiles& files, const std::string& libPath);
// Whether planning the entries would give the index's topics and files, found
// without planning them (for a large library planning takes a good part of a second).
bool isPlanOf(const CodeIndex& index, const std::vector<database::IndexEntry>& entries,
              const std::string& libPath);

enum class FileState { Unchanged, Read, Gone };

// What reading one file of the index came to.
struct FileReading {
  int file = 0;
  FileState state = FileState::Gone;
  FileStamp stamp;
  RestorableFold code;
};

// Reads the file as the code view does and folds it, unless its stamp still equals
// `known`. Missing, unreadable and oversized files are gone. Touches nothing shared.
FileReading readIndexedFile(int file, const std::string& fullPath, const FileStamp& known);
// Puts a reading into the index.
void takeReading(CodeIndex& index, FileReading&& reading);
// Counts the bytes of a folded text into byteCounts.
void countBytes(const std::string& text, std::vector<std::size_t>& byteCounts);

// The first match in one topic's code.
struct CodeHit {
  int row = 0;
  int file = 0;
  std::size_t at = 0;  // in the folded text
  int line = 0;        // the code view's line, from 0
};

struct CodeSearchResult {
  std::vector<CodeHit> hits;  // one per topic with a match, in tree order, at most the limit
  int topicCount = 0;         // topics with a match, listed or not
  std::int64_t lineCount = 0;
  std::size_t matchLength = 0;  // of the folded search text
};

// Every topic whose code holds the search text, letter case ignored as the topic
// search ignores it; lines are counted where a match begins.
CodeSearchResult searchCode(const CodeIndex& index, const std::string& searchText, std::size_t hitLimit);

// A hit's line for the list: trimmed, cut around the match when it is long, with
// the place of the match in it (bytes).
struct HitLine {
  std::string text;
  std::size_t matchBegin = 0;
  std::size_t matchEnd = 0;
};
HitLine hitLine(const RestorableFold& code, std::size_t at, std::size_t matchLength);

// "12 Themen, 31 Zeilen" from the two texts: singular and plural form, TAB-separated,
// "{n}" standing for the number.
std::string hitCountText(const std::string& topicsText, const std::string& linesText, int topics,
                         std::int64_t lines);
// The text with "{n}" and "{total}" replaced.
std::string fillInNumbers(const std::string& text, std::int64_t n, std::int64_t total = 0);

}  // namespace search
