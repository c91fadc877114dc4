// The duplicate-entries report: its layout, and the grouping version against the
// plain all-pairs reference on generated libraries.
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

IndexEntry entry(const std::string& group, const std::string& file, const std::string& de) {
  IndexEntry made;
  made.Group = group;
  made.File = file;
  made.FunctionDe = de;
  return made;
}

TEST(DuplicatesReport, WithoutDuplicatesOnlyTheHeadingAndFiveEmptyLines) {
  const std::vector<IndexEntry> entries = {entry("G", "", ""), entry("G", "a/x.zn", "A"),
                                           entry("H", "a/y.zn", "a")};
  EXPECT_EQ(report(entries), "Doppelte xml-Eintr\u00E4ge in toc.xml:\n\n\n\n\n\n");
  EXPECT_EQ(report({}), "Doppelte xml-Eintr\u00E4ge in toc.xml:\n\n\n\n\n\n");
}

TEST(DuplicatesReport, ThreeEqualTitlesGiveThreePairsInRowOrder) {
  const std::vector<IndexEntry> entries = {entry("G1", "", "T"), entry("G2", "", "x"), entry("G3", "", "T"),
                                           entry("G4", "", "T")};
  EXPECT_EQ(report(entries),
            "Doppelte xml-Eintr\u00E4ge in toc.xml:\n\n\n"
            "FunctionDe: T[G1] = T[G3]\nFunctionDe: T[G1] = T[G4]\nFunctionDe: T[G3] = T[G4]\n\n\n\n");
}

TEST(DuplicatesReport, EqualPathsGiveTwoLinesEqualNamesOneAndEmptyNamesNone) {
  // Two paths naming folders share an empty name, as does a row without a file: no pair.
  const std::vector<IndexEntry> entries = {entry("A", "x/Same.zn", ""), entry("B", "y/Same.zn", ""),
                                           entry("C", "x/Same.zn", ""), entry("D", "Folder/", ""),
                                           entry("E", "", ""),          entry("F", "Other/", "")};
  EXPECT_EQ(report(entries),
            "Doppelte xml-Eintr\u00E4ge in toc.xml:\n\n"
            "File: Same.zn[A] = Same.zn[B]\n"
            "File: x/Same.zn[A] = x/Same.zn[C]\nFile: Same.zn[A] = Same.zn[C]\n"
            "File: Same.zn[B] = Same.zn[C]\n\n\n\n\n");
}

// Values drawn from small pools, so that most of them repeat, some are empty, some
// differ only in letter case, and some paths name folders.
std::vector<IndexEntry> generatedEntries(std::mt19937& random, int count) {
  const std::vector<std::string> values = {"", "Fenster", "fenster", "Knopf", "Fenster ", "\u2730Neu"};
  const std::vector<std::string> files = {"",       "a/One.zn", "b/One.zn", "a/Two.zn",
                                          "One.zn", "a/",       "b/",       "/a/One.zn"};
  const auto pick = [&](const std::vector<std::string>& pool) { return pool[random() % pool.size()]; };
  std::vector<IndexEntry> entries(count);
  for (IndexEntry& made : entries) {
    made.Group = "G" + std::to_string(random() % 4);
    made.File = pick(files);
    made.FunctionDe = pick(values);
    made.DescriptDe = pick(values);
    made.FunctionEn = pick(values);
    made.DescriptEn = pick(values);
    made.FunctionFr = pick(values);
  }
  return entries;
}

TEST(DuplicatesReport, GroupingWritesExactlyWhatComparingAllPairsWrites) {
  std::mt19937 random(20261206);
  for (int round = 0; round < 300; ++round) {
    const std::vector<IndexEntry> entries = generatedEntries(random, round % 40);
    ASSERT_EQ(report(entries), testing_support::referenceDuplicatesReport(entries, "toc.xml")) << round;
  }
}

}  // namespace
