// Loading and saving the settings record, and choosing the database at start-up.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace config {

// The settings file in use: beside the program, or the user's own copy when the
// program folder is shared (see settings_location.h).
std::string settingsFilePath();

// The size of the primary monitor (the one holding the screen point 0,0);
// 0 means unknown and sets no limit. Start-up fills it from the monitor list.
struct ScreenLimits {
  int primaryWidth = 0;
  int primaryHeight = 0;
};
void setScreenLimits(ScreenLimits limits);

// Re-creates the code font; false when the font cannot be made. Without a
// loader (no toolkit) every font counts as made.
using CodeFontLoader = std::function<bool(const std::string& name, std::int64_t size)>;
void setCodeFontLoader(CodeFontLoader loader);

// The main window's position, inner size and splitter position at the moment of saving.
struct WindowGeometry {
  std::int64_t x = 0;
  std::int64_t y = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::int64_t splitter = 0;
};
// Returns no value while there is no main window.
using WindowGeometrySource = std::function<std::optional<WindowGeometry>()>;
void setWindowGeometrySource(WindowGeometrySource source);

// Reads the settings file into appSettings and corrects the values; false when
// there is no settings file (no regular file of that name). A user whose own copy
// could not be made reads the program folder's settings as the copy would hold them.
bool LoadSettings();
// Writes appSettings into the settings file; a file that cannot be written is reported.
void SaveSettings();
// Reads the settings and settles databasePath, databaseFileName and db_path,
// asking the user for the database file when the stored path names nothing. At a
// user's first start with a shared program folder, the user's copy of the program
// folder's settings file is made first.
void LocateDatabase();
// Takes the database file at the path: sets databasePath, databaseFileName and db_path.
void useDatabaseFile(const std::string& path);

// Puts "Open code in " and the editor's name on the menu when the stored editor is usable.
// The toolkit layer installs what puts the text on the menu.
void applyEditorMenuText();
void setEditorMenuTextHandler(std::function<void()> handler);

}  // namespace config
