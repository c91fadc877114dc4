// The list of recently shown topics (tree row numbers, newest first).
#pragma once

#include <vector>

namespace app {

// Moves the row to the front; drops the oldest entry when the list is full.
void pushHistoryRow(std::vector<int>& rows, int row, int limit);

}  // namespace app
