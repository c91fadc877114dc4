// The highlighting passes on the plain text. Every pass finds its matches in the text
// once (the keywords and names through one list of word runs) instead of searching the
// buffer again per keyword; the order of the steps and what each one sees of the
// earlier passes is kept exactly, so the result is the one the buffer searches give.
#include "viewer/highlight_passes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "base/trace.h"

namespace viewer {

std::vector<std::string> procedureNames;

bool operator==(const TagSpan& a, const TagSpan& b) { return a.start == b.start && a.end == b.end; }

bool operator==(const TopicLink& a, const TopicLink& b) {
  return a.titleStart == b.titleStart && a.titleLength == b.titleLength && a.anchorOffset == b.anchorOffset &&
         a.line == b.line && a.lineOffset == b.lineOffset && a.title == b.title;
}

namespace {

using Offset = std::size_t;  // byte offset into the UTF-8 text
constexpr Offset none = std::string::npos;

// The tags that later passes test on a match's first character.
enum Mark : std::uint8_t { DisableMark = 1, LiteralMark = 2, FunctionMark = 4 };

struct ByteSpan {
  Offset start;
  Offset end;
};

struct WordRun {
  Offset start;
  Offset length;
};

// The lines as the text buffer sees them, with the double quotes before each line start.
struct Lines {
  std::vector<Offset> starts{0};
  std::vector<Offset> quotesBefore{0};
};

// The work of one run: the text, what is tagged so far and what was found.
struct Passes {
  explicit Passes(const std::string& source) : text(source), marks(source.size(), 0) {}
  const std::string& text;
  Lines lines;
  std::vector<std::uint8_t> marks;
  std::array<std::vector<ByteSpan>, HighlightTagCount> spans;
  std::vector<std::string> names;
  std::vector<ByteSpan> titles;
};

const char* const paragraphSeparator = "\xE2\x80\xA9";  // U+2029 ends a line in the buffer

Lines findLines(const std::string& text) {
  Lines lines;
  Offset quotes = 0;
  const Offset size = text.size();
  for (Offset i = 0; i < size; ++i) {
    const char c = text[i];
    Offset next = 0;
    if (c == '"')
      ++quotes;
    else if (c == '\n')
      next = i + 1;
    else if (c == '\r')
      next = (i + 1 < size && text[i + 1] == '\n') ? i + 2 : i + 1;
    else if (c == '\xE2' && text.compare(i, 3, paragraphSeparator) == 0)
      next = i + 3;
    if (next == 0) continue;
    lines.starts.push_back(next);
    lines.quotesBefore.push_back(quotes);
    i = next - 1;
  }
  return lines;
}

bool isWordByte(char c) { return isWordCharacter(static_cast<unsigned char>(c)); }

Offset lineOf(const Passes& p, Offset position) {
  const auto& starts = p.lines.starts;
  return static_cast<Offset>(std::upper_bound(starts.begin(), starts.end(), position) - starts.begin()) - 1;
}

// Where the line's delimiter starts, or the end of the text on the last line.
Offset lineEnd(const Passes& p, Offset line) {
  if (line + 1 >= p.lines.starts.size()) return p.text.size();
  const Offset next = p.lines.starts[line + 1];
  const char last = p.text[next - 1];
  if (last == '\n') return (next >= 2 && p.text[next - 2] == '\r') ? next - 2 : next - 1;
  if (last == '\r') return next - 1;
  return next - 3;
}

Offset nextCharacter(const Passes& p, Offset position) {
  if (position >= p.text.size()) return p.text.size();
  const auto lead = static_cast<unsigned char>(p.text[position]);
  const Offset length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  return std::min(position + length, p.text.size());
}

Offset wordRunEnd(const std::string& text, Offset position) {
  while (position < text.size() && isWordByte(text[position])) ++position;
  return position;
}

void tag(Passes& p, HighlightTag tag, Offset start, Offset end) {
  if (start >= end) return;
  p.spans[tag].push_back({start, end});
  const std::uint8_t mark = tag == DisableTag    ? DisableMark
                            : tag == LiteralTag  ? LiteralMark
                            : tag == FunctionTag ? FunctionMark
                                                 : 0;
  if (mark == 0) return;
  for (Offset i = start; i < end; ++i) p.marks[i] |= mark;
}

// Pass 1: a ";" starts a comment when an even number of double quotes stands between
// the start of the line before it and itself.
void markComments(Passes& p) {
  TRACE_LINE();
  Offset counted = 0;  // the quotes before this offset are in `quotes`
  Offset quotes = 0;
  Offset position = 0;
  for (Offset semicolon; (semicolon = p.text.find(';', position)) != none;) {
    quotes += static_cast<Offset>(std::count(p.text.begin() + counted, p.text.begin() + semicolon, '"'));
    counted = semicolon;
    const Offset line = lineOf(p, semicolon);
    const Offset before = p.lines.quotesBefore[line == 0 ? 0 : line - 1];
    if ((quotes - before) % 2 != 0) {
      position = semicolon + 1;
      continue;
    }
    const Offset end = lineEnd(p, line);
    tag(p, DisableTag, semicolon, end);
    position = nextCharacter(p, end);
  }
}

// Pass 2: from a quote outside a comment to the next quote, wherever it is.
void markLiterals(Passes& p) {
  TRACE_LINE();
  Offset position = 0;
  for (Offset open; (open = p.text.find('"', position)) != none;) {
    if (p.marks[open] & DisableMark) {
      position = open + 1;
      continue;
    }
    const Offset close = p.text.find('"', open + 1);
    if (close == none) return;  // an unbalanced quote ends the pass
    tag(p, LiteralTag, open + 1, close);
    position = close + 1;
  }
}

// Pass 3: "#" and the word characters after it; the character after each examined
// span is passed over without a look.
void markConstants(Passes& p) {
  TRACE_LINE();
  Offset position = 0;
  for (Offset hash; (hash = p.text.find('#', position)) != none;) {
    Offset spanEnd = hash + 1;
    const bool afterWord = hash > 0 && isWordByte(p.text[hash - 1]);
    if (!afterWord && !(p.marks[hash] & DisableMark)) {
      spanEnd = wordRunEnd(p.text, hash + 1);
      tag(p, ConstantTag, hash, spanEnd);
    }
    position = nextCharacter(p, spanEnd);
  }
}

std::vector<WordRun> findWordRuns(const std::string& text) {
  std::vector<WordRun> runs;
  for (Offset i = 0; i < text.size();) {
    if (!isWordByte(text[i])) {
      ++i;
      continue;
    }
    const Offset end = wordRunEnd(text, i);
    runs.push_back({i, end - i});
    i = end;
  }
  return runs;
}

std::string_view runText(const std::string& text, const WordRun& run) {
  return std::string_view(text.data() + run.start, run.length);
}

const std::unordered_map<std::string_view, int>& keywordNumbers() {
  static const std::unordered_map<std::string_view, int> numbers = [] {
    std::unordered_map<std::string_view, int> table;
    for (int k = 0; k < keywordCount; ++k) table.emplace(keywordTable[k], k);
    return table;
  }();
  return numbers;
}

// The name after the first space at or after the keyword, past any further spaces.
Offset declareName(Passes& p, Offset space) {
  Offset nameStart = p.text.find_first_not_of(' ', space);
  if (nameStart == none) nameStart = p.text.size();
  const Offset nameEnd = wordRunEnd(p.text, nameStart);
  tag(p, FunctionTag, nameStart, nameEnd);
  p.names.emplace_back(p.text, nameStart, nameEnd - nameStart);
  return nameEnd;
}

// A keyword found by a search is a whole word equal to it, so the word runs that equal
// it are all the candidates; a declaration moves the scan past its name, and the
// occurrences it passes over are never looked at.
void scanKeyword(Passes& p, int keyword, const std::vector<Offset>& starts, HighlightTag keywordTag) {
  const Offset length = std::strlen(keywordTable[keyword]);
  const bool declaring = isDeclaringKeyword(keywordTable[keyword]);
  Offset position = 0;
  for (const Offset start : starts) {
    if (start < position) continue;
    position = start + length;
    if (p.marks[start] & (DisableMark | LiteralMark)) continue;
    tag(p, keywordTag, start, start + length);
    if (!declaring) continue;
    const Offset space = p.text.find(' ', start);
    if (space == none) return;  // no space anywhere after it ends this keyword's scan
    position = declareName(p, space);
  }
}

// Pass 4: the keywords in table order, each over the whole text.
void markKeywords(Passes& p, const std::vector<WordRun>& runs, HighlightTag keywordTag) {
  TRACE_LINE();
  std::vector<std::vector<Offset>> occurrences(keywordCount);
  const auto& numbers = keywordNumbers();
  for (const WordRun& run : runs) {
    const auto found = numbers.find(runText(p.text, run));
    if (found != numbers.end()) occurrences[found->second].push_back(run.start);
  }
  for (int keyword = 0; keyword < keywordCount; ++keyword)
    scanKeyword(p, keyword, occurrences[keyword], keywordTag);
}

// Pass 5: whole-word uses of the declared names outside comments, literals and
// declarations. Scanning a name again finds the same uses, so each counts once; an
// empty name matches no character.
void markCalls(Passes& p, const std::vector<WordRun>& runs) {
  TRACE_LINE();
  std::unordered_set<std::string_view> declared;
  for (const std::string& name : p.names)
    if (!name.empty()) declared.insert(name);
  if (declared.empty()) return;
  for (const WordRun& run : runs) {
    if (p.marks[run.start] & (DisableMark | LiteralMark | FunctionMark)) continue;
    if (declared.count(runText(p.text, run))) tag(p, FuncCallTag, run.start, run.start + run.length);
  }
}

// Pass 6: the title runs from the marker to the end of its line; the search goes on
// after the character that ends the line.
void findLinks(Passes& p) {
  TRACE_LINE();
  const std::string marker = topicLinkMarker;
  Offset position = 0;
  for (Offset found; (found = p.text.find(marker, position)) != none;) {
    const Offset titleStart = found + marker.size();
    const Offset titleEnd = lineEnd(p, lineOf(p, titleStart));
    p.titles.push_back({titleStart, titleEnd});
    position = nextCharacter(p, titleEnd);
  }
}

// Byte offsets to character offsets through the counts kept every 64 bytes.
class CharacterCounter {
 public:
  explicit CharacterCounter(const std::string& text) : text_(text) {
    int characters = 0;
    for (Offset i = 0; i < text.size(); ++i) {
      if ((i & 63) == 0) before_.push_back(characters);
      if (!isContinuation(text[i])) ++characters;
    }
    before_.push_back(characters);
  }
  int at(Offset position) const {
    const Offset block = position >> 6;
    int characters = before_[block];
    for (Offset i = block << 6; i < position; ++i)
      if (!isContinuation(text_[i])) ++characters;
    return characters;
  }

