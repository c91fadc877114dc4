// Marks keywords, constants, procedures, strings, comments and topic links in the code view.
#pragma once

#include <gtk/gtk.h>

#include <string>

namespace viewer {

// Highlights the text now in the view, as the CodeMarks setting asks: tags the text
// pass by pass, repainting between the passes, and turns every topic link comment
// into a link label that selects the named topic.
void highlightCodeView(GtkTextView* view);

// Whether the lines below the view still wait for their tags, which they get as soon as
// the view has painted the topic or scrolls.
bool highlightingPending();

// The same for a text just put into the view, which holds no link labels yet: the
// text need not be read back from the view.
void highlightCodeView(GtkTextView* view, const std::string& text);

}  // namespace viewer
