// The LEDs on a screenshot: body points and the wait for a screenshot that shows a given state.
#include "app/tests/e2e/led_shot.h"

#include <cstdio>

namespace e2e {

namespace {

bool InsideAnotherLed(int n, int x, int y) {
  for (int other = 1; other <= kLedCount; ++other) {
    const TPlace p = LedPlace(other);
    if (other != n && x >= p.Left && x < p.Left + p.Width && y >= p.Top && y < p.Top + p.Height) return true;
  }
  return false;
}

}  // namespace

std::vector<TBodyPoint> BodyPoints(int n) {
  const TPlace p = LedPlace(n);
  const TBodyPoint inBody[] = {{{p.Width / 2, p.Height / 2}, true},
                               {{1, p.Height / 2}, true},
                               {{p.Width / 2, 1}, true},
                               {{p.Width - 2, p.Height / 2}, false},
                               {{p.Width / 2, p.Height - 2}, false}};
  std::vector<TBodyPoint> points;
  for (TBodyPoint point : inBody) {
    point.at.x += p.Left;
    point.at.y += p.Top;
    if (!InsideAnotherLed(n, point.at.x, point.at.y)) points.push_back(point);
  }
  return points;
}

TScreenShot ShotShowing(TEditorProcess& editor, const TLit& lit, std::string& mismatches) {
  const std::uint32_t column0Dark = GetSysColor(kDarkSystemColorOfColumn0) & 0xFFFFFF;
  TScreenShot shot;
  editor.ParkMouse();
  for (DWORD start = GetTickCount(); GetTickCount() - start < 5000;) {
    editor.Sync();
    shot = editor.ScreenShot();
    mismatches.clear();
    for (int n = 1; n <= kLedCount; ++n) {
      const std::uint32_t dark = LedColumn(n) == 0 ? column0Dark : kDarkColor;
      for (const TBodyPoint& point : BodyPoints(n)) {
        const std::uint32_t expected = lit[n - 1] && point.showsState ? kLitColor : dark;
        const std::uint32_t seen = shot.Pixel(point.at.x, point.at.y);
        if (seen == expected) continue;
        char line[96];
        snprintf(line, sizeof line, "LED %d at (%ld,%ld): %06X, expected %06X\n", n, point.at.x, point.at.y,
                 seen, expected);
        mismatches += line;
      }
    }
    if (mismatches.empty()) break;
    Sleep(20);
  }
  return shot;
}

TLit LitOfFrame(const std::string& frame) {
  TLit lit;
  std::size_t at = 0;
  while (at < frame.size()) {
    const std::size_t comma = frame.find(',', at);
    if (comma == std::string::npos) break;  // the closing 227
    lit.set(static_cast<std::size_t>(std::stoi(frame.substr(at, comma - at))));
    at = comma + 1;
  }
  return lit;
}

}  // namespace e2e
