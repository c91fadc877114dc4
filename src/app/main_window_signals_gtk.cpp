// Signal handlers of the main window: each posts the event the dispatcher acts on.
#include "app/main_window_signals_gtk.h"

#include <string>

#include <gdk/gdkkeysyms.h>

#include "app/main_window_gtk.h"
#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/trace.h"
#include "resources/pictures_gtk.h"
#include "search/find_bar_gtk.h"
#include "viewer/code_view_gtk.h"

namespace app {
namespace {

void postMainWidget(int control, base::EventType type) {
  if (base::programChangeInProgress()) return;
  base::postWidgetEvent(base::MainWindowNo, control, type);
}

gboolean onMainDelete(GtkWidget*, GdkEvent*, gpointer) {
  base::Event event;
  event.kind = base::EventKind::Close;
  event.window = base::MainWindowNo;
  base::postEvent(event);
  return TRUE;  // the window stays until the program ends
}

void onMainSizeAllocate(GtkWidget*, GtkAllocation* allocation, gpointer) {
  static int lastWidth = -1, lastHeight = -1;
  if (allocation->width == lastWidth && allocation->height == lastHeight) return;
  lastWidth = allocation->width;
  lastHeight = allocation->height;
  base::Event event;
  event.kind = base::EventKind::Size;
  event.window = base::MainWindowNo;
  base::postEvent(event);
}

// The splitter reports a moved handle or a new size as a left click of widget 10.
void onCodeContainerSizeAllocate(GtkWidget*, GtkAllocation* allocation, gpointer) {
  static int lastWidth = -1, lastHeight = -1;
  if (allocation->width == lastWidth && allocation->height == lastHeight) return;
  lastWidth = allocation->width;
  lastHeight = allocation->height;
  base::postWidgetEvent(base::MainWindowNo, base::SplitterControl, base::EventType::LeftClick);
}

void onButtonClicked(GtkButton*, gpointer control) {
  postMainWidget(GPOINTER_TO_INT(control), base::EventType::LeftClick);
}

void onNodeToggled(GtkToggleButton*, gpointer) {
  showNodeTogglePicture();
  postMainWidget(base::NodeToggleControl, base::EventType::LeftClick);
}

void onSearchChanged(GtkEditable*, gpointer) {
  postMainWidget(base::SearchFieldControl, base::EventType::Change);
}

void onHistoryChanged(GtkComboBox*, gpointer) {
  postMainWidget(base::HistoryListControl, base::EventType::Change);
}

void onTreeSelectionChanged(GtkTreeSelection*, gpointer) {
  postMainWidget(base::TopicTreeControl, base::EventType::Change);
}

// The click is reported when the left button goes down, not up: showing the topic may
// open a message, and the release then goes to the message, not to the tree. The tree
// selects the row before the loop hands the click on, so the click sees its row.
gboolean onTreeButtonPress(GtkWidget*, GdkEventButton* event, gpointer) {
  if (event->button != 1) return FALSE;
  if (event->type == GDK_BUTTON_PRESS) postMainWidget(base::TopicTreeControl, base::EventType::LeftClick);
  if (event->type == GDK_2BUTTON_PRESS)
    postMainWidget(base::TopicTreeControl, base::EventType::LeftDoubleClick);
  return FALSE;
}

struct DragWatch {
  bool armed = false;
  int x = 0, y = 0;
} treeDrag;

gboolean onTreeButtonPressForDrag(GtkWidget*, GdkEventButton* event, gpointer) {
  if (event->button == 1 && event->type == GDK_BUTTON_PRESS) {
    treeDrag.armed = true;
    treeDrag.x = static_cast<int>(event->x);
    treeDrag.y = static_cast<int>(event->y);
  }
  return FALSE;
}

gboolean onTreeMotion(GtkWidget* tree, GdkEventMotion* event, gpointer) {
  if (!treeDrag.armed || !(event->state & GDK_BUTTON1_MASK)) return FALSE;
  if (!gtk_drag_check_threshold(tree, treeDrag.x, treeDrag.y, static_cast<int>(event->x),
                                static_cast<int>(event->y)))
    return FALSE;
  treeDrag.armed = false;
  postMainWidget(base::TopicTreeControl, base::EventType::DragStart);
  return TRUE;
}

gboolean onTreeReleaseForDrag(GtkWidget*, GdkEventButton*, gpointer) {
  treeDrag.armed = false;
  return FALSE;
}

void connectClick(int control) {
  if (GtkWidget* widget = base::mainWindow.control[control])
    g_signal_connect(widget, "clicked", G_CALLBACK(onButtonClicked), GINT_TO_POINTER(control));
}

void connectTree() {
  GtkWidget* tree = base::mainWindow.control[base::TopicTreeControl];
  gtk_widget_add_events(tree, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK);
  g_signal_connect(tree, "button-press-event", G_CALLBACK(onTreeButtonPress), nullptr);
  g_signal_connect(tree, "button-press-event", G_CALLBACK(onTreeButtonPressForDrag), nullptr);
  g_signal_connect(tree, "button-release-event", G_CALLBACK(onTreeReleaseForDrag), nullptr);
  g_signal_connect(tree, "motion-notify-event", G_CALLBACK(onTreeMotion), nullptr);
  g_signal_connect(gtk_tree_view_get_selection(GTK_TREE_VIEW(tree)), "changed",
                   G_CALLBACK(onTreeSelectionChanged), nullptr);
}

// The view's own copy and drag of a selection would leave out the link titles,
// which are widgets, not text; the user gets the text as the view shows it.
void onCodeViewCopy(GtkTextView* view, gpointer) {
  GtkTextIter start, end;
  if (gtk_text_buffer_get_selection_bounds(gtk_text_view_get_buffer(view), &start, &end)) {
    const std::string text = viewer::shownCodeText(&start, &end);
    gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), text.c_str(), -1);
  }
  g_signal_stop_emission_by_name(view, "copy-clipboard");
}

