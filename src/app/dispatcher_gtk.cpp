// The command table: every event of the four windows to its command.
#include "app/dispatcher_gtk.h"

#include "app/administrator_mode.h"
#include "app/app_state.h"
#include "app/busy_cursor_gtk.h"
#include "app/dialogs.h"
#include "app/main_window_gtk.h"
#include "app/paths.h"
#include "app/program_version.h"
#include "app/topic_commands_gtk.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "config/language_apply_gtk.h"
#include "config/settings_window_gtk.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "export/admin_commands.h"
#include "search/code_index_reader.h"
#include "search/code_search_window_gtk.h"
#include "search/search_gtk.h"
#include "services/about_gtk.h"
#include "services/database_info_gtk.h"
#include "services/external_programs.h"
#include "services/update_check.h"
#include "services/update_window_gtk.h"
#include "viewer/code_view_gtk.h"

namespace app {
namespace {

void showHelpTopic() {
  TRACE_LINE();
  if (appState.helpRow == 0) {
    showMessage(messageTitle, "No help-file found.");
    return;
  }
  GtkTreeView* tree = topicTreeView();
  GtkTreeIter iter;
  if (database::topicRowIter(1, &iter)) {
    GtkTreePath* path = gtk_tree_model_get_path(gtk_tree_view_get_model(tree), &iter);
    ProgramChange guard;
    gtk_tree_view_expand_row(tree, path, FALSE);
    gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(tree));
    gtk_tree_path_free(path);
  }
  database::selectTopicRow(tree, appState.helpRow);
  postWidgetEvent(MainWindowNo, TopicTreeGadget, EventType::Change);
}

void showDatabaseInformation() {
  TRACE_LINE();
  services::fillDatabaseInfo();
  services::showDatabaseInfo();
}

void runUpdateCommand() {
  TRACE_LINE();
  services::updateInfo.currentVersion = programVersion;
  showBusyCursor(true);
  services::runUpdateCheck();
  showBusyCursor(false);
  services::showUpdateWindow();
}

void switchLanguageQuickly(int choice) {
  config::setLanguageChoice(choice);
  config::ApplyLanguage(true);
  viewer::showDescriptionOfRow(database::selectedTopicRow(topicTreeView()));
}

// Files changed since they were read are read again while the window is open.
void openCodeSearch() {
  TRACE_LINE();
  search::refreshCodeIndex(database::indexEntries, appSettings.Lib_path);
  search::openCodeSearchWindow();
}

bool searchFieldHasFocus() {
  return gtk_window_get_focus(GTK_WINDOW(mainWindow.window)) == mainWindow.gadget[SearchFieldGadget];
}

bool codeViewIsEmpty() { return gtk_text_buffer_get_char_count(gtk_text_view_get_buffer(codeView())) == 0; }

void dispatchMainWidget(const Event& event) {
  TRACE_LINE();
  switch (event.widget) {
    case NodeToggleGadget:
      expandAll(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(mainWindow.gadget[NodeToggleGadget])));
      break;
    case AdminButtonGadget:
      if (administratorMode) popupMenu(mainWindow.adminMenu);
      break;
    case FindButtonGadget: search::searchTopics(search::SearchStart::FindNext); break;
    case SearchFieldGadget:
      if (event.type == EventType::Change) search::searchTopics(search::SearchStart::FromTop);
      break;
    case SettingsButtonGadget: config::openSettingsWindow(); break;
    case HelpButtonGadget: showHelpTopic(); break;
    case InfoButtonGadget: popupMenu(mainWindow.infoMenu); break;
    case SplitterGadget:
      if (event.type == EventType::LeftClick) layoutMainWindow(false);
      break;
    case TopicTreeGadget:
      if (database::selectedTopicRow(topicTreeView()) < 0) break;
      if (event.type == EventType::LeftDoubleClick)
        toggleSelectedNode();
      else if (event.type == EventType::LeftClick || event.type == EventType::Change)
        showChosenTopic(event.type);
      else if (event.type == EventType::DragStart)
        startTopicDrag();
      break;
    case CopyButtonGadget:
      if (!codeViewIsEmpty()) quickCopy();
      break;
    case HistoryListGadget: showChosenHistoryEntry(); break;
    default: break;
  }
}

void copyCodePath() {
  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD),
                         paths::joinLibraryPath(appSettings.Lib_path, appState.currentCodeFile).c_str(), -1);
}

