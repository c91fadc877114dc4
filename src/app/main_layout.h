// Geometry rules of the main window: widget places, resize rules and zoom steps.
#pragma once

#include <array>

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

// The code view's scale factors by zoom level, level 3 being the normal size.
constexpr std::array<double, 8> zoomFactors = {0.8, 0.86, 0.93, 1.0, 1.15, 1.3, 1.45, 1.6};
constexpr int normalZoomLevel = 3;

// The zoom level after one wheel step (+1 up, -1 down), kept within the factors.
int zoomLevelAfterStep(int level, int step);
// The code font size in Pango units for the font size in points and the factor.
int zoomedFontSize(long fontSizePoints, double factor);

}  // namespace app
