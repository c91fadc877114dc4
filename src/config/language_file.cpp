// Reads the language file into the table of interface texts and looks texts up.
#include "config/language_file.h"

#include <glib.h>

#include "base/app_state.h"
#include "base/dialogs.h"
#include "base/paths.h"
#include "base/trace.h"

namespace config {

LanguageTable languageTable;

namespace {

bool tableLoaded = false;
bool notFoundShown = false;

const char* const byteOrderMark = "\xEF\xBB\xBF";

// Walks the text line by line; a line ends at LF, CR LF or CR.
struct LineCursor {
  const std::string& text;
  std::size_t position = 0;
};

// The next line with its leading U+0020 characters removed (tabs stay);
// false at the end of the text.
bool nextLine(LineCursor& cursor, std::string& line) {
  const std::string& text = cursor.text;
  if (cursor.position >= text.size()) return false;
  std::size_t end = text.find_first_of("\r\n", cursor.position);
  if (end == std::string::npos) end = text.size();
  std::size_t start = cursor.position;
  while (start < end && text[start] == ' ') ++start;
  line.assign(text, start, end - start);
  const bool crLf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
  cursor.position = end < text.size() ? end + (crLf ? 2 : 1) : end;
  return true;
}

// A line cut at its first "=": the name without trailing blanks, the value
// without leading blanks. A line without "=" has no name.
struct LineField {
  std::string name;
  std::string value;
};

LineField splitLine(const std::string& line) {
  LineField field;
  const std::size_t equals = line.find('=');
  if (equals == std::string::npos) return field;
  std::size_t nameEnd = equals;
  while (nameEnd > 0 && line[nameEnd - 1] == ' ') --nameEnd;
  field.name.assign(line, 0, nameEnd);
  std::size_t valueStart = equals + 1;
  while (valueStart < line.size() && line[valueStart] == ' ') ++valueStart;
  field.value.assign(line, valueStart, std::string::npos);
  return field;
}

// Consumes one line of a block; it sets the text only when it carries the
// expected name. The en and fr lines belong to their own block's key, so a
// missing de line never lets them change another key's entry.
void readBlockLine(LineCursor& cursor, const char* name, LanguageTable& table, const std::string& key,
                   std::string LanguageEntry::*text) {
  std::string line;
  if (!nextLine(cursor, line)) return;
  const LineField field = splitLine(line);
  if (field.name == name) table[key].*text = field.value;
}

std::string languageFilePath() { return base::appState.programFolder + base::appState.languageFileName; }

std::string codeFromEnvironment() {
  const char* lang = g_getenv("LANG");
  return lang ? std::string(lang).substr(0, 2) : std::string();
}

const std::string* entryText(const LanguageEntry& entry, const std::string& code) {
  if (code == "de") return &entry.de;
  if (code == "en") return &entry.en;
  if (code == "fr") return &entry.fr;
  return nullptr;
}

}  // namespace

void readLanguageText(const std::string& bytes, LanguageTable& table) {
  TRACE_LINE();
  // An editor may have saved the file with a byte-order mark; it must not
  // hide a first line "[LanguageItems]".
  const bool marked = bytes.compare(0, 3, byteOrderMark) == 0;
  // Bad bytes would reach the toolkit's labels, which take UTF-8 only.
  const std::string text = base::validUtf8(marked ? bytes.substr(3) : bytes);
  LineCursor cursor{text};
  std::string line;
  bool found = false;
  while (!found && nextLine(cursor, line)) found = line == "[LanguageItems]";
  bool tooltips = false;
  while (nextLine(cursor, line)) {
    if (line == "[Tooltips]") {
      tooltips = true;
      continue;
    }
    const LineField field = splitLine(line);
    if (field.name != "Key") continue;
    const std::string key = tooltips ? "TT" + field.value : field.value;
    readBlockLine(cursor, "de", table, key, &LanguageEntry::de);
    readBlockLine(cursor, "en", table, key, &LanguageEntry::en);
    readBlockLine(cursor, "fr", table, key, &LanguageEntry::fr);
  }
}

bool LoadLanguageFile() {
  TRACE_LINE();
  gchar* contents = nullptr;
  gsize length = 0;
  if (!g_file_get_contents(languageFilePath().c_str(), &contents, &length, nullptr)) {
    if (!notFoundShown) {
      notFoundShown = true;
      base::showMessage("", "Language-File not found!");
    }
    return false;
  }
  const std::string bytes(contents, length);
  g_free(contents);
  readLanguageText(bytes, languageTable);
  return true;
}

std::string LanguageText(const std::string& key, bool tooltip, const std::string& code) {
  TRACE_LINE();
  if (!tableLoaded) tableLoaded = LoadLanguageFile();
  if (!tableLoaded) return std::string();
  const std::string wanted = code.empty() ? codeFromEnvironment() : code;
  const auto found = languageTable.find(tooltip ? "TT" + key : key);
  if (found == languageTable.end()) return std::string();
  const std::string* text = entryText(found->second, wanted);
  return text ? *text : std::string();
}

std::string languageCode(std::int64_t language) {
  switch (language) {
    case 0: return "de";
    case 1: return "en";
    case 2: return "fr";
    default: return std::string();
  }
}

std::string listItemText(const std::string& text, int item) {
  std::size_t start = 0;
  for (int part = 0; part < item; ++part) {
    start = text.find('\t', start);
    if (start == std::string::npos) return std::string();
    ++start;
  }
  return text.substr(start, text.find('\t', start) - start);
}

void clearLanguageTable() {
  languageTable.clear();
  tableLoaded = false;
  notFoundShown = false;
}

}  // namespace config
