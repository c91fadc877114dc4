// One keystroke's search over a 10,000-topic database (a text that matches no row,
// so every row is looked at), against a plain strcasestr scan of the same joined
// texts. Prints the medians; goal: under 5 ms per keystroke. Needs no display.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <strings.h>

#include "bench_timing.h"
#include "database/toc_database.h"
#include "database/topic_index.h"
#include "database_generator.h"
#include "search/topic_search.h"

namespace {

const double goalMs = 5.0;
const int turns = 41;
// Occurs in no row: the worst keystroke, which reads every row to the end.
const char* const missingText = "Fensterbreite";

double median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

search::TopicRows rowsOf(const std::vector<database::TopicRow>& shown) {
  search::TopicRows rows;
  rows.count = static_cast<int>(shown.size());
  rows.text = [&shown](int row) -> const std::string& { return shown[row].text; };
  rows.entries = &database::indexEntries;
  return rows;
}

// The baseline: the joined texts made once, then scanned caselessly as they are.
int plainScan(const std::vector<std::string>& texts, const char* needle) {
  for (std::size_t row = 0; row < texts.size(); ++row) {
    if (strcasestr(texts[row].c_str(), needle)) return static_cast<int>(row);
  }
  return -1;
}

// Returns whether the goal was met.
bool measureMode(const std::vector<database::TopicRow>& shown, int mode) {
  const search::TopicRows rows = rowsOf(shown);
  std::vector<std::string> joined;
  for (int row = 0; row < rows.count; ++row) {
    joined.push_back(
        search::searchedText(search::searchedFields(rows.text(row), database::indexEntries[row], mode, 0)));
  }
  search::clearSearchCache();
  int found = 0;
  auto firstKeystroke = [&] { found += search::findTopicRow(missingText, 0, rows, mode, 0); };
  const double coldMs = bench::elapsedMilliseconds(firstKeystroke);

  std::vector<double> searchTimes, scanTimes;
  for (int turn = 0; turn < turns; ++turn) {
    auto keystroke = [&] { found += search::findTopicRow(missingText, 0, rows, mode, 0); };
    auto scan = [&] { found += plainScan(joined, missingText); };
    scanTimes.push_back(bench::elapsedMilliseconds(scan));
    searchTimes.push_back(bench::elapsedMilliseconds(keystroke));
  }
  const double searchMs = median(searchTimes);
  const double scanMs = median(scanTimes);
  const bool ok = searchMs < goalMs && found == -(turns * 2 + 1);
  std::printf(
      "bench_search: mode %d, %d rows: one keystroke median %.2f ms (goal < %.1f ms) %s; "
      "plain strcasestr scan %.2f ms, ratio %.2f; first keystroke after a build %.2f ms\n",
      mode, rows.count, searchMs, goalMs, ok ? "ok" : "MISSED", scanMs, searchMs / scanMs, coldMs);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  bool generated = false;
  const std::string path = bench::benchmarkDatabase(argc, argv, generated);
  if (path.empty()) return 1;
  if (!database::readDatabaseFile(path) || !database::tocDatabase || !database::tocDatabase->root) {
    std::fprintf(stderr, "the database %s does not load\n", path.c_str());
    return 1;
  }
  database::clearTopicIndex();
  std::vector<database::TopicRow> shown;
  database::buildTopicTree(database::tocDatabase->root, 0, 0, true, shown);

  bool ok = true;
  for (int mode : {search::TitleAndDescription, search::TitleOnly, search::AllLanguages}) {
    ok = measureMode(shown, mode) && ok;
  }
  if (generated) bench::removeScratchDatabase(path);
  return ok ? 0 : 1;
}
