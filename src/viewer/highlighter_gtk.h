// Marks keywords, constants, procedures, strings, comments and topic links in the code view.
#pragma once

#include <gtk/gtk.h>

namespace viewer {

// Highlights the text now in the view, as the CodeMarks setting asks.
void highlightCodeView(GtkTextView* view);

}  // namespace viewer
