// The duplicate-entries report the plain way: every earlier row against every later
// row. Quadratic, and therefore the yardstick for the grouping version.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "database/topic_index.h"

namespace testing_support {

inline std::string referenceDuplicatesReport(const std::vector<database::IndexEntry>& entries,
                                             const std::string& databaseFileName) {
  using database::IndexEntry;
  const auto name = [](std::string_view file) { return std::string(file.substr(file.rfind('/') + 1)); };
  const auto line = [](const char* label, std::string_view a, const IndexEntry& rowA, std::string_view b,
                       const IndexEntry& rowB) {
    std::string text = label;
    text.append(a).append("[").append(rowA.Group).append("] = ");
    return text.append(b).append("[").append(rowB.Group).append("]\n");
  };
  std::string out = "Doppelte xml-Eintr\u00E4ge in " + databaseFileName + ":\n\n";
  for (std::size_t a = 0; a < entries.size(); ++a) {
    for (std::size_t b = a + 1; b < entries.size() && !entries[a].File.empty(); ++b) {
      const std::string nameA = name(entries[a].File), nameB = name(entries[b].File);
      if (entries[a].File == entries[b].File)
        out += line("File: ", entries[a].File, entries[a], entries[b].File, entries[b]);
      if (!nameA.empty() && nameA == nameB) out += line("File: ", nameA, entries[a], nameB, entries[b]);
    }
  }
  const std::pair<std::string_view IndexEntry::*, const char*> sections[] = {
      {&IndexEntry::FunctionDe, "FunctionDe: "},
      {&IndexEntry::DescriptDe, "DescriptDe: "},
      {&IndexEntry::FunctionEn, "FunctionEn: "},
      {&IndexEntry::DescriptEn, "DescriptEn: "}};
  for (const auto& [field, label] : sections) {
    out += "\n";
    for (std::size_t a = 0; a < entries.size(); ++a) {
      for (std::size_t b = a + 1; b < entries.size() && !(entries[a].*field).empty(); ++b) {
        if (entries[a].*field == entries[b].*field)
          out += line(label, entries[a].*field, entries[a], entries[b].*field, entries[b]);
      }
    }
  }
  return out;
}

}  // namespace testing_support
