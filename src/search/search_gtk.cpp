// Searching the topic tree as the user types, and the hints of a miss.
#include "search/search_gtk.h"

#include <cstdint>
#include <string>

#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/main_window_widgets_gtk.h"
#include "base/trace.h"
#include "base/window_kit_gtk.h"
#include "config/app_settings.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"

namespace search {
namespace {

const gulong shakeStepMicroseconds = 80 * 1000;

enum SearchHintValue { BothHints = 0, ShakeHint = 1, FlashHint = 2 };

// A text field paints its background with the base colour, other widgets with bg.
void setBackground(GtkWidget* widget, const GdkColor* colour) {
  gtk_widget_modify_base(widget, GTK_STATE_NORMAL, colour);
  gtk_widget_modify_bg(widget, GTK_STATE_NORMAL, colour);
}

int windowX(GtkWidget* window) {
  gint x = 0, y = 0;
  gtk_window_get_position(GTK_WINDOW(window), &x, &y);
  return x;
}

// Only the horizontal place changes; height, width and vertical place stay.
void moveSideways(GtkWidget* window, int x) {
  gint oldX = 0, y = 0;
  gtk_window_get_position(GTK_WINDOW(window), &oldX, &y);
  gtk_window_move(GTK_WINDOW(window), x, y);
}

// One step of the shake: the move is drawn at once, then the program holds.
void shakeStep(GtkWidget* window, int x) {
  TRACE_LINE();
  moveSideways(window, x);
  if (GdkWindow* drawable = gtk_widget_get_window(window)) gdk_window_process_updates(drawable, TRUE);
  gdk_flush();
  g_usleep(shakeStepMicroseconds);
}

void shakeTwice(GtkWidget* window, int x, int amplitude) {
  for (int round = 0; round < 2; ++round) {
    shakeStep(window, x + amplitude);
    shakeStep(window, x - amplitude);
  }
}

void moveBackTo(GtkWidget* window, int x) {
  moveSideways(window, x);
  gdk_flush();
}

GtkWidget* searchField() { return base::mainWindow.control[base::SearchFieldControl]; }

// The rows of the tree as they stand, with the record of each row.
TopicRows treeRows() {
  TopicRows rows;
  // The tree and the IndexEntry list are only ever rebuilt together.
  rows.version = database::topicRowsVersion();
  rows.count = database::topicRowCount();
  rows.text = [](int row) -> const std::string& { return database::topicRowText(row); };
  rows.entries = &database::indexEntries;
  return rows;
}

void showHit(GtkTreeView* tree, int row) {
  TRACE_LINE();
  database::selectTopicRow(tree, row);
  // Selecting by program raises no event; the posted one shows the topic the same
  // way as a selection by the user.
  base::postWidgetEvent(base::MainWindowNo, base::TopicTreeControl, base::EventType::Change);
}

// The descriptions searched are those of the settings' language, not of the language list,
// which may hold a choice that was never taken over.
int searchLanguage() { return static_cast<int>(appSettings.Language); }

int findRow(const std::string& text, int firstRow) {
  return findTopicRow(text, firstRow, treeRows(), appSettings.SearchMode, searchLanguage());
}

std::string fieldText() { return gtk_entry_get_text(GTK_ENTRY(searchField())); }

// Positions count characters, not bytes: the cursor after "ä" stands at 1.
bool cursorAtEnd(const std::string& text) {
  return gtk_editable_get_position(GTK_EDITABLE(searchField())) == g_utf8_strlen(text.c_str(), -1);
}

// A miss at the end of the field takes characters back from the end until the rest
// matches a row or the field is empty; the longest beginning that matches is found in
// a few searches, so a long pasted text goes back at once. The change raises no
// event: the row found is returned, -1 when the field is left empty.
int takeBackToFoundBeginning(const std::string& text) {
  TRACE_LINE();
  const FoundBeginning beginning =
      longestFoundBeginning(text, treeRows(), appSettings.SearchMode, searchLanguage());
  const gint kept = static_cast<gint>(g_utf8_strlen(text.c_str(), static_cast<gssize>(beginning.bytes)));
  const base::ProgramChange guard;
  gtk_editable_delete_text(GTK_EDITABLE(searchField()), kept, -1);
  return beginning.row;
}

gboolean onBackgroundFoldingDone(gpointer) {
  TRACE_LINE();
  takeOverBackgroundFolding(treeRows(), appSettings.SearchMode, searchLanguage());
  return G_SOURCE_REMOVE;
}

}  // namespace

void foldRowsBeforehand() {
  foldRowsInBackground(treeRows(), appSettings.SearchMode, searchLanguage(),
                       [] { g_idle_add(onBackgroundFoldingDone, nullptr); });
}

void shakeWindow(GtkWidget* window, int amplitude) {
  TRACE_LINE();
  if (!window) return;
  const int x = windowX(window);
  shakeTwice(window, x, amplitude);
  moveBackTo(window, x);
}

void shakeAndFlash(GtkWidget* window, GtkWidget* widget, int amplitude) {
  TRACE_LINE();
  if (!window || !widget) return;
  const int x = windowX(window);
  const GdkColor flash = base::toGdkColor(base::appState.flashColour);
  setBackground(widget, &flash);
  gtk_widget_queue_draw(widget);
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  shakeTwice(window, x, amplitude);
  setBackground(widget, nullptr);
  gtk_widget_queue_draw(widget);
  moveBackTo(window, x);
}

void giveMissHint() {
  TRACE_LINE();
  GtkWidget* window = base::mainWindow.window;
  switch (appSettings.SearchHint) {
    case ShakeHint: shakeWindow(window, shakeAmplitude); break;
    case FlashHint: base::flashGadget(base::SearchFieldControl); break;
    default: shakeAndFlash(window, searchField(), shakeAmplitude); break;
  }
}

void searchTopics(SearchStart start) {
  TRACE_LINE();
  if (!searchField()) return;
  const std::string text = fieldText();
  if (text.empty()) return;
  GtkTreeView* tree = base::topicTreeView();
  // A search from the top has no use for the selected row.
  const int selected = start == SearchStart::FromTop ? -1 : database::selectedTopicRow(tree);
  const int row = findRow(text, firstRowToSearch(start, selected));
  if (row >= 0) {
    showHit(tree, row);
    return;
  }
  database::selectTopicRow(tree, -1);
  // One hint, however many characters go back.
  const int found = start == SearchStart::FromTop && cursorAtEnd(text) ? takeBackToFoundBeginning(text) : -1;
  giveMissHint();
  if (found >= 0) showHit(tree, found);
}

}  // namespace search
