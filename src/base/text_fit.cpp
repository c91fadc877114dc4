// The size at which a text is drawn so that it fits its fixed box.
#include "base/text_fit.h"

#include <algorithm>

namespace base {

TextFit fitText(double basePoints, const std::function<bool(double points)>& fitsAt) {
  TextFit fit;
  fit.points = basePoints;
  if (fitsAt(basePoints)) return fit;
  const double smallest = std::min(basePoints, smallestTextPoints);
  for (double points = basePoints - 0.5; points > smallest; points -= 0.5) {
    fit.points = points;
    if (fitsAt(points)) return fit;
  }
  fit.points = smallest;
  fit.ellipsized = smallest == basePoints || !fitsAt(smallest);
  return fit;
}

}  // namespace base
