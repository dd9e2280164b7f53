// PaintLED and the LED's drawing objects. Integer geometry throughout: every division truncates
// toward zero, and the highlight arcs round their fractions half to even.
// Must never leave one of the LED's pens selected in the DC it was given.
#include "elements/led_paint.h"

#include <initializer_list>

#include "platform/colors.h"
#include "runtime/data.h"

namespace {

constexpr COLORREF kShadow = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
// Where the highlight arcs start and end along the inner box.
constexpr long double kLightArc = 0.52L;
constexpr long double kGlossArc = 0.24L;

std::int32_t Fraction(std::int32_t length, long double factor) {
  return RoundHalfEven(static_cast<double>(length * factor));
}

void Polyline(HDC dc, std::initializer_list<POINT> points) {
  const POINT* p = points.begin();
  MoveToEx(dc, p->x, p->y, nullptr);
  for (++p; p != points.end(); ++p) LineTo(dc, p->x, p->y);
}

void PaintRoundBevel(HDC dc, const RECT& r, bool lit, HPEN h1, HPEN h2, const TLEDTools& tools) {
  const LONG L = r.left, T = r.top, Rt = r.right, B = r.bottom;
  const LONG a = (Rt - L) / 8, b = (B - T) / 8;
  Arc(dc, L, T, Rt, B, Rt, T, L, B);  // upper-left half in shadow
  SelectObject(dc, tools.RimLightPen.Get());
  Arc(dc, L, T, Rt, B, L, B, Rt, T);  // lower-right half lit
  if (lit) {
    SelectObject(dc, tools.OffPen.Get());
    Arc(dc, L + 1, T + 1, Rt - 1, B - 1, L + a - 1, B - 1, Rt - 1, T + b - 1);
  }
  const LONG il = Rt / 5, ir = Rt - Rt / 5, it = B / 5, ib = B - B / 5;
  const LONG w = ir - il, h = ib - it;
  SelectObject(dc, h1);
  Arc(dc, il, it, ir, ib, il + Fraction(w, kLightArc), it, il, it + Fraction(h, kLightArc));
  SelectObject(dc, h2);
  Arc(dc, il, it, ir, ib, il + Fraction(w, kGlossArc), it, il, it + Fraction(h, kGlossArc));
}

void PaintSquareBevel(HDC dc, const RECT& r, bool lit, HPEN h1, HPEN h2, const TLEDTools& tools) {
  const LONG L = r.left, T = r.top, Rt = r.right, B = r.bottom;
  Polyline(dc, {{L, B}, {L, T}, {Rt, T}});
  SelectObject(dc, tools.RimLightPen.Get());
  Polyline(dc, {{Rt - 1, T}, {Rt - 1, B - 1}, {L, B - 1}});
  if (lit) {
    SelectObject(dc, tools.OffPen.Get());
    Polyline(dc, {{Rt - 2, T + 1}, {Rt - 2, B - 2}, {L, B - 2}});
  }
  const LONG il = Rt / 12, ir = Rt - Rt / 12, it = B / 8, ib = B - B / 8;
  SelectObject(dc, h1);
  Polyline(dc, {{il + 1, ib - 2}, {il + 1, it + 1}, {il + (ir - il) / 3, it + 1}});
  SelectObject(dc, h2);
  Polyline(dc, {{il + 1, it + 2}, {il + 1, it + 1}, {il + 2, it + 1}, {il + 1, it + 2}});
}

}  // namespace

TLEDTools CreateLEDTools(std::int32_t onColor, std::int32_t offColor, std::int32_t lightColor) {
  TLEDTools t;
  t.ShadowPen.Reset(CreatePen(PS_SOLID, 1, kShadow));
  t.RimLightPen.Reset(CreatePen(PS_SOLID, 1, kWhite));
  t.OnBrush.Reset(CreateSolidBrush(ResolveColor(onColor)));
  t.OffBrush.Reset(CreateSolidBrush(ResolveColor(offColor)));
  t.OffPen.Reset(CreatePen(PS_SOLID, 1, ResolveColor(offColor)));
  t.LightPen.Reset(CreatePen(PS_SOLID, 1, ResolveColor(lightColor)));
  t.GlossPen.Reset(CreatePen(PS_SOLID, 2, kWhite));
  t.OnPen.Reset(CreatePen(PS_SOLID, 2, ResolveColor(onColor)));
  return t;
}

void DeleteLEDTools(TLEDTools& tools) { tools = TLEDTools{}; }

void PaintLED(HDC dc, const RECT& client, const TLEDLook& look) {
  if (dc == nullptr || look.Tools == nullptr) return;
  const TLEDTools& tools = *look.Tools;
  const bool lit = look.State != 0;

  // A fresh brush each time, so a changed system colour shows at the next paint.
  if (const TOwnedBrush background{CreateSolidBrush(ResolveColor(look.Color))})
    FillRect(dc, &client, background.Get());
  // The body is drawn even if the region cannot be made: the rim still follows.
  const TOwnedRegion body(look.Shape == 0 ? CreateEllipticRgnIndirect(&client)
                                          : CreateRectRgnIndirect(&client));
  if (body) FillRgn(dc, body.Get(), lit ? tools.OnBrush.Get() : tools.OffBrush.Get());
  if (look.Bevel == 0 || look.Shape > 1) return;

  HGDIOBJ previousPen = SelectObject(dc, tools.ShadowPen.Get());
  HPEN h1 = lit ? tools.LightPen.Get() : tools.OffPen.Get();
  HPEN h2 = lit ? tools.GlossPen.Get() : tools.OnPen.Get();
  if (look.Shape == 0) {
    PaintRoundBevel(dc, client, lit, h1, h2, tools);
  } else {
    PaintSquareBevel(dc, client, lit, h1, h2, tools);
  }
  if (previousPen != nullptr) SelectObject(dc, previousPen);
}
