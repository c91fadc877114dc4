// The matching rules of the topic search over plain rows.
#include "search/topic_search.h"

#include <algorithm>
#include <cstring>

#include "base/trace.h"

namespace search {
namespace {

// The folded searched texts of all rows in one block, each row's text ended by a
// NUL. A folded search text never holds a NUL (it comes from valid UTF-8 without
// one), so a match never runs from one row into the next, and one scan of the
// block serves all rows. Built on the first search after the rows change, so a
// keystroke folds only the search text.
struct FoldedRows {
  bool built = false;
  std::uint64_t version = 0;
  std::int64_t mode = 0;
  int language = 0;
  std::string text;
  std::vector<std::size_t> rowStart;  // one per row, and the end of the block last
  std::size_t byteCount[256] = {};    // how often each byte occurs in the block
};

FoldedRows foldedRows;

const database::IndexEntry& entryOf(const TopicRows& rows, int row) {
  static const database::IndexEntry none;
  if (!rows.entries || row >= static_cast<int>(rows.entries->size())) return none;
  return (*rows.entries)[row];
}

void buildFoldedRows(const TopicRows& rows, std::int64_t searchMode, int language) {
  TRACE_LINE();
  FoldedRows& folded = foldedRows;
  folded.text.clear();
  folded.rowStart.assign(1, 0);
  folded.rowStart.reserve(static_cast<std::size_t>(rows.count) + 1);
  for (int row = 0; row < rows.count; ++row) {
    const SearchedFields fields = searchedFields(rows.text(row), entryOf(rows, row), searchMode, language);
    for (int i = 0; i < fields.count; ++i) {
      if (i > 0) folded.text += ';';  // folding works character by character, so the joints stay
      appendFoldedCase(folded.text, fields.parts[i]);
    }
    folded.text += '\0';
    folded.rowStart.push_back(folded.text.size());
  }
  std::fill(std::begin(folded.byteCount), std::end(folded.byteCount), 0);
  for (const char c : folded.text) ++folded.byteCount[static_cast<unsigned char>(c)];
  folded.built = true;
  folded.version = rows.version;
  folded.mode = searchMode;
  folded.language = language;
}

const FoldedRows& foldedRowsFor(const TopicRows& rows, std::int64_t searchMode, int language) {
  const FoldedRows& kept = foldedRows;
  const bool current = kept.built && kept.version == rows.version && kept.mode == searchMode &&
                       kept.language == language &&
                       kept.rowStart.size() == static_cast<std::size_t>(rows.count) + 1;
  if (!current) buildFoldedRows(rows, searchMode, language);
  return foldedRows;
}

// The first place from `from` on where the needle stands in the block, or npos.
// It looks for the needle's rarest byte with memchr and compares around each
// find, which skips most of the block at memory speed whatever the needle.
std::size_t findInBlock(const FoldedRows& folded, const std::string& needle, std::size_t from) {
  std::size_t rare = 0;
  for (std::size_t i = 1; i < needle.size(); ++i) {
    if (folded.byteCount[static_cast<unsigned char>(needle[i])] <
        folded.byteCount[static_cast<unsigned char>(needle[rare])])
      rare = i;
  }
  const char* const block = folded.text.data();
  const char* const end = block + folded.text.size();
  const char* candidate = block + from + rare;
  while (candidate < end) {
    candidate = static_cast<const char*>(std::memchr(candidate, needle[rare], end - candidate));
    if (!candidate) return std::string::npos;
    const char* const start = candidate - rare;
    if (static_cast<std::size_t>(end - start) >= needle.size() &&
        std::memcmp(start, needle.data(), needle.size()) == 0)
      return static_cast<std::size_t>(start - block);
    ++candidate;
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
  const std::size_t at = findInBlock(folded, needle, folded.rowStart[firstRow]);
  if (at == std::string::npos) return -1;
  const auto next = std::upper_bound(folded.rowStart.begin(), folded.rowStart.end(), at);
  return static_cast<int>(next - folded.rowStart.begin()) - 1;
}

void clearSearchCache() {
  foldedRows.built = false;
  std::string().swap(foldedRows.text);
  std::vector<std::size_t>().swap(foldedRows.rowStart);
}

}  // namespace search
