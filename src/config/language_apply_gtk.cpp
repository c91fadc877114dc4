// Applies the language choice to the topic tree and the interface texts.
#include "config/language_apply_gtk.h"

#include "app/app_state.h"
#include "app/main_window_gtk.h"
#include "config/app_settings.h"
#include "config/display_language.h"
#include "database/topic_tree_gtk.h"

namespace config {

void rebuildTreeKeepingSelection() {
  TRACE_LINE();
  GtkTreeView* tree = app::topicTreeView();
  const int row = database::selectedTopicRow(tree);
  database::rebuildTopicTree(tree, languageChoice(), appSettings.DyeingNews != 0);
  app::expandAll(true);
  if (row >= 0 && row < database::topicRowCount()) database::selectTopicRow(tree, row);
}

void ApplyLanguage(bool quick) {
  TRACE_LINE();
  (void)quick;  // the interface texts follow once the language file is read
  rebuildTreeKeepingSelection();
}

}  // namespace config
