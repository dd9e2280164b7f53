// Measures the effect memo with a long effect: appending frames one by one through inAdd (in one
// burst, and with the message loop run after every frame as when a user records them), saving
// them, clearing them; and, for comparison, the bare edit control taking the same text in one
// WM_SETTEXT, which is the floor the memo cannot go under. Windows program (run under Wine);
// prints one figure per step.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "elements/memo.h"
#include "platform/control.h"
#include "platform/tests/test_pump.h"
#include "platform/tests/test_windows.h"

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// A frame string of the editor: some lit LEDs, closed by 227.
std::string Frame(int n) {
  std::string frame;
  for (int led = n % 7; led < 216; led += 5 + n % 11) frame += std::to_string(led) + ",";
  return frame + "227";
}

void Measure(int frames, std::uint8_t scrollBars, bool pumpEach, const std::string& fileName) {
  TControl* form = CreateFormWindow(nullptr, "Memo bench");
  form->SetSize(1274, 709);
  form->GetHandle();
  auto* memo = new TQxMemo(form);
  memo->Left = 640;
  memo->Top = 380;
  memo->Width = 605;
  memo->Height = 180;
  memo->ScrollBars = scrollBars;
  memo->Editable = 1;
  memo->Init();

  EnableDelivery();
  auto start = std::chrono::steady_clock::now();
  double firstHalf = 0;
  for (int i = 0; i < frames; ++i) {
    if (i == frames / 2) firstHalf = MillisecondsSince(start);
    TData d;
    MakeStr(&d, ByteString(Frame(i)));
    Fire(MakeLink<&TQxMemo::inAdd>(memo), &d);
    if (pumpEach) PumpMessages();
  }
  PumpMessages();
  const double appendMs = MillisecondsSince(start);
  start = std::chrono::steady_clock::now();
  const bool saved = memo->SaveTo(fileName);
  const double saveMs = MillisecondsSince(start);
  start = std::chrono::steady_clock::now();
  TData d;
  Fire(MakeLink<&TQxMemo::inClear>(memo), &d);
  const double clearMs = MillisecondsSince(start);
  DisableDelivery();

  std::printf(
      "scroll bars %d, %d frames%s: append %.0f ms (first half %.0f ms, second half %.0f ms, %.1f us per "
      "frame)\n",
      scrollBars, frames, pumpEach ? " with the loop run after each" : " in one burst", appendMs, firstHalf,
      appendMs - firstHalf, appendMs * 1000.0 / frames);
  std::printf("%d frames: save %.0f ms (%s), clear %.0f ms\n", frames, saveMs,
              saved ? "all written" : "FAILED", clearMs);
  delete memo;
  form->Free();
}

// The same text given to a bare edit control of the memo's style in one message.
void MeasureBareEdit(int frames, std::uint8_t scrollBars) {
  std::string text;
  for (int i = 0; i < frames; ++i) text += (i == 0 ? "" : "\r\n") + Frame(i);
  DWORD style = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_NOHIDESEL | ES_AUTOVSCROLL | WS_VSCROLL;
  if ((scrollBars & 1) != 0) style |= ES_AUTOHSCROLL | WS_HSCROLL;
  HWND form = CreateWindowExA(0, "STATIC", "bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1274, 709, nullptr,
                              nullptr, nullptr, nullptr);
  HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", style, 640, 380, 605, 180, form, nullptr, nullptr,
                              nullptr);
  SendMessageA(edit, EM_LIMITTEXT, 0, 0);
  PumpMessages();
  const auto start = std::chrono::steady_clock::now();
  SetWindowTextA(edit, text.c_str());
  PumpMessages();
  std::printf("bare edit, scroll bars %d, %d frames in one WM_SETTEXT: %.0f ms\n", scrollBars, frames,
              MillisecondsSince(start));
  DestroyWindow(form);
}

}  // namespace

int main() {
  const std::string fileName = TempPath("memo_bench_effect.txt");
  // The editor's memo wraps long lines (vertical scroll bar only); with both bars it does not wrap.
  for (const std::uint8_t scrollBars : {std::uint8_t{2}, std::uint8_t{3}}) {
    Measure(1000, scrollBars, false, fileName);
    Measure(10000, scrollBars, false, fileName);
    MeasureBareEdit(10000, scrollBars);
    Measure(1000, scrollBars, true, fileName);
    Measure(2000, scrollBars, true, fileName);
  }
  DeleteFileA(fileName.c_str());
  return 0;
}
