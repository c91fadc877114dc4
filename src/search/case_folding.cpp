// Caseless comparison for all of Unicode, shared by the topic search and the code search.
#include "search/case_folding.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include <glib.h>

#include "base/paths.h"
#include "base/trace.h"

namespace search {
namespace {

std::string toolkitFold(std::string_view text) {
  gchar* folded = g_utf8_casefold(text.data(), static_cast<gssize>(text.size()));
  std::string result(folded);
  g_free(folded);
  return result;
}

// The toolkit folds a letter it has no folding for to its small form, and for the
// Cherokee letters, whose small forms fold to the capitals, that goes round in a
// circle: capital to small, small to capital. Such a letter takes the least form of
// its circle, the capital, as Unicode's folding does, so that both forms compare
// equal and folding a folded text changes nothing.
std::string stableFold(std::string_view character) {
  std::string least = toolkitFold(character);
  std::string next = toolkitFold(least);
  for (int step = 0; step < 4 && next != least; ++step) {
    if (next < least) least = next;
    next = toolkitFold(next);
  }
  return least;
}

// The folded form of one character outside ASCII, looked up once per character:
// a library uses few of them, and the toolkit's folding allocates on every call.
// One table per thread: the code index folds its files in a thread of its own.
const std::string& foldedCharacter(std::string_view character) {
  thread_local std::unordered_map<gunichar, std::string> known;
  const gunichar code = g_utf8_get_char(character.data());
  auto found = known.find(code);
  if (found == known.end()) {
    found = known.emplace(code, stableFold(character)).first;
  }
  return found->second;
}

std::size_t characterLength(std::string_view text, std::size_t at) {
  const unsigned char lead = static_cast<unsigned char>(text[at]);
  return std::min<std::size_t>(g_utf8_skip[lead], text.size() - at);
}

// Appends the folded form of text known to be valid UTF-8. ASCII letters fold to
// their small forms and nothing else in ASCII changes, so ASCII runs are copied
// and lowered in one go.
void appendFolded(std::string& out, std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t runEnd = i;
    while (runEnd < text.size() && static_cast<unsigned char>(text[runEnd]) < 0x80) ++runEnd;
    if (runEnd > i) {
      const std::size_t first = out.size();
      out.resize(first + (runEnd - i));
      char* target = &out[first];
      for (; i < runEnd; ++i, ++target) {
        const char c = text[i];
        *target = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
      }
      continue;
    }
    const std::size_t length = characterLength(text, i);
    out += foldedCharacter(text.substr(i, length));
    i += length;
  }
}

constexpr std::uint64_t everyByte(unsigned char value) { return 0x0101010101010101ULL * value; }

// Eight ASCII bytes folded at once: each byte from 'A' to 'Z' gains 0x20. The
// capitals come back as one bit per byte, the first byte in the lowest bit.
std::uint64_t foldAsciiWord(std::uint64_t word, unsigned* capitalBits) {
  const std::uint64_t atLeastA = (word + everyByte(0x80 - 'A')) & everyByte(0x80);
  const std::uint64_t pastZ = (word + everyByte(0x80 - 'Z' - 1)) & everyByte(0x80);
  const std::uint64_t capitals = atLeastA & ~pastZ;
  *capitalBits = static_cast<unsigned>(((capitals >> 7) * 0x0102040810204080ULL) >> 56);
  return word | (capitals >> 2);
}

class RestorableFolder {
 public:
  explicit RestorableFolder(RestorableFold& fold) : fold_(fold) {}

  void fold(std::string_view text) {
    fold_.text.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
      if (i + 8 <= text.size() && foldWord(text.data() + i)) {
        i += 8;
      } else if (static_cast<unsigned char>(text[i]) < 0x80) {
        foldAsciiByte(text[i++]);
      } else {
        const std::size_t length = characterLength(text, i);
        foldCharacter(text.substr(i, length));
        i += length;
      }
    }
    fold_.capitals.resize((fold_.text.size() + 7) / 8);
    fold_.text.shrink_to_fit();
    fold_.capitals.shrink_to_fit();
    fold_.changes.shrink_to_fit();
    fold_.originals.shrink_to_fit();
  }

