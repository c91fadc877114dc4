// Geometry rules of the main window.
#include "app/main_layout.h"

#include <algorithm>
#include <cmath>

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

}  // namespace app
