// The duplicate-entries report the plain way: every earlier row against every later
// row. Quadratic, and therefore the yardstick for the grouping version.
#pragma once

#include <string>
#include <vector>

#include "database/topic_index.h"

namespace testing_support {

inline std::string referenceFileName(const std::string& file) {
  const std::size_t slash = file.rfind('/');
  return slash == std::string::npos ? file : file.substr(slash + 1);
}

inline void referencePair(std::string& out, const char* label, const std::string& a,
                          const std::string& groupA, const std::string& b, const std::string& groupB) {
  out += label + a + "[" + groupA + "] = " + b + "[" + groupB + "]\n";
}

inline void referenceFileSection(std::string& out, const std::vector<database::IndexEntry>& entries) {
  for (std::size_t a = 0; a < entries.size(); ++a) {
    if (entries[a].File.empty()) continue;
    const std::string nameA = referenceFileName(entries[a].File);
    for (std::size_t b = a + 1; b < entries.size(); ++b) {
      const std::string nameB = referenceFileName(entries[b].File);
      if (entries[a].File == entries[b].File)
        referencePair(out, "File: ", entries[a].File, entries[a].Group, entries[b].File, entries[b].Group);
      if (!nameA.empty() && nameA == nameB)
        referencePair(out, "File: ", nameA, entries[a].Group, nameB, entries[b].Group);
    }
  }
}

inline void referenceFieldSection(std::string& out, const std::vector<database::IndexEntry>& entries,
                                  std::string database::IndexEntry::*field, const char* label) {
  for (std::size_t a = 0; a < entries.size(); ++a) {
    if ((entries[a].*field).empty()) continue;
    for (std::size_t b = a + 1; b < entries.size(); ++b) {
      if (entries[a].*field == entries[b].*field)
        referencePair(out, label, entries[a].*field, entries[a].Group, entries[b].*field, entries[b].Group);
    }
  }
}

inline std::string referenceDuplicatesReport(const std::vector<database::IndexEntry>& entries,
                                             const std::string& databaseFileName) {
  using database::IndexEntry;
  std::string out = "Doppelte xml-Eintr\u00E4ge in " + databaseFileName + ":\n\n";
  referenceFileSection(out, entries);
  out += "\n";
  referenceFieldSection(out, entries, &IndexEntry::FunctionDe, "FunctionDe: ");
  out += "\n";
  referenceFieldSection(out, entries, &IndexEntry::DescriptDe, "DescriptDe: ");
  out += "\n";
  referenceFieldSection(out, entries, &IndexEntry::FunctionEn, "FunctionEn: ");
  out += "\n";
  referenceFieldSection(out, entries, &IndexEntry::DescriptEn, "DescriptEn: ");
  return out;
}

}  // namespace testing_support
