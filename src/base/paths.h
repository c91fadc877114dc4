// Path and text helpers shared by every module ("/" separates folders).
#pragma once

#include <string>
#include <string_view>

namespace base {

// Everything up to and including the last "/" ("" when there is none).
std::string folderPart(const std::string& path);
// Everything after the last "/".
std::string fileNamePart(std::string_view path);
// The text without its leading "/" characters.
std::string_view withoutLeadingSlashes(std::string_view path);
// folder + file, the file's leading "/" characters dropped.
std::string joinLibraryPath(const std::string& folder, const std::string& file);
// The path itself when it begins with "/", else folder (ending in "/") + path.
std::string absoluteIn(const std::string& folder, const std::string& path);

bool isRegularFile(const std::string& path);
bool isDirectory(const std::string& path);

// The text with every byte that is not part of well-formed UTF-8, and every NUL,
// replaced by U+FFFD: what reaches the toolkit, a path or a search must be UTF-8
// that no C interface cuts short.
std::string validUtf8(std::string_view bytes);

}  // namespace base
