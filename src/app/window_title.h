// The main window's title, naming the shown code file.
#pragma once

#include <cstdint>
#include <string>

namespace app {

extern const char* const programTitle;  // "Linux ZN-ZID-Idavode-Ruriva"

// The title for a topic's File value by the SourceInTitle setting:
// 0 the file name, 1 the value as given, anything else the full load path.
std::string titleForCodeFile(const std::string& file, std::int64_t sourceInTitle, const std::string& libPath);
// The title for a file shown from outside the library.
std::string titleForExternalFile(const std::string& fullPath);

}  // namespace app
