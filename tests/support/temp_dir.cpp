// Scratch folders and small file helpers for tests.
#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <sys/stat.h>

#include <glib.h>
#include <glib/gstdio.h>

namespace testing_support {
namespace {
void removeTree(const std::string& path) {
  GDir* dir = g_dir_open(path.c_str(), 0, nullptr);
  if (dir) {
    while (const char* name = g_dir_read_name(dir)) {
      const std::string child = path + "/" + name;
      if (g_file_test(child.c_str(), G_FILE_TEST_IS_DIR) &&
          !g_file_test(child.c_str(), G_FILE_TEST_IS_SYMLINK)) {
        g_chmod(child.c_str(), 0755);
        removeTree(child);
      } else {
        g_unlink(child.c_str());
      }
    }
    g_dir_close(dir);
  }
  g_rmdir(path.c_str());
}
}  // namespace

TempDir::TempDir() {
  char* made = g_dir_make_tmp("zn-test-XXXXXX", nullptr);
  if (!made) throw std::runtime_error("cannot create a temporary folder");
  path_ = std::string(made) + "/";
  g_free(made);
}

TempDir::~TempDir() {
  g_chmod(path_.c_str(), 0755);
  removeTree(path_.substr(0, path_.size() - 1));
}

std::string TempDir::write(const std::string& name, const std::string& bytes) const {
  const std::string full = path_ + name;
  const auto slash = full.rfind('/');
  g_mkdir_with_parents(full.substr(0, slash).c_str(), 0755);
  writeFile(full, bytes);
  return full;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

void writeScript(const std::string& path, const std::string& body) {
  writeFile(path, "#!/bin/sh\n" + body);
  chmod(path.c_str(), 0755);
}

}  // namespace testing_support
