// TTimer over SetTimer/KillTimer on the shared hidden TimerWindow.
#include "platform/timer.h"

#include <algorithm>
#include <vector>

#include "platform/control.h"

TControl* TimerWindow = nullptr;

namespace {

// Every live timer. A WM_TIMER already queued when its timer was stopped or destroyed still names
// it by id, so a tick is delivered only to a timer found here that is still running.
std::vector<TTimer*>& LiveTimers() {
  static std::vector<TTimer*> timers;
  return timers;
}

// The system calls this from DispatchMessageA; noexcept turns an escaping exception into the
// program's runtime-error report instead of unwinding through system code.
void CALLBACK TimerTick(HWND, UINT, UINT_PTR id, DWORD) noexcept {
  auto* timer = reinterpret_cast<TTimer*>(id);
  const auto& live = LiveTimers();
  if (std::find(live.begin(), live.end(), timer) == live.end()) return;
  if (timer->TimerId == 0 || !timer->OnTimer) return;
  timer->OnTimer(timer);
}

HWND TimerWindowHandle() {
  if (TimerWindow == nullptr) {
    TimerWindow = CreateControl(nullptr, "");
    TimerWindow->SetStyle(0);
  }
  const HWND window = TimerWindow->GetHandle();
  // Marked only once its window exists: window creation skips a child that has no parent, while
  // the mark keeps this parentless window from ever being taken for a main window.
  TimerWindow->IsChild = true;
  return window;
}

}  // namespace

TTimer* CreateTimer(std::int32_t interval) {
  auto* timer = new TTimer();
  timer->Interval = interval < 1 ? 1000 : interval;
  LiveTimers().push_back(timer);
  return timer;
}

std::int32_t TimerCount() { return static_cast<std::int32_t>(LiveTimers().size()); }

void TTimer::SetEnabled(bool e) {
  if (e == Enabled) return;
  Enabled = e;
  if (e) {
    const HWND window = TimerWindowHandle();
    // Without a window SetTimer would make a thread timer with an id of its own choosing.
    TimerId = window == nullptr ? 0
                                : SetTimer(window, reinterpret_cast<UINT_PTR>(this),
                                           static_cast<UINT>(Interval), TimerTick);
  } else if (TimerId != 0) {
    if (TimerWindow != nullptr && TimerWindow->Handle != nullptr) KillTimer(TimerWindow->Handle, TimerId);
    TimerId = 0;
  }
}

void TTimer::SetInterval(std::int32_t ms) {
  if (ms == Interval) return;
  Interval = ms;
  const bool wasEnabled = Enabled;
  SetEnabled(false);
  SetEnabled(wasEnabled);
}

TTimer::~TTimer() {
  SetEnabled(false);
  NotifyDestroy();
  auto& live = LiveTimers();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
  if (live.empty() && TimerWindow != nullptr) {
    TControl* window = TimerWindow;
    TimerWindow = nullptr;
    window->Free();
  }
}
