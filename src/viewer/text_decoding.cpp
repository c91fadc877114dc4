// Turns the bytes of a snippet file into UTF-8 text by its byte-order mark.
#include "viewer/text_decoding.h"

#include "base/trace.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace viewer {
namespace {

const char replacementCharacter[] = "\xEF\xBF\xBD";

void appendCodePoint(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

bool hasPrefix(const unsigned char* bytes, std::size_t size, const char* prefix, std::size_t length) {
  return size >= length && std::memcmp(bytes, prefix, length) == 0;
}

// Length of the well-formed UTF-8 sequence at s, or 0 when it is ill-formed; then
// *bad is the length of its maximal ill-formed subpart (at least 1). The ranges of
// the second byte follow the Unicode table of well-formed sequences, which rules
// out overlong forms, surrogates and code points above U+10FFFF.
std::size_t utf8SequenceLength(const unsigned char* s, std::size_t left, std::size_t* bad) {
  const unsigned char lead = s[0];
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    *bad = 1;
    return 0;
  }
  if (left < 2 || s[1] < low || s[1] > high) {
    *bad = 1;
    return 0;
  }
  for (std::size_t i = 2; i < length; ++i) {
    if (i >= left || s[i] < 0x80 || s[i] > 0xBF) {
      *bad = i;
      return 0;
    }
  }
  return length;
}

// Eight bytes at a time: true when none of them is NUL or above 0x7F.
bool isPlainAsciiWord(const unsigned char* s) {
  std::uint64_t word;
  std::memcpy(&word, s, sizeof word);
  const std::uint64_t high = 0x8080808080808080ULL;
  const std::uint64_t hasZero = (word - 0x0101010101010101ULL) & ~word & high;
  return (word & high) == 0 && hasZero == 0;
}

// Where the first byte that is NUL or above 0x7F lies (size when there is none).
std::size_t plainAsciiLength(const unsigned char* s, std::size_t size) {
  std::size_t i = 0;
  while (i + 8 <= size && isPlainAsciiWord(s + i)) i += 8;
  while (i < size && s[i] >= 0x01 && s[i] < 0x80) ++i;
  return i;
}

// Where the first NUL byte or ill-formed sequence lies (size when there is none).
std::size_t cleanUtf8Length(const unsigned char* s, std::size_t size) {
  std::size_t i = 0;
  while (i < size) {
    i += plainAsciiLength(s + i, size - i);
    if (i >= size || s[i] == 0) break;
    std::size_t bad = 0;
    const std::size_t length = utf8SequenceLength(s + i, size - i, &bad);
    if (length == 0) break;
    i += length;
  }
  return i;
}

// The bytes that the NUL or the ill-formed sequence at s takes up.
std::size_t brokenLength(const unsigned char* s, std::size_t size) {
  std::size_t bad = 1;
  if (*s != 0) utf8SequenceLength(s, size, &bad);
  return bad;
}

// Copies well-formed runs in one piece; only NUL bytes and bad sequences break a run.
// A bad sequence becomes one replacement character, a NUL nothing.
std::string decodeUtf8(const unsigned char* s, std::size_t size) {
  std::string out;
  out.reserve(size + size / 16);
  std::size_t start = 0;
  while (start < size) {
    const std::size_t end = start + cleanUtf8Length(s + start, size - start);
    out.append(reinterpret_cast<const char*>(s) + start, end - start);
    if (end == size) break;
    if (s[end] != 0) out.append(replacementCharacter);
    start = end + brokenLength(s + end, size - end);
  }
  return out;
}

std::string decodeUtf16Le(const unsigned char* s, std::size_t size) {
  std::string out;
  out.reserve(size + size / 2);
  std::size_t i = 0;
  while (i + 1 < size) {
    std::uint32_t unit = s[i] | (s[i + 1] << 8);
    i += 2;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < size) {
      const std::uint32_t next = s[i] | (s[i + 1] << 8);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
        i += 2;
      }
    }
    if (unit == 0) continue;
    if (unit >= 0xD800 && unit <= 0xDFFF) {
      out.append(replacementCharacter);
    } else {
      appendCodePoint(out, unit);
    }
  }
  if (i < size) out.append(replacementCharacter);
  return out;
}

std::string decodeEightBit(const unsigned char* s, std::size_t size) {
  std::string out;
  out.reserve(size + size / 8);
  for (std::size_t i = 0; i < size; ++i) {
    const std::size_t plain = plainAsciiLength(s + i, size - i);
    out.append(reinterpret_cast<const char*>(s) + i, plain);
    i += plain;
    if (i >= size) break;
    const unsigned char byte = s[i];
    if (byte == 0) continue;
    if (byte < 0x80) {
      out.push_back(static_cast<char>(byte));
    } else {
      out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
      out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
    }
  }
  return out;
}

// True when the text holds a byte above 0x7F and all of it is well-formed UTF-8 (NUL counts
// as a character like any other here).
bool isUtf8BeyondAscii(const unsigned char* s, std::size_t size) {
  std::size_t i = 0;
  while (i < size) {
    i += cleanUtf8Length(s + i, size - i);
    if (i == size) break;
    if (s[i] != 0) return false;
    ++i;
  }
  return std::any_of(s, s + size, [](unsigned char byte) { return byte >= 0x80; });
}

}  // namespace

ByteOrderMark detectByteOrderMark(const char* bytes, std::size_t size) {
  const auto* s = reinterpret_cast<const unsigned char*>(bytes);
  if (hasPrefix(s, size, "\xEF\xBB\xBF", 3)) return {TextFormat::Utf8, 3};
  if (hasPrefix(s, size, "\xFF\xFE", 2)) return {TextFormat::Utf16Le, 2};
  if (hasPrefix(s, size, "\xFE\xFF", 2)) return {TextFormat::EightBit, 2};
  if (hasPrefix(s, size, "\x00\x00\xFE\xFF", 4)) return {TextFormat::EightBit, 4};
  return {TextFormat::EightBit, 0};
}

ByteOrderMark detectTextFormat(const char* bytes, std::size_t size) {
  const ByteOrderMark mark = detectByteOrderMark(bytes, size);
  if (mark.length == 0 && isUtf8BeyondAscii(reinterpret_cast<const unsigned char*>(bytes), size))
    return {TextFormat::Utf8, 0};
  return mark;
}

std::string decodeToUtf8(const char* bytes, std::size_t size, TextFormat format) {
  TRACE_LINE();
  const auto* s = reinterpret_cast<const unsigned char*>(bytes);
  switch (format) {
    case TextFormat::Utf8: return decodeUtf8(s, size);
    case TextFormat::Utf16Le: return decodeUtf16Le(s, size);
    case TextFormat::EightBit: break;
  }
  return decodeEightBit(s, size);
}

std::string decodeToUtf8(std::string&& bytes, std::size_t skip, TextFormat format) {
  TRACE_LINE();
  if (skip > bytes.size()) skip = bytes.size();
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data()) + skip;
  const std::size_t size = bytes.size() - skip;
  const bool unchanged = (format == TextFormat::Utf8 && cleanUtf8Length(s, size) == size) ||
                         (format == TextFormat::EightBit && plainAsciiLength(s, size) == size);
  if (!unchanged) return decodeToUtf8(bytes.data() + skip, size, format);
  bytes.erase(0, skip);
  return std::move(bytes);
}

}  // namespace viewer
