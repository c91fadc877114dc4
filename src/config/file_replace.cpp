// Writes a whole file through a temporary file and rename(), keeping the old one on failure.
#include "config/file_replace.h"

#include "base/paths.h"
#include "base/trace.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <glib/gstdio.h>

namespace config {
namespace {

bool writeAll(int fd, const std::string& bytes) {
  TRACE_LINE();
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

// Only root may hand a file to another owner; for everybody else the new file
// is simply ours, which is all that rename() can give.
bool takeOverAttributes(int fd, const struct stat& previous) {
  TRACE_LINE();
  struct stat current;
  if (fstat(fd, &current) != 0) return false;
  const bool ownerDiffers = current.st_uid != previous.st_uid || current.st_gid != previous.st_gid;
  if (ownerDiffers && geteuid() == 0 && fchown(fd, previous.st_uid, previous.st_gid) != 0) return false;
  // After fchown, which may clear the set-id bits.
  return fchmod(fd, previous.st_mode & 07777) == 0;
}

bool fillNewFile(int fd, const std::string& bytes, const struct stat* previous) {
  TRACE_LINE();
  if (!writeAll(fd, bytes)) return false;
  if (previous && !takeOverAttributes(fd, *previous)) return false;
  return fsync(fd) == 0;
}

// The kernel gives up after 40 links; so do we.
constexpr int linkLimit = 40;

// The text of a symbolic link, or nothing when `path` is no link.
std::optional<std::string> readLink(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return std::nullopt;
  std::vector<char> text(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
  const ssize_t length = readlink(path.c_str(), text.data(), text.size());
  if (length < 0 || static_cast<std::size_t>(length) >= text.size()) return std::nullopt;
  return std::string(text.data(), static_cast<std::size_t>(length));
}

// The scratch files of a save are named after the file they replace: "." + name + "." +
// six letters or digits.
std::string scratchPrefix(const std::string& path) { return "." + base::fileNamePart(path) + "."; }

bool isScratchName(const std::string& name, const std::string& prefix) {
  if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                     [](char c) { return g_ascii_isalnum(c); });
}

// A save holds a lock on its scratch file until the rename; a scratch file that
// can be locked belongs to a save that was killed and is removed.
void removeIfAbandoned(const std::string& path) {
  TRACE_LINE();
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return;
  struct stat info;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0) {
    g_unlink(path.c_str());
  }
  close(fd);
}

void removeAbandonedScratchFiles(const std::string& path) {
  TRACE_LINE();
  const std::string folder = base::folderPart(path);
  const std::string prefix = scratchPrefix(path);
  GDir* dir = g_dir_open(folder.empty() ? "." : folder.c_str(), 0, nullptr);
  if (!dir) return;
  while (const gchar* name = g_dir_read_name(dir)) {
    if (isScratchName(name, prefix)) removeIfAbandoned(folder + name);
  }
  g_dir_close(dir);
}

// The fallback when no scratch file can be made beside the file: the file is
// opened for update and overwritten. The space is reserved first, so that a full
// disk fails before any byte of the old content is lost.
bool rewriteInPlace(const std::string& path, const std::string& bytes) {
  TRACE_LINE();
  const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const off_t size = static_cast<off_t>(bytes.size());
  const bool written = (bytes.empty() || posix_fallocate(fd, 0, size) == 0) && writeAll(fd, bytes) &&
                       ftruncate(fd, size) == 0 && fsync(fd) == 0;
  return close(fd) == 0 && written;
}

}  // namespace

std::optional<std::string> linkTarget(const std::string& path) {
  TRACE_LINE();
  std::string current = path;
  for (int step = 0; step <= linkLimit; ++step) {
    const std::optional<std::string> next = readLink(current);
    if (!next) return current;
    // A relative link is read from the folder that holds the link.
    current = !next->empty() && next->front() == '/' ? *next : base::folderPart(current) + *next;
  }
  return std::nullopt;
}

bool mayRewriteFile(const std::string& path, const struct stat& info) {
  TRACE_LINE();
  if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return false;
  return geteuid() != 0 || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

bool replaceFileContents(const std::string& path, const std::string& bytes, const struct stat* previous) {
  TRACE_LINE();
  removeAbandonedScratchFiles(path);
  std::string scratch = base::folderPart(path) + scratchPrefix(path) + "XXXXXX";
  // 0666 before the umask, as for any new file the user's programs create.
  const int fd = g_mkstemp_full(&scratch[0], O_RDWR | O_CLOEXEC, 0666);
  if (fd < 0) return previous && rewriteInPlace(path, bytes);
  flock(fd, LOCK_EX | LOCK_NB);
  const bool filled = fillNewFile(fd, bytes, previous);
  TRACE_LINE();
  const bool renamed = filled && std::rename(scratch.c_str(), path.c_str()) == 0;
  if (!renamed) g_unlink(scratch.c_str());
  // Closed only now: the lock tells other saves that the scratch file is in use.
  return close(fd) == 0 && renamed;
}

}  // namespace config
