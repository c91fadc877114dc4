// Finding a text in the shown code, letter case ignored as the topic search ignores it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace search {

// The code folded for finding, with the way back from a folded byte to the character
// of the code it came from.
struct FoldedCode {
  std::string text;
  // One per character beyond ASCII: where its folded form lies in text,
  // and which character of the code it is. Between two of them every byte of text is
  // one ASCII character of the code.
  struct Wide {
    std::size_t foldedStart = 0;
    std::size_t foldedEnd = 0;
    int character = 0;
  };
  std::vector<Wide> wide;
};

// Folds the code (valid UTF-8, as the code view holds it) as the topic search folds its rows.
FoldedCode foldCode(std::string_view code);

// An occurrence, as character offsets into the code: [start, end).
struct CodeMatch {
  int start = 0;
  int end = 0;
};

// Every occurrence of the search text in the code, letter case ignored, in order and
// not overlapping; none for an empty search text. A match that covers only part of a
// character's folded form ("s" in the "ss" of "ß") covers the whole character.
std::vector<CodeMatch> findInCode(const FoldedCode& code, std::string_view searchText);

// The first occurrence that starts at or after the offset, else the first of all;
// -1 when there are none.
int firstMatchFrom(const std::vector<CodeMatch>& matches, int offset);
// The occurrence after (+1) or before (-1) the current one, wrapping around at
// either end; from none (-1) the first or the last. -1 when there are none.
int steppedMatch(int current, int count, int direction);
// "n / m": the current occurrence counted from 1 (0 for none) and how many there are.
std::string matchCountText(int current, int count);

}  // namespace search
