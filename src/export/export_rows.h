// The topic rows as the exports read them: plain data, taken from the tree.
#pragma once

#include <string>
#include <string_view>

#include "database/topic_index.h"

namespace exports {

// One tree row: its level (0 the document, 1 a group, 2 a topic), the text it
// shows and the IndexEntry with the same row number.
struct ExportRow {
  int level = 0;
  std::string text;
  database::IndexEntry entry;
};

// The levels of the rows the exports write; deeper rows (nested topics) write nothing.
constexpr int groupLevel = 1;
constexpr int topicLevel = 2;

// Topics carry this mark as the first character of a title while they are new.
inline bool beginsWithNewTopicMark(std::string_view text) {
  return text.compare(0, std::char_traits<char>::length(database::newTopicMarker),
                      database::newTopicMarker) == 0;
}

}  // namespace exports
