// The command table: every event of the four windows to its command.
#include "app/dispatcher_gtk.h"

#include "app/settings_commands_gtk.h"

#include "app/administrator_mode.h"
#include "app/busy_cursor_gtk.h"
#include "app/language_apply_gtk.h"
#include "app/main_window_gtk.h"
#include "app/topic_commands_gtk.h"
#include "base/app_state.h"
#include "base/dialogs.h"
#include "base/paths.h"
#include "base/program_version.h"
#include "base/trace.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "config/settings_window_gtk.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "export/admin_commands.h"
#include "search/code_index_reader.h"
#include "search/code_search_window_gtk.h"
#include "search/find_bar_gtk.h"
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
  if (base::appState.helpRow == 0) {
    base::showMessage(base::messageTitle, "No help-file found.");
    return;
  }
  GtkTreeView* tree = base::topicTreeView();
  GtkTreeIter iter;
  if (database::topicRowIter(1, &iter)) {
    GtkTreePath* path = gtk_tree_model_get_path(gtk_tree_view_get_model(tree), &iter);
    base::ProgramChange guard;
    gtk_tree_view_expand_row(tree, path, FALSE);
    gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(tree));
    gtk_tree_path_free(path);
  }
  database::selectTopicRow(tree, base::appState.helpRow);
  base::postWidgetEvent(base::MainWindowNo, base::TopicTreeControl, base::EventType::Change);
}

void showDatabaseInformation() {
  TRACE_LINE();
  services::fillDatabaseInfo();
  services::showDatabaseInfo();
}

void runUpdateCommand() {
  TRACE_LINE();
  services::updateInfo.currentVersion = base::programVersion;
  showBusyCursor(true);
  services::runUpdateCheck();
  showBusyCursor(false);
  services::showUpdateWindow();
}

void switchLanguageQuickly(int choice) {
  config::setLanguageChoice(choice);
  app::ApplyLanguage(true);
  viewer::showDescriptionOfRow(database::selectedTopicRow(base::topicTreeView()));
}

// Files changed since they were read are read again while the window is open.
void openCodeSearch() {
  TRACE_LINE();
  search::refreshCodeIndex(database::indexEntries, appSettings.Lib_path);
  search::openCodeSearchWindow();
}

bool searchFieldHasFocus() {
  return gtk_window_get_focus(GTK_WINDOW(base::mainWindow.window)) ==
         base::mainWindow.control[base::SearchFieldControl];
}

void openFindBar() {
  search::openFindBar();
  layoutMainWindow(false);
}

void closeFindBar() {
  search::closeFindBar();
  layoutMainWindow(false);
}

// Escape in the find bar closes the bar; anywhere else in the main window it ends the program.
void answerEscape() {
  if (search::findBarHasFocus())
    closeFindBar();
  else
    base::appState.quitRequested = 1;
}

void answerReturn() {
  if (searchFieldHasFocus()) search::searchTopics(search::SearchStart::FindNext);
  if (search::findBarHasFocus()) search::stepFoundOccurrence(+1);
}

bool codeViewIsEmpty() {
  return gtk_text_buffer_get_char_count(gtk_text_view_get_buffer(base::codeView())) == 0;
}

void dispatchMainWidget(const base::Event& event) {
  TRACE_LINE();
  switch (event.widget) {
    case base::NodeToggleControl:
      expandAll(
          gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(base::mainWindow.control[base::NodeToggleControl])));
      break;
    case base::AdminButtonControl:
      if (administratorMode) popupMenu(base::mainWindow.adminMenu);
      break;
    case base::FindButtonControl: search::searchTopics(search::SearchStart::FindNext); break;
    case base::SearchFieldControl:
      if (event.type == base::EventType::Change) search::searchTopics(search::SearchStart::FromTop);
      break;
    case base::SettingsButtonControl: config::openSettingsWindow(); break;
    case base::HelpButtonControl: showHelpTopic(); break;
    case base::InfoButtonControl: popupMenu(base::mainWindow.infoMenu); break;
    case base::SplitterControl:
      if (event.type == base::EventType::LeftClick) layoutMainWindow(false);
      break;
    case base::TopicTreeControl:
      if (database::selectedTopicRow(base::topicTreeView()) < 0) break;
      if (event.type == base::EventType::LeftDoubleClick)
        toggleSelectedNode();
      else if (event.type == base::EventType::LeftClick || event.type == base::EventType::Change)
        showChosenTopic(event.type);
      else if (event.type == base::EventType::DragStart)
        startTopicDrag();
      break;
    case base::CopyButtonControl:
      if (!codeViewIsEmpty()) quickCopy();
      break;
    case base::HistoryListControl: showChosenHistoryEntry(); break;
    case base::FindFieldControl: search::findInShownCode(); break;
    case base::FindPreviousControl: search::stepFoundOccurrence(-1); break;
    case base::FindNextControl: search::stepFoundOccurrence(+1); break;
    case base::FindCloseControl: closeFindBar(); break;
    default: break;
  }
}

void copyCodePath() {
  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD),
                         absoluteCodeFilePath(base::appState.currentCodeFile).c_str(), -1);
}

