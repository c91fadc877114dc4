// The topic rows and the parallel IndexEntry list, built by one walk over the document.
#pragma once

#include <string>
#include <vector>

#include "app/app_state.h"
#include "database/toc_database.h"

namespace database {

// One record per tree row; record i and row i describe the same element.
struct IndexEntry {
  std::string Text;
  std::string Group;
  std::string FunctionDe;
  std::string DescriptDe;
  std::string FunctionEn;
  std::string DescriptEn;
  std::string FunctionFr;
  std::string DescriptFr;
  std::string File;
};

// The record's texts that exist in three languages.
enum class EntryText { Title, Description };
// The field holding a record's title (FunctionDe ...) or description (DescriptDe ...) in a
// display language: 0 German, 1 English, any other value French.
std::string IndexEntry::*languageField(EntryText text, int language);

extern std::vector<IndexEntry> indexEntries;
// The last non-empty label seen; kept from one build to the next.
extern std::string currentGroup;
// The database date (yyyy-mm-dd) of the document the tree was last built from;
// rebuildTopicTree keeps it.
extern std::string DbDate;

// What one tree row shows. A row at level n hangs below the last row of level n-1.
struct TopicRow {
  std::string text;
  int level = 0;
  bool hasBackground = false;
  Colour background = 0;
  bool hasForeground = false;
  Colour foreground = 0;
};

// The title markers: a new topic, an updated topic.
extern const char* const newTopicMarker;
extern const char* const updatedTopicMarker;
// The text colour of new topics while DyeingNews is on.
constexpr Colour newTopicColour = rgb(0, 0, 185);

// Empties the IndexEntry list before a build.
void clearTopicIndex();

// What a build finds besides the rows.
struct TreeFindings {
  int helpRow = 0;     // the row of the help topic; 0 when there is none
  std::string DbDate;  // the fourth word of the document element's text
};

// Appends a row and an IndexEntry for the node and for every element below it, in
// document order. displayLanguage: 0 German, 1 English, any other value French.
TreeFindings buildTopicTree(const XmlNode* node, int level, int displayLanguage, bool dyeingNews,
                            std::vector<TopicRow>& rows);

// The figures the database information window shows.
struct TopicCounts {
  int groups = 0;      // level-1 rows with children, the viewer's own group left out
  int codeTopics = 0;  // level-2 rows whose entry names a snippet file, outside that group
};

// Counts over the rows of one build and their entries (row i, entry i). The rows
// come from the walk in document order, so a row's children follow it directly.
TopicCounts countTopicRows(const std::vector<TopicRow>& rows, const std::vector<IndexEntry>& entries,
                           const std::string& viewerGroupName);

}  // namespace database
