// The note of where the reader was: the shown topic, the history, zoom, wrap and the
// search text, kept for one database between two runs in the user's state folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/topic_index.h"

namespace config {

// A topic as the note names it: by its file, its titles and its group, never by its row,
// which a changed database gives to another topic.
struct NotedTopic {
  std::string file;
  std::string titleDe;
  std::string titleEn;
  std::string titleFr;
  std::string group;
};

struct PlaceNote {
  std::string databasePath;  // the database the place belongs to
  std::optional<NotedTopic> shown;
  std::vector<NotedTopic> history;  // newest first, as the history list holds it
  int zoomLevel = 3;
  bool lineWrap = false;
  std::string searchText;
};

// $XDG_STATE_HOME/zn-api-viewer/place, or ~/.local/state/zn-api-viewer/place when the
// variable is unset, empty or not an absolute path.
std::string placeNotePath();

std::string formatPlaceNote(const PlaceNote& note);
// Nothing for a note that is not wholly well-formed: a wrong first line, a line without
// "=", a broken escape, a number out of range, a topic without its five fields, bytes
// that are not UTF-8, or more than a small note can hold.
std::optional<PlaceNote> parsePlaceNote(std::string_view bytes);

// Nothing when the file is missing, unreadable or garbled.
std::optional<PlaceNote> readPlaceNote(const std::string& path);
// Writes the note whole or not at all (the folder is made as needed); false on failure.
bool writePlaceNote(const std::string& path, const PlaceNote& note);

NotedTopic notedTopic(const database::IndexEntry& entry);
// For each noted topic, the first row whose file and titles are the noted ones (a title's
// new-topic or updated marker aside, which the colouring setting may have taken off), of
// the noted group when several are; -1 when none is. One pass over the rows for all.
std::vector<int> findNotedTopics(const std::vector<database::IndexEntry>& entries,
                                 const std::vector<NotedTopic>& topics);

}  // namespace config
