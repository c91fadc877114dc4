// The commands that show a topic's code and bring the other windows in step with it.
#include "app/topic_commands_gtk.h"

#include "app/main_window_gtk.h"
#include "app/main_window_rules.h"
#include "base/app_state.h"
#include "base/trace.h"
#include "config/app_settings.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "search/code_search_window_gtk.h"
#include "services/database_info_gtk.h"
#include "viewer/code_file.h"
#include "viewer/code_view_gtk.h"
#include "viewer/topic_display.h"

namespace app {

viewer::CodeFileProperties codeFileProperties;
viewer::TopicTrail topicTrail;

namespace {

// What the last load found in the file: the administrator's labels and the information window.
void showFileProperties() {
  const viewer::CodeFileProperties& properties = codeFileProperties;
  setPropertyLabel(base::SourceLabelControl, viewer::sourceLabelText(properties));
  setPropertyLabel(base::ExecutableLabelControl, viewer::executableLabelText(properties));
  setPropertyLabel(base::SubsystemLabelControl, viewer::subsystemLabelText(properties));
  services::setFileFormatFields(viewer::codeFormatText(properties), viewer::executableFormatText(properties));
}

// The title and the file fields follow the file the code view now stands for; a topic
// without a file leaves the property labels as they were.
void followShownFile(const viewer::ShownTopic& shown) {
  if (!shown.fileChanged) return;
  base::appState.currentCodeFile = shown.file;
  if (!shown.file.empty()) codeFileProperties = shown.properties;
  if (shown.file.empty()) {
    setMainTitle(programTitle);
    services::setSelectedFileFields("", "", "");
    return;
  }
  // The formats, the title, then the file's path: the title names the new file without
  // waiting for the path field of a window that is mostly hidden.
  showFileProperties();
  setMainTitle(titleForCodeFile(shown.file, appSettings.SourceInTitle, absoluteLibraryFolder()));
  services::setSelectedFileField(shown.file);
}

bool isTopicRow(int row) { return row >= 0 && row < static_cast<int>(database::indexEntries.size()); }

// The first of the paths shown as a file from outside the library; false when it is not shown.
bool showOutsideFile(const std::string& paths) {
  TRACE_LINE();
  const viewer::LoadedCode loaded = viewer::loadCodeFile(paths, 1);
  if (loaded.result == viewer::LoadResult::Refused) return false;
  // The view shows no topic's file now; the file fields name none either, so that the
  // copy icon cannot hand over a path that is not shown.
  base::appState.currentCodeFile.clear();
  codeFileProperties = loaded.properties;
  setMainTitle(titleForExternalFile(viewer::firstDroppedPath(paths)));
  services::setSelectedFileFields("", "", "");
  if (loaded.result != viewer::LoadResult::Loaded) return false;
  viewer::showDescription("Extern file ...");
  base::ProgramChange guard;
  gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(base::topicTreeView()));
  return true;
}

}  // namespace

void showChosenTopic(base::EventType type) {
  TRACE_LINE();
  const int row = database::selectedTopicRow(base::topicTreeView());
  const viewer::ShownTopic shown = viewer::showSelectedTopic(row);
  if (!shown.shown) return;
  followShownFile(shown);
  viewer::visitPlace(topicTrail, viewer::ShownPlace{row, ""});
  // A click records the topic also when its code was shown already.
  if (!shown.file.empty() && type == base::EventType::LeftClick) recordHistory(row);
}

void showChosenHistoryEntry() {
  TRACE_LINE();
  const int row = chosenHistoryRow();
  if (!isTopicRow(row)) return;
  database::selectTopicRow(base::topicTreeView(), row);
  followShownFile(viewer::showHistoryEntry(row));
  viewer::visitPlace(topicTrail, viewer::ShownPlace{row, ""});
}

void showCodeSearchHit() {
  TRACE_LINE();
  const search::ChosenCodeHit hit = search::chosenCodeHit();
  if (hit.row < 0 || hit.row >= static_cast<int>(database::indexEntries.size())) return;
  database::selectTopicRow(base::topicTreeView(), hit.row);
  showChosenTopic(base::EventType::LeftClick);
  viewer::selectCodeLine(hit.line);
}

void openDroppedFile(const std::string& paths) {
  TRACE_LINE();
  if (paths.empty()) return;
  if (showOutsideFile(paths))
    viewer::visitPlace(topicTrail, viewer::ShownPlace{-1, viewer::firstDroppedPath(paths)});
}

void stepThroughShownPlaces(int direction) {
  TRACE_LINE();
  const viewer::ShownPlace* step = viewer::stepTrail(topicTrail, direction);
  if (!step) return;
  const viewer::ShownPlace place = *step;
  if (place.row < 0) {
    showOutsideFile(place.outsideFile);
    return;
  }
  if (!isTopicRow(place.row)) return;
  database::selectTopicRow(base::topicTreeView(), place.row);
  followShownFile(viewer::showSelectedTopic(place.row));
}

void reloadSelectedTopicCode() {
  TRACE_LINE();
  const int row = database::selectedTopicRow(base::topicTreeView());
  if (!isTopicRow(row)) return;
  const std::string file(database::indexEntries[row].File);
  if (file.empty()) return;
  const viewer::LoadedCode loaded = viewer::loadCodeFile(file, 0);
  viewer::setDescriptionAlarm(loaded.result != viewer::LoadResult::Loaded);
  codeFileProperties = loaded.properties;
}

void forgetShownTopic() {
  TRACE_LINE();
  viewer::clearCodeView();
  viewer::showDescription("");
  base::appState.currentCodeFile.clear();
  setMainTitle(programTitle);
  services::setSelectedFileFields("", "", "");
  clearHistory();
  topicTrail = viewer::TopicTrail();
}

}  // namespace app
