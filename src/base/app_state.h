// The program-wide run-time state, shared by every module and never saved.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace base {

// 24-bit colour, red in the low byte: red + 256 * green + 65536 * blue.
using Colour = std::uint32_t;
constexpr Colour rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

enum WindowNumber {
  MainWindowNo = 0,
  SettingsWindowNo = 1,
  DatabaseInfoWindowNo = 2,
  UpdateWindowNo = 3,
  CodeSearchWindowNo = 4
};

// Each field that changes while the program runs names the one module that writes it.
struct AppState {
  // Fixed at start-up (resetAppState); nothing writes them later.
  std::string programFolder;
  std::string languageFileName = "DizerEZ API-LibLang.inf";
  std::string templatesFolder = "../../Templates/";
  std::string exportFolder = "../../Export/";
  std::string platformName = "Linux";
  std::string viewerGroupName = "ZID Idavode Ruriva";
  int firstCodeRow = 0;
  int historyLimit = 10;
  Colour codeViewBackground = rgb(255, 255, 255);
  Colour viewerGroupRowBackground = rgb(200, 200, 200);
  Colour rootRowBackground = rgb(127, 127, 127);
  Colour rootRowForeground = rgb(255, 255, 255);
  Colour groupRowBackground = rgb(232, 232, 232);
  Colour flashColour = rgb(224, 145, 131);
  Colour codeFlashColour = rgb(52, 180, 189);

  std::string databaseFileName = "ZN-LinuxAPI-Toc.xml";  // config/settings_store
  std::string databasePath;                              // config/settings_store
  int missingFileWarning = 1;                            // viewer/code_view_gtk
  std::string currentCodeFile;                           // app/topic_commands_gtk
  int zoomLevel = 3;                                     // app/main_window_actions_gtk
  int appliedZoomLevel = -1;                             // app/main_window_actions_gtk
  std::vector<int> historyRows;                          // app/main_window_actions_gtk
  int quitRequested = 0;                                 // app/dispatcher_gtk
  int helpRow = 0;                                       // database/topic_tree_gtk, at every build
  int groupCount = 0;                                    // database/topic_tree_gtk, counting the topics
  int codeTopicCount = 0;                                // database/topic_tree_gtk, counting the topics
};

extern AppState appState;

// Restores every field to its start value (start-up and tests).
void resetAppState(const std::string& programFolder);

}  // namespace base
