// Moves the settings record to and from the settings file and locates the database at start-up.
#include "config/settings_store.h"

#include "base/app_state.h"
#include "base/dialogs.h"
#include "base/paths.h"
#include "base/trace.h"
#include "config/app_settings.h"
#include "config/file_replace.h"
#include "config/settings_file.h"
#include "config/settings_location.h"

#include <algorithm>
#include <optional>

#include <sys/stat.h>

#include <glib.h>

namespace config {
namespace {

ScreenLimits screenLimits;
CodeFontLoader codeFontLoader;
WindowGeometrySource windowGeometrySource;

void copyField(AppSettings& to, const AppSettings& from, const SettingsKey& entry) {
  if (entry.text) {
    to.*entry.text = from.*entry.text;
  } else {
    to.*entry.number = from.*entry.number;
  }
}

// What each key gives when the file lacks it: the field's current value, except where
// the table names the default or the empty value.
AppSettings valuesWhenMissing() {
  AppSettings values = appSettings;
  const AppSettings defaults = defaultAppSettings(base::appState.programFolder);
  const AppSettings empty{};
  for (const SettingsKey& entry : settingsKeys()) {
    if (entry.missing == SettingsMissing::TakesDefault) copyField(values, defaults, entry);
    if (entry.missing == SettingsMissing::TakesEmpty) copyField(values, empty, entry);
  }
  return values;
}

void readKey(const SettingsDocument& document, const SettingsKey& entry, const AppSettings& missing) {
  if (entry.text) {
    appSettings.*entry.text = readSettingsText(document, entry.key, missing.*entry.text);
  } else {
    appSettings.*entry.number = readSettingsNumber(document, entry.key, missing.*entry.number);
  }
}

void writeKey(SettingsDocument& document, const SettingsKey& entry, const AppSettings& values) {
  if (entry.text) {
    writeSettingsText(document, entry.key, values.*entry.text);
  } else {
    writeSettingsNumber(document, entry.key, values.*entry.number);
  }
}

std::optional<std::string> readFileBytes(const std::string& path) {
  TRACE_LINE();
  gchar* contents = nullptr;
  gsize length = 0;
  if (!g_file_get_contents(path.c_str(), &contents, &length, nullptr)) return std::nullopt;
  std::string bytes(contents, length);
  g_free(contents);
  return bytes;
}

// The monitor limit keeps a stored window from opening larger than the screen.
std::int64_t withinScreen(std::int64_t value, int screenSize) {
  if (screenSize <= 0) return value;
  return std::min<std::int64_t>(value, static_cast<std::int64_t>(screenSize) - 50);
}

void readAllKeys(const SettingsDocument& document) {
  TRACE_LINE();
  const AppSettings missing = valuesWhenMissing();
  for (const SettingsKey& entry : settingsKeys()) readKey(document, entry, missing);
  appSettings.WinWidth = withinScreen(appSettings.WinWidth, screenLimits.primaryWidth);
  appSettings.WinHight = withinScreen(appSettings.WinHight, screenLimits.primaryHeight);
}

bool createCodeFont(const std::string& name, std::int64_t size) {
  TRACE_LINE();
  return !codeFontLoader || codeFontLoader(name, size);
}

void updateCodeFont(const std::string& previousName, std::int64_t previousSize) {
  TRACE_LINE();
  if (appSettings.FontName == previousName && appSettings.FontSize == previousSize) return;
  if (createCodeFont(appSettings.FontName, appSettings.FontSize)) return;
  const AppSettings defaults = defaultAppSettings(base::appState.programFolder);
  appSettings.FontName = defaults.FontName;
  appSettings.FontSize = defaults.FontSize;
  createCodeFont(appSettings.FontName, appSettings.FontSize);
}

// Replacing a symbolic link by a plain file would cut the user's link, so a
// link is followed and its target written, also a target that is still missing.
std::optional<std::string> settingsWritePath() {
  TRACE_LINE();
  return linkTarget(settingsFilePath());
}

bool writesKey(SettingsWrite write, bool windowKnown) {
  switch (write) {
    case SettingsWrite::Always: return true;
    case SettingsWrite::WithPaths: return appSettings.SavePaths != 0 || appSettings.about == 0;
    case SettingsWrite::WithWindow: return windowKnown && appSettings.SaveWinSetting != 0;
  }
  return false;
}

// What the file gets: the database path in full, and the window as it stands now (the
// settings record keeps the place the window started with).
AppSettings valuesToWrite(const std::optional<WindowGeometry>& window) {
  AppSettings values = appSettings;
  values.db_path += base::appState.databaseFileName;
  if (window) {
    values.WinX = window->x;
    values.WinY = window->y;
    values.WinWidth = window->width;
    values.WinHight = window->height;
    values.Splitter = window->splitter;
  }
  return values;
}

void fillSettingsDocument(SettingsDocument& document, bool created) {
  TRACE_LINE();
  const std::optional<WindowGeometry> window =
      windowGeometrySource ? windowGeometrySource() : std::optional<WindowGeometry>();
  const AppSettings values = valuesToWrite(window);
  for (const SettingsKey& entry : settingsKeys()) {
    if (created && entry.commentBefore) addSettingsComment(document, entry.commentBefore);
    if (writesKey(entry.write, window.has_value())) writeKey(document, entry, values);
  }
}

void reportSaveFailure() { base::showMessage(base::messageTitle, "*.ini-file couldn't be updatet!"); }

std::string shippedSettingsPath() { return base::appState.programFolder + settingsFileName; }

// The program folder's settings as the user's copy holds them; nothing while the
// settings stay beside the program.
std::optional<SettingsDocument> shippedSettingsForUser() {
  TRACE_LINE();
  if (settingsFilePath() == shippedSettingsPath()) return std::nullopt;
  if (!base::isRegularFile(shippedSettingsPath())) return std::nullopt;
  const std::optional<std::string> bytes = readFileBytes(shippedSettingsPath());
  if (!bytes) return std::nullopt;
  return userCopyOfSettings(parseSettingsBytes(*bytes), base::appState.programFolder);
}

// A file we may not read still counts as present: every key takes its default.
std::optional<SettingsDocument> readSettingsDocument() {
  TRACE_LINE();
  const std::string path = settingsFilePath();
  if (base::isRegularFile(path)) return parseSettingsBytes(readFileBytes(path).value_or(std::string()));
  return shippedSettingsForUser();
}

// Anything in the copy's place, a dangling link too, is the user's and stays.
void copyShippedSettingsForUser() {
  TRACE_LINE();
  const std::string path = settingsFilePath();
  struct stat info;
  if (lstat(path.c_str(), &info) == 0) return;
  const std::optional<SettingsDocument> copy = shippedSettingsForUser();
  if (!copy) return;
  g_mkdir_with_parents(base::folderPart(path).c_str(), 0700);
  replaceFileContents(path, formatSettingsDocument(*copy), nullptr);
}

std::string chooseDatabaseFile() {
  TRACE_LINE();
  return base::chooseFile("Choose database '" + base::appState.databaseFileName + "' ...",
                          base::appState.databaseFileName, "XML files (*.xml)", "*.xml");
}

}  // namespace

void useDatabaseFile(const std::string& path) {
  base::appState.databasePath = path;
  base::appState.databaseFileName = base::fileNamePart(path);
  appSettings.db_path = base::folderPart(path);
}

std::string settingsFilePath() { return settingsFileFor(base::appState.programFolder); }

void setScreenLimits(ScreenLimits limits) { screenLimits = limits; }

void setCodeFontLoader(CodeFontLoader loader) { codeFontLoader = std::move(loader); }

void setWindowGeometrySource(WindowGeometrySource source) { windowGeometrySource = std::move(source); }

bool LoadSettings() {
  TRACE_LINE();
  const std::string previousFontName = appSettings.FontName;
  const std::int64_t previousFontSize = appSettings.FontSize;
  const std::optional<SettingsDocument> document = readSettingsDocument();
  if (!document) return false;
  readAllKeys(*document);
  appSettings.FontSize = std::clamp<std::int64_t>(appSettings.FontSize, 6, 24);
  updateCodeFont(previousFontName, previousFontSize);
  applyEditorMenuText();
  if (appSettings.WinX < -1) appSettings.WinX = 0;
  return true;
}

void SaveSettings() {
  TRACE_LINE();
  const std::optional<std::string> target = settingsWritePath();
  if (!target) {
    reportSaveFailure();
    return;
  }
  const std::string& path = *target;
  struct stat info;
  const bool exists = stat(path.c_str(), &info) == 0;
  // A folder or device in the file's place is never replaced.
  if (exists && !S_ISREG(info.st_mode)) {
    reportSaveFailure();
    return;
  }
  // The user made the file read-only: it keeps its content, without a word.
  if (exists && !mayRewriteFile(path, info)) return;
  SettingsDocument document;
  if (exists) {
    // Rewriting a file we could not read would lose everything we do not know.
    const std::optional<std::string> bytes = readFileBytes(path);
    if (!bytes) {
      reportSaveFailure();
      return;
    }
    document = parseSettingsBytes(*bytes);
  }
  fillSettingsDocument(document, !exists);
  TRACE_LINE();
  if (!replaceFileContents(path, formatSettingsDocument(document), exists ? &info : nullptr)) {
    reportSaveFailure();
  }
}

void LocateDatabase() {
  TRACE_LINE();
  copyShippedSettingsForUser();
  if (!LoadSettings()) {
    const std::string chosen = chooseDatabaseFile();
    base::appState.databasePath = chosen;
    if (chosen.empty()) return;
    useDatabaseFile(chosen);
    SaveSettings();
    return;
  }
  // db_path still holds the full path read from the file.
  const std::string stored = appSettings.db_path;
  if (base::isRegularFile(stored)) {
    useDatabaseFile(stored);
    return;
  }
  if (base::isDirectory(stored)) {
    base::appState.databasePath = stored + base::appState.databaseFileName;
  } else {
    useDatabaseFile(chooseDatabaseFile());
  }
  SaveSettings();
}

namespace {
std::function<void()> editorMenuTextHandler;
}

void setEditorMenuTextHandler(std::function<void()> handler) { editorMenuTextHandler = std::move(handler); }

void applyEditorMenuText() {
  if (editorMenuTextHandler) editorMenuTextHandler();
}

}  // namespace config
