// The highlighting passes computed on a snippet's plain text: the tag ranges, the declared
// procedure names and the topic links, for the code view to apply.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "viewer/highlight_tables.h"

namespace viewer {

// A range of characters (Unicode characters, as the text buffer counts them), end excluded.
struct TagSpan {
  int start = 0;
  int end = 0;
};
bool operator==(const TagSpan& a, const TagSpan& b);

// One "; Link to topic:   " comment: its title gives way to an anchor holding the link.
struct TopicLink {
  int titleStart = 0;    // character offset of the title in the text as given
  int titleLength = 0;   // characters of the title, which leave the text
  int anchorOffset = 0;  // where the anchor goes once the earlier links are made
  int line = 0;          // line of the link, from 0
  int lineOffset = 0;    // character offset of the anchor within its line
  std::string title;
};
bool operator==(const TopicLink& a, const TopicLink& b);

struct HighlightPlan {
  // Per tag: sorted, non-overlapping ranges of the text as given (before any link is made).
  std::array<std::vector<TagSpan>, HighlightTagCount> spans;
  // The declared names in order of discovery, a name declared twice listed twice.
  std::vector<std::string> procedureNames;
  // In text order; anchorOffset already counts the changes of the links before it.
  std::vector<TopicLink> links;
};

// Runs the six passes on valid UTF-8 text. Lines end at LF, CR LF, CR or U+2029, as in
// the text buffer. codeMarks picks the keyword tag (2 blue and bold, else bold).
HighlightPlan planHighlighting(const std::string& text, std::int64_t codeMarks);

// The names the last highlighting run found; empty until the first run.
extern std::vector<std::string> procedureNames;

}  // namespace viewer
