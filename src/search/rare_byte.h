// Finding a text by its rarest byte: memchr skips to each place of the byte that the
// searched texts hold least often, at memory speed, and the text is compared around it.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace search {

// The place in the needle of its byte that the counts (one per byte value) say is rarest.
template <typename Counts>
std::size_t rarestBytePlace(std::string_view needle, const Counts& counts) {
  const auto count = [&](std::size_t i) { return counts[static_cast<unsigned char>(needle[i])]; };
  std::size_t rare = 0;
  for (std::size_t i = 1; i < needle.size(); ++i) {
    if (count(i) < count(rare)) rare = i;
  }
  return rare;
}

// The first place from `from` on where the needle stands wholly before `to`, or npos;
// `rare` is the place of the byte looked for.
inline std::size_t findByRareByte(const char* text, std::size_t from, std::size_t to, std::string_view needle,
                                  std::size_t rare) {
  const char* const end = text + to;
  const char* candidate = text + from + rare;
  while (candidate < end) {
    candidate = static_cast<const char*>(std::memchr(candidate, needle[rare], end - candidate));
    if (!candidate) return std::string::npos;
    const char* const start = candidate - rare;
    if (static_cast<std::size_t>(end - start) >= needle.size() &&
        std::memcmp(start, needle.data(), needle.size()) == 0)
      return static_cast<std::size_t>(start - text);
    ++candidate;
  }
  return std::string::npos;
}

}  // namespace search
