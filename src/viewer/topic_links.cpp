// Finding the topic that a link label in the code names.
#include "viewer/topic_links.h"

#include <initializer_list>
#include <string_view>

#include "base/trace.h"

namespace viewer {
namespace {

std::string_view titleIn(const database::IndexEntry& entry, config::DisplayLanguage language) {
  if (language == config::German) return entry.FunctionDe;
  if (language == config::English) return entry.FunctionEn;
  return entry.FunctionFr;
}

// Blanks at the ends are invisible in the code and in the tree, so they decide nothing.
std::string_view withoutBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::string_view();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string_view withoutMarker(std::string_view title) {
  for (const std::string_view marker : {database::newTopicMarker, database::updatedTopicMarker}) {
    if (title.substr(0, marker.size()) == marker) return title.substr(marker.size());
  }
  return title;
}

bool titleMatches(std::string_view title, std::string_view wanted) {
  const std::string_view trimmed = withoutBlanks(title);
  return trimmed == wanted || withoutBlanks(withoutMarker(trimmed)) == wanted;
}

int firstRowTitled(const std::vector<database::IndexEntry>& entries, std::string_view wanted,
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
  const std::string_view wanted = withoutBlanks(linkText);
  if (wanted.empty()) return -1;
  const int shown = firstRowTitled(entries, wanted, {language});
  // Snippets are written with the titles of one language; a reader of another still follows them.
  return shown >= 0 ? shown
                    : firstRowTitled(entries, wanted, {config::German, config::English, config::French});
}

}  // namespace viewer
