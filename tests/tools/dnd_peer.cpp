// A second X client for the drag and drop tests: a drag source offering file URIs, or a
// drop target that reports what a drag offers it (a text target takes text alone, as a
// terminal does). Reports go to a file, one line each:
// "ready" once the window is on the screen, "begin" when the source's drag begins,
// "motion" when a drag first moves over the target, "offered copy" when the drag offers
// nothing but a copy, "uri <uri>" or "text <text>" for what is dropped, "end" when the drag
// is over.
//
//   dnd_peer source X Y REPORT URI...
//   dnd_peer target X Y REPORT
//   dnd_peer text-target X Y REPORT
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtk/gtk.h>

namespace {

enum Target { UriTarget = 1, TextTarget = 2 };

std::string reportPath;
std::vector<std::string> offeredUris;
bool motionReported = false;

void report(const std::string& line) {
  if (FILE* file = std::fopen(reportPath.c_str(), "a")) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
  }
}

gboolean onMapped(GtkWidget*, GdkEvent*, gpointer) {
  report("ready");
  return FALSE;
}

void onDataGet(GtkWidget*, GdkDragContext*, GtkSelectionData* data, guint, guint, gpointer) {
  std::vector<gchar*> uris;
  for (const std::string& uri : offeredUris) uris.push_back(const_cast<gchar*>(uri.c_str()));
  uris.push_back(nullptr);
  gtk_selection_data_set_uris(data, uris.data());
}

void onDragBegin(GtkWidget*, GdkDragContext*, gpointer) { report("begin"); }

void onDragEnd(GtkWidget*, GdkDragContext*, gpointer) {
  report("end");
  gtk_main_quit();
}

gboolean onMotion(GtkWidget*, GdkDragContext* context, gint, gint, guint, gpointer) {
  if (!motionReported) report("motion");
  if (!motionReported && gdk_drag_context_get_actions(context) == GDK_ACTION_COPY) report("offered copy");
  motionReported = true;
  return FALSE;
}

void onDataReceived(GtkWidget*, GdkDragContext* context, gint, gint, GtkSelectionData* data, guint info,
                    guint time, gpointer) {
  if (info == UriTarget) {
    gchar** uris = gtk_selection_data_get_uris(data);
    for (gchar** uri = uris; uri && *uri; ++uri) report(std::string("uri ") + *uri);
    g_strfreev(uris);
  } else if (guchar* text = gtk_selection_data_get_text(data)) {
    std::string line = "text ";
    for (const guchar* c = text; *c; ++c) line += *c == '\n' ? std::string("\\n") : std::string(1, char(*c));
    report(line);
    g_free(text);
  }
  gtk_drag_finish(context, TRUE, FALSE, time);
  report("end");
  gtk_main_quit();
}

GtkWidget* square(const char* title, int x, int y) {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), title);
  gtk_window_move(GTK_WINDOW(window), x, y);
  gtk_window_set_default_size(GTK_WINDOW(window), 80, 80);
  GtkWidget* box = gtk_event_box_new();
  gtk_container_add(GTK_CONTAINER(window), box);
  g_signal_connect(window, "map-event", G_CALLBACK(onMapped), nullptr);
  return box;
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  if (argc < 5) return 2;
  const std::string mode = argv[1];
  reportPath = argv[4];
  GtkWidget* box = square(mode == "source" ? "dnd peer source" : "dnd peer target", std::atoi(argv[2]),
                          std::atoi(argv[3]));
  const GdkDragAction actions = GdkDragAction(GDK_ACTION_COPY | GDK_ACTION_MOVE);
  if (mode == "source") {
    for (int i = 5; i < argc; ++i) offeredUris.push_back(argv[i]);
    gtk_drag_source_set(box, GDK_BUTTON1_MASK, nullptr, 0, actions);
    gtk_drag_source_add_uri_targets(box);
    g_signal_connect(box, "drag-data-get", G_CALLBACK(onDataGet), nullptr);
    g_signal_connect(box, "drag-begin", G_CALLBACK(onDragBegin), nullptr);
    g_signal_connect(box, "drag-end", G_CALLBACK(onDragEnd), nullptr);
  } else {
    gtk_drag_dest_set(box, GTK_DEST_DEFAULT_ALL, nullptr, 0, actions);
    GtkTargetList* targets = gtk_target_list_new(nullptr, 0);
    if (mode == "target") gtk_target_list_add_uri_targets(targets, UriTarget);
    gtk_target_list_add_text_targets(targets, TextTarget);
    gtk_drag_dest_set_target_list(box, targets);
    gtk_target_list_unref(targets);
    g_signal_connect(box, "drag-motion", G_CALLBACK(onMotion), nullptr);
    g_signal_connect(box, "drag-data-received", G_CALLBACK(onDataReceived), nullptr);
  }
  // A test that went wrong must not leave the peer behind.
  g_timeout_add_seconds(
      60,
      [](gpointer) -> gboolean {
        gtk_main_quit();
        return FALSE;
      },
      nullptr);
  gtk_widget_show_all(gtk_widget_get_toplevel(box));
  gtk_main();
  return 0;
}
