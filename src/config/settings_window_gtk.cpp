// The settings window, created hidden at start-up.
#include "config/settings_window_gtk.h"

#include <gdk/gdkkeysyms.h>

#include "app/app_state.h"
#include "app/event_queue.h"
#include "app/main_window_gtk.h"

namespace config {

SettingsWindow settingsWindow;

namespace {

gboolean onSettingsDelete(GtkWidget*, GdkEvent*, gpointer) {
  app::Event event;
  event.kind = app::EventKind::Close;
  event.window = SettingsWindowNo;
  app::postEvent(event);
  return TRUE;
}

gboolean onSettingsEscape(GtkAccelGroup*, GObject*, guint, GdkModifierType, gpointer) {
  app::postMenuEvent(SettingsWindowNo, 14);
  return TRUE;
}

}  // namespace

void createSettingsWindow() {
  TRACE_LINE();
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  settingsWindow.window = window;
  gtk_window_set_title(GTK_WINDOW(window), "Linux ZN-ZID-Idavode-Ruriva - Settings");
  gtk_widget_set_size_request(window, 540, 486);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  if (app::mainWindow.window) gtk_window_set_transient_for(GTK_WINDOW(window), GTK_WINDOW(app::mainWindow.window));
  g_signal_connect(window, "delete-event", G_CALLBACK(onSettingsDelete), nullptr);
  GtkAccelGroup* keys = gtk_accel_group_new();
  gtk_accel_group_connect(keys, GDK_Escape, GdkModifierType(0), GtkAccelFlags(0),
                          g_cclosure_new(G_CALLBACK(onSettingsEscape), nullptr, nullptr));
  gtk_window_add_accel_group(GTK_WINDOW(window), keys);
}

void openSettingsWindow() {
  if (settingsWindow.window) gtk_window_present(GTK_WINDOW(settingsWindow.window));
}

void hideSettingsWindow() {
  if (settingsWindow.window) gtk_widget_hide(settingsWindow.window);
}

void chooseDatabaseFile() {}
void chooseLibraryFolder() {}
void chooseCodeFont() {}
void applyPathsAndReload() {}
void saveSettingsFromDialog() {}

}  // namespace config
