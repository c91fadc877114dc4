// Reads the library's snippet files into the code index, in a thread of its own. The
// thread touches no widget and no object of the main loop: it hands its readings over
// in batches, and the main loop puts them into the index, which only it touches.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "database/topic_index.h"
#include "search/code_index.h"

namespace search {

// The index, as far as it has been read.
extern CodeIndex codeIndex;

struct CodeIndexProgress {
  bool building = false;  // the files are being read for the first time since the index was planned
  std::size_t done = 0;   // files handled so far
  std::size_t total = 0;
};
CodeIndexProgress codeIndexProgress();

// Plans the index anew and reads every file; a reading that still runs is stopped
// first, and nothing it read reaches the new index.
void rebuildCodeIndex(const std::vector<database::IndexEntry>& entries, const std::string& libPath);
// Rebuilds when the rows or the library path no longer match the index; otherwise
// reads again the files that changed since they were read (after a reading that
// still runs).
void refreshCodeIndex(const std::vector<database::IndexEntry>& entries, const std::string& libPath);
// Called in the main loop whenever readings went into the index.
void setCodeIndexListener(std::function<void()> listener);
// Stops every reading and waits for its thread: at the end of the program, in tests.
void stopCodeIndexReading();

}  // namespace search
