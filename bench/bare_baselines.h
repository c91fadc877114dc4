// The bare toolkit and parser work that the benchmarks hold the program against.
#pragma once

#include <string>
#include <vector>

#include <expat.h>
#include <glib.h>
#include <gtk/gtk.h>

#include "database/topic_index.h"

namespace bench {

inline void XMLCALL onBareStart(void*, const XML_Char*, const XML_Char**) {}
inline void XMLCALL onBareEnd(void*, const XML_Char*) {}
inline void XMLCALL onBareText(void*, const XML_Char*, int) {}

// Reads the whole file and hands it to Expat in one piece, with handlers that do nothing.
inline bool bareExpatParse(const std::string& path) {
  gchar* bytes = nullptr;
  gsize length = 0;
  if (!g_file_get_contents(path.c_str(), &bytes, &length, nullptr)) return false;
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetElementHandler(parser, onBareStart, onBareEnd);
  XML_SetCharacterDataHandler(parser, onBareText);
  const bool sound = XML_Parse(parser, bytes, static_cast<int>(length), 1) != XML_STATUS_ERROR;
  XML_ParserFree(parser);
  g_free(bytes);
  return sound;
}

// Replaces the bare one-column store's content with the rows, each below the last
// row one level up, the way a first GTK program would fill it.
inline void fillBareStore(GtkTreeStore* store, const std::vector<database::TopicRow>& rows) {
  gtk_tree_store_clear(store);
  std::vector<GtkTreeIter> lastAtLevel;
  for (const database::TopicRow& row : rows) {
    GtkTreeIter iter;
    gtk_tree_store_append(store, &iter, row.level > 0 ? &lastAtLevel[row.level - 1] : nullptr);
    gtk_tree_store_set(store, &iter, 0, row.text.c_str(), -1);
    if (static_cast<int>(lastAtLevel.size()) <= row.level) lastAtLevel.resize(row.level + 1);
    lastAtLevel[row.level] = iter;
  }
}

}  // namespace bench
