// Start-up in its fixed order, the event loop and shutdown.
#include "app/startup_gtk.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include <unistd.h>

#include <gtk/gtk.h>

#include "app/command_line.h"
#include "app/dispatcher_gtk.h"
#include "app/fatal_error.h"
#include "app/language_apply_gtk.h"
#include "app/main_window_gtk.h"
#include "app/main_window_rules.h"
#include "app/place_commands_gtk.h"
#include "base/app_state.h"
#include "base/dialogs.h"
#include "base/dialogs_gtk.h"
#include "base/event_queue.h"
#include "base/fonts_gtk.h"
#include "base/paths.h"
#include "base/trace.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "config/settings_store.h"
#include "config/settings_window_gtk.h"
#include "database/toc_database.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "resources/pictures_gtk.h"
#include "search/code_index_reader.h"
#include "search/search_gtk.h"
#include "services/about_gtk.h"
#include "services/database_info_gtk.h"
#include "services/update_window_gtk.h"

namespace app {
namespace {

void setUpProgramState(const std::string& folder) {
  TRACE_LINE();
  base::resetAppState(folder);
  const AppSettings defaults = defaultAppSettings(folder);
  base::loadCodeFont(defaults.FontName, defaults.FontSize);
  base::loadBoldUiFont();
  database::clearTopicIndex();
  resetAppSettings(folder);
}

void examineMonitors() {
  TRACE_LINE();
  GdkScreen* screen = gdk_screen_get_default();
  config::ScreenLimits limits;
  if (screen) {
    GdkRectangle primary;
    gdk_screen_get_monitor_geometry(screen, gdk_screen_get_monitor_at_point(screen, 0, 0), &primary);
    limits.primaryWidth = primary.width;
    limits.primaryHeight = primary.height;
  }
  config::setScreenLimits(limits);
}

std::optional<config::WindowGeometry> currentWindowGeometry() {
  if (!base::mainWindow.window) return std::nullopt;
  config::WindowGeometry geometry;
  gint x = 0, y = 0, width = 0, height = 0;
  gtk_window_get_position(GTK_WINDOW(base::mainWindow.window), &x, &y);
  gtk_window_get_size(GTK_WINDOW(base::mainWindow.window), &width, &height);
  geometry.x = x;
  geometry.y = y;
  geometry.width = width;
  geometry.height = height;
  geometry.splitter = gtk_paned_get_position(GTK_PANED(base::mainWindow.control[base::SplitterControl]));
  return geometry;
}

void setProgramIdentity() {
  TRACE_LINE();
  g_set_application_name("Zarnel-Linux-API-Viewer");
  if (GdkPixbuf* logo = resources::loadPicture("logo")) {
    gtk_window_set_default_icon(logo);
    g_object_unref(logo);
  }
  g_object_set(gtk_settings_get_default(), "gtk-button-images", TRUE, nullptr);
}

void buildTopicTreeAndCount() {
  TRACE_LINE();
  if (database::documentRoot())
    database::rebuildTopicTree(base::topicTreeView(), config::languageChoice(), appSettings.DyeingNews != 0);
  database::countTopics(base::topicTreeView());
}

void applyStoredLanguage() {
  TRACE_LINE();
  config::setLanguageChoice(static_cast<int>(appSettings.Language));
  if (appSettings.Language == 0) return;
  appSettings.Language = 0;
  app::ApplyLanguage(false);
}

void showAboutOnFirstStart() {
  if (appSettings.about != 0) return;
  if (services::AboutProgramDialog()) appSettings.about = 1;
}

void selectFirstTopic() {
  TRACE_LINE();
  if (database::topicRowCount() == 0) return;
  database::selectTopicRow(base::topicTreeView(), 0);
  base::postWidgetEvent(base::MainWindowNo, base::TopicTreeControl, base::EventType::Change);
}

void showAndLayout() {
  TRACE_LINE();
  gtk_paned_set_position(GTK_PANED(base::mainWindow.control[base::SplitterControl]),
                         static_cast<gint>(appSettings.Splitter));
  // Held back until the window has settled: the tree scrolls to a noted topic in an idle
  // step of its own and would draw itself at once, before the window's first drawing.
  gtk_widget_realize(base::mainWindow.window);
  GdkWindow* frame = gtk_widget_get_window(base::mainWindow.window);
  gdk_window_freeze_updates(frame);
  gtk_widget_show(base::mainWindow.window);
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  gdk_window_thaw_updates(frame);
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  layoutMainWindow(true);
  gtk_widget_grab_focus(base::mainWindow.control[base::SearchFieldControl]);
}

constexpr guint codeIndexDelayMs = 1000;

// Reads the whole library, unless the code search was opened first and reads it already.
gboolean startReadingCodeIndex(gpointer) {
  TRACE_LINE();
  search::refreshCodeIndex(database::indexEntries, appSettings.Lib_path);
  return G_SOURCE_REMOVE;
}

// The snippet files are read in the background a moment after the main window has been
// painted: reading them never delays the start or the first picture, nor competes with
// the start's last work. Opening the code search before then starts the reading at once.
gboolean onFirstPaint(GtkWidget* window, GdkEventExpose*, gpointer) {
  g_signal_handlers_disconnect_by_func(window, reinterpret_cast<gpointer>(onFirstPaint), nullptr);
  g_timeout_add_full(G_PRIORITY_LOW, codeIndexDelayMs, startReadingCodeIndex, nullptr, nullptr);
  return FALSE;
}

// A file named on the command line is shown as a file dropped on the code view is.
void showFileFromCommandLine(const std::vector<std::string>& files) {
  if (files.empty()) return;
  base::Event event;
  event.kind = base::EventKind::FilesDropped;
  event.window = base::MainWindowNo;
  event.widget = base::CodeViewControl;
  event.droppedPaths = files.front();
  base::postEvent(event);
}

// Relative file arguments name files of the folder the program was started in.
std::string startFolder() {
  gchar* folder = g_get_current_dir();
  std::string result = folder;
  g_free(folder);
  return result;
}

void releaseProgram() {
  if (base::mainWindow.codeTabStops) {
    pango_tab_array_free(base::mainWindow.codeTabStops);
    base::mainWindow.codeTabStops = nullptr;
  }
}

}  // namespace

std::string findProgramFolder() {
  std::vector<char> target(4096);
  const ssize_t length = readlink("/proc/self/exe", target.data(), target.size() - 1);
  if (length <= 0) return std::string();
  return base::folderPart(std::string(target.data(), static_cast<size_t>(length)));
}

void presentLibrary(bool takeUpPlace) {
  buildTopicTreeAndCount();
  applyStoredLanguage();
  showAboutOnFirstStart();
  selectFirstTopic();
  // The noted place replaces the first topic before the window is drawn: drawn once,
  // already there, and the tree scrolls to it without a picture of its top first.
  if (takeUpPlace) restorePlace();
  g_signal_connect(base::mainWindow.window, "expose-event", G_CALLBACK(onFirstPaint), nullptr);
  showAndLayout();
}

void endProgram() {
  releaseProgram();
  std::exit(0);
}

void runEventLoop() {
  while (!base::appState.quitRequested) {
    while (!base::hasPendingEvent()) gtk_main_iteration_do(TRUE);
    dispatchEvent(base::takeEvent());
    // Any command may have rebuilt the rows or changed the search's scope or language.
    search::foldRowsBeforehand();
  }
}

int runProgram(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (const auto answer = commandLineAnswer(arguments, findProgramFolder())) {
    std::fputs(answer->c_str(), stdout);
    return 0;
  }
  std::setlocale(LC_ALL, "");
  base::startFontConfiguration();
  // The window class comes from this name; the desktop entry's StartupWMClass relies
  // on it, whatever name the program file was started under.
  g_set_prgname(programName);
  if (!gtk_init_check(&argc, &argv)) {
    std::fputs(noDisplayLine(displayName(arguments)).c_str(), stderr);
    return 1;
  }
  const std::vector<std::string> files = commandLineFiles({argv + 1, argv + argc}, startFolder());
  const std::string folder = findProgramFolder();
  if (!folder.empty() && chdir(folder.c_str()) != 0) return 1;
  setUpProgramState(folder);
  base::installToolkitDialogs();
  createPopupMenus();
  installFatalErrorHandler(releaseProgram);
  examineMonitors();
  config::setCodeFontLoader(base::loadCodeFont);
  config::setWindowGeometrySource(currentWindowGeometry);
  config::setEditorMenuTextHandler(showEditorOnOpenCodeEntry);
  config::LocateDatabase();
  // The file is parsed on a thread of its own while the windows are built.
  database::startLoadingDatabase();
  setProgramIdentity();
  if (!buildMainWindow()) {
    base::showMessage(base::messageTitle, "Main-Window couldn't be created!");
    endProgram();
  }
  config::createSettingsWindow();
  services::createDatabaseInfoWindow();
  services::createUpdateWindow();
  if (!database::loadDatabase()) endProgram();
  presentLibrary(!freshStartAsked(arguments));
  showFileFromCommandLine(files);
  runEventLoop();
  notePlace();
  releaseProgram();
  return 0;
}

}  // namespace app
