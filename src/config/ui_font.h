// The bold interface font, derived from the desktop's interface font name.
#pragma once

#include <string>

namespace config {

struct UiFont {
  std::string family;
  int size = 10;
};

// "Family words Size": a last word with a positive integer value is the size
// and the words before it, joined by single blanks, are the family; otherwise
// the whole text is the family at size 10.
UiFont parseUiFontName(const std::string& gtkFontName);
// Family + " bold " + size, a Pango font description.
std::string boldUiFontDescription(const UiFont& font);

}  // namespace config
