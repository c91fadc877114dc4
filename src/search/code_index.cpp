// The code of every topic's snippet, held folded in memory, and the search through it.
#include "search/code_index.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>

#include <sys/stat.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/paths.h"
#include "base/trace.h"
#include "config/language_file.h"
#include "search/rare_byte.h"
#include "viewer/code_file.h"

namespace search {
namespace {

// A hit's line is cut to about this many bytes around the match.
constexpr std::size_t longestShownLine = 200;
constexpr std::size_t contextBeforeMatch = 60;
const char* const cutMark = "\u2026";

// The search text, and how to look for it: a byte of it that the texts hold seldom
// is found with memchr at memory speed and the text compared around it. When every
// byte of it is common, a short text is looked for by testing sixteen places at once
// for its first and last byte; a long one with memmem, which skips ahead the further
// the longer the text.
constexpr std::size_t longNeedle = 8;

struct Needle {
  std::string text;
  std::size_t rare = 0;
  bool rareEnough = false;

  Needle(std::string folded, const std::vector<std::size_t>& byteCounts)
      : text(std::move(folded)), rare(rarestBytePlace(text, byteCounts)) {
    std::size_t total = 0;
    for (const std::size_t n : byteCounts) total += n;
    rareEnough = text.size() == 1 ||
                 (!text.empty() && byteCounts[static_cast<unsigned char>(text[rare])] * 256 < total);
  }

  // npos when the text does not hold the needle from `from` on.
  std::size_t findIn(const std::string& haystack, std::size_t from) const {
    if (haystack.size() < from + text.size()) return std::string::npos;
    return rareEnough ? findByRareByte(haystack.data(), from, haystack.size(), text, rare)
                      : findByEnds(haystack, from);
  }

  std::size_t findByEnds(const std::string& haystack, std::size_t from) const {
    const char* const begin = haystack.data();
    const std::size_t size = haystack.size();
#if defined(__SSE2__)
    const std::size_t lastAt = text.size() - 1;
    const bool shortNeedle = text.size() < longNeedle;
    const __m128i first = _mm_set1_epi8(text.front());
    const __m128i last = _mm_set1_epi8(text.back());
    for (; shortNeedle && from + lastAt + 16 <= size; from += 16) {
      const __m128i starts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin + from));
      const __m128i ends = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin + from + lastAt));
      unsigned places = static_cast<unsigned>(
          _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(starts, first), _mm_cmpeq_epi8(ends, last))));
      for (; places; places &= places - 1) {
        const std::size_t at = from + static_cast<std::size_t>(__builtin_ctz(places));
        if (std::memcmp(begin + at, text.data(), text.size()) == 0) return at;
      }
    }
#endif
    const void* found = memmem(begin + from, size - from, text.data(), text.size());
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - begin) : std::string::npos;
  }
};

struct FileMatches {
  std::size_t first = 0;
  std::int64_t lines = 0;
};

#if defined(__SSE2__)
// The same for a text of one byte, sixteen bytes at a time: a line counts once however
// often the byte stands in it.
FileMatches matchFileByByte(const std::string& text, char byte) {
  FileMatches matches;
  const char* const begin = text.data();
  const std::size_t size = text.size();
  const __m128i wanted = _mm_set1_epi8(byte);
  const __m128i newline = _mm_set1_epi8('\n');
  bool lineHolds = false;  // the line read so far holds the byte
  const auto note = [&](std::size_t at) {
    if (matches.lines == 0 && !lineHolds) matches.first = at;
    lineHolds = true;
  };
  std::size_t at = 0;
  for (; at + 16 <= size; at += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin + at));
    unsigned found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted)));
    unsigned ends = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, newline)));
    for (; ends; ends &= ends - 1) {
      const unsigned end = static_cast<unsigned>(__builtin_ctz(ends));
      // The line's own end belongs to it, so a search for the line end finds every line.
      const unsigned before = found & ((2u << end) - 1);
      if (before) note(at + static_cast<std::size_t>(__builtin_ctz(before)));
      matches.lines += lineHolds;
      lineHolds = false;
      found &= ~((2u << end) - 1);
    }
    if (found) note(at + static_cast<std::size_t>(__builtin_ctz(found)));
  }
  for (; at < size; ++at) {
    if (begin[at] == byte) note(at);
    if (begin[at] == '\n') {
      matches.lines += lineHolds;
      lineHolds = false;
    }
  }
  matches.lines += lineHolds;
  return matches;
}
#endif

// Counts the lines where a match begins: after a match the search goes on at the next line.
FileMatches matchFile(const std::string& text, const Needle& needle) {
#if defined(__SSE2__)
  if (needle.text.size() == 1) return matchFileByByte(text, needle.text[0]);
#endif
  FileMatches matches;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = needle.findIn(text, from);
    if (at == std::string::npos) break;
    if (matches.lines++ == 0) matches.first = at;
    const void* lineEnd = std::memchr(text.data() + at, '\n', text.size() - at);
    if (!lineEnd) break;
    from = static_cast<std::size_t>(static_cast<const char*>(lineEnd) - text.data()) + 1;
  }
  return matches;
}

