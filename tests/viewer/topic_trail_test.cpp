// Back and forward through the places shown, as a web browser steps.
#include "viewer/topic_trail.h"

#include <gtest/gtest.h>

namespace {

using viewer::ShownPlace;

int stepped(viewer::TopicTrail& trail, int direction) {
  const ShownPlace* place = viewer::stepTrail(trail, direction);
  return place ? place->row : -99;
}

TEST(TopicTrailTest, StepsBackAndForwardAndANewPlaceDropsThoseAhead) {
  viewer::TopicTrail trail;
  EXPECT_EQ(-99, stepped(trail, -1)) << "nothing shown yet";
  for (int row : {1, 2, 2, 3}) viewer::visitPlace(trail, ShownPlace{row, ""});
  EXPECT_EQ(3u, trail.places.size()) << "showing the shown place again adds nothing";
  EXPECT_EQ(-99, stepped(trail, +1)) << "at the newest end";
  EXPECT_EQ(2, stepped(trail, -1));
  EXPECT_EQ(1, stepped(trail, -1));
  EXPECT_EQ(-99, stepped(trail, -1)) << "at the oldest end";
  EXPECT_EQ(1, viewer::currentPlace(trail)->row) << "a step past the end stays";
  EXPECT_EQ(2, stepped(trail, +1));
  viewer::visitPlace(trail, ShownPlace{-1, "/outside/Dropped.zn"});
  EXPECT_EQ(-99, stepped(trail, +1)) << "row 3 ahead was dropped";
  EXPECT_EQ(2, stepped(trail, -1));
  EXPECT_EQ("/outside/Dropped.zn", viewer::stepTrail(trail, +1)->outsideFile);
}

TEST(TopicTrailTest, KeepsTheNewestPlacesUpToItsLimit) {
  viewer::TopicTrail trail;
  for (int row = 0; row < static_cast<int>(viewer::trailLimit) + 5; ++row)
    viewer::visitPlace(trail, ShownPlace{row, ""});
  EXPECT_EQ(viewer::trailLimit, trail.places.size());
  EXPECT_EQ(5, trail.places.front().row);
  EXPECT_EQ(static_cast<int>(viewer::trailLimit) + 4, viewer::currentPlace(trail)->row);
}

}  // namespace
