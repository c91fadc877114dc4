// Reading a snippet file into the text the code view shows, and the properties it declares.
#include "viewer/code_file.h"

#include "base/paths.h"
#include "base/trace.h"
#include "viewer/text_decoding.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace viewer {

const char* const codeFileTypes = "zn;zni;znf";

namespace {

const std::string_view optionsMarker = "; IDE Options = ";
const std::string_view enableUnicodeOption = "; EnableUnicode";
const std::string_view gtk2Option = "; SubSystem = gtk2";
const std::string_view gtk3Option = "; SubSystem = gtk3";

bool startsWith(std::string_view line, std::string_view prefix) {
  return line.size() >= prefix.size() && line.compare(0, prefix.size(), prefix) == 0;
}

// Reads until the end of the file, whatever size the file claims (files below
// /proc claim 0). Spare room lets the final read see the end without growing.
bool readAll(int fd, std::size_t sizeHint, std::string& bytes) {
  bytes.resize(sizeHint + 4096);
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t got = read(fd, &bytes[filled], bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
  return true;
}

// Only regular files count: a folder cannot be read as text, and opening a FIFO
// or reading a device would block the viewer or never end. O_NONBLOCK keeps the
// open itself from waiting on a FIFO. A read error makes the file unreadable
// rather than silently cut short.
bool readWholeFile(const std::string& path, std::string& bytes) {
  TRACE_LINE();
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info;
  bool done = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (done) done = readAll(fd, static_cast<std::size_t>(info.st_size), bytes);
  close(fd);
  return done;
}

void recordOption(std::string_view line, CodeFileProperties& properties) {
  if (startsWith(line, enableUnicodeOption)) properties.EnableUnicode = 1;
  if (startsWith(line, gtk2Option)) properties.SubSystem = 1;
  if (startsWith(line, gtk3Option)) properties.SubSystem = 2;
}

// Finds line ends with memchr, which is many times faster than a byte loop. The
// next CR is remembered, so files without CR are searched for it only once.
struct LineScanner {
  const char* text;
  std::size_t size;
  std::size_t nextCr = 0;
  bool crKnown = false;

  // Where the line starting at pos ends (at its CR or LF, or at the end).
  std::size_t lineEnd(std::size_t pos) {
    if (!crKnown || nextCr < pos) {
      const void* cr = std::memchr(text + pos, '\r', size - pos);
      nextCr = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - text) : size;
      crKnown = true;
    }
    const void* lf = std::memchr(text + pos, '\n', nextCr - pos);
    return lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - text) : nextCr;
  }

  // Where the next line starts after a line that ends at end.
  std::size_t nextLineStart(std::size_t end) const {
    if (end >= size) return end;
    if (text[end] == '\r' && end + 1 < size && text[end + 1] == '\n') return end + 2;
    return end + 1;
  }
};

// Turns the decoded file into the view text in its own buffer: the view never
// grows past the part of the file already read, because every shown line but
// the first is paid for by the line end before it.
void compactToViewText(std::string& text, CodeFileProperties& properties) {
  TRACE_LINE();
  char* data = &text[0];
  LineScanner scanner{data, text.size()};
  std::size_t shown = 0;
  bool hiding = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = scanner.lineEnd(pos);
    std::size_t start = pos;
    while (start < end && data[start] == '?') ++start;
    const std::string_view line(data + start, end - start);
    if (hiding || (!line.empty() && line[0] == ';' && startsWith(line, optionsMarker))) {
      hiding = true;
      recordOption(line, properties);
    } else {
      // Lines added to an empty view become the whole view: leading empty lines vanish.
      if (shown > 0) data[shown++] = '\n';
      if (shown != start) std::memmove(data + shown, line.data(), line.size());
      shown += line.size();
    }
    pos = scanner.nextLineStart(end);
  }
  text.resize(shown);
}

}  // namespace

std::string codeFileFullPath(const std::string& libPath, const std::string& file) {
  return base::joinLibraryPath(libPath, file);
}

std::string codeFileExtension(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.rfind('/');
  if (dot == std::string::npos) return std::string();
  if (slash != std::string::npos && (dot < slash || dot == slash + 1)) return std::string();
  return path.substr(dot + 1);
}

bool passesCodeTypeTest(const std::string& extension) {
  return !extension.empty() && std::string_view(codeFileTypes).find(extension) != std::string_view::npos;
}

std::string firstDroppedPath(const std::string& joinedPaths) {
  return joinedPaths.substr(0, joinedPaths.find('\n'));
}

CodeText readCodeFile(const std::string& fullPath) {
  TRACE_LINE();
  CodeText code;
  std::string bytes;
  if (!readWholeFile(fullPath, bytes)) return code;
  code.opened = true;
  const ByteOrderMark mark = detectTextFormat(bytes.data(), bytes.size());
  if (mark.format == TextFormat::Utf8) code.properties.SourceUtf8 = 1;
  TRACE_LINE();
  code.text = decodeToUtf8(std::move(bytes), mark.length, mark.format);
  compactToViewText(code.text, code.properties);
  return code;
}

}  // namespace viewer
