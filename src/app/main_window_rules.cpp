// Rules of the main window that need no toolkit.
#include "app/main_window_rules.h"

#include <algorithm>
#include <cmath>

#include "base/paths.h"
#include "base/trace.h"

namespace app {

ToolButtonPlaces toolButtonPlaces(int clientWidth) {
  return {clientWidth - 134, clientWidth - 104, clientWidth - 64, clientWidth - 34};
}

Rect splitterRect(int clientWidth, int clientHeight) { return {5, 35, clientWidth - 10, clientHeight - 38}; }

CodeAreaSizes codeAreaSizes(int containerWidth, int containerHeight) {
  return {containerWidth - 7, containerWidth - 7, containerHeight - 51};
}

int zoomLevelAfterStep(int level, int step) {
  return std::clamp(level + step, 0, static_cast<int>(zoomFactors.size()) - 1);
}

int zoomedFontSize(long fontSizePoints, double factor) {
  return static_cast<int>(fontSizePoints * std::lround(factor * 1024.0));
}

// No duplicates, newest first, bounded length.
void pushHistoryRow(std::vector<int>& rows, int row, int limit) {
  TRACE_LINE();
  rows.erase(std::remove(rows.begin(), rows.end(), row), rows.end());
  if (limit <= 0) return;
  if (static_cast<int>(rows.size()) >= limit) rows.resize(limit - 1);
  rows.insert(rows.begin(), row);
}

const char* const programTitle = "Linux ZN-ZID-Idavode-Ruriva";

std::string titleForCodeFile(const std::string& file, std::int64_t sourceInTitle,
                             const std::string& libPath) {
  const std::string prefix = std::string(programTitle) + " ~ ";
  if (sourceInTitle == 0) return prefix + base::fileNamePart(file);
  if (sourceInTitle == 1) return prefix + file;
  return prefix + base::joinLibraryPath(libPath, file);
}

std::string titleForExternalFile(const std::string& fullPath) {
  return std::string(programTitle) + " ~ " + base::fileNamePart(fullPath);
}

}  // namespace app
