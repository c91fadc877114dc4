// The admin menu and the info menu; their items post menu events by number.
#include "app/app_state.h"
#include "app/event_queue.h"
#include "app/main_window_gtk.h"
#include "services/external_programs.h"

namespace app {
namespace {

struct MenuEntry {
  int number;  // 0 = separator
  const char* text;
};

const MenuEntry adminEntries[] = {
    {1, "Export WebPage"},      {2, "Export Posting All"},        {3, "Export Posting News"},
    {4, "Export Filelist"},     {5, "Debug doubles db-entries"},  {0, nullptr},
    {6, "edit ViewerHelp"},     {0, nullptr},                     {7, "Copy code-path to clipboard"},
};

const MenuEntry infoEntries[] = {
    {9, "Über Linux ZN-ZID-Idavode-Ruriva ..."},
    {10, "Über Datenbank ..."},
    {11, "Auf Updates prüfen ..."},
    {0, nullptr},
    {12, "Mit Standard-App öffnen"},
};

void onMenuItemActivate(GtkMenuItem*, gpointer number) {
  postMenuEvent(MainWindowNo, GPOINTER_TO_INT(number));
}

template <size_t N>
GtkWidget* buildMenu(const MenuEntry (&entries)[N], GtkWidget** items) {
  GtkWidget* menu = gtk_menu_new();
  for (const MenuEntry& entry : entries) {
    GtkWidget* item = entry.number ? gtk_menu_item_new_with_label(entry.text) : gtk_separator_menu_item_new();
    if (entry.number) {
      g_signal_connect(item, "activate", G_CALLBACK(onMenuItemActivate), GINT_TO_POINTER(entry.number));
      if (items) items[entry.number] = item;
    }
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
  }
  gtk_widget_show_all(menu);
  g_object_ref_sink(menu);
  return menu;
}

}  // namespace

GtkWidget* infoMenuItems[13] = {};

void createPopupMenus() {
  TRACE_LINE();
  mainWindow.adminMenu = buildMenu(adminEntries, nullptr);
  mainWindow.infoMenu = buildMenu(infoEntries, infoMenuItems);
  mainWindow.openCodeMenuItem = infoMenuItems[12];
}

void showEditorOnOpenCodeEntry() {
  const std::string text = services::editorMenuText();
  if (!text.empty() && infoMenuItems[12]) gtk_menu_item_set_label(GTK_MENU_ITEM(infoMenuItems[12]), text.c_str());
}

}  // namespace app
