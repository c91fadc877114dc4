// The topic tree: rows, parents, colours, row numbers, selection, opening and counts.
#include "database/topic_tree_gtk.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <gtk/gtk.h>

#include "base/app_state.h"
#include "base/event_queue.h"
#include "database/toc_database.h"
#include "support/gui_fixture.h"
#include "support/temp_dir.h"

namespace {

using database::indexEntries;
using testing_support::TempDir;

std::string topic(const std::string& title, const std::string& file, const std::string& inner = "") {
  return "<t theme_de=\"" + title + "\" theme_en=\"" + title + "\" theme_fr=\"" + title + "\" File=\"" +
         file + "\">" + inner + "</t>";
}

// Root; the viewer's own group with two topics; group A with a topic, a topic
// without file and a topic holding a nested topic; group B with two topics; an empty group C.
const std::string sampleDocument =
    "<lib name=\"Library\">Zarnel Linux API 2026-11-30 snippets"
    "<g name=\"ZID Idavode Ruriva\">" +
    topic("Hilfe", "ViewerHelp.txt") + topic("Info", "Help/Info.zn") +
    "</g>"
    "<g name=\"A\">" +
    topic("\u2730Neu", "A/New.zn") + topic("Ohne", "") +
    topic("Eltern", "A/Parent.zn", topic("Kind", "A/Child.zn")) +
    "</g>"
    "<g name=\"B\">" +
    topic("Eins", "B/One.zn") + topic("\u21BAZwei", "B/Two.zn") +
    "</g>"
    "<g name=\"C\"></g>"
    "</lib>";

GdkColor colourAt(GtkTreeModel* model, GtkTreeIter* iter, int column) {
  GdkColor* colour = nullptr;
  gtk_tree_model_get(model, iter, column, &colour, -1);
  GdkColor result{};
  if (colour) {
    result = *colour;
    gdk_color_free(colour);
  }
  return result;
}

bool flagAt(GtkTreeModel* model, GtkTreeIter* iter, int column) {
  gboolean flag = FALSE;
  gtk_tree_model_get(model, iter, column, &flag, -1);
  return flag;
}

std::string textAt(GtkTreeModel* model, GtkTreeIter* iter) {
  gchar* text = nullptr;
  gtk_tree_model_get(model, iter, database::TopicColumnText, &text, -1);
  std::string result = text ? text : "";
  g_free(text);
  return result;
}

void expectColour(const GdkColor& colour, base::Colour expected) {
  EXPECT_EQ(colour.red, (expected & 0xFF) * 257);
  EXPECT_EQ(colour.green, ((expected >> 8) & 0xFF) * 257);
  EXPECT_EQ(colour.blue, ((expected >> 16) & 0xFF) * 257);
}

// Notes, for every selection change, whether the program had declared it its own.
std::vector<bool> selectionChanges;

void onSelectionChanged(GtkTreeSelection*, gpointer) {
  selectionChanges.push_back(base::programChangeInProgress());
}

class TopicTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base::resetAppState(dir.path());
    database::currentGroup.clear();
    selectionChanges.clear();
    topicModel = database::createTopicModel();
    view = GTK_TREE_VIEW(gtk_tree_view_new_with_model(topicModel));
    database::attachTopicColumns(view);
    g_signal_connect(gtk_tree_view_get_selection(view), "changed", G_CALLBACK(onSelectionChanged), nullptr);
    window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 300, 120);
    GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_container_add(GTK_CONTAINER(scrolled), GTK_WIDGET(view));
    gtk_container_add(GTK_CONTAINER(window), scrolled);
    gtk_widget_show_all(window);
    ASSERT_TRUE(testing_support::pumpUntil([&] { return gtk_widget_get_mapped(window); }));
  }

  void TearDown() override {
    gtk_widget_destroy(window);
    g_object_unref(topicModel);
    database::closeDatabase();
    base::resetAppState("");
  }

  void load(const std::string& xml, int language = 0, bool dyeingNews = true) {
    ASSERT_TRUE(database::readDatabaseFile(dir.write("toc.xml", xml)));
    database::rebuildTopicTree(view, language, dyeingNews);
  }

  GtkTreeModel* model() { return topicModel; }

  GtkTreeIter iterOf(int row) {
    GtkTreeIter iter;
    EXPECT_TRUE(database::topicRowIter(row, &iter)) << row;
    return iter;
  }

  bool expanded(int row) {
    GtkTreeIter iter = iterOf(row);
    GtkTreePath* path = gtk_tree_model_get_path(model(), &iter);
    const bool open = gtk_tree_view_row_expanded(view, path);
    gtk_tree_path_free(path);
    return open;
  }

  int parentRow(int row) {
    GtkTreeIter iter = iterOf(row);
    GtkTreeIter parent;
    if (!gtk_tree_model_iter_parent(model(), &parent, &iter)) return -1;
    return database::topicRowNumber(model(), &parent);
  }

  TempDir dir;
  GtkTreeModel* topicModel = nullptr;
  GtkTreeView* view = nullptr;
  GtkWidget* window = nullptr;
};

