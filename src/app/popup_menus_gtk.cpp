// The admin menu and the info menu; their items post menu events by number.
#include <string>

#include "app/main_window_gtk.h"
#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/trace.h"
#include "config/interface_texts.h"
#include "services/external_programs.h"

namespace app {
namespace {

struct MenuEntry {
  int item;          // 0: a separator
  const char* text;  // nullptr: the item's built-in interface text
};

const MenuEntry adminEntries[] = {
    {base::ExportWebPageMenuItem, "Export WebPage"},
    {base::ExportPostingAllMenuItem, "Export Posting All"},
    {base::ExportPostingNewsMenuItem, "Export Posting News"},
    {base::ExportFileListMenuItem, "Export Filelist"},
    {base::DuplicatesReportMenuItem, "Debug doubles db-entries"},
    {0, nullptr},
    {base::EditHelpFileMenuItem, "edit ViewerHelp"},
    {0, nullptr},
    {base::CopyCodePathMenuItem, "Copy code-path to clipboard"},
};

const MenuEntry infoEntries[] = {
    {base::AboutProgramMenuItem, nullptr}, {base::AboutDatabaseMenuItem, nullptr},
    {base::UpdateCheckMenuItem, nullptr},  {0, nullptr},
    {base::OpenCodeMenuItem, nullptr},
};

void onMenuItemActivate(GtkMenuItem*, gpointer item) {
  base::postMenuEvent(base::MainWindowNo, GPOINTER_TO_INT(item));
}

GtkWidget* newMenuItem(const MenuEntry& entry) {
  const std::string text =
      entry.text ? entry.text : config::builtInText(config::TextPlace::InfoMenu, entry.item);
  GtkWidget* item = gtk_menu_item_new_with_label(text.c_str());
  g_signal_connect(item, "activate", G_CALLBACK(onMenuItemActivate), GINT_TO_POINTER(entry.item));
  popupMenuItems[entry.item] = item;
  return item;
}

template <size_t N>
GtkWidget* buildMenu(const MenuEntry (&entries)[N]) {
  GtkWidget* menu = gtk_menu_new();
  for (const MenuEntry& entry : entries) {
    GtkWidget* item = entry.item ? newMenuItem(entry) : gtk_separator_menu_item_new();
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
  }
  gtk_widget_show_all(menu);
  g_object_ref_sink(menu);
  return menu;
}

}  // namespace

GtkWidget* popupMenuItems[base::MenuItemCount] = {};

void createPopupMenus() {
  TRACE_LINE();
  base::mainWindow.adminMenu = buildMenu(adminEntries);
  base::mainWindow.infoMenu = buildMenu(infoEntries);
}

void showEditorOnOpenCodeEntry() {
  const std::string text = services::editorMenuText();
  if (!text.empty() && popupMenuItems[base::OpenCodeMenuItem])
    gtk_menu_item_set_label(GTK_MENU_ITEM(popupMenuItems[base::OpenCodeMenuItem]), text.c_str());
}

}  // namespace app
