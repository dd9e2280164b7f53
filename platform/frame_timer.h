// TFrameTimer: a one-shot timer for paced work such as playing frames. Its tick is a message posted
// to the GUI thread the moment a kernel waitable timer fires, so it comes ahead of pending paints and
// of WM_TIMER, which the system makes only once nothing else waits. Where the system has
// high-resolution waitable timers (Windows 10 1803 on) it fires within a millisecond or so; elsewhere
// at the system's timer tick. Windows builds only.
// The tick handler runs on the GUI thread; only the system's wait thread posts the tick, and a tick
// of an arming that was replaced or disarmed is never delivered.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/obj.h"

class TFrameTimer {
 public:
  TFrameTimer();
  ~TFrameTimer();
  TFrameTimer(const TFrameTimer&) = delete;
  TFrameTimer& operator=(const TFrameTimer&) = delete;

  TObjEvent OnTick;  // called as (data, nullptr) once per arming

  // One tick after `ms` milliseconds (at least 1); replaces an armed one. False when the system
  // gave no timer (then nothing will tick).
  bool Arm(std::int32_t ms);
  void Disarm();
  bool Armed() const { return armed_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static void CALLBACK Fired(void* window, BOOLEAN timedOut);
  void Delivered();

  HWND window_ = nullptr;   // message-only window that receives the ticks
  HANDLE timer_ = nullptr;  // auto-reset waitable timer
  HANDLE wait_ = nullptr;   // the system's wait on timer_, which posts the tick
  bool armed_ = false;
  LARGE_INTEGER due_{};  // performance-counter time of the armed tick: an earlier post is stale
};
