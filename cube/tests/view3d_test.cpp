#include "cube/view3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using cube::TViewKey;
using cube::TViewProjection;
using cube::TViewTurn;

constexpr cube::TViewRect kRect{10.0, 20.0, 300.0, 200.0};

// A spread of turns: every yaw in 20-degree steps, pitches out to the limits both ways.
std::vector<TViewTurn> ManyTurns() {
  std::vector<TViewTurn> turns{cube::kHomeTurn};
  for (double yaw = -180.0; yaw <= 180.0; yaw += 20.0)
    for (double pitch : {-80.0, -45.0, 0.0, 30.0, 80.0}) turns.push_back({yaw, pitch});
  return turns;
}

TEST(CubeView, HomeShowsLayerOneBelowLayerSixAndColumnOneLeftOfColumnSix) {
  const TViewProjection home(cube::kHomeTurn, kRect);
  for (int a = 0; a < cube::kSide; ++a) {
    for (int b = 0; b < cube::kSide; ++b) {
      EXPECT_GT(home.Led(a, b, 0).Y, home.Led(a, b, 5).Y) << a << "," << b;  // screen y grows down
      EXPECT_LT(home.Led(0, a, b).X, home.Led(5, a, b).X) << a << "," << b;
    }
  }
  // The front rows (the last) are nearer than row 0 and the top layer nearer than the bottom one.
  EXPECT_LT(home.Led(2, 5, 2).Depth, home.Led(2, 0, 2).Depth);
  EXPECT_LT(home.Led(2, 2, 5).Depth, home.Led(2, 2, 0).Depth);
}

TEST(CubeView, EveryLedAndAxisMarkStaysInsideTheRectangleAtEveryTurn) {
  for (const cube::TViewRect& rect :
       {kRect, cube::TViewRect{0, 0, 80, 400}, cube::TViewRect{0, 0, 640, 90}}) {
    for (const TViewTurn& turn : ManyTurns()) {
      const TViewProjection projection(turn, rect);
      std::vector<cube::TViewPoint> points;
      for (std::size_t i = 0; i < cube::kLedCount; ++i) points.push_back(projection.Led(i));
      const cube::TAxisMarks marks = cube::AxisMarks(projection);
      points.push_back(marks.Origin);
      points.insert(points.end(), marks.Tips.begin(), marks.Tips.end());
      for (std::size_t k = 0; k < points.size(); ++k) {
        const cube::TViewPoint& p = points[k];
        if (k < cube::kLedCount) {
          ASSERT_GT(p.Radius, 0.0);
        }
        ASSERT_GE(p.X - p.Radius, rect.Left) << turn.Yaw << " " << turn.Pitch;
        ASSERT_LE(p.X + p.Radius, rect.Left + rect.Width) << turn.Yaw << " " << turn.Pitch;
        ASSERT_GE(p.Y - p.Radius, rect.Top) << turn.Yaw << " " << turn.Pitch;
        ASSERT_LE(p.Y + p.Radius, rect.Top + rect.Height) << turn.Yaw << " " << turn.Pitch;
      }
    }
  }
}

TEST(CubeView, PaintOrderGoesFromTheFarthestLedToTheNearestAndHoldsEachOnce) {
  for (const TViewTurn& turn : ManyTurns()) {
    const auto order = cube::PaintOrder(turn);
    const TViewProjection projection(turn, kRect);
    cube::TPattern seen;
    for (std::size_t k = 0; k < order.size(); ++k) {
      seen.set(order[k]);
      if (k > 0) {
        ASSERT_GE(projection.Led(order[k - 1]).Depth, projection.Led(order[k]).Depth);
      }
    }
    EXPECT_TRUE(seen.all());
  }
  // Nearer LEDs are drawn bigger: the last painted is no smaller than the first.
  const auto home = cube::PaintOrder(cube::kHomeTurn);
  const TViewProjection projection(cube::kHomeTurn, kRect);
  EXPECT_GT(projection.Led(home.back()).Radius, projection.Led(home.front()).Radius);
}

