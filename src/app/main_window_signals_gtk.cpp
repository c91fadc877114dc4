// Signal handlers of the main window: each posts the event the dispatcher acts on.
#include "app/main_window_signals_gtk.h"

#include <string>

#include <gdk/gdkkeysyms.h>

#include "app/main_window_gtk.h"
#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/trace.h"
#include "resources/pictures_gtk.h"
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
};

gboolean onShortcut(GtkAccelGroup*, GObject*, guint, GdkModifierType, gpointer menuItem) {
  base::postMenuEvent(base::MainWindowNo, GPOINTER_TO_INT(menuItem));
  return TRUE;
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
}

}  // namespace app
