// Starting the program on a 10,000-topic database until its main window is shown
// and idle, against the sum of its parts: a bare GTK window's start, a bare Expat
// parse of the file and a bare tree store fill of its rows. Goal: ratio <= 1.5.
// Resident memory once idle against the bare window's plus four times the file
// size. Goal: ratio <= 1.
// Needs a display: run it under xvfb-run when none is set.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <gtk/gtk.h>
#include <sys/stat.h>

#include "bare_baselines.h"
#include "bench_timing.h"
#include "database/toc_database.h"
#include "database/topic_index.h"
#include "process_start.h"

namespace {

const char* const mainWindowTitle = "Linux ZN-ZID-Idavode-Ruriva";
constexpr int startLimitMs = 60000;
constexpr int turns = 5;

struct Best {
  double ms = 1e300;
  long residentKb = 0;
  bool sound = true;
};

void keepBest(Best& best, const bench::StartFigures& figures) {
  best.sound = best.sound && figures.shown && figures.alive;
  if (figures.readyMs < best.ms) best.ms = figures.readyMs;
  // Resident memory settles to the same figure in every turn; the largest is the fair one.
  best.residentKb = std::max(best.residentKb, figures.residentKb);
}

std::vector<database::TopicRow> rowsOf(const std::string& path) {
  std::vector<database::TopicRow> rows;
  if (!database::readDatabaseFile(path) || !database::documentRoot()) return rows;
  database::clearTopicIndex();
  database::buildTopicTree(database::documentRoot(), 0, 0, true, rows);
  return rows;
}

}  // namespace

int main(int argc, char** argv) {
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "bench_startup needs a display: run it under xvfb-run -a\n");
    return 2;
  }
  bool generated = false;
  const std::string path = bench::benchmarkDatabase(argc, argv, generated);
  if (path.empty()) return 1;
  const bench::ProgramFolder program = bench::makeProgramFolder(ZN_VIEWER_BINARY, path);
  const std::vector<std::string> environment = bench::quietToolkitEnvironment(program.folder);

  Best viewer, bare;
  for (int turn = 0; turn < turns; ++turn) {
    keepBest(bare, bench::measureStart({ZN_BARE_WINDOW_BINARY}, environment, "bare window", startLimitMs));
    keepBest(viewer, bench::measureStart({program.binary}, environment, mainWindowTitle, startLimitMs));
  }
  const std::vector<database::TopicRow> rows = rowsOf(path);
  GtkTreeStore* store = gtk_tree_store_new(1, G_TYPE_STRING);
  const bench::PairTimes parts = bench::bestOfTurns(
      10, [&] { bench::bareExpatParse(path); }, [&] { bench::fillBareStore(store, rows); });
  g_object_unref(store);
  bench::removeProgramFolder(program);

  if (!viewer.sound || !bare.sound || rows.empty()) {
    std::fprintf(stderr, "bench_startup: a program did not show its window\n");
    return 1;
  }
  std::printf("bench_startup: %zu rows; bare window %.2f ms, bare Expat %.2f ms, bare store fill %.2f ms\n",
              rows.size(), bare.ms, parts.measuredMs, parts.baselineMs);
  const bool fast =
      bench::reportRatio("bench_startup", "window shown and idle", viewer.ms, "sum of the parts",
                         bare.ms + parts.measuredMs + parts.baselineMs, 1.5);
  struct stat info;
  const double fileKb = stat(path.c_str(), &info) == 0 ? static_cast<double>(info.st_size) / 1024 : 0;
  const double budgetKb = static_cast<double>(bare.residentKb) + 4 * fileKb;
  const double ratio = static_cast<double>(viewer.residentKb) / budgetKb;
  std::printf(
      "bench_startup memory: resident %.1f MB, bare window %.1f MB + 4 x file %.1f MB = %.1f MB, "
      "ratio %.2f (goal <= 1.00) %s\n",
      viewer.residentKb / 1024.0, bare.residentKb / 1024.0, fileKb / 1024, budgetKb / 1024, ratio,
      ratio <= 1.0 ? "ok" : "MISSED");
  if (generated) bench::removeScratchDatabase(path);
  return fast && ratio <= 1.0 ? 0 : 1;
}
