// Signal handlers of the main window: each posts the event the dispatcher acts on.
#include "app/main_window_signals_gtk.h"

#include <string>

#include <gdk/gdkkeysyms.h>

#include "app/app_state.h"
#include "app/event_queue.h"
#include "app/main_window_gtk.h"
#include "resources/pictures_gtk.h"
#include "viewer/code_view_gtk.h"

namespace app {
namespace {

void postMainWidget(int gadget, EventType type) {
  if (programChangeInProgress()) return;
  postWidgetEvent(MainWindowNo, gadget, type);
}

gboolean onMainDelete(GtkWidget*, GdkEvent*, gpointer) {
  Event event;
  event.kind = EventKind::Close;
  event.window = MainWindowNo;
  postEvent(event);
  return TRUE;  // the window stays until the program ends
}

void onMainSizeAllocate(GtkWidget*, GtkAllocation* allocation, gpointer) {
  static int lastWidth = -1, lastHeight = -1;
  if (allocation->width == lastWidth && allocation->height == lastHeight) return;
  lastWidth = allocation->width;
  lastHeight = allocation->height;
  Event event;
  event.kind = EventKind::Size;
  event.window = MainWindowNo;
  postEvent(event);
}

// The splitter reports a moved handle or a new size as a left click of widget 10.
void onCodeContainerSizeAllocate(GtkWidget*, GtkAllocation* allocation, gpointer) {
  static int lastWidth = -1, lastHeight = -1;
  if (allocation->width == lastWidth && allocation->height == lastHeight) return;
  lastWidth = allocation->width;
  lastHeight = allocation->height;
  postWidgetEvent(MainWindowNo, SplitterGadget, EventType::LeftClick);
}

void onButtonClicked(GtkButton*, gpointer gadget) {
  postMainWidget(GPOINTER_TO_INT(gadget), EventType::LeftClick);
}

void onNodeToggled(GtkToggleButton*, gpointer) {
  showNodeTogglePicture();
  postMainWidget(NodeToggleGadget, EventType::LeftClick);
}

void onSearchChanged(GtkEditable*, gpointer) { postMainWidget(SearchFieldGadget, EventType::Change); }

void onHistoryChanged(GtkComboBox*, gpointer) { postMainWidget(HistoryListGadget, EventType::Change); }

void onTreeSelectionChanged(GtkTreeSelection*, gpointer) {
  postMainWidget(TopicTreeGadget, EventType::Change);
}

// The click is reported when the left button goes down, not up: showing the topic may
// open a message, and the release then goes to the message, not to the tree. The tree
// selects the row before the loop hands the click on, so the click sees its row.
gboolean onTreeButtonPress(GtkWidget*, GdkEventButton* event, gpointer) {
  if (event->button != 1) return FALSE;
  if (event->type == GDK_BUTTON_PRESS) postMainWidget(TopicTreeGadget, EventType::LeftClick);
  if (event->type == GDK_2BUTTON_PRESS) postMainWidget(TopicTreeGadget, EventType::LeftDoubleClick);
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
  postMainWidget(TopicTreeGadget, EventType::DragStart);
  return TRUE;
}

gboolean onTreeReleaseForDrag(GtkWidget*, GdkEventButton*, gpointer) {
  treeDrag.armed = false;
  return FALSE;
}

void connectClick(int gadget) {
  if (GtkWidget* widget = mainWindow.gadget[gadget])
    g_signal_connect(widget, "clicked", G_CALLBACK(onButtonClicked), GINT_TO_POINTER(gadget));
}

void connectTree() {
  GtkWidget* tree = mainWindow.gadget[TopicTreeGadget];
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
    {GDK_F3, GdkModifierType(0), FindNextMenuItem},
    {GDK_Return, GdkModifierType(0), ReturnMenuItem},
    {GDK_KP_Enter, GdkModifierType(0), ReturnMenuItem},
    {GDK_Escape, GdkModifierType(0), EscapeMenuItem},
    {GDK_F1, GdkModifierType(0), HelpKeyMenuItem},
    {GDK_F5, GdkModifierType(0), LineWrapMenuItem},
    {GDK_F6, GdkModifierType(0), LanguageToggleMenuItem},
    {GDK_e, GDK_MOD1_MASK, EnglishMenuItem},
    {GDK_g, GDK_MOD1_MASK, GermanMenuItem},
    {GDK_d, GDK_MOD1_MASK, GermanAltMenuItem},
    {GDK_f, GDK_MOD1_MASK, FrenchKeyMenuItem},
    {GDK_f, GdkModifierType(GDK_CONTROL_MASK | GDK_SHIFT_MASK), CodeSearchMenuItem},
};

gboolean onShortcut(GtkAccelGroup*, GObject*, guint, GdkModifierType, gpointer menuItem) {
  postMenuEvent(MainWindowNo, GPOINTER_TO_INT(menuItem));
  return TRUE;
}

}  // namespace

void addMainShortcuts() {
  TRACE_LINE();
  mainWindow.shortcuts = gtk_accel_group_new();
  for (const Shortcut& shortcut : mainShortcuts) {
    GClosure* closure = g_cclosure_new(G_CALLBACK(onShortcut), GINT_TO_POINTER(shortcut.menuItem), nullptr);
    gtk_accel_group_connect(mainWindow.shortcuts, shortcut.key, shortcut.modifiers, GtkAccelFlags(0),
                            closure);
  }
  gtk_window_add_accel_group(GTK_WINDOW(mainWindow.window), mainWindow.shortcuts);
}

void connectMainWindowSignals() {
  TRACE_LINE();
  g_signal_connect(mainWindow.window, "delete-event", G_CALLBACK(onMainDelete), nullptr);
  g_signal_connect(mainWindow.toolRow, "size-allocate", G_CALLBACK(onMainSizeAllocate), nullptr);
  g_signal_connect(mainWindow.gadget[CodeContainerGadget], "size-allocate",
                   G_CALLBACK(onCodeContainerSizeAllocate), nullptr);
  for (int gadget : {AdminButtonGadget, FindButtonGadget, SettingsButtonGadget, HelpButtonGadget,
                     InfoButtonGadget, CopyButtonGadget})
    connectClick(gadget);
  if (GtkWidget* toggle = mainWindow.gadget[NodeToggleGadget])
    g_signal_connect(toggle, "toggled", G_CALLBACK(onNodeToggled), nullptr);
  g_signal_connect(mainWindow.gadget[SearchFieldGadget], "changed", G_CALLBACK(onSearchChanged), nullptr);
  g_signal_connect(mainWindow.gadget[HistoryListGadget], "changed", G_CALLBACK(onHistoryChanged), nullptr);
  connectTree();
  GtkWidget* code = mainWindow.gadget[CodeViewGadget];
  g_signal_connect(code, "scroll-event", G_CALLBACK(onCodeViewScroll), nullptr);
  g_signal_connect(code, "copy-clipboard", G_CALLBACK(onCodeViewCopy), nullptr);
  g_signal_connect(code, "drag-data-get", G_CALLBACK(onCodeViewDragDataGet), nullptr);
  connectCodeViewDrop();
  connectCodeViewPrimarySelection();
}

}  // namespace app
