// Caseless comparison for all of Unicode: the folding both searches share, and a
// folded text that can give its original back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace search {

// The text with every letter case folded (Unicode full case folding), so that two
// texts that differ only in case compare equal. Invalid UTF-8 is made valid first.
std::string foldCase(std::string_view text);
// The same, appended to out.
void appendFoldedCase(std::string& out, std::string_view text);

// A folded text that remembers its original: one bit per folded byte that was an
// ASCII capital, and the characters beyond ASCII that folding changed (their folded
// form may be longer or shorter, "ß" becomes "ss"). Costs an eighth of the text
// beside it, where a copy of the original would cost all of it.
struct RestorableFold {
  struct Change {
    std::uint32_t at = 0;      // text[at, at + length) ...
    std::uint32_t length = 0;  // ... came from originals[original, original + originalLength)
    std::uint32_t original = 0;
    std::uint32_t originalLength = 0;
  };
  std::string text;                    // exactly what foldCase gives
  std::vector<std::uint8_t> capitals;  // bit i % 8 of byte i / 8: text[i] was an ASCII capital
  std::vector<Change> changes;         // in text order
  std::string originals;
};

// Folds valid UTF-8, as the viewer's decoding gives it, like foldCase.
RestorableFold foldRestorably(std::string_view validText);

// A place in the folded text moved to the edge of its character, and out of a
// change it falls into: back to its start, or forward to its end.
std::size_t originalEdge(const RestorableFold& fold, std::size_t at, bool forward);

// The original of the folded bytes [begin, end), both at edges (originalEdge).
std::string restoreOriginal(const RestorableFold& fold, std::size_t begin, std::size_t end);

}  // namespace search
