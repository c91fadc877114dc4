// Puts the watch cursor over the main window, child widgets included.
#include "app/busy_cursor_gtk.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include "app/main_window_gtk.h"

namespace app {
namespace {

// The toolkit puts on the cursor of whichever widget it last saw under the pointer,
// and sees nothing while the loop is held. So a window of the X server's own, laid
// over the whole main window, carries the watch: the server shows it at once.
GdkWindow* busyCover = nullptr;

GdkWindow* newBusyCover(GdkWindow* parent) {
  GdkWindowAttr attributes = {};
  attributes.wclass = GDK_INPUT_ONLY;
  attributes.window_type = GDK_WINDOW_CHILD;
  gdk_drawable_get_size(parent, &attributes.width, &attributes.height);
  GdkWindow* cover = gdk_window_new(parent, &attributes, 0);
  gdk_window_ensure_native(cover);
  GdkCursor* watch = gdk_cursor_new_for_display(gdk_drawable_get_display(parent), GDK_WATCH);
  XDefineCursor(GDK_WINDOW_XDISPLAY(cover), GDK_WINDOW_XID(cover), gdk_x11_cursor_get_xcursor(watch));
  gdk_cursor_unref(watch);
  gdk_window_show(cover);
  return cover;
}

}  // namespace

void showBusyCursor(bool busy) {
  if (busyCover) gdk_window_destroy(busyCover);
  busyCover = nullptr;
  GdkWindow* window = base::mainWindow.window ? gtk_widget_get_window(base::mainWindow.window) : nullptr;
  if (!window) return;
  if (busy) busyCover = newBusyCover(window);
  // The loop does not run while the program is busy: the X server must see the change now.
  gdk_display_sync(gdk_drawable_get_display(window));
}

}  // namespace app
