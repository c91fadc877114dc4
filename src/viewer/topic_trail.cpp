// Stepping back and forward through the places shown in this session.
#include "viewer/topic_trail.h"

namespace viewer {

bool operator==(const ShownPlace& a, const ShownPlace& b) {
  return a.row == b.row && a.outsideFile == b.outsideFile;
}

void visitPlace(TopicTrail& trail, const ShownPlace& place) {
  if (const ShownPlace* shown = currentPlace(trail); shown && *shown == place) return;
  trail.places.resize(static_cast<std::size_t>(trail.current + 1));
  trail.places.push_back(place);
  if (trail.places.size() > trailLimit) trail.places.erase(trail.places.begin());
  trail.current = static_cast<int>(trail.places.size()) - 1;
}

const ShownPlace* stepTrail(TopicTrail& trail, int direction) {
  const int target = trail.current + direction;
  if (trail.current < 0 || target < 0 || target >= static_cast<int>(trail.places.size())) return nullptr;
  trail.current = target;
  return &trail.places[static_cast<std::size_t>(target)];
}

const ShownPlace* currentPlace(const TopicTrail& trail) {
  if (trail.current < 0 || trail.current >= static_cast<int>(trail.places.size())) return nullptr;
  return &trail.places[static_cast<std::size_t>(trail.current)];
}

}  // namespace viewer
