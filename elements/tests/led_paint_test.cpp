// The LED's painting, pixel by pixel, against its geometry worked out here again.
#include "elements/led_paint.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/tests/test_surface.h"
#include "platform/tests/test_windows.h"

namespace {

constexpr COLORREF kOn = RGB(255, 0, 0);
constexpr COLORREF kOff = RGB(0xA6, 0xCA, 0xF0);
constexpr COLORREF kLight = RGB(255, 255, 128);
constexpr COLORREF kBackground = RGB(10, 20, 30);
constexpr COLORREF kGrey = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kUntouched = TestSurface::kBackground;

// Exactly the LED's size, so that what falls outside is clipped as in a window.
using Surface = TestSurface;

class LedPaint : public ::testing::Test {
 protected:
  void SetUp() override { tools_ = CreateLEDTools(kOn, kOff, kLight); }
  void TearDown() override { DeleteLEDTools(tools_); }

  void Paint(const Surface& surface, std::uint8_t state, std::uint8_t shape, std::uint8_t bevel) {
    TLEDLook look;
    look.State = state;
    look.Shape = shape;
    look.Bevel = bevel;
    look.Color = kBackground;
    look.Tools = &tools_;
    PaintLED(surface.dc(), surface.client(), look);
  }

  TLEDTools tools_;
};

// The picture a square LED should give: axis-parallel 1-pixel lines that stop before their end,
// set pixel by pixel here, and the 2-pixel mark drawn as the line it is, with a pen of this test's own.
class SquareExpectation {
 public:
  SquareExpectation(int w, int h, bool lit, bool bevel) : w_(w), h_(h), surface_(w, h) {
    surface_.Fill(lit ? kOn : kOff);
    if (!bevel) return;
    Polyline({{0, h}, {0, 0}, {w, 0}}, kGrey);
    Polyline({{w - 1, 0}, {w - 1, h - 1}, {0, h - 1}}, kWhite);
    if (lit) Polyline({{w - 2, 1}, {w - 2, h - 2}, {0, h - 2}}, kOff);
    const int il = w / 12, ir = w - w / 12, it = h / 8, ib = h - h / 8;
    Polyline({{il + 1, ib - 2}, {il + 1, it + 1}, {il + (ir - il) / 3, it + 1}}, lit ? kLight : kOff);
    HPEN mark = CreatePen(PS_SOLID, 2, lit ? kWhite : kOn);
    HGDIOBJ previous = SelectObject(surface_.dc(), mark);
    MoveToEx(surface_.dc(), il + 1, it + 2, nullptr);
    LineTo(surface_.dc(), il + 1, it + 1);
    LineTo(surface_.dc(), il + 2, it + 1);
    LineTo(surface_.dc(), il + 1, it + 2);
    SelectObject(surface_.dc(), previous);
    DeleteObject(mark);
  }

  COLORREF At(int x, int y) const { return surface_.At(x, y); }

 private:
  void Polyline(std::initializer_list<POINT> points, COLORREF c) {
    const POINT* p = points.begin();
    POINT at = *p;
    for (++p; p != points.end(); ++p) {
      const int dx = (p->x > at.x) - (p->x < at.x), dy = (p->y > at.y) - (p->y < at.y);
      while (at.x != p->x || at.y != p->y) {
        if (at.x >= 0 && at.x < w_ && at.y >= 0 && at.y < h_) SetPixel(surface_.dc(), at.x, at.y, c);
        at.x += dx;
        at.y += dy;
      }
    }
  }

