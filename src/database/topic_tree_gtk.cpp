// The topic tree store and its row bookkeeping.
#include "database/topic_tree_gtk.h"

#include "app/app_state.h"
#include "app/event_queue.h"

namespace database {
namespace {

// What the store holds, by row number; GtkTreeStore iterators stay valid while
// their row exists, so they can be kept.
struct ShownRows {
  std::vector<GtkTreeIter> iters;
  std::vector<int> levels;
  std::vector<std::string> texts;
};

ShownRows shownRows;

GdkColor toGdkColor(Colour colour) {
  GdkColor result;
  result.pixel = 0;
  result.red = static_cast<guint16>((colour & 0xFF) * 257);
  result.green = static_cast<guint16>(((colour >> 8) & 0xFF) * 257);
  result.blue = static_cast<guint16>(((colour >> 16) & 0xFF) * 257);
  return result;
}

bool validRow(int row) { return row >= 0 && row < topicRowCount(); }

GtkTreeStore* storeOf(GtkTreeView* view) {
  return GTK_TREE_STORE(gtk_tree_view_get_model(view));
}

bool hasChildren(GtkTreeView* view, int row) {
  return gtk_tree_model_iter_has_child(gtk_tree_view_get_model(view), &shownRows.iters[row]);
}

void expandRow(GtkTreeView* view, int row) {
  TRACE_LINE();
  GtkTreePath* path =
      gtk_tree_model_get_path(gtk_tree_view_get_model(view), &shownRows.iters[row]);
  gtk_tree_view_expand_row(view, path, FALSE);
  gtk_tree_path_free(path);
}

}  // namespace

GtkTreeStore* createTopicStore() {
  TRACE_LINE();
  return gtk_tree_store_new(TopicColumnCount, G_TYPE_STRING, G_TYPE_INT, GDK_TYPE_COLOR,
                            G_TYPE_BOOLEAN, GDK_TYPE_COLOR, G_TYPE_BOOLEAN);
}

void attachTopicColumns(GtkTreeView* view) {
  TRACE_LINE();
  GtkCellRenderer* renderer = gtk_cell_renderer_text_new();
  GtkTreeViewColumn* column = gtk_tree_view_column_new_with_attributes(
      "", renderer, "text", TopicColumnText, "cell-background-gdk", TopicColumnBackground,
      "cell-background-set", TopicColumnBackgroundSet, "foreground-gdk", TopicColumnForeground,
      "foreground-set", TopicColumnForegroundSet, nullptr);
  gtk_tree_view_append_column(view, column);
}

void fillTopicStore(GtkTreeStore* store, const std::vector<TopicRow>& rows) {
  TRACE_LINE();
  gtk_tree_store_clear(store);
  shownRows.iters.assign(rows.size(), GtkTreeIter());
  shownRows.levels.clear();
  shownRows.texts.clear();
  shownRows.levels.reserve(rows.size());
  shownRows.texts.reserve(rows.size());
  // The last row added at each level: the parent of the next row one level deeper.
  std::vector<int> lastRowAtLevel;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const TopicRow& row = rows[i];
    const int level = row.level < 0 ? 0 : row.level;
    GtkTreeIter* parent = nullptr;
    if (level > 0 && level - 1 < static_cast<int>(lastRowAtLevel.size())) {
      parent = &shownRows.iters[lastRowAtLevel[level - 1]];
    }
    const GdkColor background = toGdkColor(row.background);
    const GdkColor foreground = toGdkColor(row.foreground);
    gtk_tree_store_insert_with_values(
        store, &shownRows.iters[i], parent, -1, TopicColumnText, row.text.c_str(), TopicColumnRow,
        static_cast<gint>(i), TopicColumnBackground, row.hasBackground ? &background : nullptr,
        TopicColumnBackgroundSet, gboolean(row.hasBackground), TopicColumnForeground,
        row.hasForeground ? &foreground : nullptr, TopicColumnForegroundSet,
        gboolean(row.hasForeground), -1);
    if (static_cast<int>(lastRowAtLevel.size()) <= level) lastRowAtLevel.resize(level + 1);
    lastRowAtLevel[level] = static_cast<int>(i);
    shownRows.levels.push_back(level);
    shownRows.texts.push_back(row.text);
  }
}

bool topicRowIter(int row, GtkTreeIter* iter) {
  if (!validRow(row)) return false;
  *iter = shownRows.iters[row];
  return true;
}

int topicRowNumber(GtkTreeModel* model, GtkTreeIter* iter) {
  gint row = -1;
  gtk_tree_model_get(model, iter, TopicColumnRow, &row, -1);
  return row;
}

int topicRowCount() { return static_cast<int>(shownRows.levels.size()); }

int topicRowLevel(int row) { return validRow(row) ? shownRows.levels[row] : -1; }

const std::string& topicRowText(int row) {
  static const std::string none;
  return validRow(row) ? shownRows.texts[row] : none;
}

void rebuildTopicTree(GtkTreeView* view, int displayLanguage, bool dyeingNews) {
  TRACE_LINE();
  const app::ProgramChange guard;
  clearTopicIndex();
  std::vector<TopicRow> rows;
  if (appState.documentRoot) {
    buildTopicTree(appState.documentRoot, 0, displayLanguage, dyeingNews, rows);
  }
  fillTopicStore(storeOf(view), rows);
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
  const app::ProgramChange guard;
  GtkTreeSelection* selection = gtk_tree_view_get_selection(view);
  if (!validRow(row)) {
    gtk_tree_selection_unselect_all(selection);
    return;
  }
  GtkTreePath* path =
      gtk_tree_model_get_path(gtk_tree_view_get_model(view), &shownRows.iters[row]);
  // A row inside a closed node cannot be selected: open its parents first.
  if (gtk_tree_path_get_depth(path) > 1) {
    GtkTreePath* parent = gtk_tree_path_copy(path);
    gtk_tree_path_up(parent);
    gtk_tree_view_expand_to_path(view, parent);
    gtk_tree_path_free(parent);
  }
  gtk_tree_view_set_cursor(view, path, nullptr, FALSE);
  gtk_tree_selection_select_path(selection, path);
  gtk_tree_view_scroll_to_cell(view, path, nullptr, TRUE, 0.5f, 0.0f);
  gtk_tree_path_free(path);
}

void expandAllTopics(GtkTreeView* view, bool open) {
  TRACE_LINE();
  const app::ProgramChange guard;
  if (open) {
    gtk_tree_view_expand_all(view);
  } else {
    gtk_tree_view_collapse_all(view);
  }
}

void countTopics(GtkTreeView* view) {
  TRACE_LINE();
  const app::ProgramChange guard;
  appState.groupCount = 0;
  appState.codeTopicCount = 0;
  // Set while the pass is inside the viewer's own group, whose topics do not count.
  bool inViewerGroup = false;
  for (int row = 0; row < topicRowCount(); ++row) {
    expandRow(view, row);
    const int level = shownRows.levels[row];
    const bool parent = hasChildren(view, row);
    if (level == 1 && parent) {
      inViewerGroup = shownRows.texts[row] == appState.viewerGroupName;
      if (!inViewerGroup) ++appState.groupCount;
    } else if (level == 2 && !parent && !inViewerGroup &&
               row < static_cast<int>(indexEntries.size()) && !indexEntries[row].File.empty()) {
      ++appState.codeTopicCount;
    }
  }
  // Opening a node leaves no row selected.
  gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(view));
}

}  // namespace database
