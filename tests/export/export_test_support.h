// Rows for the export tests: built from a database file as the tree holds them.
#pragma once

#include <string>
#include <vector>

#include "app/app_state.h"
#include "database/toc_database.h"
#include "database/topic_index.h"
#include "export/export_rows.h"

namespace testing_support {

// The rows and records of the document, German displayed, as the tree would show them.
inline std::vector<exports::ExportRow> exportRowsOfDatabase(const std::string& path, bool dyeingNews) {
  std::vector<exports::ExportRow> exported;
  if (!database::readDatabaseFile(path) || !appState.documentRoot) return exported;
  database::clearTopicIndex();
  database::currentGroup.clear();
  std::vector<database::TopicRow> rows;
  database::buildTopicTree(appState.documentRoot, 0, 0, dyeingNews, rows);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    exported.push_back({rows[i].level, rows[i].text, database::indexEntries[i]});
  }
  return exported;
}

// A topic row of level 2 (or the level given) with its German and English titles and file.
inline exports::ExportRow topicRow(const std::string& text, const std::string& file = "", int level = 2) {
  exports::ExportRow row;
  row.level = level;
  row.text = text;
  row.entry.FunctionDe = text;
  row.entry.FunctionEn = text + " en";
  row.entry.File = file;
  return row;
}

inline exports::ExportRow groupRow(const std::string& name) {
  exports::ExportRow row;
  row.level = 1;
  row.text = name;
  return row;
}

}  // namespace testing_support
