// The report of database entries that share a value: for the snippet file, the
// German and English titles and descriptions, every pair of rows with that value.
#pragma once

#include <string>
#include <vector>

#include "database/topic_index.h"
#include "export/export_file.h"

namespace exports {

// The heading, then the five sections separated by empty lines. Within a section
// the pairs come in the order of a loop over every earlier row A and every later
// row B; equal values are found by grouping, so the work grows with the number of
// lines written, not with the square of the rows.
void writeDuplicatesReport(ExportWriter& out, const std::vector<database::IndexEntry>& entries,
                           const std::string& databaseFileName);

}  // namespace exports
