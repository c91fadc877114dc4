// The code search on generated libraries of 10,000 and 100,000 snippets of the sample's size:
// - a keystroke (the search and the list update of the code search window) against a plain
//   memmem scan of the same folded texts for every match: ratio <= 2, and within 16 ms (one
//   frame) on 10,000 snippets, 50 ms on 100,000;
// - building the index (the reading thread, its batches taken by the main loop) against cat
//   reading the same files: ratio <= 2 on 10,000 snippets;
// - a keystroke while the reading thread reads the files and the main loop takes them
//   in: within one frame (10,000);
// - the resident memory the index takes against the bytes of the snippet files: ratio <= 1.5.
// Needs a display: run it under xvfb-run when none is set.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtk/gtk.h>

#include "app/main_window_gtk.h"
#include "base/app_state.h"
#include "base/control_numbers.h"
#include "base/event_queue.h"
#include "base/main_window_widgets_gtk.h"
#include "bench_timing.h"
#include "config/app_settings.h"
#include "database/toc_database.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "database_generator.h"
#include "search/code_index_reader.h"
#include "search/code_search_window_gtk.h"

namespace {

constexpr double frameMs = 16.0;
constexpr double keystrokeRatioGoal = 2.0;
constexpr double buildRatioGoal = 2.0;
constexpr double memoryRatioGoal = 1.5;
// Typed one key after the other, from a text that matches nearly every line to a rare one.
const char* const typedTexts[] = {"g", "gtk_", "gtk_widget_show", "topic 4711"};
// Each text is typed at least twice while the index reads.
constexpr int keystrokesWanted = 2 * static_cast<int>(std::size(typedTexts));

struct Library {
  std::string folder;  // ending in "/"
  std::size_t codeBytes = 0;
  std::vector<std::string> files;
  std::string fileList;  // a file naming the snippet files, NUL-separated, for cat
};

Library makeLibrary(int topics) {
  Library library;
  char* folder = g_dir_make_tmp("zn-bench-code-XXXXXX", nullptr);
  library.folder = std::string(folder ? folder : "/tmp") + "/";
  g_free(folder);
  library.codeBytes = bench::writeSnippetLibrary(library.folder, topics);
  std::string list;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(library.folder)) {
    if (!entry.is_regular_file() || entry.path().filename() == "ZN-LinuxAPI-Toc.xml") continue;
    library.files.push_back(entry.path().string());
    list += library.files.back() + '\0';
  }
  bench::writeDatabaseFile(library.folder + "files.list", list);
  library.fileList = library.folder + "files.list";
  return library;
}

long residentBytes() {
  long pages = 0, resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * sysconf(_SC_PAGESIZE);
}

void catFiles(const Library& library) {
  const std::string command = "xargs -0 cat < '" + library.fileList + "' > /dev/null";
  const int status = std::system(command.c_str());
  (void)status;
}

void pumpOnce() {
  while (g_main_context_iteration(nullptr, FALSE)) {
  }
}

GtkWidget* searchField() { return search::codeSearchWindow.control[base::CodeSearchFieldControl]; }

// The keystroke as the window handles it: the field's new text, then the search and the list.
double keystrokeMs(const char* text) {
  {
    const base::ProgramChange guard;
    gtk_entry_set_text(GTK_ENTRY(searchField()), text);
  }
  auto work = [] { search::searchCodeFromField(); };
  return bench::elapsedMilliseconds(work);
}

// Every match of the folded text in every file, found with memmem.
std::size_t memmemScan(const std::string& text) {
  const std::string needle = search::foldCase(text);
  std::size_t matches = 0;
  for (const search::CodeFile& file : search::codeIndex.files) {
    const char* at = file.code.text.data();
    const char* const end = at + file.code.text.size();
    while ((at = static_cast<const char*>(memmem(at, end - at, needle.data(), needle.size())))) {
      ++matches;
      ++at;
    }
  }
  return matches;
}

// Reads the whole library into the index, its batches taken by the main loop.
double buildMs() {
  auto work = [] {
    search::rebuildCodeIndex(database::indexEntries, appSettings.Lib_path);
    while (search::codeIndexProgress().building) g_main_context_iteration(nullptr, FALSE);
  };
  const double ms = bench::elapsedMilliseconds(work);
  pumpOnce();
  return ms;
}

struct TypingFigures {
  double slowestBestMs = 0;  // the slowest text's best keystroke
  double slowestMs = 0;      // the slowest keystroke of all
  int keystrokes = 0;
};

// Types the texts in turn, one every 20 ms, until the reading is done.
void typeWhileReading(std::vector<double>& best, TypingFigures& figures, gint64& nextKey) {
  while (search::codeIndexProgress().done < search::codeIndexProgress().total) {
    g_main_context_iteration(nullptr, FALSE);
    if (g_get_monotonic_time() < nextKey) continue;
    const std::size_t text = figures.keystrokes++ % best.size();
    const double ms = keystrokeMs(typedTexts[text]);
    best[text] = std::min(best[text], ms);
    figures.slowestMs = std::max(figures.slowestMs, ms);
    nextKey = g_get_monotonic_time() + 20000;
  }
}

