// Geometry rules of the main window: widget places, resize rules and zoom steps.
#pragma once

#include <vector>

namespace app {

struct Rect {
  int x, y, width, height;
};

// Places of the right-aligned buttons 15, 7, 8 and 9 for a client width.
struct ToolButtonPlaces {
  int copyX, settingsX, helpX, infoX;
};
ToolButtonPlaces toolButtonPlaces(int clientWidth);

// Size of splitter 10 for the client size.
Rect splitterRect(int clientWidth, int clientHeight);

// Sizes of description 13 and code view 14 inside container 12.
struct CodeAreaSizes {
  int descriptionWidth, codeWidth, codeHeight;
};
CodeAreaSizes codeAreaSizes(int containerWidth, int containerHeight);

// The eight zoom factors of the code view, level 3 being the normal size.
std::vector<double> codeZoomFactors();
constexpr int normalZoomLevel = 3;

// The zoom level after one wheel step (+1 up, -1 down), kept within 0..7.
int zoomLevelAfterStep(int level, int step);
// The code font size in Pango units for the font size in points and the factor.
int zoomedFontSize(long fontSizePoints, double factor);

}  // namespace app
