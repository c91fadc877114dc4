// The about dialog: name, version, description, credits and logo.
#include "services/about_gtk.h"

#include <string>

#include <gtk/gtk.h>

#include "base/program_version.h"
#include "base/trace.h"
#include "base/window_kit_gtk.h"
#include "resources/pictures_gtk.h"

namespace services {

bool AboutProgramDialog() {
  TRACE_LINE();
  GdkPixbuf* logo = resources::loadPicture("logo");
  if (!logo) return false;
  GtkWidget* dialog = gtk_about_dialog_new();
  GtkAboutDialog* about = GTK_ABOUT_DIALOG(dialog);
  gtk_about_dialog_set_program_name(about, g_get_application_name());
  const std::string version =
      std::string("\n") + base::programVersion + " gtk" + std::to_string(GTK_MAJOR_VERSION);
  gtk_about_dialog_set_version(about, version.c_str());
  gtk_about_dialog_set_comments(
      about,
      "Viewer für die Zarnel-API-Funktions-Sammlung.\nViewer for the Zarnel API-functions-collection.");
  const char* authors[] = {"The Zarnel API Viewer developers", nullptr};
  gtk_about_dialog_set_authors(about, authors);
  gtk_about_dialog_set_license(about, "Free to use, copy and share with the Zarnel snippet library.");
  // A build names its web page (ZN_WEBSITE); without one the dialog shows no link at all.
  if (ZN_WEBSITE[0] != '\0') gtk_about_dialog_set_website(about, ZN_WEBSITE);
  gtk_about_dialog_set_logo(about, logo);
  g_object_unref(logo);
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  base::takeFocusWhenShown(dialog);
  gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  return true;
}

}  // namespace services
