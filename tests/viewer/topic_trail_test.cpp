// Back and forward through the places shown, as a web browser steps.
#include "viewer/topic_trail.h"

#include <gtest/gtest.h>

namespace {

int stepped(viewer::TopicTrail& trail, int direction) {
  const viewer::ShownPlace* place = viewer::stepTrail(trail, direction);
  return place ? place->row : -99;
}

TEST(TopicTrailTest, StepsBackAndForwardAndANewPlaceDropsThoseAhead) {
  viewer::TopicTrail trail;
  EXPECT_EQ(-99, stepped(trail, -1)) << "nothing shown yet";
  for (int row : {1, 2, 2, 3}) viewer::visitPlace(trail, viewer::ShownPlace{row, ""});
  EXPECT_EQ(3u, trail.places.size()) << "showing the shown place again adds nothing";
  // Back to 2 and 1, nothing before 1, forward to 2 again.
  const int steps[][2] = {{-1, 2}, {-1, 1}, {-1, -99}, {+1, 2}};
  for (const auto& step : steps) EXPECT_EQ(step[1], stepped(trail, step[0])) << "step " << step[0];
  viewer::visitPlace(trail, viewer::ShownPlace{-1, "/outside/Dropped.zn"});
  EXPECT_EQ(-99, stepped(trail, +1)) << "row 3 ahead was dropped";
  EXPECT_EQ(2, stepped(trail, -1));
  EXPECT_EQ("/outside/Dropped.zn", viewer::stepTrail(trail, +1)->outsideFile);
}

}  // namespace
