// The matching rules of the topic search over plain rows: which texts each search
// mode looks at, caseless comparison for all of Unicode, and where a search begins.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "database/topic_index.h"
#include "search/case_folding.h"

namespace search {

// FromTop: every change of the search field. FindNext: find button, F3, Return.
enum class SearchStart { FromTop, FindNext };

// The values of SearchMode.
enum SearchModeValue {
  TitleAndDescription = 0,  // row text and the description of the display language
  TitleOnly = 1,
  AllLanguages = 2  // row text, the three titles and the three descriptions
};

// The row a search begins at: 0 from the top, else the row after the selected one
// (0 when no row is selected, selectedRow -1).
int firstRowToSearch(SearchStart start, int selectedRow);

// The pieces a row's searched text is joined from, with ";" between them.
struct SearchedFields {
  std::array<std::string_view, 7> parts;
  int count = 0;
};

// The fields a search mode looks at for one row; language: 0 German, 1 English,
// any other value French. A mode outside 0 to 2 searches like mode 0, the default.
SearchedFields searchedFields(const std::string& rowText, const database::IndexEntry& entry,
                              std::int64_t searchMode, int language);
// The searched text of one row: the fields joined with ";".
std::string searchedText(const SearchedFields& fields);

// The rows a search runs over: the displayed text of each tree row and the
// parallel IndexEntry list (a missing entry counts as empty). The folded texts of
// the rows are kept from one search to the next while version, mode, language and
// row count stay the same: whoever rebuilds the rows must change the version.
struct TopicRows {
  int count = 0;
  std::function<const std::string&(int)> text;
  const std::vector<database::IndexEntry>* entries = nullptr;
  std::uint64_t version = 0;
};

// The first row from firstRow to the last whose searched text contains the search
// text, letter case ignored, the text taken literally; -1 when no row matches or
// the search text is empty. There is no wrap-around.
int findTopicRow(const std::string& searchText, int firstRow, const TopicRows& rows, std::int64_t searchMode,
                 int language);

// The longest beginning of the search text, in whole characters, that a row's
// searched text contains, and the first row from the top that contains it; bytes 0
// and row -1 when not even the first character is found. Whatever holds a beginning
// holds every shorter one, so a few searches find it however long the text is.
struct FoundBeginning {
  std::size_t bytes = 0;
  int row = -1;
};
FoundBeginning longestFoundBeginning(const std::string& searchText, const TopicRows& rows,
                                     std::int64_t searchMode, int language);

// Folds the searched texts of all rows for the mode and language on a thread of its
// own, from a copy of the texts made now, so that the program stays idle meanwhile;
// finished is called on that thread once it is done. A search that comes earlier
// waits for the thread; a search for other rows drops its work. False when the
// texts are kept ready already (nothing started).
bool foldRowsInBackground(const TopicRows& rows, std::int64_t searchMode, int language,
                          std::function<void()> finished);
// Takes over the texts folded in the background once the thread is done, so that
// it does not hold them longer than needed.
void takeOverBackgroundFolding(const TopicRows& rows, std::int64_t searchMode, int language);

// Drops the kept folded texts; the next search folds the rows anew.
void clearSearchCache();

}  // namespace search