// Below this much code one thread searches faster than two can start.
constexpr std::size_t codeWorthASecondThread = 4 << 20;

void matchFileRange(const CodeIndex& index, const Needle& needle, std::size_t from, std::size_t to,
                    std::vector<FileMatches>& matches) {
  for (std::size_t i = from; i < to; ++i) {
    if (index.files[i].read) matches[i] = matchFile(index.files[i].code.text, needle);
  }
}

// The file where the first half of the code ends; files.size() when the code is too small
// to be shared out.
std::size_t halfOfTheCode(const CodeIndex& index) {
  std::size_t total = 0;
  for (const CodeFile& file : index.files) total += file.code.text.size();
  if (total < codeWorthASecondThread || std::thread::hardware_concurrency() < 2) return index.files.size();
  std::size_t sum = 0, i = 0;
  while (i < index.files.size() && sum < total / 2) sum += index.files[i++].code.text.size();
  return i;
}

// The matches of every read file. A large library is searched by two threads, each taking
// one half of its code; each writes only its own files' entries.
std::vector<FileMatches> matchFiles(const CodeIndex& index, const Needle& needle) {
  std::vector<FileMatches> matches(index.files.size());
  const std::size_t half = halfOfTheCode(index);
  std::thread second;
  if (half < index.files.size()) {
    try {
      second = std::thread(matchFileRange, std::cref(index), std::cref(needle), half, index.files.size(),
                           std::ref(matches));
    } catch (const std::system_error&) {
      // No thread to be had: this one does all.
    }
  }
  matchFileRange(index, needle, 0, second.joinable() ? half : index.files.size(), matches);
  if (second.joinable()) second.join();
  return matches;
}

int lineNumberAt(const std::string& text, std::size_t at) {
  return static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }

// A list row shows one line: a TAB becomes a blank, other control characters the
// replacement character.
std::string forDisplay(std::string text) {
  std::string shown;
  shown.reserve(text.size());
  for (const char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '\t')
      shown += ' ';
    else if (byte < 0x20 || byte == 0x7F)
      shown += "\uFFFD";
    else
      shown += c;
  }
  return shown;
}

struct LineSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
};

// The line around the match without its outer blanks; the match itself stays whole.
LineSpan trimmedLine(const std::string& text, std::size_t at, std::size_t matchEnd) {
  LineSpan line;
  const auto* before = static_cast<const char*>(memrchr(text.data(), '\n', at));
  line.begin = before ? static_cast<std::size_t>(before - text.data()) + 1 : 0;
  const auto* after = static_cast<const char*>(std::memchr(text.data() + at, '\n', text.size() - at));
  line.end = after ? static_cast<std::size_t>(after - text.data()) : text.size();
  while (line.begin < at && isBlank(text[line.begin])) ++line.begin;
  while (line.end > std::max(matchEnd, line.begin) && isBlank(text[line.end - 1])) --line.end;
  return line;
}

// A long line keeps some context before the match and as much after it as fits.
LineSpan shownPart(const LineSpan& line, std::size_t at) {
  if (line.end - line.begin <= longestShownLine) return line;
  LineSpan part;
  part.begin = at > line.begin + contextBeforeMatch ? at - contextBeforeMatch : line.begin;
  part.end = std::min(line.end, part.begin + longestShownLine);
  return part;
}

}  // namespace

TopicFiles topicFilesOf(const std::vector<database::IndexEntry>& entries) {
  TRACE_LINE();
  TopicFiles files;
  std::size_t bytes = 0;
  for (const database::IndexEntry& entry : entries) bytes += entry.File.size();
  files.values.reserve(bytes);
  files.rows.reserve(entries.size());
  files.ends.reserve(entries.size());
  for (std::size_t row = 0; row < entries.size(); ++row) {
    if (entries[row].File.empty()) continue;
    files.rows.push_back(static_cast<int>(row));
    files.values.append(entries[row].File);
    files.ends.push_back(files.values.size());
  }
  return files;
}

CodeIndex planCodeIndex(const TopicFiles& files, const std::string& libPath) {
  TRACE_LINE();
  CodeIndex index;
  index.libPath = libPath;
  // Reserved whole, the files stay in place, so the map's keys can view their paths.
  index.files.reserve(files.rows.size());
  index.topics.reserve(files.rows.size());
  std::unordered_map<std::string_view, int> fileOfPath;
  fileOfPath.reserve(files.rows.size());
  std::size_t start = 0;
  for (std::size_t i = 0; i < files.rows.size(); ++i) {
    std::string fullPath = base::joinLibraryPath(libPath, files.values.substr(start, files.ends[i] - start));
    start = files.ends[i];
    auto known = fileOfPath.find(fullPath);
    if (known == fileOfPath.end()) {
      index.files.emplace_back();
      index.files.back().fullPath = std::move(fullPath);
      known = fileOfPath.emplace(index.files.back().fullPath, static_cast<int>(index.files.size() - 1)).first;
    }
    index.topics.push_back({files.rows[i], known->second});
  }
  return index;
}

CodeIndex planCodeIndex(const std::vector<database::IndexEntry>& entries, const std::string& libPath) {
  return planCodeIndex(topicFilesOf(entries), libPath);
}

