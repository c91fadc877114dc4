// Path and text helpers shared by every module.
#include "app/paths.h"

#include <sys/stat.h>

namespace paths {

std::string folderPart(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string fileNamePart(std::string_view path) {
  const auto slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string withoutLeadingSlashes(const std::string& path) {
  const auto first = path.find_first_not_of('/');
  return first == std::string::npos ? std::string() : path.substr(first);
}

std::string joinLibraryPath(const std::string& folder, const std::string& file) {
  return folder + withoutLeadingSlashes(file);
}

std::string absoluteIn(const std::string& base, const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  return base + path;
}

bool isRegularFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool isDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace paths
