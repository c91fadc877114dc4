// The topic tree's rows and the model the tree view reads them through: a read-only
// GtkTreeModel over the rows themselves, so that no row is copied into a toolkit store.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "database/topic_index.h"

namespace database {

enum TopicColumn {
  TopicColumnText,
  TopicColumnRow,  // the row number, the index into indexEntries
  TopicColumnBackground,
  TopicColumnBackgroundSet,
  TopicColumnForeground,
  TopicColumnForegroundSet,
  TopicColumnCount
};

// A new model over the topic rows (one reference, owned by the caller).
GtkTreeModel* createTopicModel();

// Replaces the rows that every topic model shows, and tells the model's watchers.
// A row at level n hangs below the last row of level n-1 before it; a row without
// such a row goes to the top level. No view may show a topic model meanwhile:
// the view would still hold the old rows.
void setTopicRows(std::vector<TopicRow> rows);

// Lookups on the rows last set.
bool topicRowIter(int row, GtkTreeIter* iter);
int topicRowNumber(GtkTreeModel* model, GtkTreeIter* iter);
int topicRowCount();
int topicRowLevel(int row);
const std::string& topicRowText(int row);
const std::vector<TopicRow>& topicRows();
// Whether the row has rows below it.
bool topicRowHasChildren(int row);
// Changes whenever the rows are set anew.
std::uint64_t topicRowsVersion();

}  // namespace database
