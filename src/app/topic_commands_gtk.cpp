// The commands that show a topic's code and bring the other windows in step with it.
#include "app/topic_commands_gtk.h"

#include "app/app_state.h"
#include "app/main_window_gtk.h"
#include "app/window_title.h"
#include "config/app_settings.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "search/code_search_window_gtk.h"
#include "services/database_info_gtk.h"
#include "viewer/code_file.h"
#include "viewer/code_view_gtk.h"
#include "viewer/topic_display.h"

namespace app {
namespace {

// What the last load found in the file: the administrator's labels and the information window.
void showFileProperties(const std::string& file) {
  const viewer::CodeFileProperties& properties = viewer::codeFileProperties;
  setPropertyLabel(SourceLabelGadget, viewer::sourceLabelText(properties));
  setPropertyLabel(ExecutableLabelGadget, viewer::executableLabelText(properties));
  setPropertyLabel(SubsystemLabelGadget, viewer::subsystemLabelText(properties));
  services::setSelectedFileFields(file, viewer::codeFormatText(properties),
                                  viewer::executableFormatText(properties));
}

// The title and the file fields follow the file the code view now stands for; a topic
// without a file leaves the property labels as they were.
void followShownFile(const viewer::ShownTopic& shown) {
  if (!shown.fileChanged) return;
  if (shown.file.empty()) {
    setMainTitle(programTitle);
    services::setSelectedFileFields("", "", "");
    return;
  }
  showFileProperties(shown.file);
  setMainTitle(titleForCodeFile(shown.file, appSettings.SourceInTitle, appSettings.Lib_path));
}

}  // namespace

void showChosenTopic(EventType type) {
  TRACE_LINE();
  const int row = database::selectedTopicRow(topicTreeView());
  const viewer::ShownTopic shown = viewer::showSelectedTopic(row);
  if (!shown.shown) return;
  followShownFile(shown);
  // A click records the topic also when its code was shown already.
  if (!shown.file.empty() && type == EventType::LeftClick) recordHistory(row);
}

void showChosenHistoryEntry() {
  TRACE_LINE();
  const int row = chosenHistoryRow();
  if (row < 0 || row >= static_cast<int>(database::indexEntries.size())) return;
  database::selectTopicRow(topicTreeView(), row);
  followShownFile(viewer::showHistoryEntry(row));
}

void showCodeSearchHit() {
  TRACE_LINE();
  const search::ChosenCodeHit hit = search::chosenCodeHit();
  if (hit.row < 0 || hit.row >= static_cast<int>(database::indexEntries.size())) return;
  database::selectTopicRow(topicTreeView(), hit.row);
  showChosenTopic(EventType::LeftClick);
  viewer::selectCodeLine(hit.line);
}

void openDroppedFile(const std::string& paths) {
  TRACE_LINE();
  if (paths.empty()) return;
  const viewer::LoadResult result = viewer::loadCodeFile(paths, 1);
  if (result == viewer::LoadResult::Refused) return;
  // The view shows no topic's file now; the file fields name none either, so that the
  // copy icon cannot hand over a path that is not shown.
  setMainTitle(titleForExternalFile(viewer::firstDroppedPath(paths)));
  services::setSelectedFileFields("", "", "");
  if (result != viewer::LoadResult::Loaded) return;
  viewer::showDescription("Extern file ...");
  ProgramChange guard;
  gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(topicTreeView()));
}

}  // namespace app
