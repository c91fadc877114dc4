// Finds the line-end style of the database file from the blocks handed to the parser.
#pragma once

#include <cstddef>

#include "database/toc_database.h"

namespace database {

// The state of the search, carried from block to block.
struct LineEndScan {
  bool known = false;
  LineEnd style = LineEnd::Lf;  // a file without any line end keeps LF
  bool firstBlock = true;
  bool bigEndian = false;  // 16-bit units in the order of a UTF-16 byte-order mark
  bool pendingCr = false;  // a CR ended the last block; the next unit decides
};

// Examines one block unless the style is already known. A block with more than
// four zero bytes is examined as 16-bit units, otherwise as bytes.
void scanLineEnd(LineEndScan& scan, const unsigned char* block, std::size_t size);

// Settles a CR that ended the last block of the file.
void finishLineEndScan(LineEndScan& scan);

}  // namespace database
