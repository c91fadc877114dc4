// The shared set-up of the in-process GUI tests: a main window over a scratch library.
#include "support/viewer_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/app_state.h"
#include "app/dispatcher_gtk.h"
#include "app/event_queue.h"
#include "app/main_window_gtk.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "config/message_texts.h"
#include "database/toc_database.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "services/database_info_gtk.h"

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
  resetAppState(dir.path());
  resetAppSettings(dir.path());
  config::setLanguageChoice(0);
  config::resetInterfaceLanguage();
  app::clearEvents();
  dir.write("ViewerHelp.txt", "Help text\n");
  dir.write("Gtk/Window.zn", "\xEF\xBB\xBFWindow code\n; Grüße\n; IDE Options = Zarnel\n; EnableUnicode\n");
  dir.write("Gtk/Button.zn", "Button code\r\nsecond\r\n");
  dir.write("bin/.keep", "");
  setenv("PATH", (dir.path() + "bin:" + savedPath_).c_str(), 1);
  app::createPopupMenus();
  ASSERT_TRUE(app::buildMainWindow());
  services::createDatabaseInfoWindow();
  gtk_widget_show(app::mainWindow.window);
  ASSERT_TRUE(pumpUntil([] { return gtk_widget_get_mapped(app::mainWindow.window); }));
  // As at start-up the search field holds the focus, so the tree does not select a row of its own.
  gtk_widget_grab_focus(app::mainWindow.gadget[app::SearchFieldGadget]);
  loadLibrary(smallLibraryDatabase());
  pumpPending();
  app::clearEvents();
}

void ViewerTest::TearDown() {
  app::clearEvents();
  app::destroyMainWindow();
  if (services::databaseInfoWindow.window) gtk_widget_destroy(services::databaseInfoWindow.window);
  services::databaseInfoWindow = services::DatabaseInfoWindow();
  pumpPending();
  setenv("PATH", savedPath_.c_str(), 1);
}

void ViewerTest::loadLibrary(const std::string& databaseText) {
  const std::string path = dir.write("ZN-LinuxAPI-Toc.xml", databaseText);
  ASSERT_TRUE(database::readDatabaseFile(path));
  database::rebuildTopicTree(app::topicTreeView(), config::languageChoice(), appSettings.DyeingNews != 0);
  database::expandAllTopics(app::topicTreeView(), true);
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
  while (app::hasPendingEvent()) {
    app::dispatchEvent(app::takeEvent());
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

void ViewerTest::selectRow(int row) {
  database::selectTopicRow(app::topicTreeView(), row);
  app::postWidgetEvent(MainWindowNo, app::TopicTreeGadget, app::EventType::Change);
  dispatchPending();
}

void ViewerTest::clickRow(int row) {
  database::selectTopicRow(app::topicTreeView(), row);
  app::postWidgetEvent(MainWindowNo, app::TopicTreeGadget, app::EventType::Change);
  app::postWidgetEvent(MainWindowNo, app::TopicTreeGadget, app::EventType::LeftClick);
  dispatchPending();
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

std::string ViewerTest::codeText() const { return bufferText(app::codeView()); }
std::string ViewerTest::descriptionText() const { return bufferText(app::descriptionView()); }
std::string ViewerTest::clipboardText() const {
  gchar* text = gtk_clipboard_wait_for_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
  std::string result = text ? text : "";
  g_free(text);
  return result;
}

std::string ViewerTest::windowTitle() const {
  return gtk_window_get_title(GTK_WINDOW(app::mainWindow.window));
}

}  // namespace testing_support
