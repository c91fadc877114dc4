// Owner of the settings record and of the table of its keys and defaults.
#include "config/app_settings.h"

#include "base/app_state.h"
#include "base/paths.h"
#include "base/trace.h"

namespace {

using Write = SettingsWrite;
using Missing = SettingsMissing;
using S = AppSettings;

// Key, text or number field, its default, when saving writes it, what a file without the
// key gives, and the comment a new file holds before it.
const std::vector<SettingsKey> keyTable = {
    {"db-path", &S::db_path, nullptr, nullptr, 0, Write::WithPaths, Missing::KeepsValue, "Viewer"},
    {"Lib-path", &S::Lib_path, nullptr, nullptr, 0, Write::WithPaths, Missing::TakesEmpty, nullptr},
    {"about", nullptr, &S::about, nullptr, 0, Write::Always, Missing::KeepsValue, nullptr},
    {"Language", nullptr, &S::Language, nullptr, 0, Write::Always, Missing::KeepsValue, "User settings"},
    {"SearchHint", nullptr, &S::SearchHint, nullptr, 0, Write::Always, Missing::KeepsValue, nullptr},
    {"SearchMode", nullptr, &S::SearchMode, nullptr, 0, Write::Always, Missing::KeepsValue, nullptr},
    {"CodeMarks", nullptr, &S::CodeMarks, nullptr, 0, Write::Always, Missing::KeepsValue, nullptr},
    {"FontName", &S::FontName, nullptr, "Monospace", 0, Write::Always, Missing::KeepsValue, nullptr},
    {"FontSize", nullptr, &S::FontSize, nullptr, 10, Write::Always, Missing::KeepsValue, nullptr},
    {"SavePaths", nullptr, &S::SavePaths, nullptr, 1, Write::Always, Missing::KeepsValue, nullptr},
    {"SourceInTitle", nullptr, &S::SourceInTitle, nullptr, 1, Write::Always, Missing::KeepsValue, nullptr},
    {"SaveWinSetting", nullptr, &S::SaveWinSetting, nullptr, 0, Write::Always, Missing::KeepsValue, nullptr},
    {"DyeingNews", nullptr, &S::DyeingNews, nullptr, 1, Write::Always, Missing::KeepsValue, nullptr},
    {"CodeEditorPath", &S::CodeEditorPath, nullptr, "", 0, Write::Always, Missing::KeepsValue, nullptr},
    {"WinX", nullptr, &S::WinX, nullptr, -1, Write::WithWindow, Missing::KeepsValue, "App settings"},
    {"WinY", nullptr, &S::WinY, nullptr, -1, Write::WithWindow, Missing::KeepsValue, nullptr},
    {"WinWidth", nullptr, &S::WinWidth, nullptr, 800, Write::WithWindow, Missing::KeepsValue, nullptr},
    {"WinHight", nullptr, &S::WinHight, nullptr, 600, Write::WithWindow, Missing::KeepsValue, nullptr},
    {"Splitter", nullptr, &S::Splitter, nullptr, 345, Write::WithWindow, Missing::TakesDefault, nullptr},
};

}  // namespace

AppSettings appSettings = defaultAppSettings(std::string());

const std::vector<SettingsKey>& settingsKeys() { return keyTable; }

AppSettings defaultAppSettings(const std::string& programFolder) {
  AppSettings defaults{};
  for (const SettingsKey& entry : keyTable) {
    if (entry.text) {
      defaults.*entry.text = entry.textDefault ? entry.textDefault : programFolder;
    } else {
      defaults.*entry.number = entry.numberDefault;
    }
  }
  return defaults;
}

void resetAppSettings(const std::string& programFolder) {
  TRACE_LINE();
  appSettings = defaultAppSettings(programFolder);
}

std::string absoluteLibraryFolder() {
  return base::absoluteIn(base::appState.programFolder, appSettings.Lib_path);
}

std::string absoluteDatabasePath() {
  return base::absoluteIn(base::appState.programFolder, base::appState.databasePath);
}

std::string absoluteCodeFilePath(const std::string& file) {
  return base::joinLibraryPath(absoluteLibraryFolder(), file);
}
