// Byte-order marks and the decoders that turn snippet bytes into UTF-8.
#include "viewer/text_decoding.h"

#include <random>
#include <string>

#include <glib.h>
#include <gtest/gtest.h>

namespace {

using viewer::TextFormat;

std::string decode(const std::string& bytes, TextFormat format) {
  return viewer::decodeToUtf8(bytes.data(), bytes.size(), format);
}

const std::string bad = "\xEF\xBF\xBD";  // U+FFFD

TEST(ByteOrderMark, RecognisesTheTwoReadFormatsAndSkipsOtherMarks) {
  struct Case {
    std::string bytes;
    TextFormat format;
    std::size_t length;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF"
       "abc",
       TextFormat::Utf8, 3},
      {"\xFF\xFE"
       "a",
       TextFormat::Utf16Le, 2},
      {"\xFE\xFF"
       "a",
       TextFormat::EightBit, 2},
      {std::string("\0\0\xFE\xFF", 4), TextFormat::EightBit, 4},
      {"abc", TextFormat::EightBit, 0},
      {"\xEF\xBB", TextFormat::EightBit, 0},  // a cut-off mark is text
      {"", TextFormat::EightBit, 0},
  };
  for (const Case& c : cases) {
    const viewer::ByteOrderMark mark = viewer::detectByteOrderMark(c.bytes.data(), c.bytes.size());
    EXPECT_EQ(mark.format, c.format) << c.bytes;
    EXPECT_EQ(mark.length, c.length) << c.bytes;
  }
}

TEST(Utf8Decoding, KeepsWellFormedTextIncludingFourByteCharacters) {
  const std::string text = "Gr\xC3\xBC\xC3\x9F \xE2\x82\xAC \xF0\x9F\x98\x80 \xEF\xBF\xBF end";
  EXPECT_EQ(decode(text, TextFormat::Utf8), text);
}

TEST(Utf8Decoding, ReplacesEachMaximalBadSubsequenceWithOneReplacementCharacter) {
  EXPECT_EQ(decode("a\xFF"
                   "b",
                   TextFormat::Utf8),
            "a" + bad + "b");
  EXPECT_EQ(decode("\xC3(", TextFormat::Utf8), bad + "(");  // lead without continuation
  EXPECT_EQ(decode("\xE2\x82"
                   "d",
                   TextFormat::Utf8),
            bad + "d");                                                  // cut three-byte sequence
  EXPECT_EQ(decode("\xF0\x9F\x98", TextFormat::Utf8), bad);              // cut at the end of the text
  EXPECT_EQ(decode("\xC0\xAF", TextFormat::Utf8), bad + bad);            // overlong "/"
  EXPECT_EQ(decode("\xE0\x80\xAF", TextFormat::Utf8), bad + bad + bad);  // overlong three-byte
  EXPECT_EQ(decode("\xED\xA0\x80", TextFormat::Utf8), bad + bad + bad);  // encoded surrogate
  EXPECT_EQ(decode("\xF4\x90\x80\x80", TextFormat::Utf8), bad + bad + bad + bad);  // above U+10FFFF
  EXPECT_EQ(decode("\x80\xBF", TextFormat::Utf8), bad + bad);                      // stray continuations
  EXPECT_EQ(decode("\xF5\xF8\xFE", TextFormat::Utf8), bad + bad + bad);
}

TEST(Utf16Decoding, DecodesPairsAndReplacesWhatCannotBeDecoded) {
  EXPECT_EQ(decode(std::string("A\0\xE4\0\xAC\x20", 6), TextFormat::Utf16Le), "A\xC3\xA4\xE2\x82\xAC");
  EXPECT_EQ(decode(std::string("\x3D\xD8\x00\xDE", 4), TextFormat::Utf16Le), "\xF0\x9F\x98\x80");
  EXPECT_EQ(decode(std::string("\x00\xD8"
                               "A\0",
                               4),
                   TextFormat::Utf16Le),
            bad + "A");  // high alone
  EXPECT_EQ(decode(std::string("\x00\xDC"
                               "A\0",
                               4),
                   TextFormat::Utf16Le),
            bad + "A");                                                     // low alone
  EXPECT_EQ(decode(std::string("\x00\xD8", 2), TextFormat::Utf16Le), bad);  // high at the end
  EXPECT_EQ(decode(std::string("\x00\xD8\x00\xD8\x00\xDC", 6), TextFormat::Utf16Le),
            bad + "\xF0\x90\x80\x80");
  EXPECT_EQ(decode(std::string("A\0B", 3), TextFormat::Utf16Le), "A" + bad);  // odd byte count
}

TEST(EightBitDecoding, EachByteIsTheCharacterWithItsCode) {
  EXPECT_EQ(decode("\xE4\xF6\xFC\xDF", TextFormat::EightBit), "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F");
  EXPECT_EQ(decode("\x80\xFF", TextFormat::EightBit), "\xC2\x80\xC3\xBF");
  // UTF-8 without a mark shows each byte of a character as a character of its own.
  EXPECT_EQ(decode("\xC3\xBC", TextFormat::EightBit), "\xC3\x83\xC2\xBC");
}

TEST(NulHandling, NulIsDroppedInEveryFormatWithoutCuttingTheText) {
  EXPECT_EQ(decode(std::string("a\0b", 3), TextFormat::EightBit), "ab");
  EXPECT_EQ(decode(std::string("a\0b", 3), TextFormat::Utf8), "ab");
  EXPECT_EQ(decode(std::string("a\0\0\0b\0", 6), TextFormat::Utf16Le), "ab");
  // UTF-16 big endian read as 8-bit text after its skipped mark still shows ASCII.
  EXPECT_EQ(decode(std::string("\0a\0b", 4), TextFormat::EightBit), "ab");
}

TEST(DecodingBuffers, ReusingTheFileBufferGivesTheSameTextAsCopying) {
  std::mt19937 random(7);
  const char alphabet[] = {'a', 'Z', '\n', '\0', '\x7F', '\x80', '\xBF', '\xC3', '\xE2', '\xF0', '\xFF'};
  for (TextFormat format : {TextFormat::Utf8, TextFormat::Utf16Le, TextFormat::EightBit}) {
    for (int round = 0; round < 500; ++round) {
      std::string bytes;
      const bool plain = round % 2 == 0;  // half of the inputs need no change at all
      for (int i = static_cast<int>(random() % 40); i > 0; --i) {
        const char letter = static_cast<char>('a' + random() % 26);
        bytes.push_back(plain ? letter : alphabet[random() % sizeof alphabet]);
      }
      const std::size_t skip = random() % 4;
      const std::string copied =
          skip <= bytes.size() ? decode(bytes.substr(skip), format) : decode("", format);
      const std::string reused = viewer::decodeToUtf8(std::string(bytes), skip, format);
      EXPECT_EQ(reused, copied);
      EXPECT_TRUE(g_utf8_validate(reused.data(), static_cast<gssize>(reused.size()), nullptr));
    }
  }
}

}  // namespace
