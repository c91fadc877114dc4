// Makes a large database of the sample's shape for the benchmarks.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

// The XML text of a database with the given number of topics (nested topics
// included), spread over twenty groups after the viewer's own group.
std::string generateDatabaseXml(int topicCount);

// A database whose one group holds the given number of topics side by side.
std::string generateSiblingsXml(int topicCount);

// A database of elements nested the given number of levels deep.
std::string generateNestedXml(int depth);

// A database whose one topic has a German description of about the given number
// of bytes, with umlauts, line ends and entity references in it.
std::string generateLongAttributeXml(std::size_t bytes);

// Writes the text to the path; false when that fails.
bool writeDatabaseFile(const std::string& path, const std::string& xml);

// A library in the folder (ending in "/"): the database of generateDatabaseXml and a
// snippet file for every File value in it, each a snippet of the sample library in
// turn with a line "; Topic N" of its own at the top. Returns the bytes of all
// snippet files, 0 when something cannot be written.
std::size_t writeSnippetLibrary(const std::string& folder, int topicCount);

}  // namespace bench
