// The drawing of an LED indicator: a round or square body in the lit or dark colour with an
// optional bevelled rim and glossy highlights, over a background of the control's colour.
// Must never create pens or brushes while painting beyond the background brush and the body region.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/handles.h"

// The eight drawing objects of one LED, made once from its colours and owned by the LED.
struct TLEDTools {
  TOwnedPen ShadowPen;    // solid, width 1, grey
  TOwnedPen RimLightPen;  // solid, width 1, white
  TOwnedPen OffPen;       // solid, width 1, OffColor
  TOwnedPen LightPen;     // solid, width 1, LightColor
  TOwnedPen GlossPen;     // solid, width 2, white
  TOwnedPen OnPen;        // solid, width 2, OnColor
  TOwnedBrush OnBrush;    // solid, OnColor
  TOwnedBrush OffBrush;   // solid, OffColor
};

// Makes the tools in the order ShadowPen, RimLightPen, OnBrush, OffBrush, OffPen, LightPen, GlossPen,
// OnPen, resolving system colours as they stand now.
TLEDTools CreateLEDTools(std::int32_t onColor, std::int32_t offColor, std::int32_t lightColor);
// Deletes all eight and clears them.
void DeleteLEDTools(TLEDTools& tools);

struct TLEDLook {
  std::uint8_t State = 0;  // 0 dark, else lit
  std::uint8_t Shape = 1;  // 0 round, 1 square, other: square without rim or highlights
  std::uint8_t Bevel = 1;  // 0: body only
  std::int32_t Color = 0;  // background
  const TLEDTools* Tools = nullptr;
};

// Paints the LED into `client` (left and top 0) on `dc`. The DC's pen is given back afterwards.
void PaintLED(HDC dc, const RECT& client, const TLEDLook& look);
