// Starting the program on a 10,000-topic database until its main window is shown and
// idle, taking up a noted place (a topic near the end of the tree, ten history entries,
// zoom, wrap and a search text), against the same start with --no-restore. The goal is
// on the processor time the program uses, which the load of a shared machine leaves
// mostly alone. Goal: ratio <= 1.05.
// Needs a display: run it under xvfb-run when none is set.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <glib/gstdio.h>

#include "bench_timing.h"
#include "config/place_note.h"
#include "database/toc_database.h"
#include "database/topic_index.h"
#include "process_start.h"

namespace {

const char* const mainWindowTitle = "Linux ZN-ZID-Idavode-Ruriva";
constexpr int startLimitMs = 60000;
constexpr int turns = 21;
constexpr double goal = 1.05;

// The last topics of the tree that name a file, the last one first.
std::vector<int> lastTopicsWithFiles(const std::string& path, std::size_t count) {
  std::vector<int> rows;
  std::vector<database::TopicRow> shown;
  if (!database::readDatabaseFile(path) || !database::documentRoot()) return rows;
  database::clearTopicIndex();
  database::buildTopicTree(database::documentRoot(), 0, 0, true, shown);
  for (int row = static_cast<int>(database::indexEntries.size()) - 1; row >= 0 && rows.size() < count;
       --row) {
    if (!database::indexEntries[row].File.empty()) rows.push_back(row);
  }
  return rows;
}

// The noted topics' snippets in the library, so that showing them reads real files.
std::vector<std::string> writeSnippets(const std::string& library, const std::vector<int>& rows) {
  std::vector<std::string> files;
  for (int row : rows) {
    const std::string file = library + std::string(database::indexEntries[row].File);
    g_mkdir_with_parents(file.substr(0, file.rfind('/')).c_str(), 0700);
    const std::string code =
        "; A snippet\nProcedure Resize(*window)\n  gtk_window_resize(*window, 640, 480)\n"
        "EndProcedure\n";
    g_file_set_contents(file.c_str(), code.c_str(), -1, nullptr);
    files.push_back(file);
  }
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  bool generated = false;
  const std::string path = bench::benchmarkDatabase(argc, argv, generated);
  if (path.empty()) return 1;
  const bench::ProgramFolder program = bench::makeProgramFolder(ZN_VIEWER_BINARY, path);
  const std::vector<int> rows = lastTopicsWithFiles(path, 11);
  if (rows.size() < 11) {
    std::fprintf(stderr, "bench_place_restore: the database has too few topics\n");
    return 1;
  }
  const std::vector<std::string> snippets = writeSnippets(program.folder, rows);

  config::PlaceNote note;
  note.databasePath = path;
  note.shown = config::notedTopic(database::indexEntries[rows[0]]);
  for (std::size_t i = 1; i < rows.size(); ++i)
    note.history.push_back(config::notedTopic(database::indexEntries[rows[i]]));
  note.zoomLevel = 5;
  note.lineWrap = true;
  note.searchText = "Fenstergröße";
  const std::string state = program.folder + "state/";
  const std::string notePath = state + "zn-api-viewer/place";
  if (!config::writePlaceNote(notePath, note)) return 1;
  std::vector<std::string> environment = bench::quietToolkitEnvironment(program.folder);
  environment.push_back("XDG_STATE_HOME=" + state);

  // The machine's speed drifts over seconds on a shared machine: each turn's two starts
  // follow each other closely and give one ratio, their order alternating, and the
  // median ratio is the figure.
  std::vector<double> ratios, freshMs, restoredMs;
  bool sound = true;
  for (int turn = 0; turn < turns; ++turn) {
    const auto start = [&](bool restore) {
      return restore ? bench::measureStart({program.binary}, environment, mainWindowTitle, startLimitMs)
                     : bench::measureStart({program.binary, "--no-restore"}, environment, mainWindowTitle,
                                           startLimitMs);
    };
    const bool restoreFirst = turn % 2 == 1;
    const bench::StartFigures first = start(restoreFirst);
    const bench::StartFigures second = start(!restoreFirst);
    const bench::StartFigures& fresh = restoreFirst ? second : first;
    const bench::StartFigures& restored = restoreFirst ? first : second;
    sound = sound && fresh.shown && fresh.alive && restored.shown && restored.alive;
    ratios.push_back(restored.busyMs / fresh.busyMs);
    freshMs.push_back(fresh.busyMs);
    restoredMs.push_back(restored.busyMs);
  }

  for (const std::string& file : snippets) g_unlink(file.c_str());
  for (const std::string& file : snippets) g_rmdir(file.substr(0, file.rfind('/')).c_str());
  g_unlink(notePath.c_str());
  g_rmdir((state + "zn-api-viewer").c_str());
  g_rmdir(state.c_str());
  bench::removeProgramFolder(program);
  if (generated) bench::removeScratchDatabase(path);
  if (!sound) {
    std::fprintf(stderr, "bench_place_restore: a start did not show its window\n");
    return 1;
  }
  const double ratio = bench::median(ratios);
  std::printf(
      "bench_place_restore (10,000 topics): processor time taking up the place %.2f ms, with --no-restore "
      "%.2f ms (medians of %d), median ratio of the paired starts %.2f (goal <= %.2f) %s\n",
      bench::median(restoredMs), bench::median(freshMs), turns, ratio, goal, ratio <= goal ? "ok" : "MISSED");
  return ratio <= goal ? 0 : 1;
}
