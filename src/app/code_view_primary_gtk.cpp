// The code view's primary selection (the text a middle click pastes).
//
// The text buffer would offer its own text, which lacks the link titles: they
// are widgets, not text. So the view takes the selection over from its buffer
// and hands out the text as the view shows it.
#include <gtk/gtk.h>

#include <string>

#include "app/main_window_gtk.h"
#include "app/main_window_signals_gtk.h"
#include "viewer/code_view_gtk.h"

namespace app {
namespace {

GtkClipboard* primaryOf(GtkWidget* view) { return gtk_widget_get_clipboard(view, GDK_SELECTION_PRIMARY); }

GtkTextBuffer* bufferOf(GtkWidget* view) { return gtk_text_view_get_buffer(GTK_TEXT_VIEW(view)); }

void handOutSelection(GtkClipboard*, GtkSelectionData* data, guint, gpointer view) {
  GtkTextIter start, end;
  if (!gtk_text_buffer_get_selection_bounds(bufferOf(GTK_WIDGET(view)), &start, &end)) return;
  const std::string text = viewer::shownCodeText(&start, &end);
  gtk_selection_data_set_text(data, text.c_str(), -1);
}

// Another program took the selection: the highlight goes, as everywhere else.
void dropSelection(GtkClipboard*, gpointer view) {
  GtkTextBuffer* buffer = bufferOf(GTK_WIDGET(view));
  GtkTextIter insert;
  gtk_text_buffer_get_iter_at_mark(buffer, &insert, gtk_text_buffer_get_insert(buffer));
  gtk_text_buffer_move_mark(buffer, gtk_text_buffer_get_selection_bound(buffer), &insert);
}

void claimPrimary(GtkWidget* view) {
  GtkTargetList* list = gtk_target_list_new(nullptr, 0);
  gtk_target_list_add_text_targets(list, 0);
  gint count = 0;
  GtkTargetEntry* targets = gtk_target_table_new_from_list(list, &count);
  gtk_clipboard_set_with_owner(primaryOf(view), targets, static_cast<guint>(count), handOutSelection,
                               dropSelection, G_OBJECT(view));
  gtk_target_table_free(targets, count);
  gtk_target_list_unref(list);
}

void onSelectionMoved(GtkTextBuffer* buffer, GtkTextIter*, GtkTextMark* mark, gpointer view) {
  if (mark != gtk_text_buffer_get_insert(buffer) && mark != gtk_text_buffer_get_selection_bound(buffer))
    return;
  if (!gtk_widget_get_realized(GTK_WIDGET(view))) return;
  if (gtk_text_buffer_get_selection_bounds(buffer, nullptr, nullptr))
    claimPrimary(GTK_WIDGET(view));
  else if (gtk_clipboard_get_owner(primaryOf(GTK_WIDGET(view))) == G_OBJECT(view))
    gtk_clipboard_clear(primaryOf(GTK_WIDGET(view)));
}

// The view registers its buffer with the selection when it is realized and
// takes it back when unrealized; the two handlers keep that count balanced.
void onRealized(GtkWidget* view, gpointer) {
  gtk_text_buffer_remove_selection_clipboard(bufferOf(view), primaryOf(view));
}

void onUnrealize(GtkWidget* view, gpointer) {
  gtk_text_buffer_add_selection_clipboard(bufferOf(view), primaryOf(view));
}

}  // namespace

void connectCodeViewPrimarySelection() {
  GtkWidget* view = base::mainWindow.control[base::CodeViewControl];
  if (gtk_widget_get_realized(view)) onRealized(view, nullptr);
  g_signal_connect_after(view, "realize", G_CALLBACK(onRealized), nullptr);
  g_signal_connect(view, "unrealize", G_CALLBACK(onUnrealize), nullptr);
  g_signal_connect_after(bufferOf(view), "mark-set", G_CALLBACK(onSelectionMoved), view);
}

}  // namespace app
