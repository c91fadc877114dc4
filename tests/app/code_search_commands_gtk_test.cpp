// The code search window through the user's hands: Ctrl+Shift+F, typing, a double click
// and Return on a hit, Escape and the close button; files read again and Apply.
#include "search/code_search_window_gtk.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/app_state.h"
#include "base/control_numbers.h"
#include "base/main_window_widgets_gtk.h"
#include "base/trace.h"
#include "config/settings_window_gtk.h"
#include "database/topic_tree_gtk.h"
#include "search/code_index_reader.h"
#include "search/find_bar_gtk.h"
#include "support/viewer_fixture.h"
#include "support/x_input_gtk.h"

// Last: Xlib defines macros such as None that clash with names above.
#include <gdk/gdkx.h>

namespace {

using testing_support::pressKeys;

class CodeSearchWindowTest : public testing_support::ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    gdk_display_get_pointer(gdk_display_get_default(), nullptr, &pointerX, &pointerY, nullptr);
    // Rows 4 and 5 of the small library; row 6 names a file that is missing. A line of
    // the window's code is wider than the view.
    dir.write("Gtk/Window.zn",
              "; Ein Fenster\nwindow = gtk_window_new(#GTK_WINDOW_TOPLEVEL)\nshow(window)\n; " +
                  std::string(300, '-') + " set_title\n  set_title(window)\n");
    dir.write("Gtk/Button.zn",
              "button = gtk_button_new()\n  GTK_WINDOW_NEW ; second\n\n\tx = gtk_window_new(y)\n");
  }

  void TearDown() override {
    search::destroyCodeSearchWindow();
    // The window took the focus itself; later tests expect it to follow the pointer
    // again, from where it stood before.
    GdkDisplay* display = gdk_display_get_default();
    XSetInputFocus(GDK_DISPLAY_XDISPLAY(display), PointerRoot, RevertToPointerRoot, CurrentTime);
    gdk_display_warp_pointer(display, gdk_display_get_default_screen(display), pointerX, pointerY);
    config::destroySettingsWindow();
    search::stopCodeIndexReading();
    search::codeIndex = search::CodeIndex();
    ViewerTest::TearDown();
  }

  GtkWidget* window() const { return search::codeSearchWindow.window; }
  gint pointerX = 0, pointerY = 0;
  GtkWidget* control(int number) const { return search::codeSearchWindow.control[number]; }
  GtkTreeView* hits() const { return GTK_TREE_VIEW(control(base::CodeSearchHitListControl)); }
  std::string status() const { return gtk_label_get_text(GTK_LABEL(control(base::CodeSearchStatusControl))); }
  std::string fieldText() const {
    return gtk_entry_get_text(GTK_ENTRY(control(base::CodeSearchFieldControl)));
  }

  // Ctrl+Shift+F in the main window, as a user presses it there. The pointer stays on
  // the main window's tool row, outside the new window: the window takes the focus itself.
  void openWithKeys() {
    ASSERT_TRUE(testing_support::pointAt(base::mainWindow.control[base::SearchFieldControl]));
    ASSERT_TRUE(pressKeys("ctrl+shift+f"));
    ASSERT_TRUE(dispatchUntil([this] {
      return window() && gtk_widget_get_visible(window()) &&
             gtk_window_has_toplevel_focus(GTK_WINDOW(window())) &&
             gtk_widget_has_focus(control(base::CodeSearchFieldControl));
    }));
    EXPECT_EQ("Im Code suchen", std::string(gtk_window_get_title(GTK_WINDOW(window()))));
  }

  bool showsStatus(const std::string& expected) {
    return dispatchUntil([&] { return status() == expected; });
  }

  // What a row of the list shows: the title, and the line with the bold part in brackets.
  std::string shownRow(int place) {
    GtkTreeModel* model = gtk_tree_view_get_model(hits());
    GtkTreeIter iter;
    if (!gtk_tree_model_iter_nth_child(model, &iter, nullptr, place)) return "(no row)";
    std::string shown;
    for (int column = 0; column < 2; ++column) {
      GtkTreeViewColumn* viewColumn = gtk_tree_view_get_column(hits(), column);
      gtk_tree_view_column_cell_set_cell_data(viewColumn, model, &iter, FALSE, FALSE);
      GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(viewColumn));
      gchar* text = nullptr;
      PangoAttrList* attributes = nullptr;
      g_object_get(cells->data, "text", &text, "attributes", &attributes, nullptr);
      std::string part = text ? text : "";
      if (attributes) {
        PangoAttrIterator* range = pango_attr_list_get_iterator(attributes);
        do {
          if (const PangoAttribute* bold = pango_attr_iterator_get(range, PANGO_ATTR_WEIGHT)) {
            part.insert(std::min<std::size_t>(bold->end_index, part.size()), "]")
                .insert(bold->start_index, "[");
            break;
          }
        } while (pango_attr_iterator_next(range));
        pango_attr_iterator_destroy(range);
        pango_attr_list_unref(attributes);
      }
      shown += (column ? " | " : "") + part;
      g_free(text);
      g_list_free(cells);
    }
    return shown;
  }

  GdkRectangle rowArea(int place) {
    GtkTreePath* path = gtk_tree_path_new_from_indices(place, -1);
    GdkRectangle area;
    gtk_tree_view_get_cell_area(hits(), path, gtk_tree_view_get_column(hits(), 1), &area);
    gtk_tree_path_free(path);
    return area;
  }

  std::string selectedCode() {
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(base::codeView());
    GtkTextIter start, end;
    if (!gtk_text_buffer_get_selection_bounds(buffer, &start, &end)) return "(nothing selected)";
    gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
    std::string selected = text;
    g_free(text);
    return selected;
  }

  bool shows(int row, const std::string& title) {
    return dispatchUntil(
        [&] { return database::selectedTopicRow(base::topicTreeView()) == row && windowTitle() == title; });
  }
};

