// Rules of the main window that need no toolkit: places and sizes of its widgets,
// the zoom steps, the history list and the title.
#pragma once

#include <array>
#include <cstdint>
#include <string>
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

// The code view's scale factors by zoom level, level 3 being the normal size.
constexpr std::array<double, 8> zoomFactors = {0.8, 0.86, 0.93, 1.0, 1.15, 1.3, 1.45, 1.6};
constexpr int normalZoomLevel = 3;

// The zoom level after one wheel step (+1 up, -1 down), kept within the factors.
int zoomLevelAfterStep(int level, int step);
// The code font size in Pango units for the font size in points and the factor.
int zoomedFontSize(long fontSizePoints, double factor);

// The list of recently shown topics (tree row numbers, newest first): moves the row to
// the front; drops the oldest entry when the list is full.
void pushHistoryRow(std::vector<int>& rows, int row, int limit);

extern const char* const programTitle;  // "Linux ZN-ZID-Idavode-Ruriva"

// The title for a topic's File value by the SourceInTitle setting:
// 0 the file name, 1 the value as given, anything else the full load path.
std::string titleForCodeFile(const std::string& file, std::int64_t sourceInTitle, const std::string& libPath);
// The title for a file shown from outside the library.
std::string titleForExternalFile(const std::string& fullPath);

}  // namespace app