// Rows: 0 lib, 1 viewer group, 2 Hilfe, 3 Info, 4 A, 5 Neu, 6 Ohne, 7 Eltern, 8 Kind,
// 9 B, 10 Eins, 11 Zwei, 12 C.

TEST_F(TopicTreeTest, TheModelMirrorsTheRows) {
  load(sampleDocument);
  ASSERT_EQ(database::topicRowCount(), 13);
  ASSERT_EQ(indexEntries.size(), 13u);
  const std::vector<int> parents = {-1, 0, 1, 1, 0, 4, 4, 4, 7, 0, 9, 9, 0};
  const std::vector<int> levels = {0, 1, 2, 2, 1, 2, 2, 2, 3, 1, 2, 2, 1};
  for (int row = 0; row < 13; ++row) {
    GtkTreeIter iter = iterOf(row);
    EXPECT_EQ(database::topicRowNumber(model(), &iter), row);
    EXPECT_EQ(parentRow(row), parents[row]) << row;
    EXPECT_EQ(database::topicRowLevel(row), levels[row]) << row;
    GtkTreePath* path = gtk_tree_model_get_path(model(), &iter);
    EXPECT_EQ(gtk_tree_path_get_depth(path) - 1, levels[row]) << row;
    gtk_tree_path_free(path);
    EXPECT_EQ(textAt(model(), &iter), database::topicRowText(row)) << row;
    EXPECT_FALSE(expanded(row)) << row;
  }
  EXPECT_EQ(database::topicRowText(7), "Eltern");
  EXPECT_EQ(database::topicRowText(11), "\u21BAZwei");
  EXPECT_EQ(indexEntries[8].File, "A/Child.zn");
  EXPECT_EQ(base::appState.helpRow, 2);
  EXPECT_FALSE(database::topicRowIter(13, nullptr));
  EXPECT_FALSE(database::topicRowIter(-1, nullptr));
  EXPECT_EQ(database::topicRowText(99), "");
}

TEST_F(TopicTreeTest, RowNumbersFollowTheModelOrder) {
  load(sampleDocument);
  int expected = 0;
  gtk_tree_model_foreach(
      model(),
      [](GtkTreeModel* treeModel, GtkTreePath*, GtkTreeIter* iter, gpointer data) -> gboolean {
        int& next = *static_cast<int*>(data);
        EXPECT_EQ(database::topicRowNumber(treeModel, iter), next);
        ++next;
        return FALSE;
      },
      &expected);
  EXPECT_EQ(expected, 13);
}

TEST_F(TopicTreeTest, EachRowHangsBelowTheLastRowOneLevelUp) {
  std::vector<database::TopicRow> rows;
  const std::vector<int> levels = {0, 1, 2, 2, 1, 2, 3, 3, 2, 0, 1, 3};
  for (std::size_t i = 0; i < levels.size(); ++i) {
    database::TopicRow row;
    row.text = "row " + std::to_string(i);
    row.level = levels[i];
    rows.push_back(row);
  }
  // The last row skips a level: it hangs below the last level-2 row before it (row 8).
  database::showTopicRows(view, rows);
  const std::vector<int> parents = {-1, 0, 1, 1, 0, 4, 5, 5, 4, -1, 9, 8};
  ASSERT_EQ(database::topicRowCount(), 12);
  for (int row = 0; row < 12; ++row) {
    EXPECT_EQ(parentRow(row), parents[row]) << row;
    GtkTreeIter iter = iterOf(row);
    EXPECT_EQ(textAt(model(), &iter), "row " + std::to_string(row));
  }
  // A first row deeper than level 0 has no row above it and stays at the top.
  rows.erase(rows.begin());
  database::showTopicRows(view, rows);
  EXPECT_EQ(parentRow(0), -1);
  EXPECT_EQ(gtk_tree_model_iter_n_children(model(), nullptr), 2);
}

