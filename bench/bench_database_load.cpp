// Loading a 10,000-topic database with readDatabaseFile against a bare Expat parse
// of the same file with empty handlers. Goal: ratio <= 1.5.
#include <cstdio>
#include <string>

#include <expat.h>
#include <fcntl.h>
#include <unistd.h>

#include "bench_timing.h"
#include "database/toc_database.h"
#include "database_generator.h"

namespace {

void XMLCALL onStart(void*, const XML_Char*, const XML_Char**) {}
void XMLCALL onEnd(void*, const XML_Char*) {}
void XMLCALL onText(void*, const XML_Char*, int) {}

// The same block reading as the loader, with handlers that do nothing.
bool bareExpatParse(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetElementHandler(parser, onStart, onEnd);
  XML_SetCharacterDataHandler(parser, onText);
  bool sound = true;
  for (;;) {
    void* buffer = XML_GetBuffer(parser, static_cast<int>(database::databaseBlockSize));
    const ssize_t got = read(fd, buffer, database::databaseBlockSize);
    const bool last = got <= 0;
    if (XML_ParseBuffer(parser, got > 0 ? static_cast<int>(got) : 0, last) == XML_STATUS_ERROR) {
      sound = false;
      break;
    }
    if (last) break;
  }
  XML_ParserFree(parser);
  close(fd);
  return sound;
}

}  // namespace

int main(int argc, char** argv) {
  bool generated = false;
  const std::string path = bench::benchmarkDatabase(argc, argv, generated);
  if (path.empty()) return 1;
  if (!bareExpatParse(path) || !database::readDatabaseFile(path) ||
      database::tocDatabase->status != 0) {
    std::fprintf(stderr, "the database %s does not parse\n", path.c_str());
    return 1;
  }
  const bench::PairTimes times = bench::bestOfTurns(
      30, [&] { database::readDatabaseFile(path); }, [&] { bareExpatParse(path); });
  bench::reportRatio("bench_database_load", "readDatabaseFile", times.measuredMs, "bare Expat",
                     times.baselineMs, 1.5);
  if (generated) bench::removeScratchDatabase(path);
  return 0;
}
