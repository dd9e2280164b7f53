// TFrameTimer: a one-shot timer for paced work such as playing frames. Its tick is a message posted
// to the GUI thread at the moment the system's 1 ms multimedia timer fires, so it comes ahead of
// pending paints and of WM_TIMER, which the system makes only once nothing else waits. The system
// timer's resolution is raised to 1 ms while one is armed. Windows builds only.
// The tick handler runs on the GUI thread; nothing else of this timer may be touched from another
// thread, and a tick from an arming that was replaced or disarmed is never delivered.
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
  bool Armed() const { return eventId_ != 0; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static void CALLBACK Fired(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR);
  void Delivered(UINT eventId);
  void Kill();

  HWND window_ = nullptr;  // message-only window that receives the ticks
  UINT eventId_ = 0;       // the armed multimedia timer event; 0 when none
  bool fineResolution_ = false;
};
