// Shows a snippet in the code view and keeps description, title and file fields in step.
#pragma once

#include <string>

#include <gtk/gtk.h>

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
// Shows the selected row's description anew, in the display language (after a switch).
void showSelectedDescription();
// Shows the properties of the topic file just loaded in the file fields (and the
// administrator-mode labels).
void showCodeFileProperties(const std::string& file);

// The code view's text from start to end as the view shows it: each link label's
// title stands where its anchor is.
std::string shownCodeText(const GtkTextIter* start, const GtkTextIter* end);
std::string shownCodeText();

// Gives the code view, and every link label in it, the font.
void setCodeViewFont(const PangoFontDescription* font);

void showDescription(const std::string& text);
// Gives the description the missing-file background, or the default one.
void setDescriptionAlarm(bool alarm);
void clearCodeView();

}  // namespace viewer
