// Turns the main window's toolkit signals into queued events.
#pragma once

namespace app {

void connectMainWindowSignals();
void addMainShortcuts();
// Accepts files dropped on the code view and queues them as one event.
void connectCodeViewDrop();

// Shortcut key to menu-item number of the main window.
enum MainMenuItem {
  ReturnMenuItem = 13,
  EscapeMenuItem = 14,
  HelpKeyMenuItem = 15,
  FindNextMenuItem = 16,
  LineWrapMenuItem = 17,
  LanguageToggleMenuItem = 18,
  GermanMenuItem = 19,
  EnglishMenuItem = 20,
  GermanAltMenuItem = 21,
  FrenchKeyMenuItem = 22
};

}  // namespace app
