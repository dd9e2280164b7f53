// Painter's algorithm over the cube's projection: edges and faint dark LEDs first in depth order
// with the lit ones, then the axis marks on top so that no LED can hide them.
#include "elements/cube_view_paint.h"

#include <algorithm>
#include <cmath>

#include "platform/colors.h"
#include "platform/handles.h"
#include "platform/text_codec.h"

namespace cube_view {

namespace {

// The editor's LED colours (see the LEDs the form makes): lit red, dark light blue, and the
// dark LEDs of column 1 in the active caption's colour, which marks that column on the form too.
constexpr COLORREF kOnColor = RGB(0xFF, 0x00, 0x00);
constexpr COLORREF kOnRim = RGB(0x80, 0x00, 0x00);
constexpr COLORREF kGloss = RGB(0xFF, 0xFF, 0xFF);
constexpr std::int32_t kOffColor = 0xF0CAA6;
constexpr std::int32_t kColumnOneOffColor = ElementSystemColor(COLOR_ACTIVECAPTION);
constexpr std::int32_t kBackground = ElementSystemColor(COLOR_BTNFACE);
constexpr COLORREF kEdgeColor = RGB(0xA0, 0xA0, 0xA0);
constexpr COLORREF kAxisColor = RGB(0x00, 0x00, 0x80);  // the workbench's dark blue
constexpr double kDarkShrink = 0.6;                     // a dark LED's dot against a lit one's

int Round(double v) { return static_cast<int>(std::lround(v)); }

// Half way to the background: dark LEDs stay visible yet let the lit ones stand out.
COLORREF Faint(COLORREF color, COLORREF background) {
  return RGB((GetRValue(color) + GetRValue(background)) / 2, (GetGValue(color) + GetGValue(background)) / 2,
             (GetBValue(color) + GetBValue(background)) / 2);
}

void Dot(HDC dc, double x, double y, double radius) {
  const int r = std::max(1, Round(radius));
  Ellipse(dc, Round(x) - r, Round(y) - r, Round(x) + r + 1, Round(y) + r + 1);
}

void Line(HDC dc, const cube::TViewPoint& from, const cube::TViewPoint& to) {
  MoveToEx(dc, Round(from.X), Round(from.Y), nullptr);
  LineTo(dc, Round(to.X), Round(to.Y));
}

void PaintEdges(HDC dc, const cube::TViewProjection& projection) {
  TOwnedPen pen(CreatePen(PS_SOLID, 1, kEdgeColor));
  const HGDIOBJ old = SelectObject(dc, pen.Get());
  constexpr double lo = -0.5, hi = cube::kSide - 0.5;
  for (int axis = 0; axis < 3; ++axis) {
    for (int corner = 0; corner < 4; ++corner) {
      double from[3], to[3];
      from[axis] = lo;
      to[axis] = hi;
      from[(axis + 1) % 3] = to[(axis + 1) % 3] = (corner & 1) != 0 ? hi : lo;
      from[(axis + 2) % 3] = to[(axis + 2) % 3] = (corner & 2) != 0 ? hi : lo;
      Line(dc, projection.Point(from[0], from[1], from[2]), projection.Point(to[0], to[1], to[2]));
    }
  }
  SelectObject(dc, old);
}

struct TLedBrushes {
  TOwnedBrush On, Off, ColumnOneOff, Gloss;
  TOwnedPen OnRim;
};

void PaintLed(HDC dc, const cube::TViewPoint& p, bool lit, bool columnOne, const TLedBrushes& tools) {
  if (!lit) {
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, (columnOne ? tools.ColumnOneOff : tools.Off).Get());
    Dot(dc, p.X, p.Y, p.Radius * kDarkShrink);
    return;
  }
  SelectObject(dc, tools.OnRim.Get());
  SelectObject(dc, tools.On.Get());
  Dot(dc, p.X, p.Y, p.Radius);
  // A gloss up and left of the centre, clear of the centre pixel, where it would hide the colour.
  if (p.Radius < 6.0) return;
  SelectObject(dc, GetStockObject(NULL_PEN));
  SelectObject(dc, tools.Gloss.Get());
  Dot(dc, p.X - p.Radius * 0.45, p.Y - p.Radius * 0.45, p.Radius * 0.22);
}

void PaintLeds(HDC dc, const cube::TViewProjection& projection, const cube::TPattern& pattern,
               const TTurn& turn, COLORREF background) {
  const TLedBrushes tools{TOwnedBrush(CreateSolidBrush(kOnColor)),
                          TOwnedBrush(CreateSolidBrush(Faint(ResolveColor(kOffColor), background))),
                          TOwnedBrush(CreateSolidBrush(Faint(ResolveColor(kColumnOneOffColor), background))),
                          TOwnedBrush(CreateSolidBrush(kGloss)), TOwnedPen(CreatePen(PS_SOLID, 1, kOnRim))};
  const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  const HGDIOBJ oldBrush = SelectObject(dc, tools.On.Get());
  for (const std::uint8_t index : cube::PaintOrder(turn))
    PaintLed(dc, projection.Led(index), pattern.test(index), index % cube::kSide == 0, tools);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
}

// A short arrow from the corner to each tip, and its name a little beyond the tip.
void PaintAxes(HDC dc, const cube::TViewProjection& projection) {
  static const char* const kNames[3] = {"X", "Y", "Слой"};
  TOwnedPen pen(CreatePen(PS_SOLID, 2, kAxisColor));
  TOwnedFont font(CreateFontW(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_BOLD, 0, 0, 0,
                              RUSSIAN_CHARSET, 0, 0, 0, 0, L"MS Sans Serif"));
  const HGDIOBJ oldPen = SelectObject(dc, pen.Get());
  const HGDIOBJ oldFont = SelectObject(dc, font.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kAxisColor);
  const cube::TAxisMarks marks = cube::AxisMarks(projection);
  for (int axis = 0; axis < 3; ++axis) {
    const cube::TViewPoint& tip = marks.Tips[axis];
    Line(dc, marks.Origin, tip);
    const double dx = tip.X - marks.Origin.X, dy = tip.Y - marks.Origin.Y;
    const double length = std::max(1.0, std::hypot(dx, dy));
    const double ux = dx / length, uy = dy / length;
    const double head = std::min(6.0, length / 2);
    for (const double side : {-1.0, 1.0}) {
      MoveToEx(dc, Round(tip.X), Round(tip.Y), nullptr);
      LineTo(dc, Round(tip.X - head * (ux - side * uy * 0.6)), Round(tip.Y - head * (uy + side * ux * 0.6)));
    }
    SIZE text{};
    const TWideString name = WideFromCp1251(kNames[axis]);
    const int chars = static_cast<int>(name.size());
    GetTextExtentPoint32W(dc, name.c_str(), chars, &text);
    const int x = Round(tip.X + ux * (6 + text.cx / 2.0)) - text.cx / 2;
    const int y = Round(tip.Y + uy * (6 + text.cy / 2.0)) - text.cy / 2;
    TextOutW(dc, x, y, name.c_str(), chars);
  }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldPen);
}

}  // namespace

void Paint(HDC dc, int width, int height, const cube::TPattern& pattern, const TTurn& turn) {
  const COLORREF background = ResolveColor(kBackground);
  TOwnedBrush fill(CreateSolidBrush(background));
  const RECT all{0, 0, width, height};
  FillRect(dc, &all, fill.Get());
  if (width <= 0 || height <= 0) return;
  const cube::TViewProjection projection(turn, cube::PictureRect(width, height));
  PaintEdges(dc, projection);
  PaintLeds(dc, projection, pattern, turn, background);
  PaintAxes(dc, projection);
}

}  // namespace cube_view
