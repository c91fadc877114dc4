// Finding the topic that a link label in the code names.
#include "viewer/topic_links.h"

#include <cstring>
#include <initializer_list>

#include "app/app_state.h"

namespace viewer {
namespace {

const std::string& titleIn(const database::IndexEntry& entry, config::DisplayLanguage language) {
  if (language == config::German) return entry.FunctionDe;
  if (language == config::English) return entry.FunctionEn;
  return entry.FunctionFr;
}

// Blanks at the ends are invisible in the code and in the tree, so they decide nothing.
std::string withoutBlanks(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string withoutMarker(const std::string& title) {
  for (const char* marker : {database::newTopicMarker, database::updatedTopicMarker}) {
    const std::size_t length = std::strlen(marker);
    if (title.compare(0, length, marker) == 0) return title.substr(length);
  }
  return title;
}

bool titleMatches(const std::string& title, const std::string& wanted) {
  const std::string trimmed = withoutBlanks(title);
  return trimmed == wanted || withoutBlanks(withoutMarker(trimmed)) == wanted;
}

int firstRowTitled(const std::vector<database::IndexEntry>& entries, const std::string& wanted,
                   std::initializer_list<config::DisplayLanguage> languages) {
  for (std::size_t row = 0; row < entries.size(); ++row) {
    for (config::DisplayLanguage language : languages) {
      if (titleMatches(titleIn(entries[row], language), wanted)) return static_cast<int>(row);
    }
  }
  return -1;
}

}  // namespace

int linkedTopicRow(const std::vector<database::IndexEntry>& entries, config::DisplayLanguage language,
                   const std::string& linkText) {
  TRACE_LINE();
  const std::string wanted = withoutBlanks(linkText);
  if (wanted.empty()) return -1;
  const int shown = firstRowTitled(entries, wanted, {language});
  // Snippets are written with the titles of one language; a reader of another still follows them.
  return shown >= 0 ? shown
                    : firstRowTitled(entries, wanted, {config::German, config::English, config::French});
}

}  // namespace viewer