  int w_;
  int h_;
  Surface surface_;
};

std::string Where(int size, bool lit, bool bevel, int x, int y) {
  return std::to_string(size) + "x" + std::to_string(size) + (lit ? " lit" : " dark") +
         (bevel ? " bevel" : " flat") + " at (" + std::to_string(x) + "," + std::to_string(y) + ")";
}

constexpr int kSizes[] = {40, 35, 30, 25, 20, 15, 13, 64};

TEST_F(LedPaint, SquareLedMatchesItsGeometryPixelByPixel) {
  for (int size : kSizes) {
    for (bool lit : {false, true}) {
      for (bool bevel : {false, true}) {
        Surface surface(size, size);
        Paint(surface, lit ? 1 : 0, 1, bevel ? 1 : 0);
        const SquareExpectation expected(size, size, lit, bevel);
        int mismatches = 0;
        for (int y = 0; y < size && mismatches < 5; ++y) {
          for (int x = 0; x < size && mismatches < 5; ++x) {
            const COLORREF got = surface.At(x, y), want = expected.At(x, y);
            if (got == want) continue;
            ++mismatches;
            ADD_FAILURE() << Where(size, lit, bevel, x, y) << ": got " << std::hex << got << " want " << want;
          }
        }
      }
    }
  }
}

// The mark is drawn by the rasteriser in both pictures, so its place is pinned here on its own.
TEST_F(LedPaint, SquareMarkCoversItsCornerPixelInTheMarkColour) {
  for (int size : kSizes) {
    for (bool lit : {false, true}) {
      Surface surface(size, size);
      Paint(surface, lit ? 1 : 0, 1, 1);
      const int il = size / 12, it = size / 8;
      EXPECT_EQ(surface.At(il + 1, it + 1), lit ? kWhite : kOn) << Where(size, lit, true, il + 1, it + 1);
    }
  }
}

TEST_F(LedPaint, FifteenPixelSquareHighlightRunsUpColumnTwoAndAcrossToFive) {
  Surface surface(15, 15);
  Paint(surface, 1, 1, 1);
  for (int y = 5; y <= 12; ++y) EXPECT_EQ(surface.At(2, y), kLight) << y;
  EXPECT_EQ(surface.At(2, 13), kOff);  // the lit inner rim, not the highlight
  EXPECT_EQ(surface.At(3, 12), kOn);
  EXPECT_EQ(surface.At(5, 2), kOn);  // the line stops before its end point
  EXPECT_EQ(surface.At(0, 14), kGrey);
  EXPECT_EQ(surface.At(14, 0), kWhite);
  EXPECT_EQ(surface.At(14, 14), kWhite);
  EXPECT_EQ(surface.At(13, 13), kOff);
}

TEST_F(LedPaint, ShapeTwoIsASquareBodyWithoutRimOrHighlights) {
  for (std::uint8_t shape : {2, 7}) {
    for (bool lit : {false, true}) {
      Surface surface(20, 20);
      Paint(surface, lit ? 1 : 0, shape, 1);
      for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(surface.At(x, y), lit ? kOn : kOff) << x << "," << y;
    }
  }
}

TEST_F(LedPaint, AnyLitStateValuePaintsLit) {
  Surface surface(20, 20);
  Paint(surface, 5, 2, 0);
  EXPECT_EQ(surface.At(10, 10), kOn);
}

// Position of a pixel centre relative to the ellipse inscribed in the w x h client: (0,0) at the
// centre, 1 on the ellipse along each axis.
struct Normalized {
  double u, v;
  Normalized(int x, int y, int w, int h)
      : u((x + 0.5 - w / 2.0) / (w / 2.0)), v((y + 0.5 - h / 2.0) / (h / 2.0)) {}
  double radius() const { return std::sqrt(u * u + v * v); }
};

TEST_F(LedPaint, RoundLedBodyBackgroundAndRimHalves) {
  for (int size : kSizes) {
    for (bool lit : {false, true}) {
      Surface surface(size, size);
      Paint(surface, lit ? 1 : 0, 0, 1);
      const COLORREF body = lit ? kOn : kOff;
      const std::string where = std::to_string(size) + (lit ? " lit" : " dark");
      EXPECT_EQ(surface.At(size / 2, size / 2), body) << where;
      for (auto [x, y] : {std::pair{0, 0}, {size - 1, 0}, {0, size - 1}, {size - 1, size - 1}})
        EXPECT_EQ(surface.At(x, y), kBackground) << where << " corner " << x << "," << y;

      int shadow = 0, rimLight = 0, innerRim = 0, marks = 0;
      for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
          const Normalized n(x, y, size, size);
          const COLORREF got = surface.At(x, y);
          const double slack = 1.5 / (size / 2.0);  // a pixel and a half, in normalized units
          if (n.radius() < 0.45) {
            EXPECT_EQ(got, body) << where << " inside at " << x << "," << y;
          }
          if (n.radius() > 1.0 + slack) {
            EXPECT_EQ(got, kBackground) << where << " outside at " << x << "," << y;
          }
          if (got == kGrey) {
            ++shadow;
            EXPECT_LT(n.u + n.v, slack) << where << " shadow at " << x << "," << y;
            EXPECT_GT(n.radius(), 1.0 - 2 * slack) << where << " shadow at " << x << "," << y;
          }
          // White in the upper-left half can only be the lit gloss on the inner ellipse.
          if (got == kWhite && n.u + n.v > -slack) {
            if (n.radius() > 0.85) ++rimLight;
          } else if (got == kWhite) {
            EXPECT_TRUE(lit) << where << " white at " << x << "," << y;
            EXPECT_NEAR(n.radius(), 0.6, 2.5 / (size / 2.0)) << where << " white at " << x << "," << y;
          }
          if (lit && got == kOff) {
            ++innerRim;
            EXPECT_GT(n.u + n.v, -slack) << where << " inner rim at " << x << "," << y;
          }
          // The highlights lie on the inner ellipse, in its upper-left quarter.
          if (got == (lit ? kLight : kOn)) {
            ++marks;
            EXPECT_LT(n.u, slack) << where << " highlight at " << x << "," << y;
            EXPECT_LT(n.v, slack) << where << " highlight at " << x << "," << y;
            EXPECT_NEAR(n.radius(), 0.6, 0.1 + 2 * slack) << where << " highlight at " << x << "," << y;
          }
        }
      }
      EXPECT_GT(shadow, size) << where;
      EXPECT_GT(rimLight, size) << where;
      if (lit) {
        EXPECT_GT(innerRim, size / 2) << where;
      }
      EXPECT_GT(marks, 2) << where;
    }
  }
}

