// The perspective of the cube view: a turn about the layer axis, a tilt of the eye, then a
// pinhole projection scaled so that a ball holding every LED and the axis marks fits the rectangle
// at any turn; the picture's size therefore never jumps while the cube turns.
#include "cube/view3d.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace cube {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kCentre = (kSide - 1) / 2.0;
constexpr double kEyeDistance = 14.0;  // from the cube's centre, in LED steps
constexpr double kLedRadius = 0.3;
constexpr double kMarkOffset = 0.7;  // the axis marks' corner, out from LED 0 on every axis
constexpr double kMarkLength = 2.0;
// Holds every LED with its radius and the axis marks (the corner is 3.2 * sqrt(3) out).
constexpr double kBoundingRadius = 6.0;
constexpr double kFill = 0.95;  // of the rectangle's shorter half side

double Radians(double degrees) { return degrees * kPi / 180.0; }

}  // namespace

TViewTurn Normalized(TViewTurn turn) {
  double yaw = std::fmod(turn.Yaw, 360.0);
  if (yaw <= -180.0) yaw += 360.0;
  if (yaw > 180.0) yaw -= 360.0;
  return {yaw, std::clamp(turn.Pitch, -kMaxPitch, kMaxPitch)};
}

TViewTurn Dragged(TViewTurn turn, int dx, int dy) {
  // Positive yaw brings the right side forward, so the front follows the mouse with a minus.
  return Normalized({turn.Yaw - dx * kDragStep, turn.Pitch + dy * kDragStep});
}

TViewTurn Turned(TViewTurn turn, TViewKey key) {
  // A key turns as a drag in its direction would, by a larger step.
  switch (key) {
    case TViewKey::Left:
      return Normalized({turn.Yaw + kKeyStep, turn.Pitch});
    case TViewKey::Right:
      return Normalized({turn.Yaw - kKeyStep, turn.Pitch});
    case TViewKey::Up:
      return Normalized({turn.Yaw, turn.Pitch - kKeyStep});
    case TViewKey::Down:
      return Normalized({turn.Yaw, turn.Pitch + kKeyStep});
  }
  return turn;
}

TViewProjection::TViewProjection(TViewTurn turn, const TViewRect& rect) {
  turn = Normalized(turn);
  cosYaw_ = std::cos(Radians(turn.Yaw));
  sinYaw_ = std::sin(Radians(turn.Yaw));
  cosPitch_ = std::cos(Radians(turn.Pitch));
  sinPitch_ = std::sin(Radians(turn.Pitch));
  centreX_ = rect.Left + rect.Width / 2.0;
  centreY_ = rect.Top + rect.Height / 2.0;
  const double halfSide = std::max(0.0, std::min(rect.Width, rect.Height) / 2.0);
  const double widestTangent =
      kBoundingRadius / std::sqrt(kEyeDistance * kEyeDistance - kBoundingRadius * kBoundingRadius);
  focal_ = halfSide * kFill / widestTangent;
}

TViewPoint TViewProjection::Point(double x, double y, double z) const {
  // Row 0 stands at the back: rows grow towards the eye, as they grow down a layer's drawing.
  const double wx = x - kCentre;
  const double wy = kCentre - y;
  const double wz = z - kCentre;
  const double across = wx * cosYaw_ + wy * sinYaw_;
  const double into = wy * cosYaw_ - wx * sinYaw_;
  const double depth = into * cosPitch_ - wz * sinPitch_;
  const double up = into * sinPitch_ + wz * cosPitch_;
  const double scale = focal_ / (kEyeDistance + depth);
  return {centreX_ + across * scale, centreY_ - up * scale, kLedRadius * scale, depth};
}

TViewPoint TViewProjection::Led(int column, int row, int layer) const { return Point(column, row, layer); }

TViewPoint TViewProjection::Led(std::size_t index) const {
  const int i = static_cast<int>(index);
  return Led(i % kSide, i / kSide % kSide, i / (kSide * kSide));
}

TAxisMarks AxisMarks(const TViewProjection& projection) {
  const double o = -kMarkOffset;
  const double tip = o + kMarkLength;
  return {projection.Point(o, o, o),
          {projection.Point(tip, o, o), projection.Point(o, tip, o), projection.Point(o, o, tip)}};
}

std::array<std::uint8_t, kLedCount> PaintOrder(TViewTurn turn) {
  const TViewProjection projection(turn, {0.0, 0.0, 100.0, 100.0});
  std::array<double, kLedCount> depth{};
  for (std::size_t i = 0; i < depth.size(); ++i) depth[i] = projection.Led(i).Depth;
  std::array<std::uint8_t, kLedCount> order{};
  std::iota(order.begin(), order.end(), std::uint8_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::uint8_t a, std::uint8_t b) { return depth[a] > depth[b]; });
  return order;
}

}  // namespace cube
