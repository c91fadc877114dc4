// Chooses the settings file: the one beside the program, or the user's own copy of it.
#include "config/settings_location.h"

#include "config/file_replace.h"

#include <sys/stat.h>

#include <glib.h>

namespace config {
namespace {

constexpr const char* settingsFolderName = "zn-api-viewer/";

bool mayWrite(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && mayRewriteFile(path, info);
}

bool isPackageManagersFolder(const std::string& folder) {
  return folder.rfind("/usr/", 0) == 0 && folder.rfind("/usr/local/", 0) != 0;
}

std::string withTrailingSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string homeFolder() {
  const char* home = g_getenv("HOME");
  return home && *home ? home : g_get_home_dir();
}

}  // namespace

const char* const settingsFileName = "DizerEZ VAV-AruRuvove.ini";

bool keepsSettingsBesideProgram(const std::string& programFolder) {
  if (isPackageManagersFolder(programFolder)) return false;
  // Without a known folder the working directory holds the file, as it always did.
  if (programFolder.empty()) return true;
  return mayWrite(programFolder) || mayWrite(programFolder + settingsFileName);
}

std::string userSettingsFolder() {
  // A relative XDG_CONFIG_HOME is invalid and is ignored, as the XDG rules say.
  const char* configHome = g_getenv("XDG_CONFIG_HOME");
  const std::string base =
      configHome && configHome[0] == '/' ? configHome : withTrailingSlash(homeFolder()) + ".config";
  return withTrailingSlash(base) + settingsFolderName;
}

std::string settingsFileFor(const std::string& programFolder) {
  if (keepsSettingsBesideProgram(programFolder)) return programFolder + settingsFileName;
  return userSettingsFolder() + settingsFileName;
}

SettingsDocument userCopyOfSettings(SettingsDocument document, const std::string& programFolder) {
  for (const char* key : {"db-path", "Lib-path"}) {
    const SettingsLine* line = findSettingsKey(document, key);
    // An empty library path stands for the program folder too.
    if (line && !g_path_is_absolute(line->text.c_str()))
      writeSettingsText(document, key, programFolder + line->text);
  }
  return document;
}

}  // namespace config
