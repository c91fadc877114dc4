// Reading and writing the settings file format as a plain list of lines.
#include "config/settings_file.h"

#include "base/paths.h"
#include "base/trace.h"

#include <limits>

#include <glib.h>

namespace config {
namespace {

const char utf8Mark[] = "\xEF\xBB\xBF";
const char* const lineBlanks = " \t";

bool startsWithUtf8Mark(const std::string& bytes) { return bytes.compare(0, 3, utf8Mark) == 0; }

std::string latin1ToUtf8(const std::string& bytes) {
  TRACE_LINE();
  std::string result;
  result.reserve(bytes.size() + bytes.size() / 8);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0) {
      result += "\xEF\xBF\xBD";
    } else if (byte < 0x80) {
      result += c;
    } else {
      result += static_cast<char>(0xC0 | (byte >> 6));
      result += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return result;
}

bool asciiEqualNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && g_ascii_strncasecmp(a.data(), b.data(), a.size()) == 0;
}

SettingsLine commentLine(const std::string& line, std::size_t start) {
  SettingsLine result;
  result.kind = SettingsLineKind::Comment;
  std::size_t textStart = start + 1;
  if (textStart < line.size() && line[textStart] == ' ') ++textStart;
  result.text = line.substr(textStart);
  return result;
}

SettingsLine groupLine(const std::string& line, std::size_t start) {
  SettingsLine result;
  result.kind = SettingsLineKind::Group;
  const std::size_t close = line.find(']', start + 1);
  const std::size_t nameEnd = close == std::string::npos ? line.size() : close;
  result.text = line.substr(start + 1, nameEnd - start - 1);
  return result;
}

SettingsLine keyLine(const std::string& line, std::size_t start, std::size_t equals) {
  SettingsLine result;
  result.kind = SettingsLineKind::Key;
  result.key = line.substr(start, equals - start);
  result.key.erase(result.key.find_last_not_of(lineBlanks) + 1);  // npos + 1: blanks only, nothing left
  const std::size_t valueStart = line.find_first_not_of(lineBlanks, equals + 1);
  result.text = valueStart == std::string::npos ? std::string() : line.substr(valueStart);
  return result;
}

// A line without "=" names no key. Dropping it would lose whatever the user
// meant by it, so it stays where it is and is written back unchanged.
SettingsLine otherLine(const std::string& line) {
  SettingsLine result;
  result.kind = SettingsLineKind::Other;
  result.text = line;
  return result;
}

void addLine(SettingsDocument& document, const std::string& line) {
  const std::size_t start = line.find_first_not_of(lineBlanks);
  if (start == std::string::npos) return;  // empty or blanks only: no item
  if (line[start] == ';') {
    document.lines.push_back(commentLine(line, start));
  } else if (line[start] == '[') {
    document.lines.push_back(groupLine(line, start));
  } else {
    const std::size_t equals = line.find('=', start);
    document.lines.push_back(equals == std::string::npos ? otherLine(line) : keyLine(line, start, equals));
  }
}

std::size_t firstGroupIndex(const SettingsDocument& document) {
  for (std::size_t i = 0; i < document.lines.size(); ++i) {
    if (document.lines[i].kind == SettingsLineKind::Group) return i;
  }
  return document.lines.size();
}

const std::size_t noLine = static_cast<std::size_t>(-1);

std::size_t keyIndex(const SettingsDocument& document, const std::string& key) {
  const std::size_t end = firstGroupIndex(document);
  for (std::size_t i = 0; i < end; ++i) {
    const SettingsLine& line = document.lines[i];
    if (line.kind == SettingsLineKind::Key && asciiEqualNoCase(line.key, key)) return i;
  }
  return noLine;
}

// New lines go right after the last line of the area before the first group:
// in front of the first group line, or at the end when there is none. Every
// line of that area (key, comment or a line without "=") counts, so a file
// that begins with a group line or is empty gets them at the very beginning.
void insertBeforeFirstGroup(SettingsDocument& document, SettingsLine line) {
  const auto at = document.lines.begin() + static_cast<std::ptrdiff_t>(firstGroupIndex(document));
  document.lines.insert(at, std::move(line));
}

// The format has no escapes: a line break inside a value would split the line
// and could even start a group that hides every later key.
std::string withoutLineBreaks(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

std::string formatLine(const SettingsLine& line) {
  switch (line.kind) {
    case SettingsLineKind::Comment: return "; " + line.text;
    case SettingsLineKind::Group: return "[" + line.text + "]";
    case SettingsLineKind::Key: return line.key + "=" + line.text;
    case SettingsLineKind::Other: break;
  }
  return line.text;
}

}  // namespace

std::string decodeSettingsBytes(const std::string& bytes) {
  TRACE_LINE();
  if (startsWithUtf8Mark(bytes)) return base::validUtf8(std::string_view(bytes).substr(3));
  return latin1ToUtf8(bytes);
}

SettingsDocument parseSettingsText(const std::string& utf8) {
  TRACE_LINE();
  SettingsDocument document;
  std::size_t start = 0;
  while (start < utf8.size()) {
    std::size_t end = utf8.find_first_of("\r\n", start);
    if (end == std::string::npos) end = utf8.size();
    if (end > start) addLine(document, utf8.substr(start, end - start));
    start = end + 1;
  }
  return document;
}

SettingsDocument parseSettingsBytes(const std::string& bytes) {
  TRACE_LINE();
  return parseSettingsText(decodeSettingsBytes(bytes));
}

std::string formatSettingsDocument(const SettingsDocument& document) {
  TRACE_LINE();
  std::string result = std::string(utf8Mark) + "\n";
  for (const SettingsLine& line : document.lines) {
    result += withoutLineBreaks(formatLine(line));
    result += '\n';
  }
  return result;
}

std::int64_t parseSettingsNumber(const std::string& value) {
  std::size_t i = value.find_first_not_of(" \t\n\r\v\f");
  if (i == std::string::npos) return 0;
  const bool negative = value[i] == '-';
  if (value[i] == '-' || value[i] == '+') ++i;
  // Counted towards the negative end, which holds one more value than the
  // positive one; absurdly long digit runs stop at the limit instead of wrapping.
  const std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
  std::int64_t number = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    const int digit = value[i] - '0';
    if (number < (lowest + digit) / 10) {
      number = lowest;
    } else {
      number = number * 10 - digit;
    }
  }
  if (negative) return number;
  return number == lowest ? std::numeric_limits<std::int64_t>::max() : -number;
}

