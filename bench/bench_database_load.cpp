// Loading a 10,000-topic database with readDatabaseFile against a bare Expat parse
// of the same file in one piece with empty handlers. Goal: ratio <= 1.5.
#include <cstdio>
#include <string>

#include "bare_baselines.h"
#include "bench_timing.h"
#include "database/toc_database.h"
#include "database_generator.h"

int main(int argc, char** argv) {
  bool generated = false;
  const std::string path = bench::benchmarkDatabase(argc, argv, generated);
  if (path.empty()) return 1;
  if (!bench::bareExpatParse(path) || !database::readDatabaseFile(path) ||
      database::tocDatabase->status != 0) {
    std::fprintf(stderr, "the database %s does not parse\n", path.c_str());
    return 1;
  }
  const bench::PairTimes times = bench::bestOfTurns(
      30, [&] { database::readDatabaseFile(path); }, [&] { bench::bareExpatParse(path); });
  bench::reportRatio("bench_database_load", "readDatabaseFile", times.measuredMs, "bare Expat",
                     times.baselineMs, 1.5);
  if (generated) bench::removeScratchDatabase(path);
  return 0;
}