// round(numerator * percent / 100) with halves to even, in exact integer arithmetic.
int RoundPercent(int numerator, int percent) {
  const int scaled = numerator * percent;
  int quotient = scaled / 100;
  const int remainder = scaled % 100;
  if (remainder > 50 || (remainder == 50 && quotient % 2 != 0)) ++quotient;
  return quotient;
}

// The picture a round LED should give, drawn with the primitives its geometry is made of: the
// inscribed elliptic region and arcs, in the default counter-clockwise direction, with pens of
// this test's own and every box and end point worked out here from the client size.
class RoundExpectation {
 public:
  RoundExpectation(int w, int h, bool lit, bool bevel) : surface_(w, h) {
    HDC dc = surface_.dc();
    surface_.Fill(kBackground);
    if (HRGN body = CreateEllipticRgn(0, 0, w, h)) {
      HBRUSH brush = CreateSolidBrush(lit ? kOn : kOff);
      FillRgn(dc, body, brush);
      DeleteObject(brush);
      DeleteObject(body);
    }
    if (!bevel) return;
    const int a = w / 8, b = h / 8;
    ArcWith(1, kGrey, {0, 0, w, h}, {w, 0}, {0, h});
    ArcWith(1, kWhite, {0, 0, w, h}, {0, h}, {w, 0});
    if (lit) ArcWith(1, kOff, {1, 1, w - 1, h - 1}, {a - 1, h - 1}, {w - 1, b - 1});
    const RECT inner{w / 5, h / 5, w - w / 5, h - h / 5};
    const int iw = inner.right - inner.left, ih = inner.bottom - inner.top;
    ArcWith(1, lit ? kLight : kOff, inner, {inner.left + RoundPercent(iw, 52), inner.top},
            {inner.left, inner.top + RoundPercent(ih, 52)});
    ArcWith(2, lit ? kWhite : kOn, inner, {inner.left + RoundPercent(iw, 24), inner.top},
            {inner.left, inner.top + RoundPercent(ih, 24)});
  }

  COLORREF At(int x, int y) const { return surface_.At(x, y); }

 private:
  void ArcWith(int width, COLORREF color, RECT box, POINT from, POINT to) {
    HPEN pen = CreatePen(PS_SOLID, width, color);
    HGDIOBJ previous = SelectObject(surface_.dc(), pen);
    Arc(surface_.dc(), box.left, box.top, box.right, box.bottom, from.x, from.y, to.x, to.y);
    SelectObject(surface_.dc(), previous);
    DeleteObject(pen);
  }

  Surface surface_;
};

struct Size {
  int w, h;
};
// The editor's sizes, an odd and an even other one, and two oblong ones that tell width from height.
constexpr Size kRoundSizes[] = {{40, 40}, {35, 35}, {30, 30}, {25, 25}, {20, 20},
                                {15, 15}, {13, 13}, {64, 64}, {37, 22}, {22, 37}};

std::string WhereRound(Size size, bool lit, bool bevel, int x, int y) {
  return std::to_string(size.w) + "x" + std::to_string(size.h) + (lit ? " lit" : " dark") +
         (bevel ? " bevel" : " flat") + " at (" + std::to_string(x) + "," + std::to_string(y) + ")";
}

TEST_F(LedPaint, RoundLedMatchesItsGeometryPixelByPixel) {
  for (Size size : kRoundSizes) {
    for (bool lit : {false, true}) {
      for (bool bevel : {false, true}) {
        Surface surface(size.w, size.h);
        Paint(surface, lit ? 1 : 0, 0, bevel ? 1 : 0);
        const RoundExpectation expected(size.w, size.h, lit, bevel);
        int mismatches = 0;
        for (int y = 0; y < size.h && mismatches < 5; ++y) {
          for (int x = 0; x < size.w && mismatches < 5; ++x) {
            const COLORREF got = surface.At(x, y), want = expected.At(x, y);
            if (got == want) continue;
            ++mismatches;
            ADD_FAILURE() << WhereRound(size, lit, bevel, x, y) << ": got " << std::hex << got << " want "
                          << want;
          }
        }
      }
    }
  }
}

