// The find bar below the code view: a field, the count "n / m", two arrows and a close
// button. Every occurrence of the field's text in the shown code gets a background of
// its own, which leaves the highlighter's colours and weights as they are.
#pragma once

#include <gtk/gtk.h>

#include "base/control_numbers.h"

namespace search {

struct FindBar {
  GtkWidget* bar = nullptr;  // the row of controls; hidden while the bar is closed
  GtkWidget* control[base::FindBarControlEnd - base::FindBarFirstControl] = {};

  // The control of that number (FindLabelControl ...); nullptr for any other number.
  GtkWidget* at(int number) const {
    const int index = number - base::FindBarFirstControl;
    return index >= 0 && index < base::FindBarControlEnd - base::FindBarFirstControl ? control[index]
                                                                                     : nullptr;
  }
};

extern FindBar findBar;

constexpr int findBarHeight = 30;

// Builds the bar, hidden, with its built-in German texts, for the main window's code
// view; the caller places the returned row below the view.
GtkWidget* createFindBar();
// Forgets the bar once its window is gone.
void forgetFindBar();

bool findBarIsOpen();
// Whether the keyboard focus of the main window is in the bar.
bool findBarHasFocus();

// Shows the bar with the focus in its field, the text selected, and finds the text again.
void openFindBar();
// Hides the bar, takes the highlighting away and gives the focus back where it was
// when the bar opened.
void closeFindBar();

// Finds the field's text anew: every occurrence highlighted, the first one at or after
// the top of the view made the current one and scrolled into sight.
void findInShownCode();
// Makes the next (+1) or previous (-1) occurrence the current one, wrapping around.
void stepFoundOccurrence(int direction);

// How many occurrences the last search found.
int foundOccurrenceCount();

}  // namespace search
