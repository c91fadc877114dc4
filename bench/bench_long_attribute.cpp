// Loading a database with one 20 MB attribute with readDatabaseFile, against
// reading the same file and handing it to Expat in one piece. Goal: ratio <= 2.
#include <cstdio>
#include <string>

#include "bare_baselines.h"
#include "bench_timing.h"
#include "database/toc_database.h"
#include "database_generator.h"

namespace {

constexpr std::size_t attributeBytes = 20u << 20;
// A load that takes longer than this is not repeated: one turn says enough.
constexpr double repeatBelowMs = 5000;

}  // namespace

int main() {
  const std::string path = bench::scratchDatabasePath();
  if (!bench::writeDatabaseFile(path, bench::generateLongAttributeXml(attributeBytes))) return 1;
  const bench::PairTimes first = bench::bestOfTurns(
      1, [&] { database::readDatabaseFile(path); }, [&] { bench::bareExpatParse(path); });
  if (!database::tocDatabase || database::tocDatabase->status != 0) {
    std::fprintf(stderr, "the database %s does not parse\n", path.c_str());
    return 1;
  }
  const bench::PairTimes times =
      first.measuredMs > repeatBelowMs
          ? first
          : bench::bestOfTurns(
                5, [&] { database::readDatabaseFile(path); }, [&] { bench::bareExpatParse(path); });
  const bool met = bench::reportRatio("bench_long_attribute (20 MB)", "readDatabaseFile", times.measuredMs,
                                      "one-piece bare Expat", times.baselineMs, 2.0);
  bench::removeScratchDatabase(path);
  return met ? 0 : 1;
}
