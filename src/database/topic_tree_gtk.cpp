// The topic tree view: its column, filling, selection, opening and the counts.
#include "database/topic_tree_gtk.h"

#include <utility>

#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/trace.h"
#include "database/topic_column_gtk.h"

namespace database {
namespace {

GtkTreeModel* modelOf(GtkTreeView* view) { return gtk_tree_view_get_model(view); }

}  // namespace

void attachTopicColumns(GtkTreeView* view) {
  TRACE_LINE();
  GtkCellRenderer* renderer = gtk_cell_renderer_text_new();
  GtkTreeViewColumn* column = gtk_tree_view_column_new_with_attributes(
      "", renderer, "text", TopicColumnText, "cell-background-gdk", TopicColumnBackground,
      "cell-background-set", TopicColumnBackgroundSet, "foreground-gdk", TopicColumnForeground,
      "foreground-set", TopicColumnForegroundSet, nullptr);
  gtk_tree_view_append_column(view, column);
  useFixedRowSizes(view);
}

void showTopicRows(GtkTreeView* view, std::vector<TopicRow> rows) {
  TRACE_LINE();
  const base::ProgramChange guard;
  GtkTreeModel* model = modelOf(view);
  if (!model) return;
  // The view lets go of the old rows before they go, and builds its own
  // bookkeeping of the new ones once, when it takes the model back.
  g_object_ref(model);
  gtk_tree_view_set_model(view, nullptr);
  fitTopicColumn(view, rows);
  setTopicRows(std::move(rows));
  gtk_tree_view_set_model(view, model);
  g_object_unref(model);
}

void rebuildTopicTree(GtkTreeView* view, int displayLanguage, bool dyeingNews) {
  TRACE_LINE();
  const base::ProgramChange guard;
  clearTopicIndex();
  std::vector<TopicRow> rows;
  TreeFindings found;
  if (const XmlNode* root = documentRoot()) {
    found = buildTopicTree(root, 0, displayLanguage, dyeingNews, rows);
    DbDate = found.DbDate;
  }
  base::appState.helpRow = found.helpRow;
  showTopicRows(view, std::move(rows));
}

int selectedTopicRow(GtkTreeView* view) {
  TRACE_LINE();
  GtkTreeModel* model = nullptr;
  GtkTreeIter iter;
  if (!gtk_tree_selection_get_selected(gtk_tree_view_get_selection(view), &model, &iter)) {
    return -1;
  }
  return topicRowNumber(model, &iter);
}

void selectTopicRow(GtkTreeView* view, int row) {
  TRACE_LINE();
  const base::ProgramChange guard;
  GtkTreeSelection* selection = gtk_tree_view_get_selection(view);
  if (row < 0 || row >= topicRowCount()) {
    gtk_tree_selection_unselect_all(selection);
    return;
  }
  GtkTreeIter iter;
  topicRowIter(row, &iter);
  GtkTreePath* path = gtk_tree_model_get_path(modelOf(view), &iter);
  // A row inside a closed node cannot be selected: open its parents first.
  if (gtk_tree_path_get_depth(path) > 1) {
    GtkTreePath* parent = gtk_tree_path_copy(path);
    gtk_tree_path_up(parent);
    gtk_tree_view_expand_to_path(view, parent);
    gtk_tree_path_free(parent);
  }
  // The view repaints at once whenever it scrolls; held back, its repaint joins the rest
  // of the window's when the loop runs next, after the topic is shown. Scrolled to the
  // middle first, the row is in sight already when the cursor comes, and the view
  // scrolls once.
  GdkWindow* window = gtk_widget_get_window(GTK_WIDGET(view));
  if (window) gdk_window_freeze_updates(window);
  gtk_tree_view_scroll_to_cell(view, path, nullptr, TRUE, 0.5f, 0.0f);
  gtk_tree_view_set_cursor(view, path, nullptr, FALSE);
  gtk_tree_selection_select_path(selection, path);
  if (window) gdk_window_thaw_updates(window);
  gtk_tree_path_free(path);
}

void expandAllTopics(GtkTreeView* view, bool open) {
  TRACE_LINE();
  const base::ProgramChange guard;
  if (open) {
    gtk_tree_view_expand_all(view);
  } else {
    gtk_tree_view_collapse_all(view);
  }
}

void countTopics(GtkTreeView* view) {
  TRACE_LINE();
  const base::ProgramChange guard;
  const TopicCounts counts = countTopicRows(topicRows(), indexEntries, base::appState.viewerGroupName);
  base::appState.groupCount = counts.groups;
  base::appState.codeTopicCount = counts.codeTopics;
  // One pass over the whole tree; opening row by row would look up every row's path.
  gtk_tree_view_expand_all(view);
  // Opening a node leaves no row selected.
  gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(view));
}

}  // namespace database
