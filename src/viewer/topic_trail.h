// The places the code view showed in this session, in order, for stepping back and
// forward as a web browser does.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace viewer {

// A topic's tree row, or a file from outside the library (row -1).
struct ShownPlace {
  int row = -1;
  std::string outsideFile;
};

bool operator==(const ShownPlace& a, const ShownPlace& b);

struct TopicTrail {
  std::vector<ShownPlace> places;
  int current = -1;  // the place shown now, -1 before the first
};

// The oldest places go first beyond this many.
constexpr std::size_t trailLimit = 1000;

// A newly shown place: the places ahead of the current one are dropped and the new one
// follows it; showing the current place again changes nothing.
void visitPlace(TopicTrail& trail, const ShownPlace& place);
// Steps back (-1) or forward (+1) and returns the place stepped to; nullptr at either end.
const ShownPlace* stepTrail(TopicTrail& trail, int direction);
// The place shown now, nullptr before the first.
const ShownPlace* currentPlace(const TopicTrail& trail);

}  // namespace viewer
