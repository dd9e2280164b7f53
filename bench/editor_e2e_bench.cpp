// Figures of the real cube editor program seen from outside: the time from CreateProcess to the
// first full paint of its window, from a real click on an LED to the new frame string in its edit
// line, and from WM_CLOSE to the end of the process. Prints medians; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/tests/e2e/editor_driver.h"

namespace {

double Now() {
  static const double perMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / perMs;
}

double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::uint32_t ScreenPixel(HDC screen, HWND window, const e2e::TPlace& place) {
  POINT at{place.CentreX(), place.CentreY()};
  ClientToScreen(window, &at);
  return GetPixel(screen, at.x, at.y) & 0xFFFFFF;
}

// Dark body colours on screen for LED 1 (column 0), LED 6 (painted last of the LEDs) and LED 216.
bool FullyPainted(HDC screen, HWND window) {
  const std::uint32_t column0 = GetSysColor(e2e::kDarkSystemColorOfColumn0) & 0xFFFFFF;
  return ScreenPixel(screen, window, e2e::LedPlace(1)) == column0 &&
         ScreenPixel(screen, window, e2e::LedPlace(6)) == e2e::kDarkColor &&
         ScreenPixel(screen, window, e2e::LedPlace(216)) == e2e::kDarkColor;
}

}  // namespace

int main() {
  constexpr int kStarts = 5;
  constexpr int kClicks = 200;
  std::vector<double> startUp, exits, clicks;
  HDC screen = GetDC(nullptr);

  // A first start outside the figures, so that the Wine prefix and the program file are warm.
  {
    e2e::TEditorProcess warm;
    if (!warm.Start()) {
      std::printf("the editor does not start: %s\n", warm.Error().c_str());
      return 1;
    }
  }

  for (int run = 0; run < kStarts; ++run) {
    e2e::TEditorProcess editor;
    const double spawned = Now();
    if (!editor.Spawn()) {
      std::printf("start %d: %s\n", run, editor.Error().c_str());
      return 1;
    }
    double painted = -1;
    while (Now() - spawned < 20000 && editor.Running()) {
      if (HWND window = editor.FindShownWindow()) {
        if (FullyPainted(screen, window)) {
          painted = Now();
          break;
        }
      }
      Sleep(1);
    }
    if (painted < 0) {
      std::printf("start %d: no fully painted window within 20 s\n", run);
      return 1;
    }
    startUp.push_back(painted - spawned);

    if (!editor.WaitReady()) {
      std::printf("start %d: %s\n", run, editor.Error().c_str());
      return 1;
    }
    if (run == 0) {
      for (int i = 0; i < kClicks; ++i) {
        const int n = 1 + i % e2e::kLedCount;
        HWND led = editor.Led(n);
        RECT client{};
        GetClientRect(led, &client);
        const std::string before = editor.FrameText();
        const double sent = Now();
        if (!editor.ClickAt(led, client.right / 2, client.bottom / 2)) {
          std::printf("click %d on LED %d could not be sent\n", i, n);
          return 1;
        }
        while (editor.FrameText() == before && Now() - sent < 5000) {
        }
        clicks.push_back(Now() - sent);
      }
    }

    const double closing = Now();
    editor.Close();
    if (editor.WaitExit(10000) != std::optional<DWORD>(0)) {
      std::printf("start %d: the program did not end with exit code 0\n", run);
      return 1;
    }
    exits.push_back(Now() - closing);
  }
  ReleaseDC(nullptr, screen);

  std::printf("start-up, CreateProcess to the first full paint: median %.1f ms of %d (min %.1f, max %.1f)\n",
              Median(startUp), kStarts, *std::min_element(startUp.begin(), startUp.end()),
              *std::max_element(startUp.begin(), startUp.end()));
  std::printf(
      "real LED click (SendInput) to the new frame string: median %.2f ms of %d (min %.2f, max %.2f)\n",
      Median(clicks), kClicks, *std::min_element(clicks.begin(), clicks.end()),
      *std::max_element(clicks.begin(), clicks.end()));
  std::printf("WM_CLOSE to the end of the process: median %.1f ms of %d\n", Median(exits), kStarts);
  return 0;
}