TEST_F(TopicTreeTest, ManyRowsKeepTheirOrderAndParents) {
  std::string xml = "<lib name=\"Library\">";
  for (int group = 0; group < 4; ++group) {
    xml += "<g name=\"G" + std::to_string(group) + "\">";
    for (int i = 0; i < 700; ++i) {
      const std::string title = std::to_string(group) + "." + std::to_string(i);
      xml += i % 50 == 0 ? topic(title, "f.zn", topic(title + "a", "a.zn") + topic(title + "b", "b.zn"))
                         : topic(title, "f.zn");
    }
    xml += "</g>";
  }
  xml += "</lib>";
  load(xml);
  const int count = database::topicRowCount();
  ASSERT_EQ(count, 1 + 4 * (1 + 700 + 14 * 2));
  int next = 0;
  gtk_tree_model_foreach(
      model(),
      [](GtkTreeModel* treeModel, GtkTreePath* path, GtkTreeIter* iter, gpointer data) -> gboolean {
        int& expected = *static_cast<int*>(data);
        const int row = database::topicRowNumber(treeModel, iter);
        EXPECT_EQ(row, expected);
        EXPECT_EQ(gtk_tree_path_get_depth(path) - 1, database::topicRowLevel(row));
        ++expected;
        return FALSE;
      },
      &next);
  EXPECT_EQ(next, count);
  EXPECT_EQ(parentRow(1 + 1 + 700 + 28 + 1), 1 + 700 + 28 + 1);  // first topic of G1
}

TEST_F(TopicTreeTest, OnlyTheTextColumnIsVisible) {
  GList* columns = gtk_tree_view_get_columns(view);
  EXPECT_EQ(g_list_length(columns), 1u);
  g_list_free(columns);
}

TEST_F(TopicTreeTest, RowColours) {
  load(sampleDocument);
  struct Expected {
    int row;
    bool hasBackground;
    base::Colour background;
    bool hasForeground;
    base::Colour foreground;
  };
  const std::vector<Expected> cases = {
      {0, true, base::rgb(127, 127, 127), true, base::rgb(255, 255, 255)},
      {1, true, base::rgb(200, 200, 200), false, 0},
      {4, true, base::rgb(232, 232, 232), false, 0},
      {5, false, 0, true, base::rgb(0, 0, 185)},
      {6, false, 0, false, 0},
      {11, false, 0, false, 0},
  };
  for (const Expected& c : cases) {
    GtkTreeIter iter = iterOf(c.row);
    EXPECT_EQ(flagAt(model(), &iter, database::TopicColumnBackgroundSet), c.hasBackground) << c.row;
    EXPECT_EQ(flagAt(model(), &iter, database::TopicColumnForegroundSet), c.hasForeground) << c.row;
    if (c.hasBackground)
      expectColour(colourAt(model(), &iter, database::TopicColumnBackground), c.background);
    if (c.hasForeground)
      expectColour(colourAt(model(), &iter, database::TopicColumnForeground), c.foreground);
  }
  load(sampleDocument, 0, false);
  GtkTreeIter iter = iterOf(5);
  EXPECT_EQ(textAt(model(), &iter), "Neu");
  EXPECT_FALSE(flagAt(model(), &iter, database::TopicColumnForegroundSet));
}

TEST_F(TopicTreeTest, SelectingARowRaisesNoEventAndOpensItsParents) {
  load(sampleDocument);
  database::selectTopicRow(view, 8);
  EXPECT_EQ(database::selectedTopicRow(view), 8);
  EXPECT_TRUE(expanded(4));
  EXPECT_TRUE(expanded(7));
  GtkTreePath* cursor = nullptr;
  gtk_tree_view_get_cursor(view, &cursor, nullptr);
  ASSERT_NE(cursor, nullptr);
  GtkTreeIter iter;
  gtk_tree_model_get_iter(model(), &iter, cursor);
  EXPECT_EQ(database::topicRowNumber(model(), &iter), 8);
  gtk_tree_path_free(cursor);

  database::selectTopicRow(view, 0);
  EXPECT_EQ(database::selectedTopicRow(view), 0);
  database::selectTopicRow(view, -1);
  EXPECT_EQ(database::selectedTopicRow(view), -1);
  ASSERT_FALSE(selectionChanges.empty());
  for (bool own : selectionChanges) EXPECT_TRUE(own);
}

TEST_F(TopicTreeTest, AUserSelectionIsNotTakenForTheProgramsOwn) {
  load(sampleDocument);
  for (bool own : selectionChanges) EXPECT_TRUE(own);
  selectionChanges.clear();
  GtkTreeIter iter = iterOf(0);
  gtk_tree_selection_select_iter(gtk_tree_view_get_selection(view), &iter);
  ASSERT_EQ(selectionChanges.size(), 1u);
  EXPECT_FALSE(selectionChanges[0]);
}

