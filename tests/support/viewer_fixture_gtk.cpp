// The shared set-up of the in-process GUI tests: a main window over a scratch library.
#include "support/viewer_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/dispatcher_gtk.h"
#include "app/main_window_gtk.h"
#include "app/topic_commands_gtk.h"
#include "base/app_state.h"
#include "base/event_queue.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "config/message_texts.h"
#include "database/toc_database.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "services/database_info_gtk.h"
#include "support/x_input_gtk.h"

namespace testing_support {

std::string smallLibraryDatabase() {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<toc name=\"Test Library\">Test library of 2026-11-30 snippets\n"
         "  <group name=\"ZID Idavode Ruriva\">Viewer group\n"
         "    <topic File=\"ViewerHelp.txt\" theme_de=\"Hilfe\" theme_en=\"Help\" theme_fr=\"Aide\"\n"
         "      descript_de=\"Hilfe de\" descript_en=\"Help en\" descript_fr=\"Aide fr\"/>\n"
         "  </group>\n"
         "  <group name=\"Windows\">Window snippets\n"
         "    <topic File=\"Gtk/Window.zn\" theme_de=\"Fenster\" theme_en=\"Window\" theme_fr=\"Fenêtre\"\n"
         "      descript_de=\"Ein Fenster\" descript_en=\"A window\" descript_fr=\"Une fenêtre\"/>\n"
         "    <topic File=\"/Gtk/Button.zn\" theme_de=\"✰Knopf\" theme_en=\"Button\" theme_fr=\"Bouton\"\n"
         "      descript_de=\"Ein Knopf\" descript_en=\"A button\" descript_fr=\"Un bouton\"/>\n"
         "    <topic File=\"Gtk/Missing.zn\" theme_de=\"Fehlt\" theme_en=\"Missing\" theme_fr=\"Absent\"\n"
         "      descript_de=\"Fehlt de\" descript_en=\"Missing en\" descript_fr=\"Absent fr\"/>\n"
         "    <topic theme_de=\"Ohne Datei\" theme_en=\"No file\" theme_fr=\"Sans fichier\"\n"
         "      descript_de=\"Keine\" descript_en=\"None\" descript_fr=\"Aucun\"/>\n"
         "  </group>\n"
         "</toc>\n";
}

void ViewerTest::SetUp() {
  savedPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
  base::resetAppState(dir.path());
  app::topicTrail = viewer::TopicTrail();
  resetAppSettings(dir.path());
  config::setLanguageChoice(0);
  config::resetInterfaceLanguage();
  base::clearEvents();
  dir.write("ViewerHelp.txt", "Help text\n");
  dir.write("Gtk/Window.zn", "\xEF\xBB\xBFWindow code\n; Grüße\n; IDE Options = Zarnel\n; EnableUnicode\n");
  dir.write("Gtk/Button.zn", "Button code\r\nsecond\r\n");
  dir.write("bin/.keep", "");
  setenv("PATH", (dir.path() + "bin:" + savedPath_).c_str(), 1);
  app::createPopupMenus();
  ASSERT_TRUE(app::buildMainWindow());
  services::createDatabaseInfoWindow();
  gtk_widget_show(base::mainWindow.window);
  ASSERT_TRUE(pumpUntil([] { return gtk_widget_get_mapped(base::mainWindow.window); }));
  // As at start-up the search field holds the focus, so the tree does not select a row of its own.
  gtk_widget_grab_focus(base::mainWindow.control[base::SearchFieldControl]);
  loadLibrary(smallLibraryDatabase());
  pumpPending();
  base::clearEvents();
}

void ViewerTest::TearDown() {
  base::clearEvents();
  app::destroyMainWindow();
  if (services::databaseInfoWindow.window) gtk_widget_destroy(services::databaseInfoWindow.window);
  services::databaseInfoWindow = services::DatabaseInfoWindow();
  pumpPending();
  setenv("PATH", savedPath_.c_str(), 1);
}

void ViewerTest::loadLibrary(const std::string& databaseText) {
  const std::string path = dir.write("ZN-LinuxAPI-Toc.xml", databaseText);
  ASSERT_TRUE(database::readDatabaseFile(path));
  database::rebuildTopicTree(base::topicTreeView(), config::languageChoice(), appSettings.DyeingNews != 0);
  database::expandAllTopics(base::topicTreeView(), true);
}

void ViewerTest::fakeProgram(const std::string& name) {
  writeScript(dir.path() + "bin/" + name, "echo \"$*\" >> '" + dir.path() + name + ".log'\n");
}

std::string ViewerTest::programLog(const std::string& name) const {
  return readFile(dir.path() + name + ".log");
}

bool ViewerTest::waitForProgramCalls(const std::string& name, size_t calls, int timeoutMs) const {
  return pumpUntil(
      [&] {
        const std::string log = programLog(name);
        return static_cast<size_t>(std::count(log.begin(), log.end(), '\n')) >= calls;
      },
      timeoutMs);
}

void ViewerTest::dispatchPending() {
  pumpPending();
  while (base::hasPendingEvent()) {
    app::dispatchEvent(base::takeEvent());
    pumpPending();
  }
}

bool ViewerTest::dispatchUntil(const std::function<bool()>& condition, int timeoutMs) {
  return pumpUntil(
      [&] {
        dispatchPending();
        return condition();
      },
      timeoutMs);
}

GdkPoint ViewerTest::rowPoint(int row) {
  GtkTreeIter iter;
  EXPECT_TRUE(database::topicRowIter(row, &iter));
  GtkTreeView* tree = base::topicTreeView();
  GtkTreePath* path = gtk_tree_model_get_path(gtk_tree_view_get_model(tree), &iter);
  gtk_tree_view_scroll_to_cell(tree, path, nullptr, FALSE, 0, 0);
  pumpPending();
  GdkRectangle cell;
  gtk_tree_view_get_cell_area(tree, path, gtk_tree_view_get_column(tree, 0), &cell);
  gtk_tree_path_free(path);
  GdkPoint point{0, 0};
  gtk_tree_view_convert_bin_window_to_widget_coords(tree, cell.x + 20, cell.y + cell.height / 2, &point.x,
                                                    &point.y);
  return point;
}

void ViewerTest::selectRow(int row) {
  GtkTreeView* tree = base::topicTreeView();
  {
    const base::ProgramChange quiet;
    database::selectTopicRow(tree, row);
    gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(tree));
  }
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(base::mainWindow.window));
  gtk_widget_grab_focus(GTK_WIDGET(tree));
  const GdkPoint point = rowPoint(row);
  ASSERT_TRUE(pointAt(GTK_WIDGET(tree), point.x, point.y));
  ASSERT_TRUE(pressKeys("space"));
  ASSERT_TRUE(
      dispatchUntil([&] { return database::selectedTopicRow(tree) == row && !base::hasPendingEvent(); }));
  // The test goes on where it was, as a user who clicks back into the field.
  if (focus) gtk_widget_grab_focus(focus);
}

void ViewerTest::clickRow(int row) {
  GtkTreeView* tree = base::topicTreeView();
  const GdkPoint point = rowPoint(row);
  SignalCounter presses(GTK_WIDGET(tree), "button-press-event");
  ASSERT_TRUE(clickAt(GTK_WIDGET(tree), point.x, point.y));
  ASSERT_TRUE(dispatchUntil([&] {
    return presses.count() > 0 && database::selectedTopicRow(tree) == row && !base::hasPendingEvent();
  }));
}

static std::string bufferText(GtkTextView* view) {
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(view);
  GtkTextIter start, end;
  gtk_text_buffer_get_bounds(buffer, &start, &end);
  gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
  std::string result = text;
  g_free(text);
  return result;
}

std::string ViewerTest::codeText() const { return bufferText(base::codeView()); }
std::string ViewerTest::descriptionText() const { return bufferText(base::descriptionView()); }
std::string ViewerTest::clipboardText() const {
  gchar* text = gtk_clipboard_wait_for_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
  std::string result = text ? text : "";
  g_free(text);
  return result;
}

std::string ViewerTest::windowTitle() const {
  return gtk_window_get_title(GTK_WINDOW(base::mainWindow.window));
}

}  // namespace testing_support
