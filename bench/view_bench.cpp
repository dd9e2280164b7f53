// Measures the cube view on the real editor form: one redraw of its window (the paint message, the
// picture drawn into the memory bitmap and blitted), the drawing alone into a bitmap at the window's
// size and at 800 x 800, and a change of the pattern to the view's repainted picture. Windows
// program (run under Wine); prints one figure per step.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_form.h"
#include "elements/cube_view_paint.h"
#include "platform/tests/test_windows.h"
#include "runtime/data.h"

namespace {

using bench_form::Clock;
using bench_form::MillisecondsSince;

constexpr int kRounds = 300;

void Report(const char* what, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  std::printf("%s: median %.3f ms, 90th percentile %.3f ms, max %.3f ms (%zu rounds)\n", what,
              times[times.size() / 2], times[times.size() * 9 / 10], times.back(), times.size());
}

// Half the LEDs lit, in a spread that changes with k.
cube::TPattern Pattern(int k) {
  cube::TPattern pattern;
  for (int i = 0; i < cube::kLedCount; ++i)
    if ((i * 7 + k) % 2 == 0) pattern.set(static_cast<std::size_t>(i));
  return pattern;
}

void MeasurePaintAlone(int width, int height) {
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  std::vector<double> times;
  for (int k = 0; k < kRounds; ++k) {
    const cube::TPattern pattern = Pattern(k);
    const cube_view::TTurn turn{cube::kHomeTurn.Yaw + k, cube::kHomeTurn.Pitch};
    const auto start = Clock::now();
    cube_view::Paint(memory, width, height, pattern, turn);
    GdiFlush();
    times.push_back(MillisecondsSince(start));
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  Report(("cube_view::Paint into a " + std::to_string(width) + " x " + std::to_string(height) + " bitmap")
             .c_str(),
         times);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TClassMainForm_1509590* form = editor_form_fixture::StartForm(true);
  TQxCubeView& view = *form->CubeView->View;
  FireEmpty(MakeLink<&TQxCubeView::inShow>(&view));
  PumpFor(500);
  const HWND window = view.Window();
  RECT client{};
  GetClientRect(window, &client);

  std::vector<double> redraw, change;
  for (int k = 0; k < kRounds; ++k) {
    auto start = Clock::now();
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    GdiFlush();
    redraw.push_back(MillisecondsSince(start));
    // A whole frame on the cube, as playback puts it, until the view has painted it too.
    const std::string frame = cube::FormatFrame(Pattern(k));
    start = Clock::now();
    FireStr(MakeLink<&TQxCubePattern::inShow>(form->Pattern), ByteString(frame));
    UpdateWindow(window);
    GdiFlush();
    change.push_back(MillisecondsSince(start));
    PumpMessages();
  }
  char what[96];
  std::snprintf(what, sizeof what, "view window redraw at %ld x %ld", client.right, client.bottom);
  Report(what, redraw);
  Report("a played frame until the LEDs and the view are painted", change);
  MeasurePaintAlone(client.right, client.bottom);
  MeasurePaintAlone(800, 800);
  editor_form_fixture::FinishForm(form);
  return 0;
}
