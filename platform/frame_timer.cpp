// TFrameTimer over a kernel waitable timer, a registered wait and a message-only window.
#include "platform/frame_timer.h"

#include "platform/messages.h"

namespace {

constexpr const wchar_t* kClassName = L"CubeFrameTimer";
// Not in every SDK's headers yet; systems before Windows 10 1803 refuse it.
constexpr DWORD kHighResolutionTimer = 0x00000002;  // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION

bool RegisterOnce(WNDPROC windowProc) {
  static const bool registered = [windowProc] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

// Counts of the performance counter per second; fixed while the system runs.
LONGLONG Frequency() {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return value.QuadPart;
  }();
  return frequency;
}

}  // namespace

TFrameTimer::TFrameTimer() {
  if (!RegisterOnce(&WindowProc)) return;
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (window_ == nullptr) return;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  timer_ = CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS);
  if (timer_ == nullptr) timer_ = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
  // The wait thread only posts; the wait stays registered for every later arming.
  if (timer_ != nullptr &&
      !RegisterWaitForSingleObject(&wait_, timer_, &Fired, window_, INFINITE, WT_EXECUTEINWAITTHREAD)) {
    wait_ = nullptr;
  }
}

TFrameTimer::~TFrameTimer() {
  Disarm();
  // Returns once no callback runs any more, so none can post to the window destroyed below.
  if (wait_ != nullptr) UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
  if (timer_ != nullptr) CloseHandle(timer_);
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

bool TFrameTimer::Arm(std::int32_t ms) {
  Disarm();
  if (wait_ == nullptr) return false;
  const std::int32_t delay = ms < 1 ? 1 : ms;
  due_ = Now();
  due_.QuadPart += Frequency() * delay / 1000;
  LARGE_INTEGER relative;
  relative.QuadPart = -static_cast<LONGLONG>(delay) * 10000;  // negative: relative, in 100 ns
  armed_ = SetWaitableTimer(timer_, &relative, 0, nullptr, nullptr, FALSE) != 0;
  return armed_;
}

void TFrameTimer::Disarm() {
  // A tick the wait thread already posted finds the timer disarmed, or armed for a later time.
  if (armed_) CancelWaitableTimer(timer_);
  armed_ = false;
}

void CALLBACK TFrameTimer::Fired(void* window, BOOLEAN) {
  PostMessageW(static_cast<HWND>(window), kFrameTimerTick, 0, 0);
}

LRESULT CALLBACK TFrameTimer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kFrameTimerTick) {
    if (auto* self = reinterpret_cast<TFrameTimer*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
      self->Delivered();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void TFrameTimer::Delivered() {
  if (!armed_) return;
  // A post of a replaced arming, or a timer that rounded its time down: wait out the rest, so the
  // arming still ticks exactly once and never early. Half a millisecond is below what a frame shows.
  const LONGLONG early = due_.QuadPart - Now().QuadPart;
  if (early > Frequency() / 2000) {
    LARGE_INTEGER relative;
    relative.QuadPart = -(early * 10000000 / Frequency());
    if (SetWaitableTimer(timer_, &relative, 0, nullptr, nullptr, FALSE)) return;
  }
  armed_ = false;  // one-shot: it has fired
  if (OnTick) OnTick(nullptr);
}
