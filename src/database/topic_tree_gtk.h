// The topic tree widget: showing the topic rows, selection, opening and the topic counts.
#pragma once

#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "database/topic_index.h"
#include "database/topic_model_gtk.h"

namespace database {

// Adds the one visible column: the text with the row's colours.
void attachTopicColumns(GtkTreeView* view);

// Shows the rows in the view, all closed, the column fitted to them.
void showTopicRows(GtkTreeView* view, std::vector<TopicRow> rows);

// Empties the rows and the IndexEntry list and builds both anew from the loaded
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

// Counts groups and code topics into appState and opens every row.
void countTopics(GtkTreeView* view);

}  // namespace database
