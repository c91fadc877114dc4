// Finding the topic that a link label in the code names.
#pragma once

#include <string>
#include <vector>

#include "config/display_language.h"
#include "database/topic_index.h"

namespace viewer {

// The first row whose title in the display language equals the link's text, else the
// first whose title in any of the three languages does; a title's leading new or
// updated marker ("✰", "↺") and blanks around either text do not count.
// -1 when no topic has that title (an empty text names none).
int linkedTopicRow(const std::vector<database::IndexEntry>& entries, config::DisplayLanguage language,
                   const std::string& linkText);

}  // namespace viewer
