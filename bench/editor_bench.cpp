// Measures the cube editor's own work inside the program, on its real form: one LED click from the
// mouse message to FrameEdit holding the new frame string, for every LED and for a frame where all
// LEDs are lit; and recording 10,000 frames with Enter in FrameEdit, then saving them. Windows
// program (run under Wine); prints one figure per step.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/editor_form.h"
#include "elements/hint_manager.h"
#include "platform/app.h"
#include "platform/tests/test_pump.h"
#include "platform/tests/test_windows.h"
#include "runtime/data.h"

namespace {

constexpr int kFrames = 10000;
using Clock = std::chrono::steady_clock;

double MicrosecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The click as the LED's window receives it: the whole path through the window procedure.
void Click(HWND led) {
  SendMessageA(led, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageA(led, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

// Fires the LED's own toggle input: the element work of one change, without the window message.
void Toggle(TQxLED* led) { FireEmpty(MakeLink<&TQxLED::inToggle>(led, 0)); }

// The floor under a FrameEdit update: a bare edit control of its style and font, beside it. Timed
// in the same loops as FrameEdit, turn about, so that a busy machine weighs on both alike.
HWND MakeBareFrameEdit(TClassMainForm_1509590& form) {
  const HWND frameEdit = form.FrameEdit->Control->Handle;
  HWND bare = CreateWindowExA(GetWindowLongA(frameEdit, GWL_EXSTYLE), "EDIT", "",
                              static_cast<DWORD>(GetWindowLongA(frameEdit, GWL_STYLE)) & ~WS_TABSTOP, 45, 660,
                              985, 20, form.EditorWindow->Control->Handle, nullptr, nullptr, nullptr);
  SendMessageA(bare, WM_SETFONT, SendMessageA(frameEdit, WM_GETFONT, 0, 0), 0);
  return bare;
}

double TimedSetText(HWND window, const std::string& text) {
  const auto start = Clock::now();
  SetWindowTextA(window, text.c_str());
  return MicrosecondsSince(start);
}

void MeasureClicks(TClassMainForm_1509590& form) {
  const HWND frameEdit = form.FrameEdit->Control->Handle;
  std::vector<double> clicks, toggles;
  for (int round = 0; round < 5; ++round) {
    for (int n = 1; n <= 216; ++n) {
      auto start = Clock::now();
      Click(form.Led(n)->Control->Handle);
      clicks.push_back(MicrosecondsSince(start));
      start = Clock::now();
      Toggle(form.Led(n));
      toggles.push_back(MicrosecondsSince(start));
      PumpMessages();
    }
  }
  std::printf("one LED click, mouse message to FrameEdit text (all other LEDs dark): median %.1f us\n",
              Median(clicks));
  std::printf("one LED change through its toggle input, element work alone: median %.1f us\n",
              Median(toggles));

  for (int n = 1; n <= 216; ++n) Toggle(form.Led(n));  // all lit
  PumpMessages();
  const std::string allLit = WindowText(frameEdit);
  std::string allButOne = allLit;
  allButOne.erase(0, allButOne.find(',') + 1);
  const HWND bare = MakeBareFrameEdit(form);
  PumpMessages();
  std::vector<double> lit, bareLit;
  for (int n = 1; n <= 216; ++n) {
    auto start = Clock::now();
    Toggle(form.Led(n));
    Toggle(form.Led(n));
    lit.push_back(MicrosecondsSince(start) / 2);
    bareLit.push_back((TimedSetText(bare, allButOne) + TimedSetText(bare, allLit)) / 2);
    PumpMessages();
  }
  std::printf("one LED change with the other 215 lit (frame string of %zu characters): median %.1f us\n",
              allLit.size(), Median(lit));
  std::printf("  the floor under it: a bare edit of FrameEdit's style taking that text: median %.1f us\n",
              Median(bareLit));
  SendMessageA(form.ResetButton->Control->Handle, BM_CLICK, 0, 0);
  PumpMessages();
  std::vector<double> sets, invalidates, sel, bareSets;
  const std::string frames[2] = {"0,227", "0,1,215,227"};
  for (int i = 0; i < 400; ++i) {
    sets.push_back(TimedSetText(frameEdit, frames[i % 2]));
    auto start = Clock::now();
    DWORD caret = 0;
    SendMessageA(frameEdit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    SendMessageA(frameEdit, EM_SETSEL, caret, caret);
    sel.push_back(MicrosecondsSince(start));
    start = Clock::now();
    form.Led(1 + i % 216)->Control->Invalidate();
    invalidates.push_back(MicrosecondsSince(start));
    PumpMessages();
    bareSets.push_back(TimedSetText(bare, frames[i % 2]));
    PumpMessages();
  }
  std::printf(
      "parts of it: FrameEdit taking a short text (WM_SETTEXT) %.1f us, its caret kept %.1f us, an LED "
      "invalidated %.1f us\n",
      Median(sets), Median(sel), Median(invalidates));
  std::printf("  the floor under it: a bare edit of FrameEdit's style taking those texts: median %.1f us\n",
              Median(bareSets));
  DestroyWindow(bare);
  PumpMessages();
}

void PressEnter(HWND edit) {
  SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  SendMessageA(edit, WM_CHAR, '\r', 0);
  SendMessageA(edit, WM_KEYUP, VK_RETURN, 0);
}

void MeasureRecording(TClassMainForm_1509590& form, const std::string& fileName) {
  const HWND frameEdit = form.FrameEdit->Control->Handle;
  SetFocus(frameEdit);
  auto start = Clock::now();
  for (int i = 0; i < kFrames; ++i) {
    Click(form.Led(1 + i % 216)
              ->Control->Handle);  // FrameEdit is emptied by Enter; a click gives it a frame again
    PressEnter(frameEdit);
  }
  const double recordUs = MicrosecondsSince(start);
  PumpMessages();
  const double shownUs = MicrosecondsSince(start);
  start = Clock::now();
  const bool saved = form.EffectMemo->SaveTo(fileName);
  const double saveUs = MicrosecondsSince(start);
  std::printf(
      "%d frames recorded with Enter: %.0f ms in the elements, %.0f ms until the memo shows them; save "
      "%.0f ms (%s); total %.0f ms\n",
      kFrames, recordUs / 1000, shownUs / 1000, saveUs / 1000, saved ? "all written" : "FAILED",
      (shownUs + saveUs) / 1000);

  // The floor: a bare edit control of the memo's style, font and size taking the same text at once.
  const HWND memo = form.EffectMemo->Control->Handle;
  const std::string text = form.EffectMemo->Control->GetCaption();
  RECT r{};
  GetWindowRect(memo, &r);
  HWND bare = CreateWindowExA(GetWindowLongA(memo, GWL_EXSTYLE), "EDIT", "",
                              static_cast<DWORD>(GetWindowLongA(memo, GWL_STYLE)) & ~WS_VISIBLE, 0, 0,
                              r.right - r.left, r.bottom - r.top, form.EditorWindow->Control->Handle, nullptr,
                              nullptr, nullptr);
  SendMessageA(bare, WM_SETFONT, SendMessageA(memo, WM_GETFONT, 0, 0), 0);
  SendMessageA(bare, EM_LIMITTEXT, 0, 0);
  ShowWindow(bare, SW_SHOWNA);
  PumpMessages();
  start = Clock::now();
  SetWindowTextA(bare, text.c_str());
  PumpMessages();
  std::printf("the same %zu characters given to a bare edit control in one WM_SETTEXT: %.0f ms\n",
              text.size(), MicrosecondsSince(start) / 1000);
  DestroyWindow(bare);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  InitCommonControlClasses(ICC_WIN95_CLASSES);
  StartHintManager();
  InitMainFormWindows();
  auto* form = new TClassMainForm_1509590();
  StartStep(true, &EnableDelivery);
  // Let the clearing tick one second after start pass, so it cannot land inside a measurement.
  const DWORD until = GetTickCount() + 1300;
  while (GetTickCount() < until) {
    PumpMessages();
    Sleep(10);
  }
  const std::string fileName = TempPath("editor_bench_effect.txt");
  MeasureClicks(*form);
  MeasureRecording(*form, fileName);
  DeleteFileA(fileName.c_str());
  DisableDelivery();
  delete form;
  FinishMainFormWindows();
  FinishHintManager();
  return 0;
}
