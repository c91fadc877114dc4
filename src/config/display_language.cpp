// Holds the language choice, or reads it from the settings window's language list.
#include "config/display_language.h"

#include <utility>

namespace config {
namespace {
int storedChoice = 0;
LanguageSelector selector;
}  // namespace

int languageChoice() { return selector.read ? selector.read() : storedChoice; }

void setLanguageChoice(int choice) {
  storedChoice = choice;
  if (selector.select) selector.select(choice);
}

DisplayLanguage displayLanguage() {
  const int choice = languageChoice();
  if (choice == 0) return German;
  if (choice == 1) return English;
  return French;
}

void attachLanguageSelector(LanguageSelector newSelector) { selector = std::move(newSelector); }

void detachLanguageSelector() {
  if (selector.read) storedChoice = selector.read();
  selector = LanguageSelector();
}

}  // namespace config
