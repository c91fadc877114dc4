// Holds the language choice until the settings window takes it over.
#include "config/display_language.h"

namespace config {
namespace {
int choice = 0;
}

int languageChoice() { return choice; }
void setLanguageChoice(int newChoice) { choice = newChoice; }

DisplayLanguage displayLanguage() {
  if (choice == 0) return German;
  if (choice == 1) return English;
  return French;
}

}  // namespace config
