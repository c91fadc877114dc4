// The size at which a text is drawn so that it fits its fixed box.
#include "app/text_fit.h"

#include <algorithm>

namespace app {

TextFit fitText(double basePoints, int availableWidth, const std::function<int(double points)>& widthAt) {
  TextFit fit;
  fit.points = basePoints;
  if (availableWidth <= 1 || widthAt(basePoints) <= availableWidth) return fit;
  const double smallest = std::min(basePoints, smallestTextPoints);
  for (double points = basePoints - 0.5; points > smallest; points -= 0.5) {
    fit.points = points;
    if (widthAt(points) <= availableWidth) return fit;
  }
  fit.points = smallest;
  fit.ellipsized = smallest == basePoints || widthAt(smallest) > availableWidth;
  return fit;
}

}  // namespace app
