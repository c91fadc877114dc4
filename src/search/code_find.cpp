// Finding a text in the shown code: one fold of the code per text shown, one scan per keystroke.
#include "search/code_find.h"

#include <algorithm>

#include <glib.h>

#include "search/topic_search.h"

namespace search {
namespace {

bool isPlainAscii(char c) { return c > 0 && static_cast<unsigned char>(c) < 0x80; }

// The character of the code that the folded byte came from.
int characterAt(const FoldedCode& code, std::size_t at) {
  const auto after = std::upper_bound(
      code.wide.begin(), code.wide.end(), at,
      [](std::size_t place, const FoldedCode::Wide& wide) { return place < wide.foldedStart; });
  if (after == code.wide.begin()) return static_cast<int>(at);
  const FoldedCode::Wide& wide = *(after - 1);
  if (at < wide.foldedEnd) return wide.character;
  return wide.character + 1 + static_cast<int>(at - wide.foldedEnd);
}

}  // namespace

FoldedCode foldCode(std::string_view code) {
  FoldedCode folded;
  folded.text.reserve(code.size());
  int character = 0;
  std::size_t i = 0;
  while (i < code.size()) {
    std::size_t runEnd = i;
    while (runEnd < code.size() && isPlainAscii(code[runEnd])) ++runEnd;
    if (runEnd > i) {
      // Folding keeps ASCII at one byte a character, so a run folds as a whole.
      folded.text += foldCase(code.substr(i, runEnd - i));
      character += static_cast<int>(runEnd - i);
      i = runEnd;
      continue;
    }
    const std::size_t length = std::min<std::size_t>(
        std::max<int>(1, g_utf8_skip[static_cast<unsigned char>(code[i])]), code.size() - i);
    FoldedCode::Wide wide;
    wide.foldedStart = folded.text.size();
    folded.text += foldCase(code.substr(i, length));
    wide.foldedEnd = folded.text.size();
    wide.character = character++;
    folded.wide.push_back(wide);
    i += length;
  }
  return folded;
}

std::vector<CodeMatch> findInCode(const FoldedCode& code, std::string_view searchText) {
  std::vector<CodeMatch> matches;
  const std::string needle = foldCase(searchText);
  if (needle.empty()) return matches;
  const std::string_view text = code.text;
  for (std::size_t at = text.find(needle); at != std::string_view::npos; at = text.find(needle, at)) {
    const CodeMatch match{characterAt(code, at), characterAt(code, at + needle.size() - 1) + 1};
    at += needle.size();
    if (!matches.empty() && match.start < matches.back().end) continue;
    matches.push_back(match);
  }
  return matches;
}

int firstMatchFrom(const std::vector<CodeMatch>& matches, int offset) {
  if (matches.empty()) return -1;
  const auto found = std::lower_bound(matches.begin(), matches.end(), offset,
                                      [](const CodeMatch& match, int place) { return match.start < place; });
  return found == matches.end() ? 0 : static_cast<int>(found - matches.begin());
}

int steppedMatch(int current, int count, int direction) {
  if (count <= 0) return -1;
  if (current < 0 || current >= count) return direction > 0 ? 0 : count - 1;
  return ((current + direction) % count + count) % count;
}

std::string matchCountText(int current, int count) {
  return std::to_string(current >= 0 ? current + 1 : 0) + " / " + std::to_string(count);
}

}  // namespace search
