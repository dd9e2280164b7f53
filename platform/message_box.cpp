// The message box beside a window: a CBT hook of this thread moves the box as it is activated,
// before it is first drawn.
#include "platform/message_box.h"

#include "platform/text_codec.h"

namespace {

struct TBesideState {
  HHOOK Hook = nullptr;
  HWND Uncovered = nullptr;
};
thread_local TBesideState beside;

constexpr int kGap = 8;

LRESULT CALLBACK MoveOnActivate(int code, WPARAM wParam, LPARAM lParam) {
  const HHOOK hook = beside.Hook;
  if (code == HCBT_ACTIVATE && beside.Uncovered != nullptr) {
    HWND box = reinterpret_cast<HWND>(wParam);
    wchar_t name[16] = {};
    GetClassNameW(box, name, 16);
    if (lstrcmpW(name, L"#32770") == 0) {
      RECT boxRect{};
      RECT keepClear{};
      MONITORINFO monitor{};
      monitor.cbSize = sizeof monitor;
      if (GetWindowRect(box, &boxRect) && GetWindowRect(beside.Uncovered, &keepClear) &&
          GetMonitorInfoW(MonitorFromWindow(beside.Uncovered, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT to = PlaceBeside(boxRect, keepClear, monitor.rcWork);
        SetWindowPos(box, nullptr, to.left, to.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      // One box only: a box opened from this one stands where it likes.
      beside.Uncovered = nullptr;
    }
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

RECT PlaceBeside(const RECT& box, const RECT& keepClear, const RECT& area) {
  RECT common{};
  if (!IntersectRect(&common, &box, &keepClear)) return box;
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  auto within = [&area, width, height](int left, int top) {
    return left >= area.left && top >= area.top && left + width <= area.right && top + height <= area.bottom;
  };
  auto clamp = [](int value, int low, int high) { return value < low ? low : (value > high ? high : value); };
  // Level with the window it keeps clear of where it fits, else as near as the area allows.
  const int top = clamp(box.top, area.top, area.bottom - height);
  const int left = clamp(box.left, area.left, area.right - width);
  const RECT candidates[] = {
      {keepClear.left - kGap - width, top, keepClear.left - kGap, top + height},
      {left, keepClear.bottom + kGap, left + width, keepClear.bottom + kGap + height},
      {keepClear.right + kGap, top, keepClear.right + kGap + width, top + height},
      {left, keepClear.top - kGap - height, left + width, keepClear.top - kGap},
  };
  for (const RECT& c : candidates)
    if (within(c.left, c.top)) return c;
  return box;
}

int MessageBoxBeside(HWND owner, const char* text, const char* caption, UINT flags, HWND uncovered) {
  const TBesideState saved = beside;
  beside.Uncovered = uncovered;
  beside.Hook = uncovered != nullptr
                    ? SetWindowsHookExW(WH_CBT, &MoveOnActivate, nullptr, GetCurrentThreadId())
                    : nullptr;
  const int answer = MessageBoxW(owner, WideFromCp1251(text).c_str(), WideFromCp1251(caption).c_str(), flags);
  if (beside.Hook != nullptr) UnhookWindowsHookEx(beside.Hook);
  beside = saved;
  return answer;
}
