// The settings window: paths, language, font, search and display options.
#pragma once

#include <string>

#include <gtk/gtk.h>

#include "base/control_numbers.h"
#include "base/window_kit_gtk.h"

namespace config {

// Each control is the widget that carries its text, items, state and tooltip (for the
// two bordered font fields: the label inside the border).
using SettingsWindow = base::NumberedWindow<base::SettingsControlCount>;
extern SettingsWindow settingsWindow;

// Created once at start-up, hidden, with its content taken from appSettings.
void createSettingsWindow();
void destroySettingsWindow();
// Shows the window with every control holding the setting as it stands.
void openSettingsWindow();
void hideSettingsWindow();
// Cancel, Escape and the close button: hides the window and takes back every change
// made in it, so that no later Save stores one.
void cancelSettingsWindow();

// What the controls hold: the text of a path or font field, the selected item of
// a list (-1 none), the state of a check box.
std::string settingsFieldText(int control);
void setSettingsFieldText(int control, const std::string& text);
int settingsListIndex(int control);
bool settingsCheckBoxState(int control);

}  // namespace config
