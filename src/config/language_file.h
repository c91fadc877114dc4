// The language file and the table of interface texts and tooltips in three languages.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace config {

// The three texts of one key: German ("de"), English ("en"), French ("fr").
struct LanguageEntry {
  std::string de;
  std::string en;
  std::string fr;
};

// Text key to its texts; tooltip keys carry "TT" in front of the key.
using LanguageTable = std::map<std::string, LanguageEntry>;

extern LanguageTable languageTable;

// Reads the bytes of a language file into the table: blocks of a "Key" line and
// its "de", "en" and "fr" lines after "[LanguageItems]", tooltip blocks after
// "[Tooltips]". Texts that are not UTF-8 get U+FFFD in place of the bad bytes.
void readLanguageText(const std::string& bytes, LanguageTable& table);

// Reads the language file beside the program into languageTable; false (after the
// not-found message, shown at most once per run) when it cannot be opened.
bool LoadLanguageFile();

// The text of the key in the language with the code "de", "en" or "fr"; an empty
// code takes the first two characters of $LANG. Loads the file on first use.
// Returns "" for a missing key, an unknown code or an unreadable file.
std::string LanguageText(const std::string& key, bool tooltip, const std::string& code);

// "de", "en" or "fr" for the settings value 0, 1, 2; "" for any other value.
std::string languageCode(std::int64_t language);

// The TAB-separated part of a list text (0 first); "" when it is missing.
std::string listItemText(const std::string& text, int item);

// The interface texts were last applied in the language of the code (Language 0 to
// 2; "" takes $LANG).
void setInterfaceLanguage(const std::string& code);
// A composed text (composedTexts) in that language: the built-in German text until
// the first full language switch, and where the language file gives none.
std::string composedText(const std::string& key);

// Empties the table and forgets that it was loaded, that the message was shown and
// the language of the interface.
void clearLanguageTable();

}  // namespace config
