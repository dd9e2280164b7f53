// TQxLED: the on-screen LED indicator, a self-painted child window with a two-valued state; a click
// is only reported. With a pattern owner linked to outChange the owner decides the state and sets
// it through ShowState; alone, the LED's inputs set it. Must never create drawing objects per paint
// beyond what the LED drawing routine makes.
#pragma once

#include <cstdint>

#include "elements/led_paint.h"
#include "elements/win.h"

class TQxLED : public TQxWin {
 public:
  std::int32_t OnColor = 0;
  std::int32_t OffColor = 0;
  std::int32_t LightColor = 0;
  std::uint8_t State = 0;  // 0 dark, else lit; read by getState, written only through ShowState
  std::uint8_t Shape = 0;  // 0 round, 1 square, other: square without rim or highlights
  std::uint8_t Bevel = 0;
  // The eight pens and brushes, made once by Init from the colours as they stand then.
  TLEDTools Tools;
  TQx_Event outState;
  TQx_Event outClick;
  // Not in the original graph: asks the pattern's owner for the change an input wants, 0 for a
  // toggle and 1 for inOff, before outState carries the state on; the owner answers by ShowState.
  TQx_Event outChange;

  enum class TRepaint {
    Later,     // invalidated: painted by its own WM_PAINT
    ByCaller,  // the caller paints it at once, with others (see PaintNow)
  };
  // The one way State changes.
  void ShowState(bool lit, TRepaint repaint);

  using TQxWin::TQxWin;

  void inToggle(TData* d, std::uint16_t index);
  void inOff(TData* d, std::uint16_t index);
  void getState(TData* d, std::uint16_t index);

  void DoResize() override;
  void Init() override;
};
