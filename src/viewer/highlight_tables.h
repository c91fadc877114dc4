// The fixed data of the highlighter: its text tags, the keyword table and the link marker.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace viewer {

// In the order the tags are created: a tag created later has the higher priority.
enum HighlightTag {
  BlueBoldTag,
  FBoldTag,
  ConstantTag,
  FunctionTag,
  FuncCallTag,
  LiteralTag,
  DisableTag,
  HighlightTagCount
};

struct HighlightTagStyle {
  const char* name;
  int weight;              // 0: not set
  const char* foreground;  // nullptr: not set
};

extern const std::array<HighlightTagStyle, HighlightTagCount> highlightTagStyles;

constexpr int keywordCount = 109;
// Matched case-sensitively and scanned in this order on every run.
extern const std::array<const char*, keywordCount> keywordTable;

// A keyword declares a procedure when it is a piece of this text.
extern const char* const declaringKeywords;
bool isDeclaringKeyword(const std::string& keyword);

// A comment line with this marker (exactly three spaces) links to the topic named after it.
extern const char* const topicLinkMarker;

// "$", digits, ASCII letters and "_"; nothing else, no accented letters either.
constexpr bool isWordCharacter(char32_t c) {
  return c == '$' || c == '_' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// CodeMarks 2 shows keywords blue and bold, every other value bold only.
HighlightTag keywordTagFor(std::int64_t codeMarks);

}  // namespace viewer
