// The maintenance commands of the administrator menu, over the rows of the topic tree.
#pragma once

namespace exports {

// The library as one web page from the templates.
void exportWebPage();
// A forum posting of all topics (variant 0) or of the new ones (variant 1).
void exportPosting(int variant);
// The list of the topics' snippet files.
void exportFileList();
// A report of database entries that occur twice.
void writeDuplicatesReport();

}  // namespace exports