void onCodeViewDragDataGet(GtkWidget* view, GdkDragContext*, GtkSelectionData* data, guint, guint, gpointer) {
  GdkAtom target = gtk_selection_data_get_target(data);
  GtkTextIter start, end;
  if (!gtk_targets_include_text(&target, 1) ||
      !gtk_text_buffer_get_selection_bounds(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view)), &start, &end))
    return;
  const std::string text = viewer::shownCodeText(&start, &end);
  gtk_selection_data_set_text(data, text.c_str(), -1);
  g_signal_stop_emission_by_name(view, "drag-data-get");
}

struct Shortcut {
  guint key;
  GdkModifierType modifiers;
  int menuItem;
};

const Shortcut mainShortcuts[] = {
    {GDK_F3, GdkModifierType(0), base::FindNextMenuItem},
    {GDK_Return, GdkModifierType(0), base::ReturnMenuItem},
    {GDK_KP_Enter, GdkModifierType(0), base::ReturnMenuItem},
    {GDK_Escape, GdkModifierType(0), base::EscapeMenuItem},
    {GDK_F1, GdkModifierType(0), base::HelpKeyMenuItem},
    {GDK_F5, GdkModifierType(0), base::LineWrapMenuItem},
    {GDK_F6, GdkModifierType(0), base::LanguageToggleMenuItem},
    {GDK_e, GDK_MOD1_MASK, base::EnglishMenuItem},
    {GDK_g, GDK_MOD1_MASK, base::GermanMenuItem},
    {GDK_d, GDK_MOD1_MASK, base::GermanAltMenuItem},
    {GDK_f, GDK_MOD1_MASK, base::FrenchKeyMenuItem},
    {GDK_f, GDK_CONTROL_MASK, base::FindInCodeMenuItem},
    {GDK_Return, GDK_SHIFT_MASK, base::FindPreviousMenuItem},
    {GDK_KP_Enter, GDK_SHIFT_MASK, base::FindPreviousMenuItem},
    {GDK_Left, GDK_MOD1_MASK, base::BackMenuItem},
    {GDK_Right, GDK_MOD1_MASK, base::ForwardMenuItem},
    {GDK_f, GdkModifierType(GDK_CONTROL_MASK | GDK_SHIFT_MASK), base::CodeSearchMenuItem},
};

gboolean onShortcut(GtkAccelGroup*, GObject*, guint, GdkModifierType, gpointer menuItem) {
  base::postMenuEvent(base::MainWindowNo, GPOINTER_TO_INT(menuItem));
  return TRUE;
}

void onFindFieldChanged(GtkEditable*, gpointer) {
  postMainWidget(base::FindFieldControl, base::EventType::Change);
}

