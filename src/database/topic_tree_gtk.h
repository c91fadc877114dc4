// The topic tree widget's store: filling it from the topic rows, row lookups both
// ways in constant time, selection, opening and the topic counts.
#pragma once

#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "database/topic_index.h"

namespace database {

enum TopicColumn {
  TopicColumnText,
  TopicColumnRow,  // hidden: the row number, the index into indexEntries
  TopicColumnBackground,
  TopicColumnBackgroundSet,
  TopicColumnForeground,
  TopicColumnForegroundSet,
  TopicColumnCount
};

GtkTreeStore* createTopicStore();
// Adds the one visible column: the text with the row's colours.
void attachTopicColumns(GtkTreeView* view);

// Replaces the store's content with the rows, all collapsed.
void fillTopicStore(GtkTreeStore* store, std::vector<TopicRow> rows);

// Lookups on the rows last filled in.
bool topicRowIter(int row, GtkTreeIter* iter);
int topicRowNumber(GtkTreeModel* model, GtkTreeIter* iter);
int topicRowCount();
int topicRowLevel(int row);
const std::string& topicRowText(int row);

// Empties the store and the IndexEntry list and builds both anew from the loaded
// document (an empty tree when there is none), keeping the help row and the database
// date the build finds. Raises no event.
void rebuildTopicTree(GtkTreeView* view, int displayLanguage, bool dyeingNews);

// The selected row number, -1 when none.
int selectedTopicRow(GtkTreeView* view);
// Opens the row's parents, selects the row, puts the cursor on it and scrolls it to
// the middle of the view, all without raising an event. A row out of range
// clears the selection.
void selectTopicRow(GtkTreeView* view, int row);
// Opens (true) or closes (false) every node, without raising an event.
void expandAllTopics(GtkTreeView* view, bool open);

// Counts groups and code topics into appState, opening every row on the way.
void countTopics(GtkTreeView* view);

}  // namespace database
