// The database file: any bytes load or are refused, and the topic tree built from what
// loaded keeps its rows and records parallel, in every display language.
#include <cstdint>
#include <string>
#include <vector>

#include "base/app_state.h"
#include "database/toc_database.h"
#include "database/topic_index.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool stateReady = (base::resetAppState("/nowhere/"), true);
  (void)stateReady;
  const fuzzing::MemoryFile file(data, size);
  if (!database::readDatabaseFile(file.path())) return 0;
  FUZZ_EXPECT(database::tocDatabase->status != 0 || database::tocDatabase->errorText.empty());
  for (int language = 0; language < 3; ++language) {
    database::clearTopicIndex();
    std::vector<database::TopicRow> rows;
    database::buildTopicTree(database::documentRoot(), 0, language, language != 1, rows);
    FUZZ_EXPECT(rows.size() == database::indexEntries.size());
    for (std::size_t row = 0; row < rows.size(); ++row) {
      FUZZ_EXPECT(rows[row].level >= 0 && rows[row].level < database::maximumElementDepth);
      FUZZ_EXPECT(row == 0 || rows[row].level <= rows[row - 1].level + 1);
    }
    const database::TopicCounts counts =
        database::countTopicRows(rows, database::indexEntries, base::appState.viewerGroupName);
    FUZZ_EXPECT(counts.groups >= 0 && counts.codeTopics >= 0 &&
                static_cast<std::size_t>(counts.groups + counts.codeTopics) <= rows.size());
  }
  return 0;
}
