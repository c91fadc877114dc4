// A read-only GtkTreeModel over the topic rows: iterators carry the row number, and
// the children of every row lie side by side, so every step of the view costs the
// same whatever the size of the tree.
#include "database/topic_model_gtk.h"

#include <utility>

#include "base/app_state.h"
#include "base/trace.h"
#include "base/window_kit_gtk.h"

namespace database {
namespace {

constexpr int noRow = -1;

// The rows and their tree shape. The children of row r are children[firstChild[r]]
// onwards, childCount[r] of them; index rows.size() of both stands for the top level.
struct RowTable {
  std::vector<TopicRow> rows;
  std::vector<int> parent;
  std::vector<int> position;  // among the row's siblings
  std::vector<int> firstChild{0};
  std::vector<int> childCount{0};
  std::vector<int> children;
  // Iterators of older rows carry an older stamp; it also tells the rows' version.
  gint stamp = 1;
};

RowTable table;

int rowCount() { return static_cast<int>(table.rows.size()); }
bool validRow(int row) { return row >= 0 && row < rowCount(); }
int topLevel() { return rowCount(); }

// Each row's parent: the last row one level up before it.
std::vector<int> parentsOf(std::vector<TopicRow>& rows) {
  TRACE_LINE();
  std::vector<int> parents(rows.size(), noRow);
  std::vector<int> lastRowAtLevel;
  for (std::size_t row = 0; row < rows.size(); ++row) {
    int& level = rows[row].level;
    if (level < 0) level = 0;
    if (level > 0 && level - 1 < static_cast<int>(lastRowAtLevel.size()))
      parents[row] = lastRowAtLevel[level - 1];
    if (static_cast<int>(lastRowAtLevel.size()) <= level) lastRowAtLevel.resize(level + 1);
    lastRowAtLevel[level] = static_cast<int>(row);
  }
  return parents;
}

// The parent's children index; parent noRow stands for the top level.
int slotOf(int parent) { return parent == noRow ? topLevel() : parent; }

void linkRows() {
  TRACE_LINE();
  const int count = rowCount();
  table.parent = parentsOf(table.rows);
  table.childCount.assign(count + 1, 0);
  for (int row = 0; row < count; ++row) {
    table.childCount[slotOf(table.parent[row])]++;
  }
  table.firstChild.assign(count + 1, 0);
  int next = 0;
  for (int row = 0; row <= count; ++row) {
    table.firstChild[row] = next;
    next += table.childCount[row];
  }
  table.children.assign(count, noRow);
  table.position.assign(count, 0);
  std::vector<int> filled(count + 1, 0);
  for (int row = 0; row < count; ++row) {
    const int parent = slotOf(table.parent[row]);
    table.position[row] = filled[parent]++;
    table.children[table.firstChild[parent] + table.position[row]] = row;
  }
}

// The row an iterator names, or noRow for a stale or foreign one.
int rowOf(GtkTreeIter* iter) {
  if (!iter || iter->stamp != table.stamp) return noRow;
  const int row = GPOINTER_TO_INT(iter->user_data);
  return validRow(row) ? row : noRow;
}

gboolean setIter(GtkTreeIter* iter, int row) {
  iter->stamp = table.stamp;
  iter->user_data = GINT_TO_POINTER(row);
  iter->user_data2 = nullptr;
  iter->user_data3 = nullptr;
  return row != noRow;
}

gboolean nthChild(GtkTreeIter* iter, int parent, int n) {
  const int slot = slotOf(parent);
  if (n < 0 || n >= table.childCount[slot]) return FALSE;
  return setIter(iter, table.children[table.firstChild[slot] + n]);
}

GtkTreeModelFlags onGetFlags(GtkTreeModel*) { return GTK_TREE_MODEL_ITERS_PERSIST; }

gint onGetNColumns(GtkTreeModel*) { return TopicColumnCount; }

GType onGetColumnType(GtkTreeModel*, gint column) {
  switch (column) {
    case TopicColumnText: return G_TYPE_STRING;
    case TopicColumnRow: return G_TYPE_INT;
    case TopicColumnBackground:
    case TopicColumnForeground: return GDK_TYPE_COLOR;
    default: return G_TYPE_BOOLEAN;
  }
}

gboolean onGetIter(GtkTreeModel*, GtkTreeIter* iter, GtkTreePath* path) {
  const gint depth = gtk_tree_path_get_depth(path);
  const gint* indices = gtk_tree_path_get_indices(path);
  int row = noRow;
  for (gint i = 0; i < depth; ++i) {
    if (!nthChild(iter, row, indices[i])) return FALSE;
    row = GPOINTER_TO_INT(iter->user_data);
  }
  return depth > 0;
}

GtkTreePath* onGetPath(GtkTreeModel*, GtkTreeIter* iter) {
  GtkTreePath* path = gtk_tree_path_new();
  for (int row = rowOf(iter); row != noRow; row = table.parent[row]) {
    gtk_tree_path_prepend_index(path, table.position[row]);
  }
  return path;
}

void setColour(GValue* value, bool set, base::Colour colour) {
  if (!set) return;
  const GdkColor toolkitColour = base::toGdkColor(colour);
  g_value_set_boxed(value, &toolkitColour);
}

void onGetValue(GtkTreeModel* model, GtkTreeIter* iter, gint column, GValue* value) {
  g_value_init(value, onGetColumnType(model, column));
  const int row = rowOf(iter);
  if (row == noRow) return;
  const TopicRow& shown = table.rows[row];
  switch (column) {
    // The text lives as long as the rows; whoever keeps it copies it.
    case TopicColumnText: g_value_set_static_string(value, shown.text.c_str()); break;
    case TopicColumnRow: g_value_set_int(value, row); break;
    case TopicColumnBackground: setColour(value, shown.hasBackground, shown.background); break;
    case TopicColumnBackgroundSet: g_value_set_boolean(value, shown.hasBackground); break;
    case TopicColumnForeground: setColour(value, shown.hasForeground, shown.foreground); break;
    case TopicColumnForegroundSet: g_value_set_boolean(value, shown.hasForeground); break;
    default: break;
  }
}

gboolean onIterNext(GtkTreeModel*, GtkTreeIter* iter) {
  const int row = rowOf(iter);
  if (row == noRow) return FALSE;
  return nthChild(iter, table.parent[row], table.position[row] + 1);
}

gboolean onIterChildren(GtkTreeModel*, GtkTreeIter* iter, GtkTreeIter* parent) {
  const int row = parent ? rowOf(parent) : noRow;
  if (parent && row == noRow) return FALSE;
  return nthChild(iter, row, 0);
}

gboolean onIterHasChild(GtkTreeModel*, GtkTreeIter* iter) {
  const int row = rowOf(iter);
  return row != noRow && table.childCount[row] > 0;
}

gint onIterNChildren(GtkTreeModel*, GtkTreeIter* iter) {
  if (!iter) return table.childCount[topLevel()];
  const int row = rowOf(iter);
  return row == noRow ? 0 : table.childCount[row];
}

gboolean onIterNthChild(GtkTreeModel*, GtkTreeIter* iter, GtkTreeIter* parent, gint n) {
  const int row = parent ? rowOf(parent) : noRow;
  if (parent && row == noRow) return FALSE;
  return nthChild(iter, row, n);
}

gboolean onIterParent(GtkTreeModel*, GtkTreeIter* iter, GtkTreeIter* child) {
  const int row = rowOf(child);
  if (row == noRow || table.parent[row] == noRow) return FALSE;
  return setIter(iter, table.parent[row]);
}

void initTreeModel(gpointer interface, gpointer) {
  auto* iface = static_cast<GtkTreeModelIface*>(interface);
  iface->get_flags = onGetFlags;
  iface->get_n_columns = onGetNColumns;
  iface->get_column_type = onGetColumnType;
  iface->get_iter = onGetIter;
  iface->get_path = onGetPath;
  iface->get_value = onGetValue;
  iface->iter_next = onIterNext;
  iface->iter_children = onIterChildren;
  iface->iter_has_child = onIterHasChild;
  iface->iter_n_children = onIterNChildren;
  iface->iter_nth_child = onIterNthChild;
  iface->iter_parent = onIterParent;
}

// The GObject type: an object without state of its own, carrying the interface.
struct TopicModel {
  GObject parent;
};
struct TopicModelClass {
  GObjectClass parentClass;
};

GType topicModelType() {
  static GType type = 0;
  if (type) return type;
  type = g_type_register_static_simple(G_TYPE_OBJECT, "ZnTopicModel", sizeof(TopicModelClass), nullptr,
                                       sizeof(TopicModel), nullptr, GTypeFlags(0));
  const GInterfaceInfo treeModel = {initTreeModel, nullptr, nullptr};
  g_type_add_interface_static(type, GTK_TYPE_TREE_MODEL, &treeModel);
  return type;
}

}  // namespace

GtkTreeModel* createTopicModel() {
  TRACE_LINE();
  return GTK_TREE_MODEL(g_object_new(topicModelType(), nullptr));
}

void setTopicRows(std::vector<TopicRow> rows) {
  TRACE_LINE();
  table.rows = std::move(rows);
  linkRows();
  ++table.stamp;
}

bool topicRowIter(int row, GtkTreeIter* iter) {
  if (!validRow(row)) return false;
  setIter(iter, row);
  return true;
}

int topicRowNumber(GtkTreeModel* model, GtkTreeIter* iter) {
  gint row = -1;
  gtk_tree_model_get(model, iter, TopicColumnRow, &row, -1);
  return row;
}

int topicRowCount() { return rowCount(); }

int topicRowLevel(int row) { return validRow(row) ? table.rows[row].level : -1; }

const std::string& topicRowText(int row) {
  static const std::string none;
  return validRow(row) ? table.rows[row].text : none;
}

const std::vector<TopicRow>& topicRows() { return table.rows; }

bool topicRowHasChildren(int row) { return validRow(row) && table.childCount[row] > 0; }

std::uint64_t topicRowsVersion() { return static_cast<std::uint64_t>(table.stamp); }

}  // namespace database
