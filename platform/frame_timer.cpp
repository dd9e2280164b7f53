// TFrameTimer over timeSetEvent and a message-only window.
#include "platform/frame_timer.h"

// timeSetEvent; windows.h leaves it out under WIN32_LEAN_AND_MEAN.
#include <mmsystem.h>

namespace {

constexpr const char* kClassName = "CubeFrameTimer";
constexpr UINT kTickMessage = WM_APP + 0x3A1;

bool RegisterOnce() {
  static const bool registered = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace

TFrameTimer::TFrameTimer() {
  if (!RegisterOnce()) return;
  window_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  if (window_ == nullptr) return;
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
}

TFrameTimer::~TFrameTimer() {
  Disarm();
  if (window_ != nullptr) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

bool TFrameTimer::Arm(std::int32_t ms) {
  Kill();
  if (window_ == nullptr) return false;
  if (!fineResolution_) fineResolution_ = timeBeginPeriod(1) == TIMERR_NOERROR;
  // The event's own thread only posts to the window; the event's id tells the tick's arming.
  eventId_ = timeSetEvent(static_cast<UINT>(ms < 1 ? 1 : ms), 0, &Fired, reinterpret_cast<DWORD_PTR>(window_),
                          TIME_ONESHOT | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
  return eventId_ != 0;
}

void TFrameTimer::Kill() {
  // Once this returns the event will not fire; a tick it posted before is stale by its id.
  if (eventId_ != 0) timeKillEvent(eventId_);
  eventId_ = 0;
}

void TFrameTimer::Disarm() {
  Kill();
  if (fineResolution_) {
    timeEndPeriod(1);
    fineResolution_ = false;
  }
}

void CALLBACK TFrameTimer::Fired(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  PostMessageA(reinterpret_cast<HWND>(user), kTickMessage, id, 0);
}

LRESULT CALLBACK TFrameTimer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kTickMessage) {
    if (auto* self = reinterpret_cast<TFrameTimer*>(GetWindowLongPtrA(window, GWLP_USERDATA)))
      self->Delivered(static_cast<UINT>(wParam));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void TFrameTimer::Delivered(UINT eventId) {
  if (eventId == 0 || eventId != eventId_) return;
  eventId_ = 0;  // one-shot: it has fired
  if (OnTick) OnTick.Proc(OnTick.Data, nullptr);
}
