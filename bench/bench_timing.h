// Timing helpers shared by the benchmarks: the best of several runs, and the report line.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <glib.h>
#include <glib/gstdio.h>

#include "database/toc_database.h"
#include "database_generator.h"

namespace bench {

struct PairTimes {
  double measuredMs = 1e300;
  double baselineMs = 1e300;
};

template <typename Work>
double elapsedMilliseconds(Work& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  const auto stop = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::milli>(stop - start).count();
}

// Runs the measured work and the baseline in turns and keeps the shortest time of
// each: taking turns spreads any load of the machine over both alike.
template <typename Measured, typename Baseline>
PairTimes bestOfTurns(int runs, Measured measured, Baseline baseline) {
  PairTimes best;
  for (int i = 0; i < runs; ++i) {
    best.baselineMs = std::min(best.baselineMs, elapsedMilliseconds(baseline));
    best.measuredMs = std::min(best.measuredMs, elapsedMilliseconds(measured));
  }
  return best;
}

// The middle value; the upper one of the two middle values of an even count.
inline double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// Prints both times and their ratio against the goal; returns whether the goal is met.
inline bool reportRatio(const char* name, const char* measured, double measuredMs, const char* baseline,
                        double baselineMs, double goal) {
  const double ratio = measuredMs / baselineMs;
  std::printf("%s: %s %.2f ms, %s %.2f ms, ratio %.2f (goal <= %.2f) %s\n", name, measured, measuredMs,
              baseline, baselineMs, ratio, goal, ratio <= goal ? "ok" : "MISSED");
  return ratio <= goal;
}

// A scratch file for the generated database, removed by the caller.
inline std::string scratchDatabasePath() {
  char* folder = g_dir_make_tmp("zn-bench-XXXXXX", nullptr);
  std::string path = std::string(folder ? folder : "/tmp") + "/ZN-LinuxAPI-Toc.xml";
  g_free(folder);
  return path;
}

// Removes the scratch file and its folder.
inline void removeScratchDatabase(const std::string& path) {
  g_unlink(path.c_str());
  g_rmdir(path.substr(0, path.rfind('/')).c_str());
}

// The database a benchmark reads: the file named on the command line, or a
// generated 10,000-topic one in a scratch folder. Empty when it cannot be written.
inline std::string benchmarkDatabase(int argc, char** argv, bool& generated) {
  generated = argc < 2;
  if (!generated) return argv[1];
  const std::string path = scratchDatabasePath();
  if (writeDatabaseFile(path, generateDatabaseXml(10000))) return path;
  std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return std::string();
}

// The benchmark database read into the program's document, as the viewer reads it.
// Empty when it cannot be written or does not load.
inline std::string loadBenchmarkDatabase(int argc, char** argv, bool& generated) {
  const std::string path = benchmarkDatabase(argc, argv, generated);
  if (path.empty()) return path;
  if (database::readDatabaseFile(path) && database::documentRoot()) return path;
  std::fprintf(stderr, "the database %s does not load\n", path.c_str());
  return std::string();
}

}  // namespace bench