void dispatchMainMenu(int item) {
  TRACE_LINE();
  switch (item) {
    case ExportWebPageMenuItem: exports::exportWebPage(); break;
    case ExportPostingAllMenuItem: exports::exportPosting(0); break;
    case ExportPostingNewsMenuItem: exports::exportPosting(1); break;
    case ExportFileListMenuItem: exports::exportFileList(); break;
    case DuplicatesReportMenuItem: exports::writeDuplicatesReport(); break;
    case EditHelpFileMenuItem: services::editHelpFile(); break;
    case CopyCodePathMenuItem: copyCodePath(); break;
    case AboutProgramMenuItem: services::AboutProgramDialog(); break;
    case AboutDatabaseMenuItem: showDatabaseInformation(); break;
    case UpdateCheckMenuItem: runUpdateCommand(); break;
    case OpenCodeMenuItem: services::openCode(); break;
    case ReturnMenuItem:
      if (searchFieldHasFocus()) search::searchTopics(search::SearchStart::FindNext);
      break;
    case EscapeMenuItem: appState.quitRequested = 1; break;
    case HelpKeyMenuItem: postWidgetEvent(MainWindowNo, HelpButtonGadget, EventType::LeftClick); break;
    case FindNextMenuItem: search::searchTopics(search::SearchStart::FindNext); break;
    case LineWrapMenuItem: switchLineWrap(); break;
    case LanguageToggleMenuItem: switchLanguageQuickly(config::languageChoice() == 0 ? 1 : 0); break;
    case GermanMenuItem:
    case GermanAltMenuItem: switchLanguageQuickly(0); break;
    case EnglishMenuItem:
    case FrenchKeyMenuItem: switchLanguageQuickly(1); break;
    case CodeSearchMenuItem: openCodeSearch(); break;
    default: break;
  }
}

void dispatchMain(const Event& event) {
  switch (event.kind) {
    case EventKind::Close: appState.quitRequested = 1; break;
    case EventKind::Size: layoutMainWindow(true); break;
    case EventKind::FilesDropped: openDroppedFile(event.droppedPaths); break;
    case EventKind::Widget: dispatchMainWidget(event); break;
    case EventKind::Menu: dispatchMainMenu(event.menuItem); break;
  }
}

bool isHideRequest(const Event& event) {
  return event.kind == EventKind::Close ||
         (event.kind == EventKind::Menu && event.menuItem == EscapeMenuItem);
}

void dispatchSettings(const Event& event) {
  TRACE_LINE();
  if (isHideRequest(event)) {
    config::hideSettingsWindow();
    return;
  }
  if (event.kind != EventKind::Widget) return;
  switch (event.widget) {
    case config::DatabaseChooserControl: config::chooseDatabaseFile(); break;
    case config::LibraryChooserControl: config::chooseLibraryFolder(); break;
    case config::FontButtonControl: config::chooseCodeFont(); break;
    case config::CancelControl: config::hideSettingsWindow(); break;
    case config::ApplyControl:
      config::applyPathsAndReload();
      search::rebuildCodeIndex(database::indexEntries, appSettings.Lib_path);
      break;
    case config::SaveControl:
      config::saveSettingsFromDialog();
      // Saving may change the library path without reloading the database.
      search::refreshCodeIndex(database::indexEntries, appSettings.Lib_path);
      break;
    default: break;
  }
}

void copyCodePathFromInfoWindow() {
  if (services::databaseInfoFieldText(services::FileFieldControl).empty()) return;
  flashWidget(services::databaseInfoWindow.control[services::FileFieldControl], true);
  copyCodePath();
}

void dispatchDatabaseInfo(const Event& event) {
  TRACE_LINE();
  if (isHideRequest(event)) {
    services::hideDatabaseInfo();
    return;
  }
  if (event.kind != EventKind::Widget) return;
  if (event.widget == services::CopyIconControl) copyCodePathFromInfoWindow();
  if (event.widget == services::FolderIconControl)
    services::OpenFolderWithDesktop(services::databaseInfoFieldText(services::LibraryFieldControl));
}

void dispatchCodeSearch(const Event& event) {
  TRACE_LINE();
  if (isHideRequest(event)) {
    search::hideCodeSearchWindow();
  } else if (event.kind == EventKind::Menu && event.menuItem == ReturnMenuItem) {
    showCodeSearchHit();
  } else if (event.kind == EventKind::Widget && event.widget == CodeSearchFieldControl) {
    search::searchCodeFromField();
  } else if (event.kind == EventKind::Widget && event.widget == CodeSearchHitListControl &&
             event.type == EventType::LeftDoubleClick) {
    showCodeSearchHit();
  }
}

}  // namespace

void dispatchEvent(const Event& event) {
  TRACE_LINE();
  switch (event.window) {
    case MainWindowNo: dispatchMain(event); break;
    case SettingsWindowNo: dispatchSettings(event); break;
    case DatabaseInfoWindowNo: dispatchDatabaseInfo(event); break;
    case UpdateWindowNo:
      if (isHideRequest(event)) services::hideUpdateWindow();
      break;
    case CodeSearchWindowNo: dispatchCodeSearch(event); break;
    default: break;
  }
}

}  // namespace app
