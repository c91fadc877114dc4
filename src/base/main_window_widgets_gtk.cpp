// The main window's widget record, and the flash that acknowledges an action.
#include "base/main_window_widgets_gtk.h"

#include "base/app_state.h"
#include "base/trace.h"
#include "base/window_kit_gtk.h"

namespace base {

MainWindow mainWindow;

GtkTreeView* topicTreeView() { return GTK_TREE_VIEW(mainWindow.control[TopicTreeControl]); }
GtkTextView* codeView() { return GTK_TEXT_VIEW(mainWindow.control[CodeViewControl]); }
GtkTextView* descriptionView() { return GTK_TEXT_VIEW(mainWindow.control[DescriptionControl]); }

namespace {

void setBackground(GtkWidget* widget, const GdkColor* colour) {
  gtk_widget_modify_base(widget, GTK_STATE_NORMAL, colour);
  gtk_widget_modify_bg(widget, GTK_STATE_NORMAL, colour);
}

}  // namespace

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
  if (widget == mainWindow.control[CodeViewControl]) {
    const GdkColor background = toGdkColor(appState.codeViewBackground);
    gtk_widget_modify_base(widget, GTK_STATE_NORMAL, &background);
    gtk_widget_modify_bg(widget, GTK_STATE_NORMAL, nullptr);
  } else {
    setBackground(widget, nullptr);
  }
  gtk_widget_queue_draw(widget);
}

void flashGadget(int controlNumber) {
  if (controlNumber < 0 || controlNumber >= MainControlCount) return;
  flashWidget(mainWindow.control[controlNumber], controlNumber == CodeViewControl);
}

}  // namespace base
