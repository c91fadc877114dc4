// Behaviours of the main window: zoom, flash, history, nodes, copy, line wrap, title.
#include <algorithm>

#include "app/app_state.h"
#include "app/event_queue.h"
#include "app/history.h"
#include "app/main_layout.h"
#include "app/main_window_gtk.h"
#include "app/paths.h"
#include "app/window_events_gtk.h"
#include "config/app_settings.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "services/process_launcher.h"
#include "viewer/code_view_gtk.h"

namespace app {
namespace {

void setBackground(GtkWidget* widget, const GdkColor* colour) {
  gtk_widget_modify_base(widget, GTK_STATE_NORMAL, colour);
  gtk_widget_modify_bg(widget, GTK_STATE_NORMAL, colour);
}

void applyZoomLevel() {
  TRACE_LINE();
  GtkWidget* code = mainWindow.gadget[CodeViewGadget];
  PangoContext* context = gtk_widget_get_pango_context(code);
  PangoFontDescription* font = pango_font_description_copy(pango_context_get_font_description(context));
  pango_font_description_set_size(
      font, zoomedFontSize(static_cast<long>(appSettings.FontSize), zoomFactors[appState.zoomLevel]));
  viewer::setCodeViewFont(font);
  pango_font_description_free(font);
  if (appState.zoomLevel == normalZoomLevel) services::startProgram("beep", "-f 100 -l 20", "");
  gtk_widget_queue_draw(code);
}

}  // namespace

gboolean onCodeViewScroll(GtkWidget*, GdkEventScroll* event, gpointer) {
  TRACE_LINE();
  if (event->type != GDK_SCROLL || !(event->state & GDK_CONTROL_MASK)) return FALSE;
  if (event->direction == GDK_SCROLL_DOWN) appState.zoomLevel = zoomLevelAfterStep(appState.zoomLevel, -1);
  if (event->direction == GDK_SCROLL_UP) appState.zoomLevel = zoomLevelAfterStep(appState.zoomLevel, +1);
  if (appState.zoomLevel != appState.appliedZoomLevel) applyZoomLevel();
  appState.appliedZoomLevel = appState.zoomLevel;
  return TRUE;
}

void flashWidget(GtkWidget* widget, bool codeColour) {
  TRACE_LINE();
  if (!widget) return;
  const GdkColor flash = toGdkColor(codeColour ? appState.codeFlashColour : appState.flashColour);
  setBackground(widget, &flash);
  gtk_widget_queue_draw(widget);
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  if (GdkWindow* window = gtk_widget_get_window(widget)) gdk_window_process_updates(window, TRUE);
  gdk_flush();
  g_usleep(200 * 1000);  // the flash is meant to hold the program for its 200 ms
  if (widget == mainWindow.gadget[CodeViewGadget]) {
    const GdkColor background = toGdkColor(appState.codeViewBackground);
    gtk_widget_modify_base(widget, GTK_STATE_NORMAL, &background);
    gtk_widget_modify_bg(widget, GTK_STATE_NORMAL, nullptr);
  } else {
    setBackground(widget, nullptr);
  }
  gtk_widget_queue_draw(widget);
}

void flashGadget(int gadgetNumber) {
  if (gadgetNumber < 0 || gadgetNumber >= MainGadgetCount) return;
  flashWidget(mainWindow.gadget[gadgetNumber], gadgetNumber == CodeViewGadget);
}

void recordHistory(int row) {
  TRACE_LINE();
  pushHistoryRow(appState.historyRows, row, appState.historyLimit);
  GtkComboBox* list = GTK_COMBO_BOX(mainWindow.gadget[HistoryListGadget]);
  ProgramChange guard;
  GtkListStore* model = GTK_LIST_STORE(gtk_combo_box_get_model(list));
  gtk_list_store_clear(model);
  for (int entryRow : appState.historyRows) {
    const std::string_view file = entryRow >= 0 && entryRow < static_cast<int>(database::indexEntries.size())
                                      ? database::indexEntries[entryRow].File
                                      : std::string_view();
    gtk_combo_box_append_text(list, paths::fileNamePart(file).c_str());
  }
  gtk_combo_box_set_active(list, 0);
}

void clearHistory() {
  appState.historyRows.clear();
  if (!mainWindow.gadget[HistoryListGadget]) return;
  ProgramChange guard;
  gtk_list_store_clear(
      GTK_LIST_STORE(gtk_combo_box_get_model(GTK_COMBO_BOX(mainWindow.gadget[HistoryListGadget]))));
}

int chosenHistoryRow() {
  const int index = gtk_combo_box_get_active(GTK_COMBO_BOX(mainWindow.gadget[HistoryListGadget]));
  if (index < 0 || index >= static_cast<int>(appState.historyRows.size())) return -1;
  return appState.historyRows[index];
}

void expandAll(bool open) { database::expandAllTopics(topicTreeView(), open); }

void toggleSelectedNode() {
  TRACE_LINE();
  GtkTreeView* tree = topicTreeView();
  const int row = database::selectedTopicRow(tree);
  GtkTreeIter iter;
  if (row < 0 || !database::topicRowIter(row, &iter)) return;
  GtkTreePath* path = gtk_tree_model_get_path(mainWindow.topicModel, &iter);
  {
    ProgramChange guard;
    if (gtk_tree_view_row_expanded(tree, path))
      gtk_tree_view_collapse_row(tree, path);
    else
      gtk_tree_view_expand_row(tree, path, FALSE);
  }
  gtk_tree_path_free(path);
  database::selectTopicRow(tree, row);
}

void quickCopy() {
  TRACE_LINE();
  const std::string text = viewer::shownCodeText();
  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), text.c_str(), -1);
  flashGadget(CodeViewGadget);
}

void switchLineWrap() {
  GtkTextView* view = codeView();
  const int mode = static_cast<int>(gtk_text_view_get_wrap_mode(view)) ^ 2;
  gtk_text_view_set_wrap_mode(view, static_cast<GtkWrapMode>(mode));
}

void setMainTitle(const std::string& title) {
  if (mainWindow.window) gtk_window_set_title(GTK_WINDOW(mainWindow.window), title.c_str());
}

void setPropertyLabel(int gadgetNumber, const std::string& text) {
  if (GtkWidget* label = mainWindow.gadget[gadgetNumber]) gtk_label_set_text(GTK_LABEL(label), text.c_str());
}

void popupMenu(GtkWidget* menu) {
  if (!menu) return;
  gtk_widget_show_all(menu);
  gtk_menu_popup(GTK_MENU(menu), nullptr, nullptr, nullptr, nullptr, 0, gtk_get_current_event_time());
}

}  // namespace app
