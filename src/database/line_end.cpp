// Line-end detection: the first line end of the file decides CR LF, LF or CR.
#include "database/line_end.h"

#include <algorithm>

#include "base/trace.h"

namespace database {
namespace {

constexpr unsigned lineFeed = 0x0A;
constexpr unsigned carriageReturn = 0x0D;

struct Units {
  const unsigned char* data;
  std::size_t count;
  bool wide;
  bool bigEndian;

  unsigned at(std::size_t i) const {
    if (!wide) return data[i];
    const unsigned first = data[2 * i];
    const unsigned second = data[2 * i + 1];
    return bigEndian ? (first << 8 | second) : (second << 8 | first);
  }
};

void decide(LineEndScan& scan, LineEnd style) {
  scan.style = style;
  scan.known = true;
  scan.pendingCr = false;
}

}  // namespace

void scanLineEnd(LineEndScan& scan, const unsigned char* block, std::size_t size) {
  TRACE_LINE();
  if (scan.known) return;
  if (scan.firstBlock) {
    scan.firstBlock = false;
    scan.bigEndian = size >= 2 && block[0] == 0xFE && block[1] == 0xFF;
  }
  const bool wide = std::count(block, block + size, 0) > 4;
  const Units units{block, wide ? size / 2 : size, wide, scan.bigEndian};
  if (units.count == 0) return;
  // A CR at the very end of the previous block: a CR LF split by the block border
  // must not be taken for a lone CR.
  if (scan.pendingCr) {
    decide(scan, units.at(0) == lineFeed ? LineEnd::CrLf : LineEnd::Cr);
    return;
  }
  for (std::size_t i = units.at(0) == lineFeed ? 1 : 0; i < units.count; ++i) {
    const unsigned unit = units.at(i);
    if (unit == lineFeed) return decide(scan, LineEnd::Lf);
    if (unit != carriageReturn) continue;
    if (i + 1 == units.count) {
      scan.pendingCr = true;
      return;
    }
    return decide(scan, units.at(i + 1) == lineFeed ? LineEnd::CrLf : LineEnd::Cr);
  }
}

void finishLineEndScan(LineEndScan& scan) {
  if (scan.pendingCr) decide(scan, LineEnd::Cr);
}

}  // namespace database
