// The administrator's exports on the 10,000-topic benchmark database: the web page, the
// forum posting and the file list, each as the whole command from the tree's rows to the
// closed file, against writing a file of the same size at once. The duplicates report on
// a variant where each value occurs at most three times (the benchmark database repeats
// its descriptions on purpose, which would make the report quadratic by design), against
// comparing all pairs. Goal: every export under 100 ms.
// Needs a display: run it under xvfb-run when none is set.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <glib/gstdio.h>
#include <gtk/gtk.h>

#include "base/app_state.h"
#include "base/dialogs.h"
#include "bench_timing.h"
#include "database/toc_database.h"
#include "database/topic_index.h"
#include "database/topic_tree_gtk.h"
#include "export/admin_commands.h"
#include "export/duplicates_reference.h"
#include "export/export_commands.h"
#include "support/owned_texts.h"

namespace {

constexpr double goalMs = 100.0;

std::string fileBytes(const std::string& path) {
  gchar* bytes = nullptr;
  gsize size = 0;
  if (!g_file_get_contents(path.c_str(), &bytes, &size, nullptr)) return std::string();
  std::string text(bytes, size);
  g_free(bytes);
  return text;
}

void writeAtOnce(const std::string& path, const std::string& bytes) {
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
}

bool report(const char* name, const char* baseline, const bench::PairTimes& times) {
  const bool met = times.measuredMs < goalMs;
  std::printf("bench_exports: %s %.2f ms, %s %.2f ms, ratio %.2f (goal: under %.0f ms) %s\n", name,
              times.measuredMs, baseline, times.baselineMs, times.measuredMs / times.baselineMs, goalMs,
              met ? "ok" : "MISSED");
  return met;
}

// The whole command against writing its output's bytes in one go.
bool measureCommand(const char* name, const char* outputName, const std::function<void()>& command) {
  command();
  const std::string output = base::appState.exportFolder + outputName;
  const std::string bytes = fileBytes(output);
  const std::string copy = output + ".copy";
  const bench::PairTimes times = bench::bestOfTurns(20, command, [&] { writeAtOnce(copy, bytes); });
  std::printf("bench_exports: %s writes %zu bytes\n", name, bytes.size());
  g_unlink(copy.c_str());
  g_unlink(output.c_str());
  return report(name, "writing the same bytes at once", times);
}

// Every value of the five compared fields occurs three times (the last perhaps fewer).
// The changed texts are kept in texts.
std::vector<database::IndexEntry> threefoldEntries(std::vector<database::IndexEntry> entries,
                                                   testing_support::OwnedTexts& texts) {
  for (std::size_t row = 0; row < entries.size(); ++row) {
    database::IndexEntry& entry = entries[row];
    if (entry.File.empty()) continue;
    const std::string mark = " #" + std::to_string(row / 3);
    entry.File = texts("Group/Topic" + std::to_string(row / 3) + ".zn");
    for (std::string_view* field :
         {&entry.FunctionDe, &entry.DescriptDe, &entry.FunctionEn, &entry.DescriptEn}) {
      *field = texts(std::string(*field) + mark);
    }
  }
  return entries;
}

bool measureDuplicates() {
  testing_support::OwnedTexts texts;
  const std::vector<database::IndexEntry> entries = threefoldEntries(database::indexEntries, texts);
  const std::string output = base::appState.exportFolder + "Protocoll.txt";
  exports::saveDuplicatesReport(entries);
  if (fileBytes(output) !=
      testing_support::referenceDuplicatesReport(entries, base::appState.databaseFileName)) {
    std::printf("bench_exports: the duplicates report differs from the all-pairs reference\n");
    return false;
  }
  // The all-pairs baseline takes seconds: it runs once, the report keeps its best of ten.
  auto save = [&] { exports::saveDuplicatesReport(entries); };
  bench::PairTimes times = bench::bestOfTurns(
      1, save, [&] { testing_support::referenceDuplicatesReport(entries, base::appState.databaseFileName); });
  for (int run = 1; run < 10; ++run)
    times.measuredMs = std::min(times.measuredMs, bench::elapsedMilliseconds(save));
  std::printf("bench_exports: duplicates report of %zu rows, %zu bytes\n", entries.size(),
              fileBytes(output).size());
  g_unlink(output.c_str());
  return report("duplicates report", "comparing all pairs", times);
}

}  // namespace

int main(int argc, char** argv) {
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "bench_exports needs a display: run it under xvfb-run -a\n");
    return 2;
  }
  bool generated = false;
  const std::string path = bench::loadBenchmarkDatabase(argc, argv, generated);
  if (path.empty()) return 1;
  char* scratch = g_dir_make_tmp("zn-bench-export-XXXXXX", nullptr);
  const std::string folder = std::string(scratch ? scratch : "/tmp") + "/";
  g_free(scratch);
  base::appState.exportFolder = folder;
  base::appState.templatesFolder = folder;
  writeAtOnce(folder + "ZN-LinuxAPI-Head.html",
              "<!DOCTYPE html>\n<html><head><title>CurrDate</title></head>\n<body><p>\n");
  writeAtOnce(folder + "ZN-LinuxAPI-Tail.html", "</body>\n</html>\n");
  base::setDialogHandler([](const base::DialogRequest&) { return std::string(); });

  database::clearTopicIndex();
  std::vector<database::TopicRow> rows;
  database::buildTopicTree(database::documentRoot(), 0, 0, true, rows);
  database::setTopicRows(std::move(rows));
  std::printf("bench_exports: %d rows\n", database::topicRowCount());

  measureCommand("web page", "ZN-LinuxAPI-Lib.html", [] { exports::exportWebPage(); });
  measureCommand("forum posting", "ForumPosting.txt", [] { exports::exportPosting(0); });
  measureCommand("file list", "FileList.txt", [] { exports::exportFileList(); });
  measureDuplicates();

  for (const char* name : {"ZN-LinuxAPI-Head.html", "ZN-LinuxAPI-Tail.html"})
    g_unlink((folder + name).c_str());
  g_rmdir(folder.c_str());
  if (generated) bench::removeScratchDatabase(path);
  return 0;
}