TEST_F(CodeSearchWindowTest, TypingListsTheHitsAndADoubleClickOrReturnShowsTheLineEscapeOnlyHides) {
  openWithKeys();
  ASSERT_TRUE(testing_support::typeText("gtk_WINDOW_new"));
  ASSERT_TRUE(showsStatus("2 Themen, 3 Zeilen"));
  EXPECT_EQ("Fenster | window = [gtk_window_new](#GTK_WINDOW_TOPLEVEL)", shownRow(0));
  EXPECT_EQ("\u2730Knopf | [GTK_WINDOW_NEW] ; second", shownRow(1));
  EXPECT_EQ(2, gtk_tree_model_iter_n_children(gtk_tree_view_get_model(hits()), nullptr));

  GdkRectangle second = rowArea(1);
  ASSERT_TRUE(
      testing_support::doubleClickAt(GTK_WIDGET(hits()), second.x + 20, second.y + second.height / 2));
  ASSERT_TRUE(shows(5, "Linux ZN-ZID-Idavode-Ruriva ~ /Gtk/Button.zn"));
  EXPECT_EQ("  GTK_WINDOW_NEW ; second", selectedCode());

  GdkRectangle first = rowArea(0);
  ASSERT_TRUE(testing_support::clickAt(GTK_WIDGET(hits()), first.x + 20, first.y + first.height / 2));
  ASSERT_TRUE(pressKeys("Return"));
  ASSERT_TRUE(shows(4, "Linux ZN-ZID-Idavode-Ruriva ~ Gtk/Window.zn"));
  EXPECT_EQ("window = gtk_window_new(#GTK_WINDOW_TOPLEVEL)", selectedCode());
  EXPECT_EQ((std::vector<int>{4, 5}), base::appState.historyRows);
  EXPECT_TRUE(gtk_widget_get_visible(window())) << "choosing a hit keeps the window open";

  ASSERT_TRUE(pressKeys("Escape"));
  ASSERT_TRUE(dispatchUntil([this] { return !gtk_widget_get_visible(window()); }));
  EXPECT_EQ(0, base::appState.quitRequested);

  // Ctrl+F on the chosen line: a prefix found far right scrolls the view there; the whole
  // text, found in sight of the view the typing began in, leaves the view where it was.
  GtkAdjustment* across =
      gtk_scrolled_window_get_hadjustment(GTK_SCROLLED_WINDOW(base::mainWindow.codeScroll));
  const double before = gtk_adjustment_get_value(across);
  ASSERT_TRUE(testing_support::pointAt(GTK_WIDGET(base::codeView())));
  ASSERT_TRUE(pressKeys("ctrl+f"));
  ASSERT_TRUE(dispatchUntil([] { return search::findBarHasFocus(); }));
  ASSERT_TRUE(testing_support::typeText("set_title"));
  ASSERT_TRUE(dispatchUntil([&] { return gtk_adjustment_get_value(across) > before + 100; }));
  ASSERT_TRUE(testing_support::typeText("("));
  ASSERT_TRUE(dispatchUntil([] { return search::foundOccurrenceCount() == 1; }));
  EXPECT_EQ(before, gtk_adjustment_get_value(across)) << "the occurrence was in sight";

  // The text stays for the next time, and the missing file of row 6 was left out silently.
  openWithKeys();
  EXPECT_EQ("gtk_WINDOW_new", fieldText());
  EXPECT_TRUE(showsStatus("2 Themen, 3 Zeilen"));
  EXPECT_TRUE(dialogs.requests.empty());
}

TEST_F(CodeSearchWindowTest, ReturnInTheFieldChoosesTheFirstHitChangedFilesAreReadAgainAndApplyRebuilds) {
  openWithKeys();
  ASSERT_TRUE(testing_support::typeText("second"));
  ASSERT_TRUE(showsStatus("1 Thema, 1 Zeile"));
  ASSERT_TRUE(pressKeys("Return"));
  ASSERT_TRUE(shows(5, "Linux ZN-ZID-Idavode-Ruriva ~ /Gtk/Button.zn"));
  EXPECT_TRUE(gtk_widget_has_focus(control(base::CodeSearchFieldControl)));

  // Closed with the window's close button, then opened again: the changed file is read again.
  testing_support::requestClose(window());
  ASSERT_TRUE(dispatchUntil([this] { return !gtk_widget_get_visible(window()); }));
  EXPECT_EQ(0, base::appState.quitRequested);
  dir.write("Gtk/Window.zn", "a second window\n");
  openWithKeys();
  EXPECT_TRUE(showsStatus("2 Themen, 2 Zeilen"));

  // Apply with another library folder reads that library while the window is open.
  dir.write("Other/Gtk/Button.zn", "nothing here\n");
  config::createSettingsWindow();
  config::openSettingsWindow();
  config::setSettingsFieldText(base::LibraryPathControl, dir.path() + "Other/");
  ASSERT_TRUE(testing_support::clickAt(config::settingsWindow.control[base::ApplyControl]));
  EXPECT_TRUE(showsStatus("0 Themen, 0 Zeilen"));
}

}  // namespace
