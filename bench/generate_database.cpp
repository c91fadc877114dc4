// Writes a benchmark database: generate_database PATH [TOPICS], 10,000 topics by default.
#include <cstdio>
#include <cstdlib>

#include "database_generator.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PATH [TOPICS]\n", argv[0]);
    return 2;
  }
  const int topics = argc > 2 ? std::atoi(argv[2]) : 10000;
  if (topics < 1 || !bench::writeDatabaseFile(argv[1], bench::generateDatabaseXml(topics))) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
