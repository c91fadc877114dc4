// Reading the database file in blocks through Expat into the one document slot.
#include "database/toc_database.h"

#include <algorithm>
#include <cerrno>
#include <ostream>
#include <stdexcept>

#include <expat.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/trace.h"
#include "database/line_end.h"
#include "database/topic_index.h"
#include "database/xml_tree_builder.h"

namespace database {

std::unique_ptr<TocDatabase> tocDatabase;

std::ostream& operator<<(std::ostream& out, XmlString text) { return out << text.view(); }

const XmlAttribute& XmlAttributes::at(std::size_t i) const {
  if (i >= count) throw std::out_of_range("XmlAttributes::at");
  return first[i];
}

const XmlNode* documentRoot() { return tocDatabase ? tocDatabase->root : nullptr; }

void closeDatabase() {
  clearTopicIndex();
  tocDatabase.reset();
}

namespace {

struct FileHandle {
  int fd;
  explicit FileHandle(int descriptor) : fd(descriptor) {}
  FileHandle(FileHandle&& other) noexcept : fd(other.fd) { other.fd = -1; }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (fd >= 0) close(fd);
  }
};

struct ParserHandle {
  XML_Parser parser;
  ~ParserHandle() { XML_ParserFree(parser); }
};

// Reads up to size bytes, riding out short reads; a read error ends the file there.
std::size_t readBlock(int fd, void* buffer, std::size_t size) {
  TRACE_LINE();
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = read(fd, static_cast<char*>(buffer) + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  return got;
}

void recordParseError(XML_Parser parser, TocDatabase& document) {
  TRACE_LINE();
  const XML_Error code = XML_GetErrorCode(parser);
  const XML_LChar* text = XML_ErrorString(code);
  document.status = static_cast<int>(code);
  document.errorText = text ? text : "";
  document.errorLine = static_cast<long>(XML_GetCurrentLineNumber(parser));
  document.errorColumn = static_cast<long>(XML_GetCurrentColumnNumber(parser)) + 1;
}

// The parser starts an unfinished token over with every block it is handed, so a
// token that spans many blocks would be scanned again and again. A block in which
// the parser met no event lies inside such a token: the next block is twice as
// large, so that no token is scanned more than about twice, whatever its length.
// Otherwise blocks stay small and the parser's buffer is reused.
constexpr std::size_t firstParseBlockSize = std::size_t(1) << 20;
constexpr std::size_t largestParseBlockSize = std::size_t(1) << 30;

std::size_t nextBlockSize(std::size_t previous, bool eventsMet) {
  return eventsMet ? firstParseBlockSize : std::min(2 * previous, largestParseBlockSize);
}

// Looks for the line-end style in the block's pieces, cut where the file's own
// pieces end, until the style is known.
void scanLineEndPieces(LineEndScan& scan, const unsigned char* block, std::size_t size, std::size_t offset) {
  TRACE_LINE();
  std::size_t at = 0;
  while (at < size && !scan.known) {
    const std::size_t pieceEnd = (offset + at) / lineEndPieceSize * lineEndPieceSize + lineEndPieceSize;
    const std::size_t length = std::min(pieceEnd - offset - at, size - at);
    scanLineEnd(scan, block + at, length);
    at += length;
  }
}

// Hands the file to the parser block by block, the last block marked final, and
// stops at the first block the parser rejects.
void parseBlocks(int fd, std::size_t size, XML_Parser parser, TocDatabase& document) {
  TRACE_LINE();
  LineEndScan lineEnds;
  XmlTreeBuilder builder;
  builder.document = &document;
  builder.lineEnds = &lineEnds;
  attachTreeBuilder(parser, builder);
  std::size_t done = 0;
  std::size_t blockSize = firstParseBlockSize;
  for (;;) {
    const std::size_t wanted = std::min(blockSize, size - done);
    void* buffer = XML_GetBuffer(parser, static_cast<int>(wanted));
    if (!buffer) {
      recordParseError(parser, document);
      break;
    }
    const std::size_t got = readBlock(fd, buffer, wanted);
    const bool last = got < wanted || done + got == size;
    scanLineEndPieces(lineEnds, static_cast<const unsigned char*>(buffer), got, done);
    if (last) finishLineEndScan(lineEnds);
    done += got;
    TRACE_LINE();
    const std::size_t eventsBefore = builder.events;
    if (XML_ParseBuffer(parser, static_cast<int>(got), last) == XML_STATUS_ERROR) {
      if (!builder.refused) recordParseError(parser, document);
      break;
    }
    if (last) break;
    blockSize = nextBlockSize(blockSize, builder.events != eventsBefore);
  }
  finishTreeBuilder(builder);
  document.lineEnd = lineEnds.style;
}

}  // namespace

namespace {

// The file opened for parsing, with its size; fd -1 when it cannot be a database.
struct OpenedFile {
  FileHandle file;
  std::size_t size = 0;
};

OpenedFile openDatabaseFile(const std::string& path) {
  TRACE_LINE();
  OpenedFile opened{FileHandle(path.empty() ? -1 : open(path.c_str(), O_RDONLY | O_CLOEXEC))};
  if (opened.file.fd < 0) return opened;
  struct stat info;
  if (fstat(opened.file.fd, &info) == 0 && !S_ISDIR(info.st_mode) && info.st_size > 0) {
    opened.size = static_cast<std::size_t>(info.st_size);
    return opened;
  }
  close(opened.file.fd);
  opened.file.fd = -1;
  return opened;
}

}  // namespace

bool readDatabaseFile(const std::string& path) {
  TRACE_LINE();
  const OpenedFile opened = openDatabaseFile(path);
  if (opened.file.fd < 0) return false;
  XML_Parser parser = XML_ParserCreate(nullptr);
  if (!parser) return false;
  const ParserHandle parserHandle{parser};
  // The old document goes first so that two documents never share the memory.
  closeDatabase();
  tocDatabase = std::make_unique<TocDatabase>();
  parseBlocks(opened.file.fd, opened.size, parser, *tocDatabase);
  return true;
}

std::unique_ptr<TocDatabase> parseDatabaseFile(const std::string& path) {
  TRACE_LINE();
  const OpenedFile opened = openDatabaseFile(path);
  if (opened.file.fd < 0) return nullptr;
  XML_Parser parser = XML_ParserCreate(nullptr);
  if (!parser) return nullptr;
  const ParserHandle parserHandle{parser};
  auto document = std::make_unique<TocDatabase>();
  parseBlocks(opened.file.fd, opened.size, parser, *document);
  return document;
}

}  // namespace database
