// The topic rows and the parallel IndexEntry list, built by one walk over the document.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "base/app_state.h"
#include "database/toc_database.h"

namespace database {

// One record per tree row; record i and row i describe the same element.
// The fields view texts that the record does not own: the loaded document's
// attribute values and element texts, and indexTexts for the texts the walk makes
// itself. A library's document already holds every one of them once; copies would
// hold them twice. readDatabaseFile and closeDatabase empty the list before the
// document goes.
struct IndexEntry {
  std::string_view Text;
  std::string_view Group;
  std::string_view FunctionDe;
  std::string_view DescriptDe;
  std::string_view FunctionEn;
  std::string_view DescriptEn;
  std::string_view FunctionFr;
  std::string_view DescriptFr;
  std::string_view File;
};

// The record's texts that exist in three languages.
enum class EntryText { Title, Description };
// The field holding a record's title (FunctionDe ...) or description (DescriptDe ...) in a
// display language: 0 German, 1 English, any other value French.
std::string_view IndexEntry::*languageField(EntryText text, int language);

extern std::vector<IndexEntry> indexEntries;
// The texts of the IndexEntry list that the document does not hold: labels joined
// from several attributes and the group kept from an earlier build. A deque never
// moves its strings, so views into them stay valid until the list is emptied.
extern std::deque<std::string> indexTexts;
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
  base::Colour background = 0;
  bool hasForeground = false;
  base::Colour foreground = 0;
};

// The title markers: a new topic, an updated topic.
extern const char* const newTopicMarker;
extern const char* const updatedTopicMarker;
// The text colour of new topics while DyeingNews is on.
constexpr base::Colour newTopicColour = base::rgb(0, 0, 185);

// Empties the IndexEntry list and its texts: before a build, and before the
// document its records view is replaced or freed.
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
