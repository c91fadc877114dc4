// Shared toolkit helpers of the windows: numbered controls, colours, the close button and
// Escape of a window, utility windows and titled frames.
#include "base/window_kit_gtk.h"

#include <gdk/gdkkeysyms.h>

#include "base/control_numbers.h"
#include "base/event_queue.h"
#include "base/fonts_gtk.h"

// Last: Xlib's macros (None among them) would break the headers above.
#include <gdk/gdkx.h>

namespace base {
namespace {

gboolean onWindowDelete(GtkWidget*, GdkEvent*, gpointer windowNumber) {
  Event event;
  event.kind = EventKind::Close;
  event.window = GPOINTER_TO_INT(windowNumber);
  postEvent(event);
  return TRUE;
}

gboolean onWindowEscape(GtkAccelGroup*, GObject*, guint, GdkModifierType, gpointer windowNumber) {
  postMenuEvent(GPOINTER_TO_INT(windowNumber), EscapeMenuItem);
  return TRUE;
}

// The window is on the screen now, so the focus request cannot be lost. A fresh server
// time makes it the newest request, one the window manager honours.
gboolean onWindowMapped(GtkWidget* window, GdkEvent*, gpointer) {
  GdkWindow* drawable = gtk_widget_get_window(window);
  if (drawable) gdk_window_focus(drawable, gdk_x11_get_server_time(drawable));
  return FALSE;
}

}  // namespace

void takeFocusWhenShown(GtkWidget* window) {
  g_signal_connect(window, "map-event", G_CALLBACK(onWindowMapped), nullptr);
}

GdkColor toGdkColor(Colour colour) {
  GdkColor result;
  result.pixel = 0;
  result.red = static_cast<guint16>((colour & 0xFF) * 257);
  result.green = static_cast<guint16>(((colour >> 8) & 0xFF) * 257);
  result.blue = static_cast<guint16>(((colour >> 16) & 0xFF) * 257);
  return result;
}

void connectCloseAndEscape(GtkWidget* window, int windowNumber) {
  g_signal_connect(window, "delete-event", G_CALLBACK(onWindowDelete), GINT_TO_POINTER(windowNumber));
  GtkAccelGroup* keys = gtk_accel_group_new();
  gtk_accel_group_connect(keys, GDK_Escape, GdkModifierType(0), GtkAccelFlags(0),
                          g_cclosure_new(G_CALLBACK(onWindowEscape), GINT_TO_POINTER(windowNumber), nullptr));
  gtk_window_add_accel_group(GTK_WINDOW(window), keys);
  g_object_unref(keys);
}

GtkWidget* newUtilityWindow(const char* title, int width, int height, GtkWidget** controls) {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), title);
  gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_UTILITY);
  gtk_widget_set_size_request(window, width, height);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  takeFocusWhenShown(window);
  *controls = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(window), *controls);
  return window;
}

GtkWidget* newTitledFrame(const std::string& title) {
  GtkWidget* frame = gtk_frame_new(nullptr);
  GtkWidget* label = gtk_label_new(title.c_str());
  if (boldUiFont) gtk_widget_modify_font(label, boldUiFont);
  gtk_frame_set_label_widget(GTK_FRAME(frame), label);
  return frame;
}

GtkWidget* newScrolled(GtkWidget* child) {
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scrolled), GTK_SHADOW_IN);
  gtk_container_add(GTK_CONTAINER(scrolled), child);
  return scrolled;
}

}  // namespace base
