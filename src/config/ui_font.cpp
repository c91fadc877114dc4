// Splits the desktop's interface font name into family and size for the bold heading font.
#include "config/ui_font.h"

#include "app/app_state.h"
#include "config/settings_file.h"

#include <limits>
#include <vector>

namespace config {
namespace {

std::vector<std::string> blankSeparatedWords(const std::string& text) {
  std::vector<std::string> words;
  std::size_t start = text.find_first_not_of(' ');
  while (start != std::string::npos) {
    const std::size_t end = text.find(' ', start);
    words.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    start = end == std::string::npos ? end : text.find_first_not_of(' ', end);
  }
  return words;
}

std::string joinedWithBlanks(const std::vector<std::string>& words, std::size_t count) {
  std::string result;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) result += ' ';
    result += words[i];
  }
  return result;
}

}  // namespace

UiFont parseUiFontName(const std::string& gtkFontName) {
  TRACE_LINE();
  const std::vector<std::string> words = blankSeparatedWords(gtkFontName);
  const std::int64_t size = words.empty() ? 0 : parseSettingsNumber(words.back());
  // A zero or negative size would give a font description Pango cannot use.
  if (size <= 0 || size > std::numeric_limits<int>::max()) return UiFont{gtkFontName, 10};
  return UiFont{joinedWithBlanks(words, words.size() - 1), static_cast<int>(size)};
}

std::string boldUiFontDescription(const UiFont& font) {
  return font.family + " bold " + std::to_string(font.size);
}

}  // namespace config
