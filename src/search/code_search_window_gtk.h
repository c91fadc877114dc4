// The code search window: a field, the list of hits and how many there are.
#pragma once

#include <cstddef>

#include <gtk/gtk.h>

#include "base/control_numbers.h"
#include "base/window_kit_gtk.h"

namespace search {

struct CodeSearchWindow : base::NumberedWindow<base::CodeSearchControlCount> {
  GtkListStore* hits = nullptr;
};

extern CodeSearchWindow codeSearchWindow;

// At most this many hits are listed.
constexpr std::size_t listedHitLimit = 1000;

// Shows the window (built on first use) with the keyboard focus in its field, which
// keeps its text while the program runs, and searches.
void openCodeSearchWindow();
void hideCodeSearchWindow();
// Lists the hits of the field's text.
void searchCodeFromField();

struct ChosenCodeHit {
  int row = -1;  // the topic's tree row; -1: no hit
  int line = 0;  // the matching line of its code, from 0
};
// The selected hit, or the first when none is selected.
ChosenCodeHit chosenCodeHit();

void destroyCodeSearchWindow();

}  // namespace search
