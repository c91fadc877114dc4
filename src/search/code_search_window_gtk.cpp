// The code search window: a field, the list of hits and how many there are.
#include "search/code_search_window_gtk.h"

#include <chrono>
#include <string>

#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/main_window_widgets_gtk.h"
#include "base/trace.h"
#include "base/window_kit_gtk.h"
#include "config/message_texts.h"
#include "database/topic_model_gtk.h"
#include "search/code_index.h"
#include "search/code_index_reader.h"

// Last: the X11 headers define names such as None that the program's headers use.
#include <gdk/gdkx.h>

namespace search {

CodeSearchWindow codeSearchWindow;

namespace {

// The list holds only each row's place in the shown hits; what a row shows is made
// when it is drawn, so a thousand hits cost no more than the few rows on the screen.
enum HitColumn { HitPlaceColumn, HitColumnCount };

CodeSearchResult shownHits;

// While the index is read for the first time, the list follows it at this pace.
constexpr auto relistPause = std::chrono::milliseconds(500);
std::chrono::steady_clock::time_point lastListing;

GtkWidget* control(int number) { return codeSearchWindow.control[number]; }
GtkTreeView* hitList() { return GTK_TREE_VIEW(control(base::CodeSearchHitListControl)); }

void onFieldChanged(GtkEditable*, gpointer) {
  if (!base::programChangeInProgress())
    base::postWidgetEvent(base::CodeSearchWindowNo, base::CodeSearchFieldControl, base::EventType::Change);
}

void onFieldActivate(GtkEntry*, gpointer) {
  base::postMenuEvent(base::CodeSearchWindowNo, base::ReturnMenuItem);
}

void onHitActivated(GtkTreeView*, GtkTreePath*, GtkTreeViewColumn*, gpointer) {
  base::postWidgetEvent(base::CodeSearchWindowNo, base::CodeSearchHitListControl,
                        base::EventType::LeftDoubleClick);
}

const CodeHit* hitOf(GtkTreeModel* model, GtkTreeIter* iter) {
  gint place = -1;
  gtk_tree_model_get(model, iter, HitPlaceColumn, &place, -1);
  return place >= 0 && place < static_cast<int>(shownHits.hits.size()) ? &shownHits.hits[place] : nullptr;
}

void showTitle(GtkTreeViewColumn*, GtkCellRenderer* renderer, GtkTreeModel* model, GtkTreeIter* iter,
               gpointer) {
  const CodeHit* hit = hitOf(model, iter);
  const bool known = hit && hit->row < database::topicRowCount();
  g_object_set(renderer, "text", known ? database::topicRowText(hit->row).c_str() : "", nullptr);
}

// The line with the match in bold. The index may have been read anew since the search:
// a file that is gone shows nothing, and the next search lists what is there now.
void showLineWithMatch(GtkTreeViewColumn*, GtkCellRenderer* renderer, GtkTreeModel* model, GtkTreeIter* iter,
                       gpointer) {
  const CodeHit* hit = hitOf(model, iter);
  const bool known =
      hit && hit->file < static_cast<int>(codeIndex.files.size()) && codeIndex.files[hit->file].read;
  const HitLine line =
      known ? hitLine(codeIndex.files[hit->file].code, hit->at, shownHits.matchLength) : HitLine();
  PangoAttrList* attributes = pango_attr_list_new();
  PangoAttribute* bold = pango_attr_weight_new(PANGO_WEIGHT_BOLD);
  bold->start_index = static_cast<guint>(line.matchBegin);
  bold->end_index = static_cast<guint>(line.matchEnd);
  pango_attr_list_insert(attributes, bold);
  g_object_set(renderer, "text", line.text.c_str(), "attributes", attributes, nullptr);
  pango_attr_list_unref(attributes);
}

GtkTreeViewColumn* fixedColumn(GtkCellRenderer* renderer, int width) {
  GtkTreeViewColumn* column = gtk_tree_view_column_new();
  gtk_tree_view_column_pack_start(column, renderer, TRUE);
  gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
  gtk_tree_view_column_set_fixed_width(column, width);
  gtk_tree_view_column_set_resizable(column, TRUE);
  return column;
}

// Fixed row heights and column widths: the view measures no row.
GtkWidget* newHitList() {
  codeSearchWindow.hits = gtk_list_store_new(HitColumnCount, G_TYPE_INT);
  GtkWidget* list = gtk_tree_view_new_with_model(GTK_TREE_MODEL(codeSearchWindow.hits));
  GtkTreeView* view = GTK_TREE_VIEW(list);
  gtk_tree_view_set_headers_visible(view, FALSE);
  gtk_tree_view_set_enable_search(view, FALSE);
  GtkCellRenderer* title = gtk_cell_renderer_text_new();
  g_object_set(title, "ellipsize", PANGO_ELLIPSIZE_END, nullptr);
  GtkTreeViewColumn* titleColumn = fixedColumn(title, 220);
  gtk_tree_view_column_set_cell_data_func(titleColumn, title, showTitle, nullptr, nullptr);
  gtk_tree_view_append_column(view, titleColumn);
  GtkCellRenderer* line = gtk_cell_renderer_text_new();
  GtkTreeViewColumn* lineColumn = fixedColumn(line, 2000);
  gtk_tree_view_column_set_cell_data_func(lineColumn, line, showLineWithMatch, nullptr, nullptr);
  gtk_tree_view_append_column(view, lineColumn);
  gtk_tree_view_set_fixed_height_mode(view, TRUE);
  g_signal_connect(list, "row-activated", G_CALLBACK(onHitActivated), nullptr);
  return list;
}

GtkWidget* newStatusRow() {
  GtkWidget* row = gtk_hbox_new(FALSE, 8);
  GtkWidget* status = gtk_label_new("");
  gtk_misc_set_alignment(GTK_MISC(status), 0.0f, 0.5f);
  gtk_label_set_ellipsize(GTK_LABEL(status), PANGO_ELLIPSIZE_END);
  GtkWidget* progress = gtk_progress_bar_new();
  gtk_widget_set_size_request(progress, 260, -1);
  gtk_widget_set_no_show_all(progress, TRUE);
  gtk_box_pack_start(GTK_BOX(row), status, TRUE, TRUE, 0);
  gtk_box_pack_end(GTK_BOX(row), progress, FALSE, FALSE, 0);
  codeSearchWindow.control[base::CodeSearchStatusControl] = status;
  codeSearchWindow.control[base::CodeSearchProgressControl] = progress;
  return row;
}

void showProgress() {
  GtkWidget* bar = control(base::CodeSearchProgressControl);
  const CodeIndexProgress progress = codeIndexProgress();
  if (!progress.building) {
    gtk_widget_hide(bar);
    return;
  }
  const std::string text =
      fillInNumbers(config::messageText(config::CodeSearchReading), static_cast<std::int64_t>(progress.done),
                    static_cast<std::int64_t>(progress.total));
  gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(bar), static_cast<double>(progress.done) / progress.total);
  gtk_progress_bar_set_text(GTK_PROGRESS_BAR(bar), text.c_str());
  gtk_widget_show(bar);
}

void showStatus(const CodeSearchResult& result, bool searched) {
  std::string status;
  if (searched) {
    status = hitCountText(config::messageText(config::CodeSearchTopics),
                          config::messageText(config::CodeSearchLines), result.topicCount, result.lineCount);
  }
  if (static_cast<std::size_t>(result.topicCount) > result.hits.size()) {
    status += " \u2014 " + fillInNumbers(config::messageText(config::CodeSearchMore),
                                         static_cast<std::int64_t>(listedHitLimit));
  }
  gtk_label_set_text(GTK_LABEL(control(base::CodeSearchStatusControl)), status.c_str());
}

// The topic row of the selected hit, -1 when none is selected.
int selectedTopicRow() {
  GtkTreeModel* model = nullptr;
  GtkTreeIter iter;
  if (!gtk_tree_selection_get_selected(gtk_tree_view_get_selection(hitList()), &model, &iter)) return -1;
  const CodeHit* hit = hitOf(model, &iter);
  return hit ? hit->row : -1;
}

// Row i of the list shows hit i: only the number of rows changes.
void setHitRowCount(std::size_t count) {
  GtkTreeModel* model = GTK_TREE_MODEL(codeSearchWindow.hits);
  if (static_cast<std::size_t>(gtk_tree_model_iter_n_children(model, nullptr)) == count) {
    gtk_widget_queue_draw(GTK_WIDGET(hitList()));
    return;
  }
  // Filled while no view watches it: the view takes the rows in once.
  gtk_tree_view_set_model(hitList(), nullptr);
  gtk_list_store_clear(codeSearchWindow.hits);
  for (std::size_t place = 0; place < count; ++place)
    gtk_list_store_insert_with_values(codeSearchWindow.hits, nullptr, -1, HitPlaceColumn,
                                      static_cast<gint>(place), -1);
  gtk_tree_view_set_model(hitList(), model);
}

// The topic that was selected stays selected when it is still listed; else the first hit is.
void listHits(CodeSearchResult result) {
  TRACE_LINE();
  const int selectedRow = selectedTopicRow();
  shownHits = std::move(result);
  setHitRowCount(shownHits.hits.size());
  if (shownHits.hits.empty()) return;
  std::size_t place = 0;
  while (place < shownHits.hits.size() && shownHits.hits[place].row != selectedRow) ++place;
  GtkTreePath* path =
      gtk_tree_path_new_from_indices(place < shownHits.hits.size() ? static_cast<gint>(place) : 0, -1);
  gtk_tree_selection_select_path(gtk_tree_view_get_selection(hitList()), path);
  gtk_tree_path_free(path);
}

// The list follows the index as it is read.
void onIndexChanged() {
  if (!codeSearchWindow.window) return;
  showProgress();
  if (!gtk_widget_get_visible(codeSearchWindow.window)) return;
  const CodeIndexProgress progress = codeIndexProgress();
  // A new library is listed at once: nothing of the old one may stay in the list.
  const bool newLibrary = progress.building && progress.done == 0;
  if (progress.building && !newLibrary && std::chrono::steady_clock::now() - lastListing < relistPause)
    return;
  searchCodeFromField();
}

// A time stamp of now: a window manager that keeps the focus from windows opened
// without a user's action knows that this one was asked for.
void presentNow(GtkWidget* window) {
  gtk_widget_realize(window);
  gtk_window_present_with_time(GTK_WINDOW(window), gdk_x11_get_server_time(gtk_widget_get_window(window)));
}

// Without a window manager the focus can only be given to a window on the screen,
// and the window is not there yet when it is asked to show.
gboolean onMapped(GtkWidget* window, GdkEvent*, gpointer) {
  presentNow(window);
  return FALSE;
}

void buildCodeSearchWindow() {
  TRACE_LINE();
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  codeSearchWindow.window = window;
  codeSearchWindow.control[base::CodeSearchWindowControl] = window;
  gtk_window_set_default_size(GTK_WINDOW(window), 720, 440);
  gtk_window_set_transient_for(GTK_WINDOW(window), GTK_WINDOW(base::mainWindow.window));
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER_ON_PARENT);
  GtkWidget* box = gtk_vbox_new(FALSE, 6);
  gtk_container_set_border_width(GTK_CONTAINER(box), 6);
  gtk_container_add(GTK_CONTAINER(window), box);
  GtkWidget* field = gtk_entry_new();
  codeSearchWindow.control[base::CodeSearchFieldControl] = field;
  g_signal_connect(field, "changed", G_CALLBACK(onFieldChanged), nullptr);
  g_signal_connect(field, "activate", G_CALLBACK(onFieldActivate), nullptr);
  gtk_box_pack_start(GTK_BOX(box), field, FALSE, FALSE, 0);
  GtkWidget* list = newHitList();
  codeSearchWindow.control[base::CodeSearchHitListControl] = list;
  gtk_box_pack_start(GTK_BOX(box), base::newScrolled(list), TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(box), newStatusRow(), FALSE, FALSE, 0);
  gtk_widget_show_all(box);
  base::connectCloseAndEscape(window, base::CodeSearchWindowNo);
  g_signal_connect(window, "map-event", G_CALLBACK(onMapped), nullptr);
  setCodeIndexListener(onIndexChanged);
}

}  // namespace