TEST(CubeView, KeyTurnsAndDragsComeBackExactly) {
  TViewTurn turn = cube::kHomeTurn;
  for (int i = 0; i < 24; ++i) turn = cube::Turned(turn, TViewKey::Left);  // four quarter turns
  EXPECT_EQ(turn, cube::kHomeTurn);
  for (int i = 0; i < 24; ++i) turn = cube::Turned(turn, TViewKey::Right);
  EXPECT_EQ(turn, cube::kHomeTurn);
  EXPECT_EQ(cube::Turned(cube::Turned(turn, TViewKey::Up), TViewKey::Down), turn);
  EXPECT_NE(cube::Turned(turn, TViewKey::Up), turn);

  const TViewTurn dragged = cube::Dragged(turn, 37, -21);
  EXPECT_NE(dragged, turn);
  EXPECT_EQ(cube::Dragged(dragged, -37, 21), turn);
}

TEST(CubeView, ADragRightBringsTheLeftSideForwardAndADragDownShowsMoreOfTheTop) {
  const TViewTurn start{0.0, 0.0};
  const TViewProjection before(start, kRect);
  const TViewProjection right(cube::Dragged(start, 20, 0), kRect);
  EXPECT_LT(right.Led(0, 2, 2).Depth, before.Led(0, 2, 2).Depth);
  EXPECT_GT(right.Led(2, 5, 2).X, before.Led(2, 5, 2).X);  // the front follows the mouse
  const TViewProjection down(cube::Dragged(start, 0, 20), kRect);
  EXPECT_LT(down.Led(2, 2, 5).Depth, before.Led(2, 2, 5).Depth);
}

TEST(CubeView, PitchStopsAtItsLimitsAndYawWrapsAround) {
  TViewTurn turn = cube::kHomeTurn;
  for (int i = 0; i < 20; ++i) turn = cube::Turned(turn, TViewKey::Down);
  EXPECT_EQ(turn.Pitch, cube::kMaxPitch);
  const TViewTurn back = cube::Turned(turn, TViewKey::Up);
  EXPECT_EQ(back.Pitch, cube::kMaxPitch - cube::kKeyStep);  // no slack gathered past the limit
  for (int i = 0; i < 20; ++i) turn = cube::Turned(turn, TViewKey::Up);
  EXPECT_EQ(turn.Pitch, -cube::kMaxPitch);

  EXPECT_EQ(cube::Normalized({190.0, 0.0}).Yaw, -170.0);
  EXPECT_EQ(cube::Normalized({-180.0, 0.0}).Yaw, 180.0);
  EXPECT_EQ(cube::Normalized({720.0 + 45.0, 0.0}).Yaw, 45.0);
}

TEST(CubeView, TheAxisMarksPointAlongGrowingColumnsRowsAndLayers) {
  for (const TViewTurn& turn : ManyTurns()) {
    const TViewProjection projection(turn, kRect);
    const cube::TAxisMarks marks = cube::AxisMarks(projection);
    const cube::TViewPoint from[3] = {projection.Led(0, 0, 0), projection.Led(0, 0, 0),
                                      projection.Led(0, 0, 0)};
    const cube::TViewPoint to[3] = {projection.Led(5, 0, 0), projection.Led(0, 5, 0),
                                    projection.Led(0, 0, 5)};
    for (std::size_t axis = 0; axis < 3; ++axis) {
      const double markX = marks.Tips[axis].X - marks.Origin.X, markY = marks.Tips[axis].Y - marks.Origin.Y;
      const double edgeX = to[axis].X - from[axis].X, edgeY = to[axis].Y - from[axis].Y;
      // Perspective bends the edge a little; it never turns it against the mark, unless the axis
      // points almost at the eye and its mark has shrunk to a stub.
      if (std::hypot(markX, markY) > 8.0) {
        EXPECT_GT(markX * edgeX + markY * edgeY, 0.0) << axis << " " << turn.Yaw << " " << turn.Pitch;
      }
    }
  }
}

}  // namespace
