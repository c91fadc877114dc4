// Finding a text in the shown code: one fold of the code per text shown, one scan per keystroke.
#include "search/code_find.h"

#include <algorithm>
#include <unordered_map>

#include <glib.h>

#include "base/paths.h"
#include "search/topic_search.h"

namespace search {
namespace {

// Walks the folded text forward, giving the character of the code each folded byte
// came from; the matches come in order, so the walk never goes back.
class CharacterCursor {
 public:
  explicit CharacterCursor(const FoldedCode& code) : code_(code) {}

  int characterAt(std::size_t at) {
    while (next_ < code_.wide.size() && code_.wide[next_].foldedStart <= at) ++next_;
    if (next_ == 0) return static_cast<int>(at);
    const FoldedCode::Wide& wide = code_.wide[next_ - 1];
    if (at < wide.foldedEnd) return wide.character;
    return wide.character + 1 + static_cast<int>(at - wide.foldedEnd);
  }

 private:
  const FoldedCode& code_;
  std::size_t next_ = 0;
};

}  // namespace

FoldedCode foldCode(std::string_view code) {
  // The code view holds valid UTF-8; anything else is first made valid, as the folding does.
  std::string repaired;
  if (!g_utf8_validate(code.data(), static_cast<gssize>(code.size()), nullptr)) {
    repaired = base::validUtf8(code);
    code = repaired;
  }
  FoldedCode folded;
  folded.text = foldCase(code);
  // Folding goes character by character, so the folded text is the folded characters
  // one after the other: ASCII one byte each, the few others as long as their fold.
  std::unordered_map<gunichar, std::size_t> foldedLengths;
  std::size_t at = 0;
  int character = 0;
  for (std::size_t i = 0; i < code.size(); ++character) {
    const unsigned char lead = static_cast<unsigned char>(code[i]);
    if (lead < 0x80) {
      ++i;
      ++at;
      continue;
    }
    const std::size_t length = g_utf8_skip[lead];
    auto known = foldedLengths.find(g_utf8_get_char(code.data() + i));
    if (known == foldedLengths.end())
      known = foldedLengths.emplace(g_utf8_get_char(code.data() + i), foldCase(code.substr(i, length)).size())
                  .first;
    folded.wide.push_back(FoldedCode::Wide{at, at + known->second, character});
    at += known->second;
    i += length;
  }
  return folded;
}

std::vector<CodeMatch> findInCode(const FoldedCode& code, std::string_view searchText) {
  std::vector<CodeMatch> matches;
  const std::string needle = foldCase(searchText);
  if (needle.empty()) return matches;
  CharacterCursor cursor(code);
  const std::string_view text = code.text;
  for (std::size_t at = text.find(needle); at != std::string_view::npos; at = text.find(needle, at)) {
    const int start = cursor.characterAt(at);
    const CodeMatch match{start, cursor.characterAt(at + needle.size() - 1) + 1};
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
