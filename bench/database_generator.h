// Makes a large database of the sample's shape for the benchmarks.
#pragma once

#include <string>

namespace bench {

// The XML text of a database with the given number of topics (nested topics
// included), spread over twenty groups after the viewer's own group.
std::string generateDatabaseXml(int topicCount);

// Writes the text to the path; false when that fails.
bool writeDatabaseFile(const std::string& path, const std::string& xml);

}  // namespace bench
