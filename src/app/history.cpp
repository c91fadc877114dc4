// The rule of the history list: no duplicates, newest first, bounded length.
#include "app/history.h"

#include <algorithm>

#include "base/trace.h"

namespace app {

void pushHistoryRow(std::vector<int>& rows, int row, int limit) {
  TRACE_LINE();
  rows.erase(std::remove(rows.begin(), rows.end(), row), rows.end());
  if (limit <= 0) return;
  if (static_cast<int>(rows.size()) >= limit) rows.resize(limit - 1);
  rows.insert(rows.begin(), row);
}

}  // namespace app
