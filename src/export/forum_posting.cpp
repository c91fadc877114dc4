// The forum posting (an empty line before each group's topics, then one line per topic)
// and the file list.
#include "export/forum_posting.h"

#include "base/trace.h"

namespace exports {

void writeForumPosting(ExportWriter& out, const std::vector<ExportRow>& rows, PostingMode mode) {
  TRACE_LINE();
  int previousLevel = 0;
  std::string groupLabel;
  for (const ExportRow& row : rows) {
    if (row.level == groupLevel) groupLabel = "[b]" + row.text + "[/b]";
    if (row.level == topicLevel && (previousLevel == groupLevel || previousLevel == topicLevel)) {
      if (previousLevel == groupLevel) writeLine(out, "");
      // News are told by the shown text, which keeps its mark only while they are dyed.
      if (mode == PostingMode::All || beginsWithNewTopicMark(row.text)) {
        writeLine(out, groupLabel + ": \t" + std::string(row.entry.FunctionDe));
      }
    }
    // A nested topic must not hide the topic after it.
    if (row.level <= topicLevel) previousLevel = row.level;
  }
}

void writeFileList(ExportWriter& out, const std::vector<ExportRow>& rows) {
  for (const ExportRow& row : rows) {
    if (row.level == topicLevel && !row.entry.File.empty()) writeLine(out, row.entry.File);
  }
}

}  // namespace exports
