// The visible work of showing a snippet, done the plainest GTK 2 way: a search field and
// a file list beside a text view. Each change of the field shows the next file of the
// key list, each row chosen in the list shows its file: the file is read into the view
// and the title names it. Usage: bare_browser KEYFILE... : ROWFILE...
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "bare_browser.h"

namespace {

struct Browser {
  GtkWidget* window = nullptr;
  GtkTextBuffer* code = nullptr;
  std::vector<std::string> keyFiles;
  std::vector<std::string> rowFiles;
  std::size_t changes = 0;
};

void showFile(Browser& browser, const std::string& file) {
  gchar* bytes = nullptr;
  gsize length = 0;
  if (!g_file_get_contents(file.c_str(), &bytes, &length, nullptr)) return;
  gtk_text_buffer_set_text(browser.code, bytes, static_cast<gint>(length));
  g_free(bytes);
  gtk_window_set_title(GTK_WINDOW(browser.window),
                       (std::string(bench::bareBrowserTitle) + " ~ " + file).c_str());
}

void onFieldChanged(GtkEditable*, gpointer data) {
  Browser& browser = *static_cast<Browser*>(data);
  if (browser.keyFiles.empty()) return;
  const std::size_t next = std::min(browser.changes++, browser.keyFiles.size() - 1);
  showFile(browser, browser.keyFiles[next]);
}

void onRowChosen(GtkTreeSelection* selection, gpointer data) {
  GtkTreeModel* model = nullptr;
  GtkTreeIter iter;
  if (!gtk_tree_selection_get_selected(selection, &model, &iter)) return;
  GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
  const std::size_t row = static_cast<std::size_t>(gtk_tree_path_get_indices(path)[0]);
  gtk_tree_path_free(path);
  Browser& browser = *static_cast<Browser*>(data);
  if (row < browser.rowFiles.size()) showFile(browser, browser.rowFiles[row]);
}

GtkWidget* scrolled(GtkWidget* child) {
  GtkWidget* scroll = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroll), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
  gtk_container_add(GTK_CONTAINER(scroll), child);
  return scroll;
}

}  // namespace

int main(int argc, char** argv) {
  if (!gtk_init_check(&argc, &argv)) return 2;
  Browser browser;
  bool rows = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], ":") == 0) {
      rows = true;
      continue;
    }
    (rows ? browser.rowFiles : browser.keyFiles).emplace_back(argv[i]);
  }
  browser.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(browser.window), bench::bareBrowserTitle);
  gtk_window_set_default_size(GTK_WINDOW(browser.window), 800, 600);
  g_signal_connect(browser.window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  GtkWidget* fixed = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(browser.window), fixed);

  GtkWidget* field = gtk_entry_new();
  gtk_widget_set_size_request(field, 200, 28);
  gtk_fixed_put(GTK_FIXED(fixed), field, 0, 0);
  g_signal_connect(field, "changed", G_CALLBACK(onFieldChanged), &browser);

  GtkWidget* list = bench::newBareFileList(browser.rowFiles);
  g_signal_connect(gtk_tree_view_get_selection(GTK_TREE_VIEW(list)), "changed", G_CALLBACK(onRowChosen),
                   &browser);
  GtkWidget* listScroll = scrolled(list);
  gtk_widget_set_size_request(listScroll, 350, 540);
  gtk_fixed_put(GTK_FIXED(fixed), listScroll, 0, bench::bareListTop);

  GtkWidget* code = gtk_text_view_new();
  gtk_text_view_set_editable(GTK_TEXT_VIEW(code), FALSE);
  browser.code = gtk_text_view_get_buffer(GTK_TEXT_VIEW(code));
  GtkWidget* codeScroll = scrolled(code);
  gtk_widget_set_size_request(codeScroll, 430, 590);
  gtk_fixed_put(GTK_FIXED(fixed), codeScroll, 360, 0);

  gtk_widget_show_all(browser.window);
  gtk_widget_grab_focus(field);
  gtk_main();
  return 0;
}
