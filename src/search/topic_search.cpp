// The matching rules of the topic search over plain rows.
#include "search/topic_search.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

#include "base/trace.h"
#include "search/rare_byte.h"

namespace search {
namespace {

// The folded searched texts of all rows in one block, each row's text ended by a
// NUL. A folded search text never holds a NUL (it comes from valid UTF-8 without
// one), so a match never runs from one row into the next, and one scan of the
// block serves all rows. Folded a slice at a time while the program is idle after
// the rows change (or all at once by the first search that comes earlier), so a
// keystroke folds only the search text.
//
// Beside the block, each group of rowsPerGroup rows keeps a bit for every run of
// three and of four bytes in its texts (by a hash). A group that lacks a bit of the
// search text's runs cannot hold it, and the scan passes it by: on a large library a
// search reads only the groups that may match, not every text before its hit.
struct FoldedRows {
  bool started = false;
  std::uint64_t version = 0;
  std::int64_t mode = 0;
  int language = 0;
  int rowCount = 0;
  int foldedCount = 0;  // rows folded so far; the block is complete at rowCount
  std::string text;
  std::vector<std::size_t> rowStart;  // one per row, and the end of the block last
  std::size_t byteCount[256] = {};    // how often each byte occurs in the block
  // groupBitWords words per group of rows, word w of group g at w * groupTotal + g:
  // a search reads each word it needs along the groups, one after the other.
  std::vector<std::uint64_t> runBits;
  std::size_t groupTotal = 0;  // the groups of all rows, folded or not
  std::size_t longestRow = 0;  // the longest folded text of a row, in bytes
};

constexpr int rowsPerGroup = 32;
constexpr unsigned runBitCount = 4096;
// A group's bits: those of its runs of three bytes, then those of its runs of four.
constexpr std::size_t groupBitWords = 2 * runBitCount / 64;

FoldedRows foldedRows;

const database::IndexEntry& entryOf(const TopicRows& rows, int row) {
  static const database::IndexEntry none;
  if (!rows.entries || row >= static_cast<int>(rows.entries->size())) return none;
  return (*rows.entries)[row];
}

// The bit of a run of three bytes (the low three bytes of `run`), and that of a run of
// four. Runs of four tell groups apart far better where the texts differ only in a few
// places, such as numbered titles.
unsigned threeByteBit(std::uint32_t run) { return ((run & 0xFFFFFFu) * 0x9E3779B1u) >> (32 - 12); }
unsigned fourByteBit(std::uint32_t run) { return runBitCount + ((run * 0x85EBCA6Bu) >> (32 - 12)); }

std::uint32_t runAt(const char* bytes, std::size_t length) {
  std::uint32_t run = 0;
  for (std::size_t i = 0; i < length; ++i) run = run << 8 | static_cast<unsigned char>(bytes[i]);
  return run;
}

int groupCount(int rowCount) { return (rowCount + rowsPerGroup - 1) / rowsPerGroup; }

std::size_t groupStart(const FoldedRows& folded, int group) {
  return folded.rowStart[static_cast<std::size_t>(group) * rowsPerGroup];
}

std::size_t groupEnd(const FoldedRows& folded, int group) {
  const std::size_t next = static_cast<std::size_t>(group + 1) * rowsPerGroup;
  return folded.rowStart[std::min(next, folded.rowStart.size() - 1)];
}

// Counts the bytes of the row's folded text and marks its runs of three and four
// bytes in the row's group, in one pass.
void takeInRow(FoldedRows& folded, int row) {
  std::uint64_t* const bits = &folded.runBits[static_cast<std::size_t>(row / rowsPerGroup)];
  const std::size_t stride = folded.groupTotal;
  const unsigned char* const text = reinterpret_cast<const unsigned char*>(folded.text.data());
  const std::size_t start = folded.rowStart[row];
  const std::size_t end = folded.rowStart[row + 1];
  folded.longestRow = std::max(folded.longestRow, end - start - 1);
  std::uint32_t run = 0;
  for (std::size_t at = start; at < end; ++at) {
    ++folded.byteCount[text[at]];
    run = run << 8 | text[at];
    if (at < start + 2) continue;
    const unsigned three = threeByteBit(run);
    bits[three / 64 * stride] |= std::uint64_t{1} << (three % 64);
    if (at < start + 3) continue;
    const unsigned four = fourByteBit(run);
    bits[four / 64 * stride] |= std::uint64_t{1} << (four % 64);
  }
}

void startFolding(FoldedRows& folded, const TopicRows& rows, std::int64_t searchMode, int language) {
  TRACE_LINE();
  folded.started = true;
  folded.version = rows.version;
  folded.mode = searchMode;
  folded.language = language;
  folded.rowCount = rows.count;
  folded.foldedCount = 0;
  // Room for all the texts at once: the block is not copied as it grows. Folding
  // keeps the length of almost every character.
  std::size_t bytes = 0;
  for (int row = 0; row < rows.count; ++row) {
    const SearchedFields fields = searchedFields(rows.text(row), entryOf(rows, row), searchMode, language);
    for (int i = 0; i < fields.count; ++i) bytes += fields.parts[i].size() + 1;
  }
  folded.text.clear();
  folded.text.reserve(bytes + bytes / 16);
  folded.rowStart.assign(1, 0);
  folded.rowStart.reserve(static_cast<std::size_t>(rows.count) + 1);
  std::fill(std::begin(folded.byteCount), std::end(folded.byteCount), 0);
  folded.longestRow = 0;
  folded.groupTotal = static_cast<std::size_t>(groupCount(rows.count));
  folded.runBits.assign(folded.groupTotal * groupBitWords, 0);
}

// Folds the texts of up to `limit` more rows into the block.
void foldMoreRows(FoldedRows& folded, const TopicRows& rows, int limit) {
  TRACE_LINE();
  const int end = folded.foldedCount + std::min(limit, folded.rowCount - folded.foldedCount);
  for (int row = folded.foldedCount; row < end; ++row) {
    const SearchedFields fields =
        searchedFields(rows.text(row), entryOf(rows, row), folded.mode, folded.language);
    for (int i = 0; i < fields.count; ++i) {
      if (i > 0) folded.text += ';';  // folding works character by character, so the joints stay
      appendFoldedCase(folded.text, fields.parts[i]);
    }
    folded.text += '\0';
    folded.rowStart.push_back(folded.text.size());
    takeInRow(folded, row);
  }
  folded.foldedCount = end;
}

bool sameRows(const FoldedRows& kept, const TopicRows& rows, std::int64_t searchMode, int language) {
  return kept.started && kept.version == rows.version && kept.mode == searchMode &&
         kept.language == language && kept.rowCount == rows.count;
}

bool keptFor(const TopicRows& rows, std::int64_t searchMode, int language) {
  return sameRows(foldedRows, rows, searchMode, language);
}

// Rows folded on a thread of their own, from a copy of their searched texts: the
// thread touches nothing else, and its result is taken over on the main thread.
struct BackgroundFolding {
  std::thread worker;
  std::atomic<bool> stop{false};
  std::atomic<bool> done{false};
  FoldedRows key;     // the main thread's: which rows the worker folds (the key alone)
  FoldedRows result;  // the worker's until it is joined
};
BackgroundFolding background;

void joinBackgroundFolding() {
  if (background.worker.joinable()) background.worker.join();
}

// Ends the background folding and drops what it folded.
void dropBackgroundFolding() {
  background.stop = true;
  joinBackgroundFolding();
  background.result = FoldedRows();
  background.key = FoldedRows();
  background.stop = false;
  background.done = false;
}

// Takes over the background folding's texts when they are for these rows, waiting
// for the thread if it is not done yet.
void adoptBackgroundFolding(const TopicRows& rows, std::int64_t searchMode, int language) {
  if (!background.worker.joinable()) return;
  joinBackgroundFolding();
  if (background.done && sameRows(background.result, rows, searchMode, language))
    foldedRows = std::move(background.result);
  dropBackgroundFolding();
}

// Lets a program that ends while the thread folds wait for it.
struct BackgroundFoldingEnd {
  ~BackgroundFoldingEnd() {
    background.stop = true;
    joinBackgroundFolding();
  }
} backgroundFoldingEnd;

void foldCopiedTexts(std::vector<std::string> texts, TopicRows rows, std::int64_t searchMode, int language,
                     std::function<void()> finished) {
  // Each copied text is the row's searched fields joined already: folded as one field.
  TopicRows copied = rows;
  copied.entries = nullptr;
  copied.text = [&texts](int row) -> const std::string& { return texts[row]; };
  FoldedRows folded;
  startFolding(folded, copied, TitleOnly, language);
  constexpr int rowsPerStep = 1024;
  while (folded.foldedCount < folded.rowCount && !background.stop) foldMoreRows(folded, copied, rowsPerStep);
  if (background.stop) return;
  folded.mode = searchMode;
  background.result = std::move(folded);
  background.done = true;
  if (finished) finished();
}

const FoldedRows& foldedRowsFor(const TopicRows& rows, std::int64_t searchMode, int language) {
  if (!keptFor(rows, searchMode, language)) adoptBackgroundFolding(rows, searchMode, language);
  if (!keptFor(rows, searchMode, language)) startFolding(foldedRows, rows, searchMode, language);
  if (foldedRows.foldedCount < foldedRows.rowCount) foldMoreRows(foldedRows, rows, foldedRows.rowCount);
  return foldedRows;
}

// The first place from `from` to `to` where the needle stands in the block, or npos.
std::size_t findInBlock(const FoldedRows& folded, const std::string& needle, std::size_t from,
                        std::size_t to) {
  return findByRareByte(folded.text.data(), from, to, needle, rarestBytePlace(needle, folded.byteCount));
}

// The bits of the needle's runs of four bytes, of three for a needle of three; none
// for a shorter needle.
std::vector<unsigned> runBitsOf(const std::string& needle) {
  std::vector<unsigned> bits;
  const std::size_t length = needle.size() == 3 ? 3 : 4;
  for (std::size_t at = 0; at + length <= needle.size(); ++at) {
    const std::uint32_t run = runAt(needle.data() + at, length);
    bits.push_back(length == 3 ? threeByteBit(run) : fourByteBit(run));
  }
  std::sort(bits.begin(), bits.end());
  bits.erase(std::unique(bits.begin(), bits.end()), bits.end());
  return bits;
}

bool groupMayHold(const FoldedRows& folded, int group, const std::vector<unsigned>& bits) {
  const std::uint64_t* const words = &folded.runBits[static_cast<std::size_t>(group)];
  for (const unsigned bit : bits) {
    if (!(words[bit / 64 * folded.groupTotal] & (std::uint64_t{1} << (bit % 64)))) return false;
  }
  return true;
}

// The first place from the row on where the needle stands, or npos; the groups
// that cannot hold it are passed by.
std::size_t findFromRow(const FoldedRows& folded, const std::string& needle, int firstRow) {
  const std::vector<unsigned> bits = runBitsOf(needle);
  const int rowCount = static_cast<int>(folded.rowStart.size()) - 1;
  if (bits.empty()) return findInBlock(folded, needle, folded.rowStart[firstRow], folded.text.size());
  for (int group = firstRow / rowsPerGroup; group < groupCount(rowCount); ++group) {
    if (!groupMayHold(folded, group, bits)) continue;
    const std::size_t from = std::max(groupStart(folded, group), folded.rowStart[firstRow]);
    const std::size_t at = findInBlock(folded, needle, from, groupEnd(folded, group));
    if (at != std::string::npos) return at;
  }
  return std::string::npos;
}

}  // namespace

int firstRowToSearch(SearchStart start, int selectedRow) {
  if (start == SearchStart::FromTop || selectedRow < 0) return 0;
  return selectedRow + 1;
}

SearchedFields searchedFields(const std::string& rowText, const database::IndexEntry& entry,
                              std::int64_t searchMode, int language) {
  SearchedFields fields;
  fields.parts[fields.count++] = rowText;
  if (searchMode == TitleOnly) return fields;
  if (searchMode == AllLanguages) {
    for (const std::string_view part : {entry.FunctionDe, entry.FunctionEn, entry.FunctionFr,
                                        entry.DescriptDe, entry.DescriptEn, entry.DescriptFr}) {
      fields.parts[fields.count++] = part;
    }
    return fields;
  }
  fields.parts[fields.count++] = entry.*database::languageField(database::EntryText::Description, language);
  return fields;
}

std::string searchedText(const SearchedFields& fields) {
  std::string text;
  for (int i = 0; i < fields.count; ++i) {
    if (i > 0) text += ';';
    text += fields.parts[i];
  }
  return text;
}

int findTopicRow(const std::string& searchText, int firstRow, const TopicRows& rows, std::int64_t searchMode,
                 int language) {
  TRACE_LINE();
  firstRow = std::max(firstRow, 0);
  if (searchText.empty() || !rows.text || firstRow >= rows.count) return -1;
  const std::string needle = foldCase(searchText);
  if (needle.empty()) return -1;
  const FoldedRows& folded = foldedRowsFor(rows, searchMode, language);
  TRACE_LINE();
  if (needle.size() > folded.longestRow) return -1;
  const std::size_t at = findFromRow(folded, needle, firstRow);
  if (at == std::string::npos) return -1;
  const auto next = std::upper_bound(folded.rowStart.begin(), folded.rowStart.end(), at);
  return static_cast<int>(next - folded.rowStart.begin()) - 1;
}

FoundBeginning longestFoundBeginning(const std::string& searchText, const TopicRows& rows,
                                     std::int64_t searchMode, int language) {
  TRACE_LINE();
  std::vector<std::size_t> ends;  // ends[k]: the byte length of the first k + 1 characters
  for (std::size_t at = 1; at <= searchText.size(); ++at) {
    const bool continues =
        at < searchText.size() && (static_cast<unsigned char>(searchText[at]) & 0xC0) == 0x80;
    if (!continues) ends.push_back(at);
  }
  // found: a count of characters known to be found (0 stands for none), missed: one known not to be.
  std::size_t found = 0, missed = ends.size() + 1;
  FoundBeginning beginning;
  while (missed - found > 1) {
    const std::size_t middle = found + (missed - found) / 2;
    const int row = findTopicRow(searchText.substr(0, ends[middle - 1]), 0, rows, searchMode, language);
    if (row < 0) {
      missed = middle;
      continue;
    }
    found = middle;
    beginning = FoundBeginning{ends[middle - 1], row};
  }
  return beginning;
}

bool foldRowsInBackground(const TopicRows& rows, std::int64_t searchMode, int language,
                          std::function<void()> finished) {
  TRACE_LINE();
  if (!rows.text || keptFor(rows, searchMode, language)) return false;
  if (background.worker.joinable() && sameRows(background.key, rows, searchMode, language)) return true;
  dropBackgroundFolding();
  std::vector<std::string> texts;
  texts.reserve(static_cast<std::size_t>(rows.count));
  for (int row = 0; row < rows.count; ++row)
    texts.push_back(searchedText(searchedFields(rows.text(row), entryOf(rows, row), searchMode, language)));
  background.key.started = true;
  background.key.version = rows.version;
  background.key.mode = searchMode;
  background.key.language = language;
  background.key.rowCount = rows.count;
  background.worker =
      std::thread(foldCopiedTexts, std::move(texts), rows, searchMode, language, std::move(finished));
  return true;
}

void takeOverBackgroundFolding(const TopicRows& rows, std::int64_t searchMode, int language) {
  if (background.done) adoptBackgroundFolding(rows, searchMode, language);
}

void clearSearchCache() {
  dropBackgroundFolding();
  foldedRows.started = false;
  std::string().swap(foldedRows.text);
  std::vector<std::size_t>().swap(foldedRows.rowStart);
  std::vector<std::uint64_t>().swap(foldedRows.runBits);
}

}  // namespace search
