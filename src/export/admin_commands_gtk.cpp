// The maintenance commands of the administrator menu: they read the topic tree's
// rows and show what the export tells.
#include "export/admin_commands.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/app_state.h"
#include "base/dialogs.h"
#include "base/trace.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "export/export_commands.h"

namespace exports {
namespace {

// The rows from the first library row to the last, each with its record.
std::vector<ExportRow> treeRows() {
  TRACE_LINE();
  std::vector<ExportRow> rows;
  const int count = database::topicRowCount();
  for (int row = std::max(base::appState.firstCodeRow, 0); row < count; ++row) {
    ExportRow exported;
    exported.level = database::topicRowLevel(row);
    exported.text = database::topicRowText(row);
    if (row < static_cast<int>(database::indexEntries.size())) exported.entry = database::indexEntries[row];
    rows.push_back(std::move(exported));
  }
  return rows;
}

void tell(const std::string& message) {
  if (!message.empty()) base::showMessage(base::messageTitle, message);
}

}  // namespace

void exportWebPage() { tell(saveWebPage(treeRows(), localToday())); }

void exportPosting(int variant) {
  tell(saveForumPosting(treeRows(), variant == 0 ? PostingMode::All : PostingMode::News));
}

void exportFileList() { tell(saveFileList(treeRows())); }

void writeDuplicatesReport() { tell(saveDuplicatesReport(database::indexEntries)); }

}  // namespace exports
