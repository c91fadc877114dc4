// The bare browser's parts that the benchmark measures as well: its file list and where
// its rows lie.
#pragma once

#include <string>
#include <vector>

#include <gtk/gtk.h>

namespace bench {

// Where the bare browser puts its search field, its file list and its text view.
constexpr int bareListTop = 40;
constexpr const char* bareBrowserTitle = "bare browser";

// A plain list of file paths, as a first GTK program would make it.
inline GtkWidget* newBareFileList(const std::vector<std::string>& files) {
  GtkListStore* store = gtk_list_store_new(1, G_TYPE_STRING);
  for (const std::string& file : files) {
    GtkTreeIter iter;
    gtk_list_store_append(store, &iter);
    gtk_list_store_set(store, &iter, 0, file.c_str(), -1);
  }
  GtkWidget* list = gtk_tree_view_new_with_model(GTK_TREE_MODEL(store));
  g_object_unref(store);
  gtk_tree_view_insert_column_with_attributes(GTK_TREE_VIEW(list), -1, "", gtk_cell_renderer_text_new(),
                                              "text", 0, nullptr);
  gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(list), FALSE);
  return list;
}

}  // namespace bench
