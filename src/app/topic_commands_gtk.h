// The commands that show a topic's code: the viewer shows it, then the command brings the
// title, the property labels, the information window and the history in step.
#pragma once

#include <string>

#include "base/event_queue.h"
#include "viewer/code_file.h"

namespace app {

// What the file the code view loaded last declares; written by the commands below only.
extern viewer::CodeFileProperties codeFileProperties;

// Tree 11 reported a click or a new selection.
void showChosenTopic(base::EventType type);
// History list 16 chose an entry; the list keeps its order.
void showChosenHistoryEntry();
// Files dropped on the code view: the first one is shown as a file from outside the library.
void openDroppedFile(const std::string& paths);
// Loads the selected topic's code again (a new marking), whether it was shown or not.
void reloadSelectedTopicCode();
// The view, the description, the title, the file fields and the history show nothing.
void forgetShownTopic();

}  // namespace app
