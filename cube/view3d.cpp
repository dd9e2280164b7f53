// The perspective of the cube view: a turn about the layer axis, a tilt of the eye, then a
// pinhole projection scaled so that a ball holding every LED fits the rectangle at any turn; the
// picture's size therefore never jumps while the cube turns.
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
// Holds every LED with its radius: the cube's half diagonal and one LED radius more.
constexpr double kBoundingRadius = 4.7;
// The axis marks: their corner and their length, in parts of the rectangle's shorter side.
constexpr double kMarkInset = 0.13;
constexpr double kMarkLength = 0.11;
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

TViewRect PictureRect(int width, int height) {
  const int margin = std::max(0, std::min(24, std::min(width, height) / 6));
  return {static_cast<double>(margin), static_cast<double>(margin), static_cast<double>(width - 2 * margin),
          static_cast<double>(height - 2 * margin)};
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
  rect_ = rect;
}

TViewPoint TViewProjection::Point(double x, double y, double z) const {
  // Row 0 stands at the back: rows grow towards the eye, as they grow down a layer's drawing.
  const TTurned t = Turn(x - kCentre, kCentre - y, z - kCentre);
  const double scale = focal_ / (kEyeDistance + t.Depth);
  return {centreX_ + t.Across * scale, centreY_ - t.Up * scale, kLedRadius * scale, t.Depth};
}

TViewPoint TViewProjection::Direction(double x, double y, double z) const {
  const TTurned t = Turn(x, -y, z);
  return {t.Across, -t.Up, 0.0, t.Depth};
}

TViewProjection::TTurned TViewProjection::Turn(double wx, double wy, double wz) const {
  const double into = wy * cosYaw_ - wx * sinYaw_;
  return {wx * cosYaw_ + wy * sinYaw_, into * sinPitch_ + wz * cosPitch_, into * cosPitch_ - wz * sinPitch_};
}

TViewPoint TViewProjection::Led(int column, int row, int layer) const { return Point(column, row, layer); }

TViewPoint TViewProjection::Led(std::size_t index) const {
  const int i = static_cast<int>(index);
  return Led(i % kSide, i / kSide % kSide, i / (kSide * kSide));
}

TAxisMarks AxisMarks(const TViewProjection& projection) {
  const TViewRect& rect = projection.Rect();
  const double side = std::min(rect.Width, rect.Height);
  const double length = side * kMarkLength;
  const TViewPoint origin{rect.Left + side * kMarkInset, rect.Top + rect.Height - side * kMarkInset, 0.0,
                          0.0};
  TAxisMarks marks{origin, {}};
  constexpr double kSteps[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  for (std::size_t axis = 0; axis < marks.Tips.size(); ++axis) {
    const TViewPoint d = projection.Direction(kSteps[axis][0], kSteps[axis][1], kSteps[axis][2]);
    marks.Tips[axis] = {origin.X + d.X * length, origin.Y + d.Y * length, 0.0, d.Depth};
  }
  return marks;
}

std::array<std::uint8_t, kLedCount> PaintOrder(TViewTurn turn) {
  const TViewProjection projection(turn, {0.0, 0.0, 100.0, 100.0});
  std::array<double, kLedCount> depth{};
  for (std::size_t i = 0; i < depth.size(); ++i) depth[i] = projection.Led(i).Depth;
  std::array<std::uint8_t, kLedCount> order{};
  std::iota(order.begin(), order.end(), std::uint8_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::uint8_t a, std::uint8_t b) { return depth[a] > depth[b]; });
  return order;
}

}  // namespace cube