void dispatchMainMenu(int item) {
  TRACE_LINE();
  switch (item) {
    case base::ExportWebPageMenuItem: exports::exportWebPage(); break;
    case base::ExportPostingAllMenuItem: exports::exportPosting(0); break;
    case base::ExportPostingNewsMenuItem: exports::exportPosting(1); break;
    case base::ExportFileListMenuItem: exports::exportFileList(); break;
    case base::DuplicatesReportMenuItem: exports::writeDuplicatesReport(); break;
    case base::EditHelpFileMenuItem: services::editHelpFile(); break;
    case base::CopyCodePathMenuItem: copyCodePath(); break;
    case base::AboutProgramMenuItem: services::AboutProgramDialog(); break;
    case base::AboutDatabaseMenuItem: showDatabaseInformation(); break;
    case base::UpdateCheckMenuItem: runUpdateCommand(); break;
    case base::OpenCodeMenuItem: services::openCode(); break;
    case base::ReturnMenuItem: answerReturn(); break;
    case base::EscapeMenuItem: answerEscape(); break;
    case base::HelpKeyMenuItem:
      base::postWidgetEvent(base::MainWindowNo, base::HelpButtonControl, base::EventType::LeftClick);
      break;
    case base::FindNextMenuItem: search::searchTopics(search::SearchStart::FindNext); break;
    case base::LineWrapMenuItem: switchLineWrap(); break;
    case base::LanguageToggleMenuItem: switchLanguageQuickly(config::languageChoice() == 0 ? 1 : 0); break;
    case base::GermanMenuItem:
    case base::GermanAltMenuItem: switchLanguageQuickly(0); break;
    case base::EnglishMenuItem:
    case base::FrenchKeyMenuItem: switchLanguageQuickly(1); break;
    case base::FindInCodeMenuItem: openFindBar(); break;
    case base::FindPreviousMenuItem:
      if (search::findBarHasFocus()) search::stepFoundOccurrence(-1);
      break;
    case base::BackMenuItem: stepThroughShownPlaces(-1); break;
    case base::ForwardMenuItem: stepThroughShownPlaces(+1); break;
    case base::CodeSearchMenuItem: openCodeSearch(); break;
    default: break;
  }
}

void dispatchMain(const base::Event& event) {
  switch (event.kind) {
    case base::EventKind::Close: base::appState.quitRequested = 1; break;
    case base::EventKind::Size: layoutMainWindow(true); break;
    case base::EventKind::FilesDropped: openDroppedFile(event.droppedPaths); break;
    case base::EventKind::Widget: dispatchMainWidget(event); break;
    case base::EventKind::Menu: dispatchMainMenu(event.menuItem); break;
  }
}

bool isHideRequest(const base::Event& event) {
  return event.kind == base::EventKind::Close ||
         (event.kind == base::EventKind::Menu && event.menuItem == base::EscapeMenuItem);
}

void dispatchSettings(const base::Event& event) {
  TRACE_LINE();
  if (isHideRequest(event)) {
    config::cancelSettingsWindow();
    return;
  }
  if (event.kind != base::EventKind::Widget) return;
  switch (event.widget) {
    case base::DatabaseChooserControl: app::chooseDatabaseFile(); break;
    case base::LibraryChooserControl: app::chooseLibraryFolder(); break;
    case base::FontButtonControl: app::chooseCodeFont(); break;
    case base::CancelControl: config::cancelSettingsWindow(); break;
    case base::ApplyControl:
      app::applyPathsAndReload();
      search::rebuildCodeIndex(database::indexEntries, appSettings.Lib_path);
      break;
    case base::SaveControl:
      app::saveSettingsFromDialog();
      // Saving may change the library path without reloading the database.
      search::refreshCodeIndex(database::indexEntries, appSettings.Lib_path);
      break;
    default: break;
  }
}

void copyCodePathFromInfoWindow() {
  if (services::databaseInfoFieldText(base::FileFieldControl).empty()) return;
  base::flashWidget(services::databaseInfoWindow.control[base::FileFieldControl], true);
  copyCodePath();
}

void dispatchDatabaseInfo(const base::Event& event) {
  TRACE_LINE();
  if (isHideRequest(event)) {
    services::hideDatabaseInfo();
    return;
  }
  if (event.kind != base::EventKind::Widget) return;
  if (event.widget == base::CopyIconControl) copyCodePathFromInfoWindow();
  if (event.widget == base::FolderIconControl)
    services::OpenFolderWithDesktop(services::databaseInfoFieldText(base::LibraryFieldControl));
}

void dispatchCodeSearch(const base::Event& event) {
  TRACE_LINE();
  if (isHideRequest(event)) {
    search::hideCodeSearchWindow();
  } else if (event.kind == base::EventKind::Menu && event.menuItem == base::ReturnMenuItem) {
    showCodeSearchHit();
  } else if (event.kind == base::EventKind::Widget && event.widget == base::CodeSearchFieldControl) {
    search::searchCodeFromField();
  } else if (event.kind == base::EventKind::Widget && event.widget == base::CodeSearchHitListControl &&
             event.type == base::EventType::LeftDoubleClick) {
    showCodeSearchHit();
  }
}

}  // namespace

void dispatchEvent(const base::Event& event) {
  TRACE_LINE();
  switch (event.window) {
    case base::MainWindowNo: dispatchMain(event); break;
    case base::SettingsWindowNo: dispatchSettings(event); break;
    case base::DatabaseInfoWindowNo: dispatchDatabaseInfo(event); break;
    case base::UpdateWindowNo:
      if (isHideRequest(event)) services::hideUpdateWindow();
      break;
    case base::CodeSearchWindowNo: dispatchCodeSearch(event); break;
    default: break;
  }
}

}  // namespace app
