// The code search: on any snippets and search text it counts the topics and lines a
// plain search over the folded texts counts, a folded text gives its original back
// whole and in pieces, and a hit's line is valid UTF-8 with the match inside it.
#include <cstdint>
#include <string>
#include <vector>

#include <glib.h>

#include "fuzz_input.h"
#include "search/code_index.h"
#include "viewer/text_decoding.h"

namespace {

// The lines in which a match of the needle begins (a line's own line end included).
std::int64_t plainLineCount(const std::string& text, const std::string& needle) {
  std::int64_t lines = 0;
  std::size_t lineStart = 0;
  while (lineStart <= text.size()) {
    std::size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == std::string::npos) lineEnd = text.size();
    const std::size_t at = text.find(needle, lineStart);
    if (at != std::string::npos && at <= lineEnd) ++lines;
    lineStart = lineEnd + 1;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> pieces = fuzzing::piecesOf(data, size);
  std::vector<std::string> texts;
  std::vector<std::string> files;
  std::vector<database::IndexEntry> entries;
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    // The index holds what the viewer's decoding gives: valid UTF-8 without NUL.
    texts.push_back(viewer::decodeToUtf8(pieces[i].data(), pieces[i].size(), viewer::TextFormat::Utf8));
    files.push_back("f" + std::to_string(i));
  }
  for (const std::string& file : files) {
    entries.emplace_back();
    entries.back().File = file;
  }
  search::CodeIndex index = search::planCodeIndex(entries, "/");
  for (std::size_t i = 0; i < texts.size(); ++i) {
    search::FileReading reading;
    reading.file = static_cast<int>(i);
    reading.state = search::FileState::Read;
    reading.code = search::foldRestorably(texts[i]);
    FUZZ_EXPECT(reading.code.text == search::foldCase(texts[i]));
    const std::size_t middle = search::originalEdge(reading.code, reading.code.text.size() / 2, false);
    FUZZ_EXPECT(search::restoreOriginal(reading.code, 0, middle) +
                    search::restoreOriginal(reading.code, middle, reading.code.text.size()) ==
                texts[i]);
    search::countBytes(reading.code.text, index.byteCounts);
    search::takeReading(index, std::move(reading));
  }

  const search::CodeSearchResult result = search::searchCode(index, pieces[0], 3);
  const std::string needle = search::foldCase(pieces[0]);
  int topics = 0;
  std::int64_t lines = 0;
  for (const search::CodeFile& file : index.files) {
    const std::int64_t found = needle.empty() ? 0 : plainLineCount(file.code.text, needle);
    topics += found > 0;
    lines += found;
  }
  FUZZ_EXPECT(result.topicCount == topics && result.lineCount == lines);
  for (const search::CodeHit& hit : result.hits) {
    const search::HitLine line = search::hitLine(index.files[hit.file].code, hit.at, result.matchLength);
    FUZZ_EXPECT(line.matchBegin <= line.matchEnd && line.matchEnd <= line.text.size());
    FUZZ_EXPECT(g_utf8_validate(line.text.data(), static_cast<gssize>(line.text.size()), nullptr));
  }
  return 0;
}
