// Test helper: dispatches this thread's messages until `done` holds or the time is up.
#pragma once

#include <windows.h>

#include <functional>

inline void PumpFor(
    DWORD milliseconds, const std::function<bool()>& done = [] { return false; }) {
  const DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < milliseconds) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      if (done()) return;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}
