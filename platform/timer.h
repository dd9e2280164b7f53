// TTimer: a periodic callback driven by window-system timers through one hidden window shared by
// all timers (TimerWindow), which lives from the first enabling until the last timer is destroyed.
// Ticks arrive as WM_TIMER through the message loop of the GUI thread. Windows builds only.
// A tick handler must not let an exception escape: it would end the program as a runtime error.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/obj.h"

class TControl;

class TTimer : public TObj {
 public:
  UINT_PTR TimerId = 0;  // the id SetTimer gave; 0 while stopped or when SetTimer failed
  bool Enabled = false;
  std::int32_t Interval = 1000;  // milliseconds
  TObjEvent OnTimer;             // called as (data, timer) on every tick

  // Nothing when unchanged. A failed SetTimer leaves TimerId 0: the timer stays silent although
  // Enabled reads true.
  virtual void SetEnabled(bool e);
  // Nothing when unchanged; otherwise a running timer restarts with the new period.
  void SetInterval(std::int32_t ms);
  void SetOnTimer(TObjEvent e) { OnTimer = e; }

 protected:
  ~TTimer() override;
};

// A stopped timer; an interval below 1 becomes 1000 ms.
TTimer* CreateTimer(std::int32_t interval);

// Number of live timers.
std::int32_t TimerCount();
// The hidden window that receives every timer's WM_TIMER, or null.
extern TControl* TimerWindow;
