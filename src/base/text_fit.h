// The size at which a text is drawn so that it fits its fixed box.
#pragma once

#include <functional>

namespace base {

// Below this a text is no longer read comfortably; it is cut instead.
constexpr double smallestTextPoints = 7.0;

struct TextFit {
  double points = 0;        // the size to draw the text at
  bool ellipsized = false;  // too wide even at the smallest size: cut with an ellipsis
};

// The largest size from the base size down, in half points, to the smallest at which
// the text fits its box (fitsAt); at the smallest size, ellipsized when even that is
// too large.
TextFit fitText(double basePoints, const std::function<bool(double points)>& fitsAt);

}  // namespace base
