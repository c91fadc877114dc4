// The display language: the settings window's language choice, mirroring `Language`.
#pragma once

namespace config {

enum DisplayLanguage { German = 0, English = 1, French = 2 };

// The raw choice of the language list (0 German, 1 English, 2 French).
int languageChoice();
void setLanguageChoice(int choice);
// The choice read as a language: 0 German, 1 English, any other value French.
DisplayLanguage displayLanguage();

}  // namespace config
