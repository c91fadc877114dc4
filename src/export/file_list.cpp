// The file list export.
#include "export/file_list.h"

namespace exports {

void writeFileList(ExportWriter& out, const std::vector<ExportRow>& rows) {
  for (const ExportRow& row : rows) {
    if (row.level == topicLevel && !row.entry.File.empty()) writeLine(out, row.entry.File);
  }
}

}  // namespace exports
