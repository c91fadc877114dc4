// The user's settings record; each field is named like its key in the settings file.
#pragma once

#include <cstdint>
#include <string>

struct AppSettings {
  std::string Lib_path;
  std::string db_path;
  std::string FontName = "Monospace";
  std::int64_t about = 0;
  std::int64_t Language = 0;
  std::int64_t SearchHint = 0;
  std::int64_t SearchMode = 0;
  std::int64_t CodeMarks = 0;
  std::int64_t FontSize = 10;
  std::int64_t SavePaths = 1;
  std::int64_t SourceInTitle = 1;
  std::int64_t SaveWinSetting = 0;
  std::int64_t DyeingNews = 1;
  std::string CodeEditorPath;
  std::int64_t WinX = -1;
  std::int64_t WinY = -1;
  std::int64_t WinWidth = 800;
  std::int64_t WinHight = 600;
  std::int64_t Splitter = 345;
};

extern AppSettings appSettings;

// The defaults, with both paths set to the program folder.
void resetAppSettings(const std::string& programFolder);
