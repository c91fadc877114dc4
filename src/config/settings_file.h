// The settings file format: a line-oriented key-value text kept as a plain list of lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace config {

enum class SettingsLineKind { Comment, Group, Key, Other };

// One line of the file. Other lines are neither comments, groups nor keys
// (no "="); they are kept and written back exactly as they were read.
struct SettingsLine {
  SettingsLineKind kind = SettingsLineKind::Other;
  std::string key;   // Key lines only: the key as written
  std::string text;  // comment text, group name, value, or the whole line (Other)
};

struct SettingsDocument {
  std::vector<SettingsLine> lines;
};

// The file's bytes as UTF-8: after a UTF-8 byte-order mark the rest is UTF-8,
// otherwise every byte is an ISO-8859-1 character.
std::string decodeSettingsBytes(const std::string& bytes);
SettingsDocument parseSettingsText(const std::string& utf8);
SettingsDocument parseSettingsBytes(const std::string& bytes);
// The whole file as written: byte-order mark, one empty line, every line ending in LF.
std::string formatSettingsDocument(const SettingsDocument& document);

// Leading white space, an optional sign and the digits after it; anything else reads as 0.
std::int64_t parseSettingsNumber(const std::string& value);

// Lookups and updates see only the lines before the first group line; keys
// compare without regard to ASCII letter case and the first occurrence counts.
const SettingsLine* findSettingsKey(const SettingsDocument& document, const std::string& key);
std::string readSettingsText(const SettingsDocument& document, const std::string& key,
                             const std::string& fallback);
std::int64_t readSettingsNumber(const SettingsDocument& document, const std::string& key,
                                std::int64_t fallback);
void writeSettingsText(SettingsDocument& document, const std::string& key, const std::string& value);
void writeSettingsNumber(SettingsDocument& document, const std::string& key, std::int64_t value);
void addSettingsComment(SettingsDocument& document, const std::string& text);

}  // namespace config
