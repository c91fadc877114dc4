// The display language: the settings window's language choice, mirroring `Language`.
#pragma once

#include <functional>

namespace config {

enum DisplayLanguage { German = 0, English = 1, French = 2 };

// The raw choice of the language list (0 German, 1 English, 2 French; -1 none).
int languageChoice();
// Selects the choice in the language list without raising an event.
void setLanguageChoice(int choice);
// The choice read as a language: 0 German, 1 English, any other value French.
DisplayLanguage displayLanguage();

// While the settings window exists, its language list is the one store of the
// choice; before it (and after it in tests) a plain value holds it.
struct LanguageSelector {
  std::function<int()> read;
  std::function<void(int)> select;
};
void attachLanguageSelector(LanguageSelector selector);
// Keeps the list's last choice as the plain value.
void detachLanguageSelector();

}  // namespace config
