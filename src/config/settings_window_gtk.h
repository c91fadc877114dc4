// The settings window: paths, language, font, search and display options.
#pragma once

#include <string>

#include <gtk/gtk.h>

namespace config {

// The controls by the numbers their events carry (window 1).
enum SettingsControl {
  DatabaseLabelControl = 17,
  LibraryLabelControl = 18,
  DatabasePathControl = 19,
  DatabaseChooserControl = 20,
  LibraryPathControl = 21,
  LibraryChooserControl = 22,
  KeepPathsControl = 23,
  ApplyControl = 24,
  LanguageLabelControl = 25,
  LanguageListControl = 26,
  FontLabelControl = 27,
  FontNameControl = 28,
  FontSizeControl = 29,
  FontButtonControl = 30,
  SearchScopeLabelControl = 31,
  SearchScopeListControl = 32,
  SearchHintLabelControl = 33,
  SearchHintListControl = 34,
  TitleContentLabelControl = 35,
  TitleContentListControl = 36,
  CodeMarkingLabelControl = 37,
  CodeMarkingListControl = 38,
  NewTopicsControl = 39,
  WindowGeometryControl = 40,
  PathsFrameControl = 41,
  ProgramFrameControl = 42,
  CancelControl = 43,
  SaveControl = 44,
  SettingsControlCount = 45
};

struct SettingsWindow {
  GtkWidget* window = nullptr;
  // The widget that carries each control's text, items, state and tooltip
  // (for the two bordered font fields: the label inside the border).
  GtkWidget* control[SettingsControlCount] = {};
};
extern SettingsWindow settingsWindow;

// Created once at start-up, hidden, with its content taken from appSettings.
void createSettingsWindow();
void destroySettingsWindow();
// Refills the path and font fields and shows the window.
void openSettingsWindow();
void hideSettingsWindow();

// What the controls hold: the text of a path or font field, the selected item of
// a list (-1 none), the state of a check box.
std::string settingsFieldText(int control);
void setSettingsFieldText(int control, const std::string& text);
int settingsListIndex(int control);
bool settingsCheckBoxState(int control);

// The commands of the window's controls.
void chooseDatabaseFile();
void chooseLibraryFolder();
void chooseCodeFont();
// Takes the paths for this run and reloads the database.
void applyPathsAndReload();
// Takes every setting, applies it and writes the settings file.
void saveSettingsFromDialog();

}  // namespace config