 private:
  static bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
  const std::string& text_;
  std::vector<int> before_;
};

std::vector<TagSpan> characterSpans(std::vector<ByteSpan> spans, const CharacterCounter& counter) {
  std::sort(spans.begin(), spans.end(),
            [](const ByteSpan& a, const ByteSpan& b) { return a.start < b.start; });
  std::vector<TagSpan> result;
  Offset mergedEnd = 0;
  for (const ByteSpan& span : spans) {
    if (!result.empty() && span.start <= mergedEnd) {
      if (span.end > mergedEnd) {
        mergedEnd = span.end;
        result.back().end = counter.at(mergedEnd);
      }
      continue;
    }
    result.push_back({counter.at(span.start), counter.at(span.end)});
    mergedEnd = span.end;
  }
  return result;
}

std::vector<TopicLink> characterLinks(const Passes& p, const CharacterCounter& counter) {
  std::vector<TopicLink> links;
  int removed = 0;  // characters the earlier links took out (title gone, anchor in)
  for (const ByteSpan& title : p.titles) {
    TopicLink link;
    link.titleStart = counter.at(title.start);
    link.titleLength = counter.at(title.end) - link.titleStart;
    link.anchorOffset = link.titleStart - removed;
    const Offset line = lineOf(p, title.start);
    link.line = static_cast<int>(line);
    link.lineOffset = link.titleStart - counter.at(p.lines.starts[line]);
    link.title = p.text.substr(title.start, title.end - title.start);
    removed += link.titleLength - 1;
    links.push_back(std::move(link));
  }
  return links;
}

}  // namespace

HighlightPlan planHighlighting(const std::string& text, std::int64_t codeMarks) {
  TRACE_LINE();
  Passes p(text);
  p.lines = findLines(text);
  markComments(p);
  markLiterals(p);
  markConstants(p);
  const std::vector<WordRun> runs = findWordRuns(text);
  markKeywords(p, runs, keywordTagFor(codeMarks));
  markCalls(p, runs);
  findLinks(p);

  TRACE_LINE();
  const CharacterCounter counter(text);
  HighlightPlan plan;
  for (int t = 0; t < HighlightTagCount; ++t) plan.spans[t] = characterSpans(std::move(p.spans[t]), counter);
  plan.procedureNames = std::move(p.names);
  plan.links = characterLinks(p, counter);
  return plan;
}

}  // namespace viewer
