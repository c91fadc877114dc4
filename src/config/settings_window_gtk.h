// The settings window: paths, language, font, search and display options.
#pragma once

#include <gtk/gtk.h>

namespace config {

struct SettingsWindow {
  GtkWidget* window = nullptr;
};
extern SettingsWindow settingsWindow;

void createSettingsWindow();
// Refills the path and font fields and shows the window.
void openSettingsWindow();
void hideSettingsWindow();

// The commands of the window's controls.
void chooseDatabaseFile();
void chooseLibraryFolder();
void chooseCodeFont();
// Takes the paths for this run and reloads the database.
void applyPathsAndReload();
// Takes every setting, applies it and writes the settings file.
void saveSettingsFromDialog();

enum SettingsControl {
  DatabaseChooserControl = 20,
  LibraryChooserControl = 22,
  ApplyControl = 24,
  FontButtonControl = 30,
  CancelControl = 43,
  SaveControl = 44
};

}  // namespace config
