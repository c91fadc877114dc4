// The commands of the settings window's controls: the choosers, applying new paths
// for this run, and saving.
#pragma once

namespace app {

void chooseDatabaseFile();
void chooseLibraryFolder();
void chooseCodeFont();
// Takes the paths for this run and reloads the database.
void applyPathsAndReload();
// Takes every setting, applies it and writes the settings file.
void saveSettingsFromDialog();

}  // namespace app
