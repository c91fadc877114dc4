// Path and text helpers shared by every module.
#include "base/paths.h"

#include <algorithm>

#include <glib.h>

namespace base {

std::string folderPart(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string fileNamePart(std::string_view path) {
  const auto slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string_view withoutLeadingSlashes(std::string_view path) {
  path.remove_prefix(std::min(path.find_first_not_of('/'), path.size()));
  return path;
}

std::string joinLibraryPath(const std::string& folder, const std::string& file) {
  std::string joined = folder;
  joined += withoutLeadingSlashes(file);
  return joined;
}

std::string absoluteIn(const std::string& folder, const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  return folder + path;
}

bool isRegularFile(const std::string& path) { return g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR); }

bool isDirectory(const std::string& path) { return g_file_test(path.c_str(), G_FILE_TEST_IS_DIR); }

std::string validUtf8(std::string_view bytes) {
  gchar* valid = g_utf8_make_valid(bytes.data(), static_cast<gssize>(bytes.size()));
  std::string result(valid);
  g_free(valid);
  return result;
}

}  // namespace base