bool isPlanOf(const CodeIndex& index, const std::vector<database::IndexEntry>& entries,
              const std::string& libPath) {
  TRACE_LINE();
  if (index.libPath != libPath) return false;
  std::size_t topic = 0;
  for (std::size_t row = 0; row < entries.size(); ++row) {
    if (entries[row].File.empty()) continue;
    if (topic == index.topics.size() || index.topics[topic].row != static_cast<int>(row)) return false;
    const std::string_view file = base::withoutLeadingSlashes(entries[row].File);
    const std::string& fullPath = index.files[index.topics[topic++].file].fullPath;
    if (fullPath.size() != libPath.size() + file.size() ||
        fullPath.compare(libPath.size(), file.size(), file) != 0)
      return false;
  }
  // Topics naming the same path share a file in the order the paths first come, so
  // equal rows and paths make equal files too.
  return topic == index.topics.size();
}

FileReading readIndexedFile(int file, const std::string& fullPath, const FileStamp& known) {
  TRACE_LINE();
  FileReading reading;
  reading.file = file;
  struct stat info;
  if (stat(fullPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > largestIndexedFile)
    return reading;
  reading.stamp = {info.st_mtim.tv_sec, info.st_mtim.tv_nsec, info.st_size};
  if (reading.stamp == known) {
    reading.state = FileState::Unchanged;
    return reading;
  }
  const viewer::CodeText code = viewer::readCodeFile(fullPath);
  if (!code.opened) return reading;
  reading.code = foldRestorably(code.text);
  reading.state = FileState::Read;
  return reading;
}

void takeReading(CodeIndex& index, FileReading&& reading) {
  if (reading.file < 0 || reading.file >= static_cast<int>(index.files.size())) return;
  CodeFile& file = index.files[reading.file];
  if (reading.state == FileState::Unchanged) return;
  file.read = reading.state == FileState::Read;
  file.stamp = file.read ? reading.stamp : FileStamp();
  file.code = std::move(reading.code);
}

void countBytes(const std::string& text, std::vector<std::size_t>& byteCounts) {
  for (const char c : text) ++byteCounts[static_cast<unsigned char>(c)];
}

CodeSearchResult searchCode(const CodeIndex& index, const std::string& searchText, std::size_t hitLimit) {
  TRACE_LINE();
  CodeSearchResult result;
  const Needle needle(foldCase(searchText), index.byteCounts);
  if (needle.text.empty()) return result;
  result.matchLength = needle.text.size();
  const std::vector<FileMatches> matches = matchFiles(index, needle);
  TRACE_LINE();
  for (const CodeTopic& topic : index.topics) {
    const FileMatches& found = matches[topic.file];
    if (found.lines == 0) continue;
    ++result.topicCount;
    result.lineCount += found.lines;
    if (result.hits.size() >= hitLimit) continue;
    const std::string& text = index.files[topic.file].code.text;
    result.hits.push_back({topic.row, topic.file, found.first, lineNumberAt(text, found.first)});
  }
  return result;
}

HitLine hitLine(const RestorableFold& code, std::size_t at, std::size_t matchLength) {
  const std::string& text = code.text;
  at = std::min(at, text.size());
  const LineSpan line = trimmedLine(text, at, std::min(at + matchLength, text.size()));
  const LineSpan part = shownPart(line, at);
  const std::size_t begin = originalEdge(code, part.begin, false);
  const std::size_t end = originalEdge(code, part.end, true);
  const std::size_t matchBegin = std::max(begin, originalEdge(code, at, false));
  const std::size_t matchEnd =
      std::min(end, std::max(matchBegin, originalEdge(code, at + matchLength, true)));
  HitLine shown;
  if (begin > line.begin) shown.text = cutMark;
  shown.text += forDisplay(restoreOriginal(code, begin, matchBegin));
  shown.matchBegin = shown.text.size();
  shown.text += forDisplay(restoreOriginal(code, matchBegin, matchEnd));
  shown.matchEnd = shown.text.size();
  shown.text += forDisplay(restoreOriginal(code, matchEnd, end));
  if (end < line.end) shown.text += cutMark;
  return shown;
}

std::string fillInNumbers(const std::string& text, std::int64_t n, std::int64_t total) {
  std::string filled;
  for (std::size_t i = 0; i < text.size();) {
    if (text.compare(i, 3, "{n}") == 0) {
      filled += std::to_string(n);
      i += 3;
    } else if (text.compare(i, 7, "{total}") == 0) {
      filled += std::to_string(total);
      i += 7;
    } else {
      filled += text[i++];
    }
  }
  return filled;
}

std::string hitCountText(const std::string& topicsText, const std::string& linesText, int topics,
                         std::int64_t lines) {
  // The first form is the singular; a text with one form only serves both.
  const auto form = [](const std::string& text, std::int64_t n) {
    const std::string plural = config::listItemText(text, 1);
    return fillInNumbers(n == 1 || plural.empty() ? config::listItemText(text, 0) : plural, n);
  };
  return form(topicsText, topics) + ", " + form(linesText, lines);
}

}  // namespace search