// Guards the expectation itself: the rim halves and the highlights go the way the arcs are meant to.
TEST_F(LedPaint, RoundExpectationPutsShadowTopLeftAndHighlightsInTheUpperLeftQuarter) {
  for (Size size : kRoundSizes) {
    for (bool lit : {false, true}) {
      const RoundExpectation expected(size.w, size.h, lit, true);
      const std::string where = WhereRound(size, lit, true, 0, 0);
      EXPECT_EQ(expected.At(size.w / 2, 0), kGrey) << where;
      EXPECT_EQ(expected.At(0, size.h / 2), kGrey) << where;
      EXPECT_EQ(expected.At(size.w / 2, size.h - 1), kWhite) << where;
      EXPECT_EQ(expected.At(size.w - 1, size.h / 2), kWhite) << where;
      int marks = 0;
      for (int y = 0; y < size.h; ++y) {
        for (int x = 0; x < size.w; ++x) {
          if (expected.At(x, y) != (lit ? kLight : kOn)) continue;
          ++marks;
          // The first highlight starts a little past the middle (52% along the inner box).
          EXPECT_LE(x * 100, size.w * 56) << WhereRound(size, lit, true, x, y);
          EXPECT_LE(y * 100, size.h * 56) << WhereRound(size, lit, true, x, y);
        }
      }
      EXPECT_GT(marks, 2) << where;
    }
  }
}

TEST_F(LedPaint, RoundLedWithoutBevelIsTheBodyEllipseOnly) {
  Surface surface(30, 30);
  Paint(surface, 1, 0, 0);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 30; ++x) {
      const COLORREF got = surface.At(x, y);
      const Normalized n(x, y, 30, 30);
      EXPECT_TRUE(got == kOn || got == kBackground) << x << "," << y;
      if (n.radius() < 0.9) {
        EXPECT_EQ(got, kOn) << x << "," << y;
      }
      if (n.radius() > 1.1) {
        EXPECT_EQ(got, kBackground) << x << "," << y;
      }
    }
  }
}

TEST_F(LedPaint, PaintingGivesTheDCItsPenBack) {
  Surface surface(20, 20);
  HGDIOBJ before = GetCurrentObject(surface.dc(), OBJ_PEN);
  Paint(surface, 1, 0, 1);
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_PEN), before);
  Paint(surface, 0, 1, 1);
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_PEN), before);
}

TEST_F(LedPaint, PaintingLeavesNoGdiObjectBehind) {
  Surface surface(25, 25);
  Paint(surface, 1, 0, 1);
  const long before = GdiObjectsInUse();
  for (int i = 0; i < 500; ++i)
    Paint(surface, static_cast<std::uint8_t>(i & 1), static_cast<std::uint8_t>(i % 3), 1);
  EXPECT_EQ(GdiObjectsInUse(), before);
}

TEST(LedTools, MadeFromTheColoursWithSystemColoursResolved) {
  TLEDTools tools =
      CreateLEDTools(static_cast<std::int32_t>(0xFF00000F), static_cast<std::int32_t>(0xFF000002),
                     static_cast<std::int32_t>(0x00123456));
  auto pen = [](HPEN p) {
    LOGPEN lp{};
    GetObjectA(p, sizeof(lp), &lp);
    return lp;
  };
  auto brush = [](HBRUSH b) {
    LOGBRUSH lb{};
    GetObjectA(b, sizeof(lb), &lb);
    return lb;
  };
  EXPECT_EQ(brush(tools.OnBrush.Get()).lbColor, GetSysColor(15));
  EXPECT_EQ(brush(tools.OffBrush.Get()).lbColor, GetSysColor(2));
  EXPECT_EQ(pen(tools.OnPen.Get()).lopnColor, GetSysColor(15));
  EXPECT_EQ(pen(tools.OnPen.Get()).lopnWidth.x, 2);
  EXPECT_EQ(pen(tools.OffPen.Get()).lopnColor, GetSysColor(2));
  EXPECT_EQ(pen(tools.OffPen.Get()).lopnWidth.x, 1);
  EXPECT_EQ(pen(tools.LightPen.Get()).lopnColor, 0x00123456u);
  EXPECT_EQ(pen(tools.ShadowPen.Get()).lopnColor, kGrey);
  EXPECT_EQ(pen(tools.RimLightPen.Get()).lopnColor, kWhite);
  EXPECT_EQ(pen(tools.RimLightPen.Get()).lopnWidth.x, 1);
  EXPECT_EQ(pen(tools.GlossPen.Get()).lopnColor, kWhite);
  EXPECT_EQ(pen(tools.GlossPen.Get()).lopnWidth.x, 2);
  HGDIOBJ shadow = tools.ShadowPen.Get();
  DeleteLEDTools(tools);
  EXPECT_EQ(tools.ShadowPen.Get(), nullptr);
  EXPECT_EQ(GetObjectType(shadow), 0u);
}

}  // namespace
