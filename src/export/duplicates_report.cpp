// The duplicate-entries report, by grouping the rows on each compared value.
#include "export/duplicates_report.h"

#include <string_view>
#include <unordered_map>

#include "base/trace.h"

namespace exports {
namespace {

using database::IndexEntry;
using Field = std::string_view IndexEntry::*;

// The rows of each value in row order, and for each row its value's list (-1 for
// none) and its place in that list.
struct ValueGroups {
  std::vector<std::vector<int>> rows;
  std::vector<int> groupOf;
  std::vector<int> placeInGroup;
};

constexpr int noGroup = -1;

std::string_view fileName(const IndexEntry& entry) {
  const std::string_view file = entry.File;
  const std::size_t slash = file.rfind('/');
  return slash == std::string_view::npos ? file : file.substr(slash + 1);
}

// Rows whose field is empty belong to no group. The file section groups by the
// file name, which equal paths share.
ValueGroups groupRows(const std::vector<IndexEntry>& entries, Field field) {
  ValueGroups groups;
  groups.groupOf.assign(entries.size(), noGroup);
  groups.placeInGroup.assign(entries.size(), 0);
  std::unordered_map<std::string_view, int> groupByValue;
  for (std::size_t row = 0; row < entries.size(); ++row) {
    const IndexEntry& entry = entries[row];
    if ((entry.*field).empty()) continue;
    const std::string_view key = field == &IndexEntry::File ? fileName(entry) : entry.*field;
    const auto [found, added] = groupByValue.emplace(key, static_cast<int>(groups.rows.size()));
    if (added) groups.rows.emplace_back();
    std::vector<int>& rows = groups.rows[found->second];
    groups.groupOf[row] = found->second;
    groups.placeInGroup[row] = static_cast<int>(rows.size());
    rows.push_back(static_cast<int>(row));
  }
  return groups;
}

// The rows after this one that share its value.
template <typename Visit>
void forEachLaterRow(const ValueGroups& groups, std::size_t row, Visit visit) {
  if (groups.groupOf[row] == noGroup) return;
  const std::vector<int>& rows = groups.rows[groups.groupOf[row]];
  for (std::size_t i = groups.placeInGroup[row] + 1; i < rows.size(); ++i) visit(rows[i]);
}

void writePair(ExportWriter& out, const char* label, std::string_view a, std::string_view groupA,
               std::string_view b, std::string_view groupB) {
  out.text.append(label).append(a).append("[").append(groupA).append("] = ");
  out.text.append(b).append("[").append(groupB).append("]\n");
  flushWhenFull(out);
}

// A failed write ends a section early: the report is lost anyway.
// Both comparisons for every pair, whole paths first. An empty file name (a path
// naming a folder) is never compared, so a topic without a file never pairs with one.
void writeFileSection(ExportWriter& out, const std::vector<IndexEntry>& entries) {
  const ValueGroups groups = groupRows(entries, &IndexEntry::File);
  for (std::size_t a = 0; a < entries.size() && !out.failed; ++a) {
    const IndexEntry& first = entries[a];
    forEachLaterRow(groups, a, [&](int b) {
      const IndexEntry& second = entries[b];
      if (first.File == second.File)
        writePair(out, "File: ", first.File, first.Group, second.File, second.Group);
      if (!fileName(first).empty()) {
        writePair(out, "File: ", fileName(first), first.Group, fileName(second), second.Group);
      }
    });
  }
}

void writeFieldSection(ExportWriter& out, const std::vector<IndexEntry>& entries, Field field,
                       const char* label) {
  const ValueGroups groups = groupRows(entries, field);
  for (std::size_t a = 0; a < entries.size() && !out.failed; ++a) {
    const IndexEntry& first = entries[a];
    forEachLaterRow(groups, a, [&](int b) {
      writePair(out, label, first.*field, first.Group, entries[b].*field, entries[b].Group);
    });
  }
}

}  // namespace

void writeDuplicatesReport(ExportWriter& out, const std::vector<IndexEntry>& entries,
                           const std::string& databaseFileName) {
  TRACE_LINE();
  writeLine(out, "Doppelte xml-Eintr\u00E4ge in " + databaseFileName + ":");
  writeLine(out, "");
  writeFileSection(out, entries);
  writeLine(out, "");
  writeFieldSection(out, entries, &IndexEntry::FunctionDe, "FunctionDe: ");
  writeLine(out, "");
  writeFieldSection(out, entries, &IndexEntry::DescriptDe, "DescriptDe: ");
  writeLine(out, "");
  writeFieldSection(out, entries, &IndexEntry::FunctionEn, "FunctionEn: ");
  writeLine(out, "");
  writeFieldSection(out, entries, &IndexEntry::DescriptEn, "DescriptEn: ");
}

}  // namespace exports
