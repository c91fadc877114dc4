// Where the settings file lives: beside the program, or in the user's own
// configuration folder when the program folder is shared by every user.
#pragma once

#include <string>

#include "config/settings_file.h"

namespace config {

// The name of the settings file, beside the program and in the user's folder alike.
extern const char* const settingsFileName;

// Whether the settings stay beside the program: the folder or the settings file in
// it may be written. Root honours write bits that are all off, as for a settings
// file; a folder below /usr (but /usr/local) belongs to the package manager, which
// removes the program without knowing of files the program put there.
bool keepsSettingsBesideProgram(const std::string& programFolder);

// $XDG_CONFIG_HOME/zn-api-viewer/, by default ~/.config/zn-api-viewer/.
std::string userSettingsFolder();

// The settings file the program reads and writes with this program folder.
std::string settingsFileFor(const std::string& programFolder);

// The program folder's settings as the user's copy starts from them: a relative
// "db-path" or "Lib-path" is made to name the same place from anywhere.
SettingsDocument userCopyOfSettings(SettingsDocument document, const std::string& programFolder);

}  // namespace config
