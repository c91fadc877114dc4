// Path and text helpers shared by every module ("/" separates folders).
#pragma once

#include <string>
#include <string_view>

namespace paths {

// Everything up to and including the last "/" ("" when there is none).
std::string folderPart(const std::string& path);
// Everything after the last "/".
std::string fileNamePart(std::string_view path);
// The text without its leading "/" characters.
std::string withoutLeadingSlashes(const std::string& path);
// folder + file, the file's leading "/" characters dropped.
std::string joinLibraryPath(const std::string& folder, const std::string& file);
// The path itself when it begins with "/", else base (a folder ending in "/") + path.
std::string absoluteIn(const std::string& base, const std::string& path);

bool isRegularFile(const std::string& path);
bool isDirectory(const std::string& path);

}  // namespace paths
