// Composes the main window's title.
#include "app/window_title.h"

#include "base/paths.h"

namespace app {

const char* const programTitle = "Linux ZN-ZID-Idavode-Ruriva";

std::string titleForCodeFile(const std::string& file, std::int64_t sourceInTitle,
                             const std::string& libPath) {
  const std::string prefix = std::string(programTitle) + " ~ ";
  if (sourceInTitle == 0) return prefix + base::fileNamePart(file);
  if (sourceInTitle == 1) return prefix + file;
  return prefix + base::joinLibraryPath(libPath, file);
}

std::string titleForExternalFile(const std::string& fullPath) {
  return std::string(programTitle) + " ~ " + base::fileNamePart(fullPath);
}

}  // namespace app
