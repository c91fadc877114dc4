// Shared pieces of the fuzz targets: cutting one input into several, handing bytes
// over as a file, and stopping at a broken promise.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace fuzzing {

// The input cut at every byte 0x01, so that one input can carry several texts.
inline std::vector<std::string> piecesOf(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> pieces(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0x01) {
      pieces.emplace_back();
    } else {
      pieces.back() += static_cast<char>(data[i]);
    }
  }
  return pieces;
}

// A file in memory holding the bytes; its path works for every function that opens files.
class MemoryFile {
 public:
  explicit MemoryFile(const std::uint8_t* data, std::size_t size) : fd_(memfd_create("fuzz-input", 0)) {
    std::size_t done = 0;
    while (fd_ >= 0 && done < size) {
      const ssize_t written = write(fd_, data + done, size - done);
      if (written <= 0) break;
      done += static_cast<std::size_t>(written);
    }
  }
  ~MemoryFile() {
    if (fd_ >= 0) close(fd_);
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

 private:
  int fd_;
};

// Ends the run with a report when a property of the code under test does not hold.
#define FUZZ_EXPECT(condition)                                                      \
  do {                                                                              \
    if (!(condition)) {                                                             \
      std::fprintf(stderr, "%s:%d: expected %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                 \
    }                                                                               \
  } while (false)

}  // namespace fuzzing
