// The cube seen in perspective: the turn (yaw about the layer axis, pitch of the eye above the
// layers) with its Home value and limits, where each LED and the axis marks land in a rectangle,
// the order that paints them back to front, and the turn after a drag or an arrow key.
// Window-free: must never include a window-system header; the view element and the export draw
// from it alike.
#pragma once

#include <array>
#include <cstdint>

#include "cube/pattern.h"

namespace cube {

// Degrees. Whole and half degrees add up exactly in a double, so a key turn and its opposite, or
// four quarter turns, give back exactly the turn they started from.
struct TViewTurn {
  double Yaw = 0.0;    // about the layer axis; positive brings the cube's right side to the front
  double Pitch = 0.0;  // the eye above the layers' plane; positive looks down onto layer 6
  bool operator==(const TViewTurn&) const = default;
};

inline constexpr TViewTurn kHomeTurn{-30.0, 25.0};
inline constexpr double kMaxPitch = 80.0;  // past it the layer axis would fold into the screen
inline constexpr double kKeyStep = 15.0;   // one arrow key; six make a quarter turn
inline constexpr double kDragStep = 0.5;   // per pixel dragged

// Yaw brought into (-180, 180], pitch into [-kMaxPitch, kMaxPitch].
TViewTurn Normalized(TViewTurn turn);
// Dragging right turns the front to the right, dragging down tilts the top towards the eye.
TViewTurn Dragged(TViewTurn turn, int dx, int dy);
enum class TViewKey { Left, Right, Up, Down };
TViewTurn Turned(TViewTurn turn, TViewKey key);

struct TViewRect {
  double Left = 0.0;
  double Top = 0.0;
  double Width = 0.0;
  double Height = 0.0;
};

struct TViewPoint {
  double X = 0.0;
  double Y = 0.0;
  double Radius = 0.0;  // of an LED at that place, shrinking with distance
  double Depth = 0.0;   // larger is farther from the eye
};

// The part of a width x height picture the projection fills: a margin is left around it for the
// names of the axis marks.
TViewRect PictureRect(int width, int height);

// The projection of one turn into one rectangle; everything it gives lies inside the rectangle.
class TViewProjection {
 public:
  TViewProjection(TViewTurn turn, const TViewRect& rect);

  // An LED by column (X), row (Y) and layer; layer 0 is at the bottom, row 0 at the back.
  TViewPoint Led(int column, int row, int layer) const;
  TViewPoint Led(std::size_t index) const;
  // Any point in LED steps: (0,0,0) is LED 0's centre, x along columns, y rows, z layers.
  TViewPoint Point(double x, double y, double z) const;
  // Where a unit step along (x, y, z) points on the screen, without perspective (X to the right,
  // Y down; at most 1 long), and how far it goes away from the eye (Depth).
  TViewPoint Direction(double x, double y, double z) const;
  const TViewRect& Rect() const { return rect_; }

 private:
  struct TTurned {
    double Across, Up, Depth;
  };
  // A vector from the cube's centre (x right, y to the back, z up) turned to the eye's axes.
  TTurned Turn(double wx, double wy, double wz) const;

  double cosYaw_, sinYaw_, cosPitch_, sinPitch_;
  double centreX_, centreY_, focal_;
  TViewRect rect_;
};

// The axis marks in the rectangle's lower left corner, outside the cube's picture: arrows from one
// point along growing columns (X), rows (Y) and layers, turned with the cube.
struct TAxisMarks {
  TViewPoint Origin;
  std::array<TViewPoint, 3> Tips;  // X, Y, layer
};
TAxisMarks AxisMarks(const TViewProjection& projection);

// The LED indices farthest first: painting in this order leaves the nearest on top.
std::array<std::uint8_t, kLedCount> PaintOrder(TViewTurn turn);

}  // namespace cube
