// Searching the topic tree as the user types, and the hints of a miss.
#pragma once

#include <gtk/gtk.h>

#include "search/topic_search.h"

namespace search {

// The shake's distance from the window's place, in pixels.
constexpr int shakeAmplitude = 5;

// Searches the tree for the search field's text; an empty text searches nothing.
// A hit selects the row and posts the tree's change event; a miss clears the
// selection and gives the hint. A miss found while typing, with the cursor at the
// end, also takes characters back from the end, with that one hint, until the rest
// matches (then shown as a hit) or the field is empty.
void searchTopics(SearchStart start);

// Folds the rows' searched texts on a thread of their own, after a change of the
// rows, the search scope or the language, so that the first keystroke finds them
// ready. Does nothing while the texts are kept ready or being folded already.
void foldRowsBeforehand();

// The hints of a miss. The shake moves the window sideways by the amplitude and
// back, twice, 320 ms in all; shakeAndFlash colours the widget meanwhile.
void shakeWindow(GtkWidget* window, int amplitude);
void shakeAndFlash(GtkWidget* window, GtkWidget* widget, int amplitude);
// The hint that SearchHint chooses: 1 shake, 2 flash of the search field, any
// other value both.
void giveMissHint();

}  // namespace search
