// The about dialog links to a web page only when the build names one.
#include <cstring>

#include <gtest/gtest.h>

#include <gtk/gtk.h>

#include "services/about_gtk.h"

namespace {

// A visible link: GTK 2 shows the web page as a label with link markup.
bool showsLink(GtkWidget* widget) {
  if (!gtk_widget_get_visible(widget)) return false;
  if (GTK_IS_LINK_BUTTON(widget)) return true;
  if (GTK_IS_LABEL(widget)) return std::strstr(gtk_label_get_label(GTK_LABEL(widget)), "<a href=") != nullptr;
  if (!GTK_IS_CONTAINER(widget)) return false;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  bool found = false;
  for (GList* child = children; child && !found; child = child->next)
    found = showsLink(GTK_WIDGET(child->data));
  g_list_free(children);
  return found;
}

struct Seen {
  bool shown = false;
  bool link = false;
};

// Looks at the open about dialog and closes it; until it is open, looks again.
gboolean inspectAndClose(gpointer data) {
  Seen* seen = static_cast<Seen*>(data);
  GList* windows = gtk_window_list_toplevels();
  for (GList* window = windows; window; window = window->next) {
    GtkWidget* widget = GTK_WIDGET(window->data);
    if (!GTK_IS_ABOUT_DIALOG(widget) || !gtk_widget_get_mapped(widget)) continue;
    seen->shown = true;
    seen->link = showsLink(widget);
    gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_CLOSE);
  }
  g_list_free(windows);
  return seen->shown ? FALSE : TRUE;
}

TEST(AboutDialog, ShowsAWebLinkOnlyWhenTheBuildNamesOne) {
  Seen seen;
  g_timeout_add(20, inspectAndClose, &seen);
  ASSERT_TRUE(services::AboutProgramDialog());
  EXPECT_TRUE(seen.shown);
  EXPECT_EQ(seen.link, ZN_WEBSITE[0] != '\0');
}

}  // namespace
