// Keeps texts inside the fixed boxes of the windows, whatever the language and font.
#pragma once

#include <gtk/gtk.h>

namespace base {

// For a label, a button with a text or a check box of fixed size: a text wider than
// its box is drawn smaller (not below 7 pt), and only if it still does not fit, cut
// with an ellipsis, the whole text then its tooltip. Follows every later change of
// the text, also a new label that the button makes for a new text.
void keepTextInside(GtkWidget* carrier);

// The same for the items of a drop-down list shown by the text cell.
void keepListItemsInside(GtkWidget* list, GtkCellRenderer* textCell);

}  // namespace base
