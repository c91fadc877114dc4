// The maintenance commands of the administrator menu.
#pragma once

namespace exports {

// The library as one web page from the templates.
void exportWebPage();
// A forum posting of all topics (variant 0) or of the new ones (variant 1).
void exportPosting(int variant);
// A report of database entries that occur twice.
void writeDuplicatesReport();

}  // namespace exports
