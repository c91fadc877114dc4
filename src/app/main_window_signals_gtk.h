// Turns the main window's toolkit signals into queued events.
#pragma once

namespace app {

void connectMainWindowSignals();
void addMainShortcuts();
// Accepts files dropped on the code view and queues them as one event.
void connectCodeViewDrop();
// Hands a selection in the code view to a middle click as the view shows it.
void connectCodeViewPrimarySelection();

}  // namespace app
