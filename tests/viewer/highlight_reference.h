// A plain model of the code view's buffer and the highlighting passes done the slow
// way, search by search and tag test by tag test, to hold the fast passes against.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <glib.h>

#include "viewer/highlight_passes.h"
#include "viewer/highlight_tables.h"

namespace reference_highlighter {

using viewer::HighlightTag;
using viewer::TagSpan;
using viewer::TopicLink;

constexpr char32_t anchorCharacter = 0xFFFC;
constexpr char32_t paragraphSeparator = 0x2029;

struct Result {
  // Per tag, the tagged ranges just before the links are made.
  std::array<std::vector<TagSpan>, viewer::HighlightTagCount> spans;
  std::vector<std::string> procedureNames;
  std::vector<TopicLink> links;
  std::u32string finalText;  // with an anchor character for every link
};

inline std::u32string decode(const std::string& text) {
  glong length = 0;
  gunichar* characters = g_utf8_to_ucs4_fast(text.data(), static_cast<glong>(text.size()), &length);
  std::u32string result(characters, characters + length);
  g_free(characters);
  return result;
}

inline std::string encode(const std::u32string& text) {
  std::string result;
  for (char32_t c : text) {
    char bytes[6];
    result.append(bytes, static_cast<size_t>(g_unichar_to_utf8(static_cast<gunichar>(c), bytes)));
  }
  return result;
}

// The buffer: characters and the tags each one carries. Positions lie between characters.
struct Buffer {
  std::u32string chars;
  std::vector<std::uint8_t> tags;  // bit t: the character carries tag t
  std::vector<int> origin;         // each character's offset in the text first given; -1: an anchor

  int size() const { return static_cast<int>(chars.size()); }
  char32_t at(int position) const { return position >= 0 && position < size() ? chars[position] : 0; }

  // Forward search from the position; an empty text matches one character further on.
  bool search(const std::u32string& needle, int from, int& matchStart, int& matchEnd) const {
    if (needle.empty()) {
      if (from >= size()) return false;
      matchStart = matchEnd = from + 1;
      return true;
    }
    for (int start = from; start + static_cast<int>(needle.size()) <= size(); ++start) {
      if (chars.compare(static_cast<size_t>(start), needle.size(), needle) == 0) {
        matchStart = start;
        matchEnd = start + static_cast<int>(needle.size());
        return true;
      }
    }
    return false;
  }

  bool isWord(int position) const { return viewer::isWordCharacter(at(position)); }
  bool hasTag(int position, HighlightTag tag) const {
    return position < size() && (tags[static_cast<size_t>(position)] & (1u << tag));
  }
  void applyTag(HighlightTag tag, int start, int end) {
    for (int i = start; i < end; ++i) tags[static_cast<size_t>(i)] |= static_cast<std::uint8_t>(1u << tag);
  }
  void forwardChar(int& position) const {
    if (position < size()) ++position;
  }

