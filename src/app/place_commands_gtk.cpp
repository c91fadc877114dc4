// Noting the reader's place at the end and taking it up again at the start.
#include "app/place_commands_gtk.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_gtk.h"
#include "app/topic_commands_gtk.h"
#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/trace.h"
#include "config/place_note.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"

namespace app {
namespace {

// The open database by a path that does not depend on the working folder.
std::string openDatabase() {
  if (base::appState.databasePath.empty()) return std::string();
  const std::string& folder = base::appState.programFolder;
  gchar* path =
      g_canonicalize_filename(base::appState.databasePath.c_str(), folder.empty() ? nullptr : folder.c_str());
  std::string result = path;
  g_free(path);
  return result;
}

GtkEntry* searchField() { return GTK_ENTRY(base::mainWindow.control[base::SearchFieldControl]); }

// The history's rows, newest first, without the topics no longer there or found twice.
std::vector<int> historyRows(const std::vector<int>& found) {
  std::vector<int> rows;
  for (const int row : found) {
    if (row >= 0 && std::find(rows.begin(), rows.end(), row) == rows.end() &&
        static_cast<int>(rows.size()) < base::appState.historyLimit)
      rows.push_back(row);
  }
  return rows;
}

}  // namespace

void restorePlace() {
  TRACE_LINE();
  const std::optional<config::PlaceNote> note = config::readPlaceNote(config::placeNotePath());
  if (!note || note->databasePath != openDatabase()) return;
  // The history, then the shown topic, found in one pass over the rows.
  std::vector<config::NotedTopic> noted = note->history;
  if (note->shown) noted.push_back(*note->shown);
  std::vector<int> rows = config::findNotedTopics(database::indexEntries, noted);
  const int shownRow = note->shown ? rows.back() : -1;
  if (note->shown) rows.pop_back();
  setHistoryRows(historyRows(rows));
  setZoomLevel(note->zoomLevel);
  if (note->lineWrap) gtk_text_view_set_wrap_mode(base::codeView(), GTK_WRAP_WORD);
  {
    const base::ProgramChange quiet;
    gtk_entry_set_text(searchField(), note->searchText.c_str());
    gtk_editable_set_position(GTK_EDITABLE(searchField()), -1);
  }
  if (shownRow < 0) return;
  database::selectTopicRow(base::topicTreeView(), shownRow);
  base::postWidgetEvent(base::MainWindowNo, base::TopicTreeControl, base::EventType::Change);
}

void notePlace() {
  TRACE_LINE();
  config::PlaceNote note;
  note.databasePath = openDatabase();
  if (note.databasePath.empty()) return;
  const auto isRow = [](int row) {
    return row >= 0 && row < static_cast<int>(database::indexEntries.size());
  };
  const viewer::ShownPlace* shown = viewer::currentPlace(topicTrail);
  if (shown && isRow(shown->row)) note.shown = config::notedTopic(database::indexEntries[shown->row]);
  for (int row : base::appState.historyRows) {
    if (isRow(row)) note.history.push_back(config::notedTopic(database::indexEntries[row]));
  }
  note.zoomLevel = base::appState.zoomLevel;
  note.lineWrap = gtk_text_view_get_wrap_mode(base::codeView()) != GTK_WRAP_NONE;
  note.searchText = gtk_entry_get_text(searchField());
  config::writePlaceNote(config::placeNotePath(), note);
}

}  // namespace app
