// Searching the topic tree as the user types, and the hints of a miss.
#pragma once

namespace search {

enum class SearchStart { FromTop, FindNext };

// Searches the tree for the search field's text; an empty text searches nothing.
void searchTopics(SearchStart start);

}  // namespace search
