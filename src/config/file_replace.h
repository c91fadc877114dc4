// Replacing a file's whole content so that a failure never leaves it half written.
#pragma once

#include <optional>
#include <string>

#include <sys/stat.h>

namespace config {

// Whether we may rewrite the existing file `path` with status `info`. Root
// passes every permission check, yet a file whose write bits are all off was
// made read-only on purpose: root honours that, as the kernel does for execute bits.
bool mayRewriteFile(const std::string& path, const struct stat& info);

// The file that writing to `path` must change: `path` itself, or the end of the
// chain of symbolic links it starts, also when that end does not exist yet.
// Nothing for a chain that never ends (a loop).
std::optional<std::string> linkTarget(const std::string& path);

// Writes the bytes to a new file beside `path` and renames it over `path`.
// `previous` is the status of the file being replaced (null for a new file):
// its permission bits, and its owner where we may set it, carry over.
// On any failure the new file is removed, `path` is untouched, and the result is false.
// Scratch files that earlier, killed saves left beside `path` are removed first.
// When no new file can be made beside an existing `path`, `path` itself is
// rewritten in place and truncated to the new length.
bool replaceFileContents(const std::string& path, const std::string& bytes, const struct stat* previous);

}  // namespace config
