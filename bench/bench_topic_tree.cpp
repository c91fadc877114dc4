// Building the topic tree of a 10,000-topic database and showing it in the tree widget,
// against appending the same rows to a bare one-column GtkTreeStore. Goal: ratio <= 2.
// Needs a display: run it under xvfb-run when none is set.
#include <cstdio>
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "bare_baselines.h"
#include "bench_timing.h"
#include "database/toc_database.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "database_generator.h"

int main(int argc, char** argv) {
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "bench_topic_tree needs a display: run it under xvfb-run -a\n");
    return 2;
  }
  bool generated = false;
  const std::string path = bench::loadBenchmarkDatabase(argc, argv, generated);
  if (path.empty()) return 1;

  // The tree as the main window holds it: in a scrolled frame of a shown window.
  GtkTreeModel* store = database::createTopicModel();
  GtkWidget* view = gtk_tree_view_new_with_model(store);
  database::attachTopicColumns(GTK_TREE_VIEW(view));
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_container_add(GTK_CONTAINER(scrolled), view);
  gtk_container_add(GTK_CONTAINER(window), scrolled);
  gtk_window_set_default_size(GTK_WINDOW(window), 355, 560);
  gtk_widget_show_all(window);
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);

  database::clearTopicIndex();
  std::vector<database::TopicRow> rows;
  database::buildTopicTree(database::documentRoot(), 0, 0, true, rows);
  GtkTreeStore* bare = gtk_tree_store_new(1, G_TYPE_STRING);

  const bench::PairTimes times = bench::bestOfTurns(
      30, [&] { database::rebuildTopicTree(GTK_TREE_VIEW(view), 0, true); },
      [&] { bench::fillBareStore(bare, rows); });
  std::printf("bench_topic_tree: %d rows\n", database::topicRowCount());
  bench::reportRatio("bench_topic_tree", "rebuildTopicTree", times.measuredMs, "bare GtkTreeStore",
                     times.baselineMs, 2.0);

  gtk_widget_destroy(window);
  g_object_unref(store);
  g_object_unref(bare);
  if (generated) bench::removeScratchDatabase(path);
  return 0;
}
