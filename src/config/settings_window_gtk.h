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

}  // namespace config
