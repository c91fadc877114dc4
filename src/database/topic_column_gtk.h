// The width of the topic tree's one column, found without laying out every row.
#pragma once

#include <vector>

#include <gtk/gtk.h>

#include "database/topic_index.h"

namespace database {

// Every row has the same height and the column has a fixed width, so the view
// never measures its rows one by one: with thousands of rows that measuring
// would cost more than loading the whole database.
void useFixedRowSizes(GtkTreeView* view);

// Gives the column the width of its widest row: the text's width (the sum of its
// characters' widths, each measured once) plus the row's indentation.
void fitTopicColumn(GtkTreeView* view, const std::vector<TopicRow>& rows);

}  // namespace database
