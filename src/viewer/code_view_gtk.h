// Shows a snippet in the code view and keeps description, title and file fields in step.
#pragma once

#include <string>

#include "app/event_queue.h"
#include "config/display_language.h"
#include "database/topic_index.h"

namespace viewer {

// Loads a snippet into the code view: external 0 takes a File value of the
// database, 1 the LF-separated list of dropped files (only the first counts).
// Returns non-zero when the file was opened and shown.
int loadCodeFile(const std::string& path, int external);

// Shows the selected tree row; called for left clicks and selection changes.
void showSelectedTopic(app::EventType type);

void showDescription(const std::string& text);
// Gives the description the missing-file background, or the default one.
void setDescriptionAlarm(bool alarm);
void clearCodeView();

}  // namespace viewer
