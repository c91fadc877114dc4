// Owner of the settings record.
#include "config/app_settings.h"

#include "app/app_state.h"

AppSettings appSettings;

void resetAppSettings(const std::string& programFolder) {
  TRACE_LINE();
  appSettings = AppSettings();
  appSettings.Lib_path = programFolder;
  appSettings.db_path = programFolder;
}
