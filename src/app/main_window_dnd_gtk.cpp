// Dragging a topic's snippet out as a file URI and as its text, and files dropped on the code view.
#include <string>

#include "app/main_window_gtk.h"
#include "app/main_window_signals_gtk.h"
#include "base/app_state.h"
#include "base/event_queue.h"
#include "base/paths.h"
#include "base/trace.h"
#include "config/app_settings.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "viewer/code_view_gtk.h"

namespace app {
namespace {

enum DragTarget { UriListTarget = 1, TextTarget = 2 };

GtkTargetList* uriTargets() {
  GtkTargetList* targets = gtk_target_list_new(nullptr, 0);
  gtk_target_list_add_uri_targets(targets, UriListTarget);
  return targets;
}

std::string draggedUri;
std::string draggedText;

// The code of the dragged topic as the copy button gives it, when the view shows it;
// the drag starts once the press on the row has shown the topic.
std::string selectedTopicDragText() {
  const int row = database::selectedTopicRow(base::topicTreeView());
  if (row < 0 || row >= static_cast<int>(database::indexEntries.size())) return std::string();
  if (database::indexEntries[row].File != base::appState.currentCodeFile) return std::string();
  return viewer::shownCodeText();
}

void onTreeDragDataGet(GtkWidget*, GdkDragContext*, GtkSelectionData* data, guint info, guint, gpointer) {
  if (info == TextTarget) {
    gtk_selection_data_set_text(data, draggedText.c_str(), static_cast<gint>(draggedText.size()));
    return;
  }
  if (draggedUri.empty()) return;
  gchar* uris[] = {const_cast<gchar*>(draggedUri.c_str()), nullptr};
  gtk_selection_data_set_uris(data, uris);
}

// A text view that is not editable refuses every drop in its own drag handlers, so
// the code view answers the drag itself: files are welcome, and it stays read-only.
gboolean onCodeViewDragMotion(GtkWidget* view, GdkDragContext* context, gint, gint, guint time, gpointer) {
  GdkDragAction action = GdkDragAction(0);
  if (gtk_drag_dest_find_target(view, context, nullptr) != GDK_NONE)
    action =
        gdk_drag_context_get_suggested_action(context) == GDK_ACTION_MOVE ? GDK_ACTION_MOVE : GDK_ACTION_COPY;
  gdk_drag_status(context, action, time);
  return TRUE;
}

gboolean onCodeViewDragDrop(GtkWidget* view, GdkDragContext* context, gint, gint, guint time, gpointer) {
  const GdkAtom target = gtk_drag_dest_find_target(view, context, nullptr);
  if (target == GDK_NONE)
    gtk_drag_finish(context, FALSE, FALSE, time);
  else
    gtk_drag_get_data(view, context, target, time);
  return TRUE;
}

void onCodeViewDragDataReceived(GtkWidget* widget, GdkDragContext* context, gint, gint,
                                GtkSelectionData* data, guint, guint time, gpointer) {
  TRACE_LINE();
  // The text view would insert the dropped text itself; only files are taken here.
  g_signal_stop_emission_by_name(widget, "drag-data-received");
  gchar** uris = gtk_selection_data_get_uris(data);
  std::string joined;
  for (gchar** uri = uris; uri && *uri; ++uri) {
    gchar* path = g_filename_from_uri(*uri, nullptr, nullptr);
    if (!path) continue;
    if (!joined.empty()) joined += "\n";
    joined += path;
    g_free(path);
  }
  g_strfreev(uris);
  gtk_drag_finish(context, !joined.empty(), FALSE, time);
  if (joined.empty()) return;
  base::Event event;
  event.kind = base::EventKind::FilesDropped;
  event.window = base::MainWindowNo;
  event.widget = base::CodeViewControl;
  event.droppedPaths = joined;
  base::postEvent(event);
}

}  // namespace

std::string selectedTopicDragUri() {
  TRACE_LINE();
  const int row = database::selectedTopicRow(base::topicTreeView());
  if (row < 0 || row >= static_cast<int>(database::indexEntries.size())) return std::string();
  const std::string file(database::indexEntries[row].File);
  if (file.empty()) return std::string();
  const std::string path = base::joinLibraryPath(appSettings.Lib_path, file);
  if (!base::isRegularFile(path)) return std::string();
  gchar* absolute = g_canonicalize_filename(
      path.c_str(), base::appState.programFolder.empty() ? nullptr : base::appState.programFolder.c_str());
  gchar* uri = g_filename_to_uri(absolute, nullptr, nullptr);
  g_free(absolute);
  std::string result = uri ? uri : "";
  g_free(uri);
  return result;
}

void startTopicDrag() {
  TRACE_LINE();
  draggedUri = selectedTopicDragUri();
  if (draggedUri.empty()) return;
  draggedText = selectedTopicDragText();
  // The file link comes first, so that targets taking files keep getting the file;
  // a terminal or a plain text field takes the text.
  GtkTargetList* targets = uriTargets();
  if (!draggedText.empty()) gtk_target_list_add_text_targets(targets, TextTarget);
  GdkEvent* trigger = gtk_get_current_event();
  gtk_drag_begin(base::mainWindow.control[base::TopicTreeControl], targets, GDK_ACTION_COPY, 1, trigger);
  if (trigger) gdk_event_free(trigger);
  gtk_target_list_unref(targets);
}

void connectCodeViewDrop() {
  TRACE_LINE();
  GtkWidget* code = base::mainWindow.control[base::CodeViewControl];
  gtk_drag_dest_set(code, GtkDestDefaults(0), nullptr, 0, GdkDragAction(GDK_ACTION_COPY | GDK_ACTION_MOVE));
  GtkTargetList* targets = uriTargets();
  gtk_drag_dest_set_target_list(code, targets);
  gtk_target_list_unref(targets);
  g_signal_connect(code, "drag-motion", G_CALLBACK(onCodeViewDragMotion), nullptr);
  g_signal_connect(code, "drag-drop", G_CALLBACK(onCodeViewDragDrop), nullptr);
  g_signal_connect(code, "drag-data-received", G_CALLBACK(onCodeViewDragDataReceived), nullptr);
  g_signal_connect(base::mainWindow.control[base::TopicTreeControl], "drag-data-get",
                   G_CALLBACK(onTreeDragDataGet), nullptr);
}

}  // namespace app
