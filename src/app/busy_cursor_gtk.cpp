// Puts the watch cursor over the main window, child widgets included.
#include "app/busy_cursor_gtk.h"

#include <gtk/gtk.h>

#include "app/main_window_gtk.h"

namespace app {
namespace {

// The text views and entries set cursors of their own, which would hide one set on the
// toplevel: an input-only window laid over them all carries the watch instead.
GdkWindow* busyCover = nullptr;

GdkWindow* newBusyCover(GdkWindow* parent) {
  GdkWindowAttr attributes = {};
  attributes.wclass = GDK_INPUT_ONLY;
  attributes.window_type = GDK_WINDOW_CHILD;
  gdk_drawable_get_size(parent, &attributes.width, &attributes.height);
  attributes.cursor = gdk_cursor_new_for_display(gdk_drawable_get_display(parent), GDK_WATCH);
  GdkWindow* cover = gdk_window_new(parent, &attributes, GDK_WA_CURSOR);
  gdk_cursor_unref(attributes.cursor);
  gdk_window_show(cover);
  return cover;
}

}  // namespace

void showBusyCursor(bool busy) {
  if (busyCover) gdk_window_destroy(busyCover);
  busyCover = nullptr;
  GdkWindow* window = mainWindow.window ? gtk_widget_get_window(mainWindow.window) : nullptr;
  if (!window) return;
  if (busy) busyCover = newBusyCover(window);
  // The loop does not run while the program is busy: the X server must see the change now.
  gdk_display_sync(gdk_drawable_get_display(window));
}

}  // namespace app
