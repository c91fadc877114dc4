// The place note's format, its file, and finding a noted topic again.
#include "config/place_note.h"

#include <cstdlib>
#include <unordered_map>

#include <glib.h>
#include <glib/gstdio.h>
#include <sys/stat.h>

#include "base/paths.h"
#include "config/file_replace.h"

namespace config {
namespace {

constexpr std::string_view header = "zn-api-viewer place 1";
// A note holds a few lines; anything larger is not one of ours.
constexpr std::size_t noteLimit = 1 << 20;
constexpr int topicFieldCount = 5;
constexpr int largestZoomLevel = 7;

std::string escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c; break;
    }
  }
  return out;
}

std::optional<std::string> unescaped(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      default: return std::nullopt;
    }
  }
  return out;
}

std::string topicValue(const NotedTopic& topic) {
  return escaped(topic.file) + '\t' + escaped(topic.titleDe) + '\t' + escaped(topic.titleEn) + '\t' +
         escaped(topic.titleFr) + '\t' + escaped(topic.group);
}

std::optional<NotedTopic> parseTopic(std::string_view value) {
  std::string fields[topicFieldCount];
  int count = 0;
  for (std::size_t start = 0;; ++count) {
    const std::size_t tab = value.find('\t', start);
    if (count == topicFieldCount) return std::nullopt;
    const std::optional<std::string> field = unescaped(value.substr(start, tab - start));
    if (!field) return std::nullopt;
    fields[count] = *field;
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  if (count != topicFieldCount - 1) return std::nullopt;
  return NotedTopic{fields[0], fields[1], fields[2], fields[3], fields[4]};
}

std::optional<int> parseNumber(std::string_view value, int largest) {
  if (value.empty() || value.size() > 2) return std::nullopt;
  int number = 0;
  for (const char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  if (number > largest) return std::nullopt;
  return number;
}

// Takes one "key=value" line into the note; false when the line is garbled. Keys a
// later note may add are passed over.
bool takeLine(PlaceNote& note, std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  const std::string_view key = line.substr(0, equals);
  const std::string_view value = line.substr(equals + 1);
  if (key == "shown" || key == "history") {
    const std::optional<NotedTopic> topic = parseTopic(value);
    if (!topic) return false;
    if (key == "shown")
      note.shown = topic;
    else
      note.history.push_back(*topic);
  } else if (key == "zoom" || key == "wrap") {
    const std::optional<int> number = parseNumber(value, key == "zoom" ? largestZoomLevel : 1);
    if (!number) return false;
    if (key == "zoom")
      note.zoomLevel = *number;
    else
      note.lineWrap = *number == 1;
  } else if (key == "database" || key == "search") {
    const std::optional<std::string> text = unescaped(value);
    if (!text) return false;
    (key == "database" ? note.databasePath : note.searchText) = *text;
  }
  return true;
}

// A marker that the colouring setting may have taken off the title of the display language.
std::string_view withoutMarker(std::string_view title) {
  for (const std::string_view marker : {database::newTopicMarker, database::updatedTopicMarker}) {
    if (title.substr(0, marker.size()) == marker) return title.substr(marker.size());
  }
  return title;
}

bool sameTopic(const database::IndexEntry& entry, const NotedTopic& topic) {
  return entry.File == topic.file && withoutMarker(entry.FunctionDe) == withoutMarker(topic.titleDe) &&
         withoutMarker(entry.FunctionEn) == withoutMarker(topic.titleEn) &&
         withoutMarker(entry.FunctionFr) == withoutMarker(topic.titleFr);
}

}  // namespace

std::string placeNotePath() {
  const char* state = std::getenv("XDG_STATE_HOME");
  std::string folder;
  if (state && state[0] == '/') {
    folder = state;
  } else {
    const char* home = std::getenv("HOME");
    folder = std::string(home && home[0] ? home : g_get_home_dir()) + "/.local/state";
  }
  if (folder.back() != '/') folder += '/';
  return folder + "zn-api-viewer/place";
}

std::string formatPlaceNote(const PlaceNote& note) {
  std::string text = std::string(header) + "\ndatabase=" + escaped(note.databasePath) + "\n";
  if (note.shown) text += "shown=" + topicValue(*note.shown) + "\n";
  for (const NotedTopic& topic : note.history) text += "history=" + topicValue(topic) + "\n";
  text += "zoom=" + std::to_string(note.zoomLevel) + "\nwrap=" + (note.lineWrap ? "1" : "0") + "\n";
  return text + "search=" + escaped(note.searchText) + "\n";
}

std::optional<PlaceNote> parsePlaceNote(std::string_view bytes) {
  if (bytes.size() > noteLimit || !g_utf8_validate(bytes.data(), static_cast<gssize>(bytes.size()), nullptr))
    return std::nullopt;
  const std::size_t firstEnd = bytes.find('\n');
  if (bytes.substr(0, firstEnd) != header) return std::nullopt;
  PlaceNote note;
  for (std::size_t start = firstEnd; start != std::string_view::npos && start < bytes.size();) {
    ++start;
    const std::size_t end = bytes.find('\n', start);
    const std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && !takeLine(note, line)) return std::nullopt;
    start = end;
  }
  if (note.databasePath.empty()) return std::nullopt;
  return note;
}

