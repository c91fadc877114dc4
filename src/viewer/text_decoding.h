// Turns the bytes of a snippet file into UTF-8 text by its byte-order mark.
#pragma once

#include <cstddef>
#include <string>

namespace viewer {

enum class TextFormat { Utf8, Utf16Le, EightBit };

struct ByteOrderMark {
  TextFormat format = TextFormat::EightBit;
  std::size_t length = 0;  // bytes to skip before the text
};

// EF BB BF is UTF-8 and FF FE UTF-16 little endian. Every other text is 8-bit;
// the marks FE FF (UTF-16 big endian) and 00 00 FE FF (UTF-32 big endian) are
// recognised only so that their bytes are skipped: the text behind them is read
// as 8-bit text, and since U+0000 is dropped (see below) plain ASCII written in
// those formats still reads correctly.
ByteOrderMark detectByteOrderMark(const char* bytes, std::size_t size);

// The format a snippet is read in: the byte-order mark's, and without a mark UTF-8 when
// the text has characters beyond ASCII and every byte belongs to a well-formed UTF-8
// character; else 8-bit text, so Latin-1 snippets read as before.
ByteOrderMark detectTextFormat(const char* bytes, std::size_t size);

// The result is always valid UTF-8 and never contains U+0000: the code view
// refuses NUL, and NUL carries nothing visible, so it is dropped.
// Utf8: each maximal ill-formed subsequence becomes one U+FFFD.
// Utf16Le: unpaired surrogates and an odd trailing byte become U+FFFD.
// EightBit: each byte is the character with its code (U+0001..U+00FF).
std::string decodeToUtf8(const char* bytes, std::size_t size, TextFormat format);

// The same for the bytes behind the first skip bytes; reuses the buffer when the
// text needs no change (well-formed UTF-8, or 8-bit text of ASCII only).
std::string decodeToUtf8(std::string&& bytes, std::size_t skip, TextFormat format);

}  // namespace viewer