 private:
  void markCapitals(std::size_t at, unsigned bits) {
    if (fold_.capitals.size() < at / 8 + 2)
      fold_.capitals.resize(std::max(at / 8 + 2, fold_.capitals.size() * 2));
    const unsigned shift = at % 8;
    fold_.capitals[at / 8] |= static_cast<std::uint8_t>(bits << shift);
    if (shift) fold_.capitals[at / 8 + 1] |= static_cast<std::uint8_t>(bits >> (8 - shift));
  }

  // False when the eight bytes are not all ASCII.
  bool foldWord(const char* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    if (word & everyByte(0x80)) return false;
    unsigned bits = 0;
    word = foldAsciiWord(word, &bits);
    const std::size_t at = fold_.text.size();
    fold_.text.resize(at + 8);
    std::memcpy(&fold_.text[at], &word, sizeof word);
    if (bits) markCapitals(at, bits);
    return true;
  }

  void foldAsciiByte(char c) {
    if (c >= 'A' && c <= 'Z') {
      markCapitals(fold_.text.size(), 1);
      c = static_cast<char>(c + ('a' - 'A'));
    }
    fold_.text.push_back(c);
  }

  void foldCharacter(std::string_view character) {
    const std::string& folded = foldedCharacter(character);
    if (folded != character) {
      RestorableFold::Change change;
      change.at = static_cast<std::uint32_t>(fold_.text.size());
      change.length = static_cast<std::uint32_t>(folded.size());
      change.original = static_cast<std::uint32_t>(fold_.originals.size());
      change.originalLength = static_cast<std::uint32_t>(character.size());
      fold_.changes.push_back(change);
      fold_.originals += character;
    }
    fold_.text += folded;
  }

  RestorableFold& fold_;
};

bool isCapital(const RestorableFold& fold, std::size_t at) {
  return at / 8 < fold.capitals.size() && (fold.capitals[at / 8] >> (at % 8)) & 1;
}

// The first change that ends after the place.
std::vector<RestorableFold::Change>::const_iterator changeReaching(const RestorableFold& fold,
                                                                   std::size_t at) {
  return std::upper_bound(fold.changes.begin(), fold.changes.end(), at,
                          [](std::size_t place, const RestorableFold::Change& change) {
                            return place < std::size_t(change.at) + change.length;
                          });
}

}  // namespace

void appendFoldedCase(std::string& out, std::string_view text) {
  if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
    appendFolded(out, text);
    return;
  }
  // The replacement character stands in for every broken byte (and NUL), alike
  // in the search text and in the texts searched.
  appendFolded(out, base::validUtf8(text));
}

std::string foldCase(std::string_view text) {
  TRACE_LINE();
  std::string folded;
  folded.reserve(text.size());
  appendFoldedCase(folded, text);
  return folded;
}

RestorableFold foldRestorably(std::string_view validText) {
  TRACE_LINE();
  RestorableFold fold;
  RestorableFolder(fold).fold(validText);
  return fold;
}

std::size_t originalEdge(const RestorableFold& fold, std::size_t at, bool forward) {
  const std::string& text = fold.text;
  at = std::min(at, text.size());
  while (at > 0 && at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) {
    at += forward ? 1 : -1;
  }
  const auto change = changeReaching(fold, at);
  if (change != fold.changes.end() && change->at < at)
    return forward ? change->at + change->length : change->at;
  return at;
}

std::string restoreOriginal(const RestorableFold& fold, std::size_t begin, std::size_t end) {
  std::string original;
  original.reserve(end > begin ? end - begin : 0);
  auto change = changeReaching(fold, begin);
  std::size_t at = begin;
  while (at < end) {
    if (change != fold.changes.end() && change->at <= at) {
      original.append(fold.originals, change->original, change->originalLength);
      at = std::size_t(change->at) + change->length;
      ++change;
      continue;
    }
    const std::size_t runEnd = change != fold.changes.end() ? std::min<std::size_t>(end, change->at) : end;
    for (; at < runEnd; ++at) {
      const char c = fold.text[at];
      original.push_back(isCapital(fold, at) ? static_cast<char>(c - ('a' - 'A')) : c);
    }
  }
  return original;
}

}  // namespace search
