// Shared toolkit helpers of the windows: numbered controls, colours, the close button and
// Escape of a window, utility windows and titled frames.
#pragma once

#include <string>

#include <gtk/gtk.h>

#include "base/app_state.h"

namespace base {

// A window whose controls are kept by the numbers their events carry.
template <int ControlCount>
struct NumberedWindow {
  GtkWidget* window = nullptr;
  GtkWidget* control[ControlCount] = {};

  // The control of that number; nullptr for a number the window does not have.
  GtkWidget* at(int number) const { return number >= 0 && number < ControlCount ? control[number] : nullptr; }
};

GdkColor toGdkColor(Colour colour);

// The close button posts a close event and Escape posts the Escape menu event for
// the window number; the window stays until the command table hides it.
void connectCloseAndEscape(GtkWidget* window, int windowNumber);

// Gives the window the keyboard focus each time it appears. A window manager (openbox
// among them) may otherwise leave the focus in the window that had it, where Escape
// would end the program instead of closing the new window.
void takeFocusWhenShown(GtkWidget* window);

// A hidden, fixed-size utility window (it takes the focus when shown) centred on the screen, holding a fixed
// container for its controls (returned through `controls`).
GtkWidget* newUtilityWindow(const char* title, int width, int height, GtkWidget** controls);

// A frame whose title is set in the bold interface font.
GtkWidget* newTitledFrame(const std::string& title);

// The child in a sunken scrolled window whose scroll bars show only when needed.
GtkWidget* newScrolled(GtkWidget* child);

}  // namespace base
