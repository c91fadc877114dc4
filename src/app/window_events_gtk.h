// Shared toolkit helpers of the windows: colours, and the close button and Escape of a window.
#pragma once

#include <gtk/gtk.h>

#include "app/app_state.h"

namespace app {

GdkColor toGdkColor(Colour colour);

// The close button posts a close event and Escape posts menu event 14 for the
// window number; the window stays until the command table hides it.
void connectCloseAndEscape(GtkWidget* window, int windowNumber);

}  // namespace app