void connectFindBar() {
  g_signal_connect(search::findBar.at(base::FindFieldControl), "changed", G_CALLBACK(onFindFieldChanged),
                   nullptr);
  for (int control : {base::FindPreviousControl, base::FindNextControl, base::FindCloseControl})
    g_signal_connect(search::findBar.at(control), "clicked", G_CALLBACK(onButtonClicked),
                     GINT_TO_POINTER(control));
}

bool isOverMainWindow(const GdkEvent* event) {
  if (!base::mainWindow.window || !event->any.window) return false;
  // While a dialog or a menu holds the input, the press is theirs.
  GtkWidget* grab = gtk_grab_get_current();
  if (grab && gtk_widget_get_toplevel(grab) != base::mainWindow.window) return false;
  return gdk_window_get_toplevel(event->any.window) == gtk_widget_get_window(base::mainWindow.window);
}

// A mouse's back and forward buttons (8 and 9) step through the shown topics wherever
// the pointer is over the main window. The widgets there would take the press for
// themselves (a button swallows any press, the tree selects the row under it), so it
// is caught before the toolkit hands it to a widget.
void onAnyEvent(GdkEvent* event, gpointer) {
  const bool press =
      event->type == GDK_BUTTON_PRESS || event->type == GDK_2BUTTON_PRESS || event->type == GDK_3BUTTON_PRESS;
  if (press && (event->button.button == 8 || event->button.button == 9) && isOverMainWindow(event)) {
    // Each press is a step; the double and triple presses the toolkit adds are not.
    if (event->type == GDK_BUTTON_PRESS)
      base::postMenuEvent(base::MainWindowNo,
                          event->button.button == 8 ? base::BackMenuItem : base::ForwardMenuItem);
    return;
  }
  gtk_main_do_event(event);
}

}  // namespace

void addMainShortcuts() {
  TRACE_LINE();
  base::mainWindow.shortcuts = gtk_accel_group_new();
  for (const Shortcut& shortcut : mainShortcuts) {
    GClosure* closure = g_cclosure_new(G_CALLBACK(onShortcut), GINT_TO_POINTER(shortcut.menuItem), nullptr);
    gtk_accel_group_connect(base::mainWindow.shortcuts, shortcut.key, shortcut.modifiers, GtkAccelFlags(0),
                            closure);
  }
  gtk_window_add_accel_group(GTK_WINDOW(base::mainWindow.window), base::mainWindow.shortcuts);
}

void connectMainWindowSignals() {
  TRACE_LINE();
  g_signal_connect(base::mainWindow.window, "delete-event", G_CALLBACK(onMainDelete), nullptr);
  g_signal_connect(base::mainWindow.toolRow, "size-allocate", G_CALLBACK(onMainSizeAllocate), nullptr);
  g_signal_connect(base::mainWindow.control[base::CodeContainerControl], "size-allocate",
                   G_CALLBACK(onCodeContainerSizeAllocate), nullptr);
  for (int control : {base::AdminButtonControl, base::FindButtonControl, base::SettingsButtonControl,
                      base::HelpButtonControl, base::InfoButtonControl, base::CopyButtonControl})
    connectClick(control);
  if (GtkWidget* toggle = base::mainWindow.control[base::NodeToggleControl])
    g_signal_connect(toggle, "toggled", G_CALLBACK(onNodeToggled), nullptr);
  g_signal_connect(base::mainWindow.control[base::SearchFieldControl], "changed", G_CALLBACK(onSearchChanged),
                   nullptr);
  g_signal_connect(base::mainWindow.control[base::HistoryListControl], "changed",
                   G_CALLBACK(onHistoryChanged), nullptr);
  connectTree();
  GtkWidget* code = base::mainWindow.control[base::CodeViewControl];
  g_signal_connect(code, "scroll-event", G_CALLBACK(onCodeViewScroll), nullptr);
  g_signal_connect(code, "copy-clipboard", G_CALLBACK(onCodeViewCopy), nullptr);
  g_signal_connect(code, "drag-data-get", G_CALLBACK(onCodeViewDragDataGet), nullptr);
  connectCodeViewDrop();
  connectCodeViewPrimarySelection();
  connectFindBar();
  // Presses outside every widget reach the window too, so buttons 8 and 9 work over all of it.
  gtk_widget_add_events(base::mainWindow.window, GDK_BUTTON_PRESS_MASK);
  gdk_event_handler_set(onAnyEvent, nullptr, nullptr);
}

}  // namespace app
