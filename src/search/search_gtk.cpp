// Searching the topic tree as the user types, and the hints of a miss.
#include "search/search_gtk.h"

namespace search {

void searchTopics(SearchStart) {}

}  // namespace search