// Has the reading thread read every file again: all files are touched, so the refresh
// reads them all, with the whole index to search.
void readAllAgain(const Library& library) {
  for (const std::string& path : library.files) utimensat(AT_FDCWD, path.c_str(), nullptr, 0);
  search::refreshCodeIndex(database::indexEntries, appSettings.Lib_path);
}

// Keystrokes while the reading thread reads every file again and hands it over. Each
// text is typed at least twice, its best time spreading the machine's other load; a
// reading that ends sooner is started again.
TypingFigures typingWhileReading(const Library& library) {
  std::vector<double> best(std::size(typedTexts), 1e300);
  TypingFigures figures;
  gint64 nextKey = g_get_monotonic_time();
  for (int round = 0; round < 20 && figures.keystrokes < keystrokesWanted; ++round) {
    readAllAgain(library);
    typeWhileReading(best, figures, nextKey);
  }
  pumpOnce();
  for (const double ms : best) figures.slowestBestMs = std::max(figures.slowestBestMs, ms < 1e300 ? ms : 0.0);
  return figures;
}

bool measureLibrary(int topics, bool timeTheBuild) {
  std::printf("bench_code_search: writing a library of %d snippets ...\n", topics);
  std::fflush(stdout);
  const Library library = makeLibrary(topics);
  if (library.codeBytes == 0) {
    std::printf("bench_code_search: cannot write the library in %s MISSED\n", library.folder.c_str());
    return false;
  }
  appSettings.Lib_path = library.folder;
  database::readDatabaseFile(library.folder + "ZN-LinuxAPI-Toc.xml");
  database::rebuildTopicTree(base::topicTreeView(), 0, true);
  catFiles(library);  // the files come from the page cache for both from here on
  search::openCodeSearchWindow();
  pumpOnce();

  const long before = residentBytes();
  const double firstBuildMs = buildMs();
  const long after = residentBytes();
  char name[96];
  std::snprintf(name, sizeof name, "bench_code_search memory (%d)", topics);
  bool ok = bench::reportRatio(name, "index resident", (after - before) / 1048576.0, "snippet files",
                               library.codeBytes / 1048576.0, memoryRatioGoal);
  std::printf("  (MiB, not ms)\n");

  if (timeTheBuild) {
    double bestBuildMs = firstBuildMs;
    const bench::PairTimes times = bench::bestOfTurns(
        3, [&] { bestBuildMs = std::min(bestBuildMs, buildMs()); }, [&] { catFiles(library); });
    std::snprintf(name, sizeof name, "bench_code_search build (%d)", topics);
    ok = bench::reportRatio(name, "index built", bestBuildMs, "cat", times.baselineMs, buildRatioGoal) && ok;
    const TypingFigures typing = typingWhileReading(library);
    const bool smooth = typing.keystrokes >= keystrokesWanted && typing.slowestBestMs <= frameMs;
    std::printf(
        "bench_code_search typing while reading (%d): %d keystrokes, slowest text's best %.2f ms (goal <= "
        "%.0f "
        "ms) %s; slowest of all %.2f ms\n",
        topics, typing.keystrokes, typing.slowestBestMs, frameMs, smooth ? "ok" : "MISSED", typing.slowestMs);
    ok = smooth && ok;
  }

  const double limitMs = topics <= 10000 ? frameMs : 50.0;
  for (const char* text : typedTexts) {
    std::size_t matches = 0;
    const bench::PairTimes times = bench::bestOfTurns(
        7, [&] { keystrokeMs(text); }, [&] { matches += memmemScan(text); });
    std::snprintf(name, sizeof name, "bench_code_search keystroke \"%s\" (%d)", text, topics);
    ok = bench::reportRatio(name, "search and list", times.measuredMs, "memmem scan", times.baselineMs,
                            keystrokeRatioGoal) &&
         ok;
    const bool inTime = times.measuredMs <= limitMs;
    std::printf(
        "  %s, %zu matches: %.2f ms (goal <= %.0f ms) %s\n",
        gtk_label_get_text(GTK_LABEL(search::codeSearchWindow.control[base::CodeSearchStatusControl])),
        matches / 7, times.measuredMs, limitMs, inTime ? "ok" : "MISSED");
    ok = inTime && ok;
  }
  search::stopCodeIndexReading();
  search::codeIndex = search::CodeIndex();
  database::closeDatabase();
  std::filesystem::remove_all(library.folder);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "bench_code_search needs a display\n");
    return 1;
  }
  base::resetAppState(g_get_tmp_dir() + std::string("/"));
  resetAppSettings(base::appState.programFolder);
  app::createPopupMenus();
  if (!app::buildMainWindow()) return 1;
  // A number of snippets on the command line measures that library alone.
  if (argc > 1) return measureLibrary(std::atoi(argv[1]), true) ? 0 : 1;
  bool ok = measureLibrary(10000, true);
  ok = measureLibrary(100000, false) && ok;
  return ok ? 0 : 1;
}