  // Line ends: LF, CR LF, a lone CR, U+2029. The LF of a CR LF pair is inside the delimiter.
  bool isLineStart(int position) const {
    if (position == 0) return true;
    const char32_t before = at(position - 1);
    if (before == '\n' || before == paragraphSeparator) return true;
    return before == '\r' && at(position) != '\n';
  }
  bool endsLine(int position) const {
    const char32_t c = at(position);
    if (position >= size() || c == '\r' || c == paragraphSeparator) return true;
    return c == '\n' && at(position - 1) != '\r';
  }
  int lineStart(int position) const {
    while (!isLineStart(position)) --position;
    return position;
  }
  int lineNumber(int position) const {
    int line = 0;
    for (int i = 1; i <= position; ++i)
      if (isLineStart(i)) ++line;
    return line;
  }
  // To the start of the line before, or to the buffer start on the first line.
  void backwardLine(int& position) const {
    const int start = lineStart(position);
    position = start == 0 ? 0 : lineStart(start - 1);
  }
  // To the next line end; from a line end, to the end of the following line.
  void forwardToLineEnd(int& position) const {
    if (endsLine(position)) {
      if (position >= size()) return;
      ++position;
      while (!isLineStart(position)) ++position;
    }
    while (!endsLine(position)) ++position;
  }
  std::string text(int start, int end) const { return encode(chars.substr(start, end - start)); }
};

// Pass 1.
inline void markComments(Buffer& b) {
  int position = 0, start = 0, end = 0;
  while (b.search(U";", position, start, end)) {
    int from = start;
    b.backwardLine(from);
    int quotes = 0;
    for (int i = from; i < start; ++i)
      if (b.at(i) == '"') ++quotes;
    if (quotes % 2 == 0) {
      int lineEnd = start;
      b.forwardToLineEnd(lineEnd);
      b.applyTag(viewer::DisableTag, start, lineEnd);
      position = lineEnd;
    } else {
      position = start;
    }
    b.forwardChar(position);
  }
}

// Pass 2.
inline void markLiterals(Buffer& b) {
  int position = 0, open = 0, openEnd = 0;
  while (b.search(U"\"", position, open, openEnd)) {
    if (b.hasTag(open, viewer::DisableTag)) {
      position = openEnd;
      continue;
    }
    int close = 0, closeEnd = 0;
    if (!b.search(U"\"", openEnd, close, closeEnd)) return;
    b.applyTag(viewer::LiteralTag, openEnd, close);
    position = closeEnd;
  }
}

// Pass 3.
inline void markConstants(Buffer& b) {
  int position = 0, hash = 0, hashEnd = 0;
  while (b.search(U"#", position, hash, hashEnd)) {
    int spanEnd = hashEnd;
    if (!b.isWord(hash - 1) && !b.hasTag(hash, viewer::DisableTag)) {
      while (b.isWord(spanEnd)) ++spanEnd;
      b.applyTag(viewer::ConstantTag, hash, spanEnd);
    }
    position = spanEnd;
    b.forwardChar(position);
  }
}

// Pass 4.
inline void markKeywords(Buffer& b, HighlightTag keywordTag, std::vector<std::string>& names) {
  names.clear();
  for (const char* keyword : viewer::keywordTable) {
    const std::u32string needle = decode(keyword);
    const bool declaring = std::string(viewer::declaringKeywords).find(keyword) != std::string::npos;
    int position = 0, start = 0, end = 0;
    while (b.search(needle, position, start, end)) {
      const bool isKeyword = !b.isWord(start - 1) && !b.hasTag(start, viewer::DisableTag) &&
                             !b.hasTag(start, viewer::LiteralTag) && !b.isWord(end);
      position = end;
      if (!isKeyword) continue;
      b.applyTag(keywordTag, start, end);
      if (!declaring) continue;
      int space = 0, spaceEnd = 0;
      if (!b.search(U" ", start, space, spaceEnd)) break;
      int nameStart = space;
      while (b.at(nameStart) == ' ' && nameStart < b.size()) ++nameStart;
      int nameEnd = nameStart;
      while (b.isWord(nameEnd)) ++nameEnd;
      b.applyTag(viewer::FunctionTag, nameStart, nameEnd);
      names.push_back(b.text(nameStart, nameEnd));
      position = nameEnd;
    }
  }
}

// Pass 5.
inline void markCalls(Buffer& b, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    const std::u32string needle = decode(name);
    int position = 0, start = 0, end = 0;
    while (b.search(needle, position, start, end)) {
      if (!b.isWord(start - 1) && !b.isWord(end) && !b.hasTag(start, viewer::DisableTag) &&
          !b.hasTag(start, viewer::LiteralTag) && !b.hasTag(start, viewer::FunctionTag))
        b.applyTag(viewer::FuncCallTag, start, end);
      position = end;
    }
  }
}

// Pass 6: the buffer really loses the title and gains an anchor.
inline void makeLinks(Buffer& b, std::vector<TopicLink>& links) {
  const std::u32string marker = decode(viewer::topicLinkMarker);
  int position = 0, start = 0, end = 0;
  while (b.search(marker, position, start, end)) {
    int titleEnd = end;
    if (!b.endsLine(titleEnd)) b.forwardToLineEnd(titleEnd);
    TopicLink link;
    link.title = b.text(end, titleEnd);
    link.titleStart = b.origin[static_cast<size_t>(end)];
    link.titleLength = titleEnd - end;
    link.anchorOffset = end;
    link.line = b.lineNumber(end);
    link.lineOffset = end - b.lineStart(end);
    links.push_back(link);
    b.chars.erase(static_cast<size_t>(end), static_cast<size_t>(titleEnd - end));
    b.tags.erase(b.tags.begin() + end, b.tags.begin() + titleEnd);
    b.origin.erase(b.origin.begin() + end, b.origin.begin() + titleEnd);
    b.chars.insert(b.chars.begin() + end, anchorCharacter);
    b.tags.insert(b.tags.begin() + end, 0);
    b.origin.insert(b.origin.begin() + end, -1);
    position = end;
    b.forwardChar(position);
    b.forwardChar(position);
  }
}

inline std::vector<TagSpan> spansOf(const Buffer& b, HighlightTag tag) {
  std::vector<TagSpan> spans;
  for (int i = 0; i < b.size(); ++i) {
    if (!b.hasTag(i, tag)) continue;
    if (!spans.empty() && spans.back().end == i)
      spans.back().end = i + 1;
    else
      spans.push_back({i, i + 1});
  }
  return spans;
}

inline Result highlight(const std::string& text, std::int64_t codeMarks) {
  Buffer b;
  b.chars = decode(text);
  b.tags.assign(b.chars.size(), 0);
  for (int i = 0; i <= b.size(); ++i) b.origin.push_back(i);  // one past the end too
  Result result;
  markComments(b);
  markLiterals(b);
  markConstants(b);
  markKeywords(b, codeMarks == 2 ? viewer::BlueBoldTag : viewer::FBoldTag, result.procedureNames);
  markCalls(b, result.procedureNames);
  for (int t = 0; t < viewer::HighlightTagCount; ++t)
    result.spans[t] = spansOf(b, static_cast<HighlightTag>(t));
  makeLinks(b, result.links);
  result.finalText = b.chars;
  return result;
}

}  // namespace reference_highlighter
