// Behaviours of the main window: zoom, flash, history, nodes, copy, line wrap, title.
#include <algorithm>

#include "app/main_window_gtk.h"
#include "app/main_window_rules.h"
#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/paths.h"
#include "base/trace.h"
#include "base/window_kit_gtk.h"
#include "config/app_settings.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "services/process_launcher.h"
#include "viewer/code_view_gtk.h"

namespace app {
namespace {

void applyZoomLevel(bool markNormalSize) {
  TRACE_LINE();
  GtkWidget* code = base::mainWindow.control[base::CodeViewControl];
  PangoContext* context = gtk_widget_get_pango_context(code);
  PangoFontDescription* font = pango_font_description_copy(pango_context_get_font_description(context));
  pango_font_description_set_size(
      font, zoomedFontSize(static_cast<long>(appSettings.FontSize), zoomFactors[base::appState.zoomLevel]));
  viewer::setCodeViewFont(font);
  pango_font_description_free(font);
  if (markNormalSize && base::appState.zoomLevel == normalZoomLevel)
    services::startProgram("beep", "-f 100 -l 20", "");
  gtk_widget_queue_draw(code);
}

// The rows the history list shows, in its order.
std::vector<int> listedHistoryRows;

std::string historyItemText(int entryRow) {
  const std::string_view file = entryRow >= 0 && entryRow < static_cast<int>(database::indexEntries.size())
                                    ? database::indexEntries[entryRow].File
                                    : std::string_view();
  return base::fileNamePart(file);
}

// The list builds a menu item for each of its rows whenever it gets a new model, so
// a step of the history changes only the items that differ.
bool editHistoryList(GtkListStore* items, const std::vector<int>& rows) {
  const HistoryEdit edit = historyEdit(listedHistoryRows, rows);
  if (!edit.complete) return false;
  for (auto at = edit.removed.rbegin(); at != edit.removed.rend(); ++at) {
    GtkTreeIter item;
    if (gtk_tree_model_iter_nth_child(GTK_TREE_MODEL(items), &item, nullptr, *at))
      gtk_list_store_remove(items, &item);
  }
  if (edit.insertFront)
    gtk_list_store_insert_with_values(items, nullptr, 0, 0, historyItemText(rows.front()).c_str(), -1);
  return true;
}

// A new list, filled before it is handed over, so that it is measured once.
void refillHistoryList(GtkComboBox* list, const std::vector<int>& rows) {
  GtkListStore* items = gtk_list_store_new(1, G_TYPE_STRING);
  for (int entryRow : rows)
    gtk_list_store_insert_with_values(items, nullptr, -1, 0, historyItemText(entryRow).c_str(), -1);
  gtk_combo_box_set_model(list, GTK_TREE_MODEL(items));
  g_object_unref(items);
}

void fillHistoryList() {
  GtkComboBox* list = GTK_COMBO_BOX(base::mainWindow.control[base::HistoryListControl]);
  const std::vector<int>& rows = base::appState.historyRows;
  base::ProgramChange guard;
  GtkTreeModel* items = gtk_combo_box_get_model(list);
  // A list that is not the one noted (a new main window) is filled anew.
  const bool noted =
      items && gtk_tree_model_iter_n_children(items, nullptr) == static_cast<int>(listedHistoryRows.size());
  if (!noted || !editHistoryList(GTK_LIST_STORE(items), rows)) refillHistoryList(list, rows);
  listedHistoryRows = rows;
  if (!rows.empty() && gtk_combo_box_get_active(list) != 0) gtk_combo_box_set_active(list, 0);
}

}  // namespace

gboolean onCodeViewScroll(GtkWidget*, GdkEventScroll* event, gpointer) {
  TRACE_LINE();
  if (event->type != GDK_SCROLL || !(event->state & GDK_CONTROL_MASK)) return FALSE;
  if (event->direction == GDK_SCROLL_DOWN)
    base::appState.zoomLevel = zoomLevelAfterStep(base::appState.zoomLevel, -1);
  if (event->direction == GDK_SCROLL_UP)
    base::appState.zoomLevel = zoomLevelAfterStep(base::appState.zoomLevel, +1);
  if (base::appState.zoomLevel != base::appState.appliedZoomLevel) applyZoomLevel(true);
  base::appState.appliedZoomLevel = base::appState.zoomLevel;
  return TRUE;
}

void recordHistory(int row) {
  TRACE_LINE();
  pushHistoryRow(base::appState.historyRows, row, base::appState.historyLimit);
  fillHistoryList();
}

void setHistoryRows(const std::vector<int>& rows) {
  base::appState.historyRows = rows;
  fillHistoryList();
}

void setZoomLevel(int level) {
  base::appState.zoomLevel = level;
  if (level == normalZoomLevel) return;
  applyZoomLevel(false);
  base::appState.appliedZoomLevel = level;
}

void clearHistory() {
  base::appState.historyRows.clear();
  listedHistoryRows.clear();
  if (!base::mainWindow.control[base::HistoryListControl]) return;
  base::ProgramChange guard;
  gtk_list_store_clear(GTK_LIST_STORE(
      gtk_combo_box_get_model(GTK_COMBO_BOX(base::mainWindow.control[base::HistoryListControl]))));
}

int chosenHistoryRow() {
  const int index =
      gtk_combo_box_get_active(GTK_COMBO_BOX(base::mainWindow.control[base::HistoryListControl]));
  if (index < 0 || index >= static_cast<int>(base::appState.historyRows.size())) return -1;
  return base::appState.historyRows[index];
}

void expandAll(bool open) { database::expandAllTopics(base::topicTreeView(), open); }

void toggleSelectedNode() {
  TRACE_LINE();
  GtkTreeView* tree = base::topicTreeView();
  const int row = database::selectedTopicRow(tree);
  GtkTreeIter iter;
  if (row < 0 || !database::topicRowIter(row, &iter)) return;
  GtkTreePath* path = gtk_tree_model_get_path(base::mainWindow.topicModel, &iter);
  {
    base::ProgramChange guard;
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
  base::flashGadget(base::CodeViewControl);
}

void switchLineWrap() {
  GtkTextView* view = base::codeView();
  const int mode = static_cast<int>(gtk_text_view_get_wrap_mode(view)) ^ 2;
  gtk_text_view_set_wrap_mode(view, static_cast<GtkWrapMode>(mode));
}

void setMainTitle(const std::string& title) {
  if (!base::mainWindow.window) return;
  gtk_window_set_title(GTK_WINDOW(base::mainWindow.window), title.c_str());
  // The title goes out now, not once the rest of the command and the next queued
  // ones are done: the taskbar names the shown file as soon as it is shown.
  gdk_display_flush(gtk_widget_get_display(base::mainWindow.window));
}

void setPropertyLabel(int controlNumber, const std::string& text) {
  GtkWidget* label = base::mainWindow.control[controlNumber];
  // The same text again would still lay the label out anew, on every topic shown.
  if (label && text != gtk_label_get_label(GTK_LABEL(label)))
    gtk_label_set_text(GTK_LABEL(label), text.c_str());
}

void popupMenu(GtkWidget* menu) {
  if (!menu) return;
  gtk_widget_show_all(menu);
  gtk_menu_popup(GTK_MENU(menu), nullptr, nullptr, nullptr, nullptr, 0, gtk_get_current_event_time());
}

}  // namespace app
