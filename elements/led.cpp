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

void TQxLED::inToggle(TData* d, std::uint16_t) {
  State = State == 0 ? 1 : 0;
  if (Control != nullptr) Control->Invalidate();
  FireInt(outChange, 0);
  ForwardInt(d, &outState, State);
}

void TQxLED::inOff(TData* d, std::uint16_t) {
  if (State == 0) return;
  State = 0;
  if (Control != nullptr) Control->Invalidate();
  FireInt(outChange, 1);
  ForwardInt(d, &outState, 0);
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