void openCodeSearchWindow() {
  TRACE_LINE();
  if (!codeSearchWindow.window) buildCodeSearchWindow();
  gtk_window_set_title(GTK_WINDOW(codeSearchWindow.window),
                       config::messageText(config::CodeSearchTitle).c_str());
  presentNow(codeSearchWindow.window);
  gtk_widget_grab_focus(control(base::CodeSearchFieldControl));
  showProgress();
  searchCodeFromField();
}

void hideCodeSearchWindow() {
  if (codeSearchWindow.window) gtk_widget_hide(codeSearchWindow.window);
}

void searchCodeFromField() {
  TRACE_LINE();
  if (!codeSearchWindow.window) return;
  const std::string text = gtk_entry_get_text(GTK_ENTRY(control(base::CodeSearchFieldControl)));
  CodeSearchResult result = text.empty() ? CodeSearchResult() : searchCode(codeIndex, text, listedHitLimit);
  showStatus(result, !text.empty());
  listHits(std::move(result));
  lastListing = std::chrono::steady_clock::now();
}

ChosenCodeHit chosenCodeHit() {
  ChosenCodeHit chosen;
  if (!codeSearchWindow.window) return chosen;
  GtkTreeModel* model = nullptr;
  GtkTreeIter iter;
  const CodeHit* hit = nullptr;
  if (gtk_tree_selection_get_selected(gtk_tree_view_get_selection(hitList()), &model, &iter))
    hit = hitOf(model, &iter);
  else if (!shownHits.hits.empty())
    hit = &shownHits.hits.front();
  if (!hit) return chosen;
  chosen.row = hit->row;
  chosen.line = hit->line;
  return chosen;
}

void destroyCodeSearchWindow() {
  setCodeIndexListener(nullptr);
  shownHits = CodeSearchResult();
  if (codeSearchWindow.window) gtk_widget_destroy(codeSearchWindow.window);
  if (codeSearchWindow.hits) g_object_unref(codeSearchWindow.hits);
  codeSearchWindow = CodeSearchWindow();
}

}  // namespace search