const SettingsLine* findSettingsKey(const SettingsDocument& document, const std::string& key) {
  const std::size_t index = keyIndex(document, key);
  return index == noLine ? nullptr : &document.lines[index];
}

std::string readSettingsText(const SettingsDocument& document, const std::string& key,
                             const std::string& fallback) {
  const SettingsLine* line = findSettingsKey(document, key);
  return line ? line->text : fallback;
}

std::int64_t readSettingsNumber(const SettingsDocument& document, const std::string& key,
                                std::int64_t fallback) {
  const SettingsLine* line = findSettingsKey(document, key);
  return line ? parseSettingsNumber(line->text) : fallback;
}

void writeSettingsText(SettingsDocument& document, const std::string& key, const std::string& value) {
  TRACE_LINE();
  const std::size_t index = keyIndex(document, key);
  if (index != noLine) {
    document.lines[index].key = key;
    document.lines[index].text = value;
    return;
  }
  SettingsLine line;
  line.kind = SettingsLineKind::Key;
  line.key = key;
  line.text = value;
  insertBeforeFirstGroup(document, std::move(line));
}

void writeSettingsNumber(SettingsDocument& document, const std::string& key, std::int64_t value) {
  writeSettingsText(document, key, std::to_string(value));
}

void addSettingsComment(SettingsDocument& document, const std::string& text) {
  TRACE_LINE();
  SettingsLine line;
  line.kind = SettingsLineKind::Comment;
  line.text = text;
  insertBeforeFirstGroup(document, std::move(line));
}

}  // namespace config
