// Marks keywords, constants, procedures, strings, comments and topic links in the code view.
#pragma once

#include <gtk/gtk.h>

namespace viewer {

// Highlights the text now in the view, as the CodeMarks setting asks: tags the text
// pass by pass, repainting between the passes, and turns every topic link comment
// into a link label that selects the named topic.
void highlightCodeView(GtkTextView* view);

}  // namespace viewer
