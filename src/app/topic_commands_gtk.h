// The commands that show a topic's code: the viewer shows it, then the command brings the
// title, the property labels, the information window and the history in step.
#pragma once

#include <string>

#include "base/event_queue.h"
#include "viewer/code_file.h"
#include "viewer/topic_trail.h"

namespace app {

// What the file the code view loaded last declares; written by the commands below only.
extern viewer::CodeFileProperties codeFileProperties;
// The places shown in this session, for back and forward; written by the commands below only.
extern viewer::TopicTrail topicTrail;

// Tree 11 reported a click or a new selection.
void showChosenTopic(base::EventType type);
// History list 16 chose an entry; the list keeps its order.
void showChosenHistoryEntry();
// A hit of the code search was chosen: its topic is shown as a click in the tree shows
// it, and its line is selected in the code view.
void showCodeSearchHit();
// Files dropped on the code view: the first one is shown as a file from outside the library.
void openDroppedFile(const std::string& paths);
// Back (-1) or forward (+1) to the place shown before or after the current one, shown as a
// history entry or a dropped file is; nothing at either end.
void stepThroughShownPlaces(int direction);
// Loads the selected topic's code again (a new marking), whether it was shown or not.
void reloadSelectedTopicCode();
// The view, the description, the title, the file fields and the history show nothing,
// and no place is left to step back to.
void forgetShownTopic();

}  // namespace app
