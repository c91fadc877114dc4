// The topic search: on any rows and search text it finds the row a plain search over
// the folded texts finds, and folding keeps text valid and is stable.
#include <cstdint>
#include <string>
#include <vector>

#include <glib.h>

#include "database/topic_index.h"
#include "fuzz_input.h"
#include "search/topic_search.h"

namespace {

// Row i takes its text and its entry's fields from the pieces after the search text.
struct FuzzRows {
  std::vector<std::string> texts;
  std::vector<database::IndexEntry> entries;
};

FuzzRows rowsFrom(const std::vector<std::string>& pieces) {
  FuzzRows rows;
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    rows.texts.push_back(pieces[i]);
    database::IndexEntry entry;
    entry.FunctionDe = pieces[i];
    entry.DescriptDe = pieces[(i + 1) % pieces.size()];
    entry.DescriptEn = pieces[(i + 2) % pieces.size()];
    entry.FunctionFr = pieces[(i + 3) % pieces.size()];
    rows.entries.push_back(entry);
  }
  return rows;
}

int plainSearch(const std::string& searchText, int firstRow, const FuzzRows& rows, std::int64_t mode,
                int language) {
  const std::string needle = search::foldCase(searchText);
  if (needle.empty()) return -1;
  for (int row = std::max(firstRow, 0); row < static_cast<int>(rows.texts.size()); ++row) {
    const std::string text =
        search::searchedText(search::searchedFields(rows.texts[row], rows.entries[row], mode, language));
    if (search::foldCase(text).find(needle) != std::string::npos) return row;
  }
  return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  static std::uint64_t version = 0;
  const std::int64_t mode = data[0] % 4;
  const int language = data[1] % 3;
  const std::vector<std::string> pieces = fuzzing::piecesOf(data + 2, size - 2);
  const FuzzRows rows = rowsFrom(pieces);
  search::TopicRows topicRows;
  topicRows.count = static_cast<int>(rows.texts.size());
  topicRows.text = [&rows](int row) -> const std::string& { return rows.texts[row]; };
  topicRows.entries = &rows.entries;
  topicRows.version = ++version;
  const std::string& searchText = pieces[0];
  for (int firstRow : {0, 1, topicRows.count / 2}) {
    FUZZ_EXPECT(search::findTopicRow(searchText, firstRow, topicRows, mode, language) ==
                plainSearch(searchText, firstRow, rows, mode, language));
  }
  const std::string folded = search::foldCase(searchText);
  FUZZ_EXPECT(g_utf8_validate(folded.data(), static_cast<gssize>(folded.size()), nullptr));
  FUZZ_EXPECT(search::foldCase(folded) == folded);
  return 0;
}
