// The user's settings record; each field is named like its key in the settings file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The defaults are those of the key table below.
struct AppSettings {
  std::string Lib_path;
  std::string db_path;
  std::string FontName;
  std::int64_t about;
  std::int64_t Language;
  std::int64_t SearchHint;
  std::int64_t SearchMode;
  std::int64_t CodeMarks;
  std::int64_t FontSize;
  std::int64_t SavePaths;
  std::int64_t SourceInTitle;
  std::int64_t SaveWinSetting;
  std::int64_t DyeingNews;
  std::string CodeEditorPath;
  std::int64_t WinX;
  std::int64_t WinY;
  std::int64_t WinWidth;
  std::int64_t WinHight;
  std::int64_t Splitter;
};

extern AppSettings appSettings;

// When saving writes a key: always, when the paths are kept (SavePaths is not 0 or
// about is 0), or when the main window's place is kept (SaveWinSetting is not 0).
enum class SettingsWrite { Always, WithPaths, WithWindow };
// What reading a file without the key gives: the field's current value, its default, or "".
enum class SettingsMissing { KeepsValue, TakesDefault, TakesEmpty };

// One key of the settings file and the field that holds it; exactly one member pointer is set.
struct SettingsKey {
  const char* key;
  std::string AppSettings::*text;
  std::int64_t AppSettings::*number;
  const char* textDefault;  // nullptr: the program folder
  std::int64_t numberDefault;
  SettingsWrite write;
  SettingsMissing missing;
  const char* commentBefore;  // what a newly created file holds in the line before the key
};

// Every key, in the order in which the file is read and written.
const std::vector<SettingsKey>& settingsKeys();

// What the user sees or copies of the paths in use: absolute, resolved against the
// program folder (an empty library folder is the program folder itself). The
// settings keep what they hold.
std::string absoluteLibraryFolder();
std::string absoluteDatabasePath();
// The library folder followed by the database's file value without its leading "/".
std::string absoluteCodeFilePath(const std::string& file);

// The defaults, with both paths set to the program folder.
AppSettings defaultAppSettings(const std::string& programFolder);
void resetAppSettings(const std::string& programFolder);