TEST_F(TopicTreeTest, ExpandAllOpensAndClosesEveryNodeWithoutAnEvent) {
  load(sampleDocument);
  database::selectTopicRow(view, 8);
  selectionChanges.clear();
  database::expandAllTopics(view, true);
  for (int row : {0, 1, 4, 7, 9}) EXPECT_TRUE(expanded(row)) << row;
  database::expandAllTopics(view, false);
  for (int row : {0, 1, 4, 7, 9}) EXPECT_FALSE(expanded(row)) << row;
  // Closing hid the selected row; the toolkit unselected it, as the program's own change.
  for (bool own : selectionChanges) EXPECT_TRUE(own);
}

TEST_F(TopicTreeTest, RebuildingRaisesNoEventAndKeepsRowsParallel) {
  load(sampleDocument);
  database::selectTopicRow(view, 10);
  selectionChanges.clear();
  database::rebuildTopicTree(view, 1, true);
  for (bool own : selectionChanges) EXPECT_TRUE(own);
  EXPECT_EQ(database::topicRowCount(), 13);
  EXPECT_EQ(indexEntries.size(), 13u);
  EXPECT_EQ(database::topicRowText(10), "Eins");
}

TEST_F(TopicTreeTest, NoDocumentElementGivesAnEmptyTree) {
  load(sampleDocument);
  ASSERT_TRUE(database::readDatabaseFile(dir.write("blank.xml", "  \n")));
  ASSERT_EQ(database::documentRoot(), nullptr);
  database::rebuildTopicTree(view, 0, true);
  EXPECT_EQ(database::topicRowCount(), 0);
  EXPECT_TRUE(indexEntries.empty());
  EXPECT_EQ(gtk_tree_model_iter_n_children(model(), nullptr), 0);
  EXPECT_EQ(database::selectedTopicRow(view), -1);
}

TEST_F(TopicTreeTest, TheColumnIsAsWideAsItsWidestRowLaidOut) {
  // Wide and narrow letters, kerning pairs, markers and characters from other fonts, at several depths.
  const std::string titles[] = {"WWWWWWWWWWWWWWWWWWWW",
                                "iiiiiiiiiiiiiiiiiiiiiiiiiiiiiii",
                                "AVAVAVAVAVAVAVATAWAY",
                                "\u2730Gr\u00F6\u00DFe \u00E4ndern",
                                "\u65E5\u672C\u8A9E\u306E\u984C\u540D",
                                "\u21BAMix \u00C9t\u00E9 \u0416\u0443\u043A fi ffl"};
  std::string inner;
  for (const std::string& title : titles) inner = topic(title, "f.zn", inner) + topic(title, "g.zn");
  load("<lib name=\"Library with a rather long label\"><g name=\"Group\">" + inner + "</g></lib>");
  database::expandAllTopics(view, true);
  testing_support::pumpPending();
  GtkTreeViewColumn* column = gtk_tree_view_get_column(view, 0);
  const int columnWidth = gtk_tree_view_column_get_width(column);
  int widest = 0;
  for (int row = 0; row < database::topicRowCount(); ++row) {
    GtkTreeIter iter = iterOf(row);
    GtkTreePath* path = gtk_tree_model_get_path(model(), &iter);
    GdkRectangle cell;
    gtk_tree_view_get_cell_area(view, path, column, &cell);
    gtk_tree_path_free(path);
    gtk_tree_view_column_cell_set_cell_data(column, model(), &iter, FALSE, FALSE);
    gint width = 0;
    gtk_tree_view_column_cell_get_size(column, nullptr, nullptr, nullptr, &width, nullptr);
    // The cell area starts behind the row's indentation and expander.
    const int needed = cell.x + width;
    EXPECT_LE(needed, columnWidth) << database::topicRowText(row);
    widest = std::max(widest, needed);
  }
  EXPECT_LE(columnWidth, widest + widest / 10) << "the column is far wider than its widest row";
}

TEST_F(TopicTreeTest, CountingLeavesOutTheViewersOwnGroupAndOpensEverything) {
  load(sampleDocument);
  database::selectTopicRow(view, 3);
  database::countTopics(view);
  EXPECT_EQ(base::appState.groupCount, 2);      // A and B; C has no children
  EXPECT_EQ(base::appState.codeTopicCount, 4);  // Neu, Eltern, Eins, Zwei: Ohne has no file, Kind is nested
  for (int row : {0, 1, 4, 7, 9}) EXPECT_TRUE(expanded(row)) << row;
  EXPECT_EQ(database::selectedTopicRow(view), -1);
  for (bool own : selectionChanges) EXPECT_TRUE(own);
}

TEST_F(TopicTreeTest, CountingAnEmptyTree) {
  database::rebuildTopicTree(view, 0, true);
  base::appState.groupCount = 5;
  database::countTopics(view);
  EXPECT_EQ(base::appState.groupCount, 0);
  EXPECT_EQ(base::appState.codeTopicCount, 0);
}

}  // namespace
