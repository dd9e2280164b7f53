// Drives the editor's cube view window from outside the program: finds it by its caption among the
// program's top-level windows, takes its client area as it stands on the screen, presses keys into
// it with real input, and forgets the place and turn it keeps between runs. Never links the
// editor's code; every wait is bounded. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/tests/e2e/editor_driver.h"

namespace e2e {

// The view's caption in CP1251 bytes.
const std::string& CubeViewCaption();
// Removes the view's remembered place and turn from the editor's settings.
void ForgetCubeView();

// The view's client area as the screen shows it.
struct TViewShot {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;  // top-down rows of 0x00RRGGBB
  bool Valid() const { return Width > 0 && Height > 0; }
  // 0x00BBGGRR as a COLORREF, or 0xFFFFFFFF outside the picture.
  std::uint32_t Pixel(int x, int y) const;
  bool operator==(const TViewShot&) const = default;
};

class TCubeViewDriver {
 public:
  explicit TCubeViewDriver(TEditorProcess& editor) : editor_(editor) {}

  // The program's view window, shown or not; null before it was first opened.
  HWND Find() const;
  // Polls until the view is shown (or hidden: also when there is none) and returns it.
  HWND WaitShown(bool shown, DWORD timeoutMs = 5000) const;
  TViewShot Shot() const;
  // Polls the view's picture until `ready` says yes; the last shot taken either way.
  TViewShot WaitShot(const std::function<bool(const TViewShot&)>& ready, DWORD timeoutMs = 5000) const;
  // Makes the view the foreground window and presses a key into it with real input.
  bool PressKey(WORD virtualKey);
  // The view's window rectangle on the screen.
  RECT Place() const;

 private:
  TEditorProcess& editor_;
};

}  // namespace e2e
