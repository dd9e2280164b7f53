// The message handlers behind TControl's events (mouse, keys, resize, show/hide, enter/leave,
// paint), the keyboard navigation between the controls of a form, and transparent painting of
// controls over their parent. The event setters of TControl attach these; they are declared here
// for the code that installs them directly and for tests.
// Handlers answer only messages addressed to their own window and never throw.
#pragma once

#include <cstdint>

#include "platform/control.h"

// Mouse messages 512..522 -> OnMouseMove/Down/Up/DblClick/Wheel; handled when StopHandling is set.
bool MouseHandler(TControl* self, TMessage& msg, LRESULT& result);
// The KeyHandler slot: key and character events; a key or character set to 0 is consumed, any
// other value replaces the message's wParam for the default processing.
bool KeyEventHandler(TControl* self, TMessage& msg, LRESULT& result);
// WM_SIZE -> OnResize.
bool ResizeHandler(TControl* self, TMessage& msg, LRESULT& result);
// WM_SHOWWINDOW -> Visible, and OnShow/OnHide when the window's own visibility really changes.
bool ShowHandler(TControl* self, TMessage& msg, LRESULT& result);
// Cursor entering and leaving the control -> MouseInside, OnMouseEnter/OnMouseLeave.
bool HoverHandler(TControl* self, TMessage& msg, LRESULT& result);
// WM_PAINT and WM_PRINT -> OnPaint with the paint DC (or the DC in wParam).
bool PaintHandler(TControl* self, TMessage& msg, LRESULT& result);
// OnPaint on `dc`, which shows the control's client area at its logical origin.
void PaintControlInto(TControl* self, HDC dc);
// Answers a WM_PAINT (on a paint DC begun and ended here) or a WM_PRINT (on the DC it carries) by
// drawing with `paint`.
template <class Paint>
void AnswerPaint(const TMessage& msg, LRESULT& result, Paint&& paint) {
  PAINTSTRUCT ps;
  HDC dc = reinterpret_cast<HDC>(msg.WParam);
  const bool began = dc == nullptr;
  if (began) dc = BeginPaint(msg.Window, &ps);
  if (dc != nullptr) paint(dc);
  if (began) EndPaint(msg.Window, &ps);
  result = 0;
}

// The shift state of key events: 4 Shift, 8 Ctrl, 32 Alt.
std::int32_t KeyShiftState();

// Keyboard navigation of a form (its NavigationHandler): Tab, Shift+Tab, arrows, PageUp/PageDown
// move the focus by TabOrder, wrapping around, as the NavigationKeys of `from` allow.
bool TabOrderNavigation(TControl* form, TControl* from, std::int32_t key, bool testOnly);
// Switches keyboard navigation on for a form.
void EnableKeyboardNavigation(TControl* form);
// The control that navigation in the given direction moves to from `current` (null: from before
// the first or after the last), among the form's visible, enabled tab stops; null when none.
TControl* NextTabControl(TControl* form, const TControl* current, bool forward);

// Transparent painting: the process-wide hooks it installs (once; they stay for the run).
void EnableTransparentPainting(TControl* parent);
bool TransparencyHandler(TControl* self, TMessage& msg, LRESULT& result);
