// TQxLED: state changes through inToggle and inOff, the click report and the paint handler.
#include "elements/led.h"

#include "platform/startup_trace.h"

namespace {

void PaintProc(void* data, TControl* sender, HDC dc) {
  const TQxLED& led = *static_cast<TQxLED*>(data);
  TLEDLook look;
  look.State = led.State;
  look.Shape = led.Shape;
  look.Bevel = led.Bevel;
  look.Color = led.Color;
  look.Tools = &led.Tools;
  PaintLED(dc, sender->GetClientRect(), look);
  StartupStamp("first LED paint");
  StartupStampNth("LED paints", 216);
}

void ClickProc(void* data, TObj*) { FireEmpty(static_cast<TQxLED*>(data)->outClick); }

}  // namespace

void TQxLED::ShowState(bool lit, TRepaint repaint) {
  if ((State != 0) == lit) return;
  State = lit ? 1 : 0;
  if (repaint == TRepaint::Later && Control != nullptr) Control->Invalidate();
}

void TQxLED::inToggle(TData* d, std::uint16_t) {
  if (outChange.Connected())
    FireInt(outChange, 0);
  else
    ShowState(State == 0, TRepaint::Later);
  ForwardInt(d, &outState, State);
}

void TQxLED::inOff(TData* d, std::uint16_t) {
  if (State == 0) return;
  if (outChange.Connected())
    FireInt(outChange, 1);
  else
    ShowState(false, TRepaint::Later);
  ForwardInt(d, &outState, State);
}

void TQxLED::getState(TData* d, std::uint16_t) { MakeInt(d, State); }

void TQxLED::DoResize() {
  if (Control != nullptr) Control->Invalidate();
  TQxWin::DoResize();
}

void TQxLED::Init() {
  Control = CreateLabel(ParentControl, {});
  const RECT r = Control->GetBoundsRect();
  Control->SetBoundsRect({r.left, r.top, r.left + 40, r.top + 40});
  CommonInit();
  Tools = CreateLEDTools(OnColor, OffColor, LightColor);
  Control->SetOnPaint({&PaintProc, this});
  Control->SetOnClick({&ClickProc, this});
  // Clicking an LED twice quickly must switch it twice.
  Control->DoubleClickIsClick = true;
}
