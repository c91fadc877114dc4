// The duplicate-entries report: the grouping version against the plain all-pairs
// reference, and paths that name folders.
#include "export/duplicates_report.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "export/duplicates_reference.h"

namespace {

using database::IndexEntry;

std::string report(const std::vector<IndexEntry>& entries) {
  exports::ExportWriter out;
  exports::writeDuplicatesReport(out, entries, "toc.xml");
  return out.text;
}

TEST(DuplicatesReport, EqualPathsGiveTwoLinesEqualNamesOneAndEmptyNamesNone) {
  // Two paths naming folders share an empty name, as does a row without a file: no pair.
  std::vector<IndexEntry> entries(6);
  const char* const files[] = {"x/Same.zn", "y/Same.zn", "x/Same.zn", "Folder/", "", "Other/"};
  const char* const groups[] = {"A", "B", "C", "D", "E", "F"};
  for (int row = 0; row < 6; ++row) {
    entries[row].Group = groups[row];
    entries[row].File = files[row];
  }
  EXPECT_EQ(report(entries),
            "Doppelte xml-Eintr\u00E4ge in toc.xml:\n\nFile: Same.zn[A] = Same.zn[B]\n"
            "File: x/Same.zn[A] = x/Same.zn[C]\nFile: Same.zn[A] = Same.zn[C]\nFile: Same.zn[B] = "
            "Same.zn[C]\n\n\n\n\n");
}

// Values drawn from small pools, so that most of them repeat, some are empty, some
// differ only in letter case or a blank, and some paths name folders.
TEST(DuplicatesReport, GroupingWritesExactlyWhatComparingAllPairsWrites) {
  const std::vector<std::string> values = {"", "Fenster", "fenster", "Knopf", "Fenster ", "\u2730Neu"};
  const std::vector<std::string> files = {"",       "a/One.zn", "b/One.zn", "a/Two.zn",
                                          "One.zn", "a/",       "b/",       "/a/One.zn"};
  const std::vector<std::string> groups = {"G0", "G1", "G2", "G3"};
  std::mt19937 random(20261206);
  const auto pick = [&](const std::vector<std::string>& pool) -> const std::string& {
    return pool[random() % pool.size()];
  };
  for (int round = 0; round < 300; ++round) {
    std::vector<IndexEntry> entries(round % 40);
    for (IndexEntry& entry : entries) {
      entry.Group = pick(groups);
      entry.File = pick(files);
      for (std::string_view* field :
           {&entry.FunctionDe, &entry.DescriptDe, &entry.FunctionEn, &entry.DescriptEn, &entry.FunctionFr}) {
        *field = pick(values);
      }
    }
    ASSERT_EQ(report(entries), testing_support::referenceDuplicatesReport(entries, "toc.xml")) << round;
  }
}

}  // namespace
