// The size at which a text fits its box: smaller in half points, never below 7 pt, then cut.
#include "base/text_fit.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

struct FitCase {
  double base;
  int available;
  double pixelsPerPoint;  // the text's width grows with its size
  double points;
  bool ellipsized;
  const char* why;
};

const FitCase cases[] = {
    {10, 200, 20, 10, false, "fits at its own size"},
    {10, 200, 20.1, 9.5, false, "one half point smaller"},
    {10, 140, 20, 7, false, "down to the smallest size"},
    {10, 139, 20, 7, true, "not even the smallest size fits: cut"},
    {12, 220, 20, 11, false, "from a larger base size"},
    {6, 100, 20, 6, true, "a base below the smallest size is never drawn smaller"},
    {6, 120, 20, 6, false, "and kept when it fits"},
    {7.3, 140, 20, 7, false, "the smallest size is tried even off the half-point steps"},
};

TEST(TextFitTest, TextIsDrawnSmallerUntilItFitsThenCut) {
  for (const FitCase& test : cases) {
    const base::TextFit fit = base::fitText(test.base, [&](double points) {
      return static_cast<int>(std::ceil(points * test.pixelsPerPoint)) <= test.available;
    });
    EXPECT_DOUBLE_EQ(test.points, fit.points) << test.why;
    EXPECT_EQ(test.ellipsized, fit.ellipsized) << test.why;
  }
}

}  // namespace