std::optional<PlaceNote> readPlaceNote(const std::string& path) {
  GStatBuf info;
  if (g_stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<std::size_t>(info.st_size) > noteLimit)
    return std::nullopt;
  gchar* bytes = nullptr;
  gsize length = 0;
  if (!g_file_get_contents(path.c_str(), &bytes, &length, nullptr)) return std::nullopt;
  std::optional<PlaceNote> note = parsePlaceNote(std::string_view(bytes, length));
  g_free(bytes);
  return note;
}

bool writePlaceNote(const std::string& path, const PlaceNote& note) {
  if (g_mkdir_with_parents(base::folderPart(path).c_str(), 0700) != 0) return false;
  struct stat info;
  const bool exists = stat(path.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) return false;
  return replaceFileContents(path, formatPlaceNote(note), exists ? &info : nullptr);
}

NotedTopic notedTopic(const database::IndexEntry& entry) {
  return NotedTopic{std::string(entry.File), std::string(entry.FunctionDe), std::string(entry.FunctionEn),
                    std::string(entry.FunctionFr), std::string(entry.Group)};
}

std::vector<int> findNotedTopics(const std::vector<database::IndexEntry>& entries,
                                 const std::vector<NotedTopic>& topics) {
  std::unordered_map<std::string_view, std::vector<std::size_t>> byFile;
  // Most rows are passed over by the length of their file name alone, without hashing it.
  std::vector<bool> notedLength;
  for (std::size_t i = 0; i < topics.size(); ++i) {
    byFile[topics[i].file].push_back(i);
    if (notedLength.size() <= topics[i].file.size()) notedLength.resize(topics[i].file.size() + 1);
    notedLength[topics[i].file.size()] = true;
  }
  std::vector<int> inGroup(topics.size(), -1), elsewhere(topics.size(), -1);
  for (std::size_t row = 0; row < entries.size(); ++row) {
    const std::size_t length = entries[row].File.size();
    if (length >= notedLength.size() || !notedLength[length]) continue;
    const auto noted = byFile.find(entries[row].File);
    if (noted == byFile.end()) continue;
    for (const std::size_t i : noted->second) {
      if (inGroup[i] >= 0 || !sameTopic(entries[row], topics[i])) continue;
      if (entries[row].Group == topics[i].group)
        inGroup[i] = static_cast<int>(row);
      else if (elsewhere[i] < 0)
        elsewhere[i] = static_cast<int>(row);
    }
  }
  // Rows without a file and titles, the groups, are told apart by their group alone.
  for (std::size_t i = 0; i < topics.size(); ++i) {
    if (inGroup[i] < 0 && !topics[i].file.empty()) inGroup[i] = elsewhere[i];
  }
  return inGroup;
}

}  // namespace config
