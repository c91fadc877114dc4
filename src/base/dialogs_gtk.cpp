// Modal message boxes, questions and choosers, built with the toolkit.
#include "base/dialogs_gtk.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtk/gtk.h>

#include "base/dialogs.h"
#include "base/trace.h"
#include "base/window_kit_gtk.h"

namespace base {
namespace {

// With ZN_DIALOG_LOG set, every dialog is also appended to that file, so
// that tests driving the real program can read what it said.
void logDialog(const DialogRequest& request) {
  const char* logPath = std::getenv("ZN_DIALOG_LOG");
  if (!logPath || !*logPath) return;
  std::string line = request.title + "\t";
  for (const char c : request.text) {
    if (c == '\\')
      line += "\\\\";
    else if (c == '\n')
      line += "\\n";
    else if (c == '\r')
      line += "\\r";
    else
      line += c;
  }
  line += "\n";
  if (FILE* file = std::fopen(logPath, "a")) {
    std::fputs(line.c_str(), file);
    std::fclose(file);
  }
}

// The windows below redraw before the command goes on.
void closeDialog(GtkWidget* dialog) {
  gtk_widget_destroy(dialog);
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

// Every dialog takes the keyboard focus when it appears, with a window manager too.
gint runModal(GtkWidget* dialog) {
  takeFocusWhenShown(dialog);
  return gtk_dialog_run(GTK_DIALOG(dialog));
}

// Takes over a text the toolkit allocated; "" for none.
std::string takeText(gchar* text) {
  const std::string result = text ? text : "";
  g_free(text);
  return result;
}

std::string runMessage(const DialogRequest& request, bool question) {
  TRACE_LINE();
  GtkWidget* dialog =
      gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, question ? GTK_MESSAGE_QUESTION : GTK_MESSAGE_INFO,
                             question ? GTK_BUTTONS_YES_NO : GTK_BUTTONS_OK, "%s", request.text.c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), request.title.c_str());
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
  const gint response = runModal(dialog);
  closeDialog(dialog);
  return response == GTK_RESPONSE_YES ? "yes" : "";
}

// An open chooser has no name of its own to propose (setting one is refused): it
// selects the file in its folder, or opens the folder of a file that is missing. A
// bare name lies in the working folder, the program folder.
void proposeFile(GtkFileChooser* chooser, const std::string& proposed) {
  gchar* path = g_canonicalize_filename(proposed.c_str(), nullptr);
  if (g_file_test(path, G_FILE_TEST_IS_REGULAR)) {
    gtk_file_chooser_set_filename(chooser, path);
  } else {
    gchar* folder = g_path_get_dirname(path);
    if (g_file_test(folder, G_FILE_TEST_IS_DIR)) gtk_file_chooser_set_current_folder(chooser, folder);
    g_free(folder);
  }
  g_free(path);
}

std::string runChooser(const DialogRequest& request, GtkFileChooserAction action) {
  TRACE_LINE();
  GtkWidget* dialog = gtk_file_chooser_dialog_new(request.title.c_str(), nullptr, action, GTK_STOCK_CANCEL,
                                                  GTK_RESPONSE_CANCEL, GTK_STOCK_OPEN, GTK_RESPONSE_ACCEPT,
                                                  static_cast<char*>(nullptr));
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
  if (action == GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER) {
    if (!request.text.empty()) gtk_file_chooser_set_current_folder(chooser, request.text.c_str());
  } else if (!request.text.empty()) {
    proposeFile(chooser, request.text);
  }
  if (!request.filterPattern.empty()) {
    GtkFileFilter* filter = gtk_file_filter_new();
    gtk_file_filter_set_name(filter, request.filterName.c_str());
    gtk_file_filter_add_pattern(filter, request.filterPattern.c_str());
    gtk_file_chooser_add_filter(chooser, filter);
  }
  // The chooser keeps the files it opened in the recently used list of the user's data
  // folder, and warns on standard error when that folder does not exist yet.
  g_mkdir_with_parents(g_get_user_data_dir(), 0700);
  const bool accepted = runModal(dialog) == GTK_RESPONSE_ACCEPT;
  const std::string chosen = accepted ? takeText(gtk_file_chooser_get_filename(chooser)) : std::string();
  closeDialog(dialog);
  return chosen;
}

std::string runFontChooser(const DialogRequest& request) {
  TRACE_LINE();
  GtkWidget* dialog = gtk_font_selection_dialog_new(request.title.c_str());
  GtkFontSelectionDialog* fonts = GTK_FONT_SELECTION_DIALOG(dialog);
  if (!request.text.empty()) gtk_font_selection_dialog_set_font_name(fonts, request.text.c_str());
  const bool accepted = runModal(dialog) == GTK_RESPONSE_OK;
  const std::string chosen =
      accepted ? takeText(gtk_font_selection_dialog_get_font_name(fonts)) : std::string();
  closeDialog(dialog);
  return chosen;
}

std::string runToolkitDialog(const DialogRequest& request) {
  logDialog(request);
  switch (request.kind) {
    case DialogKind::Message: return runMessage(request, false);
    case DialogKind::YesNo: return runMessage(request, true);
    case DialogKind::OpenFile: return runChooser(request, GTK_FILE_CHOOSER_ACTION_OPEN);
    case DialogKind::ChooseFolder: return runChooser(request, GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER);
    case DialogKind::ChooseFont: return runFontChooser(request);
  }
  return std::string();
}

}  // namespace

void installToolkitDialogs() { setDialogHandler(runToolkitDialog); }

}  // namespace base
