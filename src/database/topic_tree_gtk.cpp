// The topic tree store and its row bookkeeping.
#include "database/topic_tree_gtk.h"

#include <utility>

#include "app/app_state.h"
#include "app/event_queue.h"
#include "app/window_events_gtk.h"

namespace database {
namespace {

// What the store holds, by row number; GtkTreeStore iterators stay valid while
// their row exists, so they can be kept.
struct ShownRows {
  std::vector<GtkTreeIter> iters;
  std::vector<TopicRow> rows;
};

ShownRows shownRows;

bool validRow(int row) { return row >= 0 && row < topicRowCount(); }

constexpr int noRow = -1;

// The tree shape of the rows: a row at level n hangs below the last row of level n-1
// before it; a row without such a row goes to the top level.
struct RowLinks {
  std::vector<int> parent;
  std::vector<int> firstChild;
  std::vector<int> nextSibling;
  int firstTopRow = noRow;
};

RowLinks linkRows(std::vector<TopicRow>& rows) {
  TRACE_LINE();
  const int count = static_cast<int>(rows.size());
  RowLinks links;
  links.parent.assign(count, noRow);
  links.firstChild.assign(count, noRow);
  links.nextSibling.assign(count, noRow);
  std::vector<int> lastChild(count, noRow);
  std::vector<int> lastRowAtLevel;
  int lastTopRow = noRow;
  for (int row = 0; row < count; ++row) {
    int& level = rows[row].level;
    if (level < 0) level = 0;
    const bool hasParent = level > 0 && level - 1 < static_cast<int>(lastRowAtLevel.size());
    const int parent = hasParent ? lastRowAtLevel[level - 1] : noRow;
    links.parent[row] = parent;
    int& previous = parent == noRow ? lastTopRow : lastChild[parent];
    if (previous != noRow) {
      links.nextSibling[previous] = row;
    } else if (parent != noRow) {
      links.firstChild[parent] = row;
    } else {
      links.firstTopRow = row;
    }
    previous = row;
    if (static_cast<int>(lastRowAtLevel.size()) <= level) lastRowAtLevel.resize(level + 1);
    lastRowAtLevel[level] = row;
  }
  return links;
}

// Sets only the columns that differ from a new row's empty values: most rows have
// no colours, and every column set costs a value copy in and out of the store.
void insertFirst(GtkTreeStore* store, const TopicRow& row, int number, GtkTreeIter* parent) {
  gint columns[TopicColumnCount];
  GValue values[TopicColumnCount] = {};
  int count = 0;
  g_value_init(&values[count], G_TYPE_STRING);
  g_value_set_static_string(&values[count], row.text.c_str());
  columns[count++] = TopicColumnText;
  g_value_init(&values[count], G_TYPE_INT);
  g_value_set_int(&values[count], number);
  columns[count++] = TopicColumnRow;
  GdkColor background = app::toGdkColor(row.background);
  GdkColor foreground = app::toGdkColor(row.foreground);
  if (row.hasBackground) {
    g_value_init(&values[count], GDK_TYPE_COLOR);
    g_value_set_static_boxed(&values[count], &background);
    columns[count++] = TopicColumnBackground;
    g_value_init(&values[count], G_TYPE_BOOLEAN);
    g_value_set_boolean(&values[count], TRUE);
    columns[count++] = TopicColumnBackgroundSet;
  }
  if (row.hasForeground) {
    g_value_init(&values[count], GDK_TYPE_COLOR);
    g_value_set_static_boxed(&values[count], &foreground);
    columns[count++] = TopicColumnForeground;
    g_value_init(&values[count], G_TYPE_BOOLEAN);
    g_value_set_boolean(&values[count], TRUE);
    columns[count++] = TopicColumnForegroundSet;
  }
  gtk_tree_store_insert_with_valuesv(store, &shownRows.iters[number], parent, 0, columns, values,
                                     count);
  for (int i = 0; i < count; ++i) g_value_unset(&values[i]);
}

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

void fillTopicStore(GtkTreeStore* store, std::vector<TopicRow> rows) {
  TRACE_LINE();
  gtk_tree_store_clear(store);
  shownRows.iters.assign(rows.size(), GtkTreeIter());
  shownRows.rows.clear();
  const RowLinks links = linkRows(rows);
  // Every row goes in as the first child of its parent, the last sibling first and
  // each row before its children. Appending would walk along all earlier siblings
  // twice per row (to link it and to name its path); this way neither walk happens,
  // and a group of thousands of topics fills as fast as a small one.
  std::vector<int> pending;
  for (int row = links.firstTopRow; row != noRow; row = links.nextSibling[row]) {
    pending.push_back(row);
  }
  while (!pending.empty()) {
    const int row = pending.back();
    pending.pop_back();
    const int parent = links.parent[row];
    insertFirst(store, rows[row], row, parent == noRow ? nullptr : &shownRows.iters[parent]);
    for (int child = links.firstChild[row]; child != noRow; child = links.nextSibling[child]) {
      pending.push_back(child);
    }
  }
  shownRows.rows = std::move(rows);
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

int topicRowCount() { return static_cast<int>(shownRows.rows.size()); }

int topicRowLevel(int row) { return validRow(row) ? shownRows.rows[row].level : -1; }

const std::string& topicRowText(int row) {
  static const std::string none;
  return validRow(row) ? shownRows.rows[row].text : none;
}

void rebuildTopicTree(GtkTreeView* view, int displayLanguage, bool dyeingNews) {
  TRACE_LINE();
  const app::ProgramChange guard;
  clearTopicIndex();
  std::vector<TopicRow> rows;
  rows.reserve(shownRows.rows.size());
  TreeFindings found;
  if (const XmlNode* root = documentRoot()) {
    found = buildTopicTree(root, 0, displayLanguage, dyeingNews, rows);
    DbDate = found.DbDate;
  }
  appState.helpRow = found.helpRow;
  GtkTreeStore* store = storeOf(view);
  if (!store) return;
  // Filling a store that no view watches spares the view one update per row.
  g_object_ref(store);
  gtk_tree_view_set_model(view, nullptr);
  fillTopicStore(store, std::move(rows));
  gtk_tree_view_set_model(view, GTK_TREE_MODEL(store));
  g_object_unref(store);
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
    const int level = shownRows.rows[row].level;
    const bool parent = hasChildren(view, row);
    if (level == 1 && parent) {
      inViewerGroup = shownRows.rows[row].text == appState.viewerGroupName;
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
