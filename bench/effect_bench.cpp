// Measures the effect workbench inside the program, on its real form: opening effects of 1,000 and
// 10,000 frames (file read, lines checked, memo text set and painted), and playback of 1,000 frames
// at 20 ms per frame: how late each frame reaches the cube against its deadline on the grid of the
// start, and whether the lateness grows over the run (drift). "shapes" opens effects of real line
// lengths (20, 80 and 150 LEDs a frame), wrapped and unwrapped (the unwrapped effect text is the
// window library's own no-wrap view), beside a bare multi-line EDIT taking the same text in the
// same run, the reference; "view" plays with the cube view closed and open. Windows
// program (run under Wine); prints one figure per step.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_form.h"
#include "cube/effect_text.h"
#include "platform/tests/test_windows.h"
#include "runtime/data.h"

namespace {

using bench_form::Clock;
using bench_form::MillisecondsSince;

std::string EffectFile(const std::string& dir, int frames) {
  const std::string path = dir + "effect_bench_" + std::to_string(frames) + ".txt";
  std::ofstream out(path, std::ios::binary);
  // About 40 characters a line: ten lit LEDs spread over the cube, in ascending order.
  for (int k = 0; k < frames; ++k) {
    std::vector<int> lit;
    for (int j = 0; j < 10; ++j) lit.push_back((k * 7 + j * 21) % 216);
    std::sort(lit.begin(), lit.end());
    lit.erase(std::unique(lit.begin(), lit.end()), lit.end());
    std::string line;
    for (int n : lit) line += std::to_string(n) + ",";
    out << line << "227\r\n";
  }
  return path;
}

void MeasureOpen(TClassMainForm_1509590& form, const std::string& path, int frames) {
  std::vector<double> times;
  std::size_t length = 0;
  for (int round = 0; round < 5; ++round) {
    FireEmpty(MakeLink<&TQxWinList::inClear>(form.EffectMemo, 0));
    PumpMessages();
    const auto start = Clock::now();
    FireStr(MakeLink<&TQxEffectFile::inOpenFile>(form.Effect->EffectFile), ByteString(path));
    UpdateWindow(form.EditorWindow->Control->Handle);
    PumpMessages();
    times.push_back(MillisecondsSince(start));
    length = static_cast<std::size_t>(GetWindowTextLengthA(form.EffectMemo->Control->Handle));
  }
  std::sort(times.begin(), times.end());
  std::printf("open %d frames (%zu characters in the memo): median %.1f ms, best %.1f ms, worst %.1f ms\n",
              frames, length, times[times.size() / 2], times.front(), times.back());
}

// Notes when each frame reaches the cube (the player's outLine follows outShow), then passes the
// line on to the memo's mark as the form linked it.
struct FrameProbe : TQxObject {
  TQx_Event forward;
  TQx_Event forwardShow;
  const TQxPlayer* player = nullptr;
  std::vector<std::pair<std::size_t, Clock::time_point>> shown;
  std::vector<Clock::time_point> asked;  // when the player sent each frame out
  void inShow(TData* d, std::uint16_t) {
    asked.push_back(Clock::now());
    Fire(forwardShow, d);
  }
  void inLine(TData* d, std::uint16_t) {
    shown.emplace_back(player->Position(), Clock::now());
    Fire(forward, d);
  }
};

void MeasurePlayback(TClassMainForm_1509590& form, const std::string& path, int frames, int rateMs) {
  FireEmpty(MakeLink<&TQxWinList::inClear>(form.EffectMemo, 0));
  FireStr(MakeLink<&TQxEffectFile::inOpenFile>(form.Effect->EffectFile), ByteString(path));
  PumpMessages();
  TQxPlayer& player = *form.Effect->Player;
  FireInt(MakeLink<&TQxPlayer::inRate>(&player, 1), rateMs);
  FrameProbe probe;
  probe.player = &player;
  probe.forward = player.outLine;
  player.outLine = MakeLink<&FrameProbe::inLine>(&probe);
  probe.forwardShow = player.outShow;
  player.outShow = MakeLink<&FrameProbe::inShow>(&probe);
  probe.shown.reserve(static_cast<std::size_t>(frames) + 1);

  const auto start = Clock::now();
  FireEmpty(MakeLink<&TQxPlayer::inPlay>(&player));
  const auto limit = start + std::chrono::milliseconds(frames * rateMs * 2 + 5000);
  while (player.State() == TQxPlayer::psPlaying && Clock::now() < limit) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    PumpMessages();
  }
  player.outLine = probe.forward;
  player.outShow = probe.forwardShow;
  FireEmpty(MakeLink<&TQxPlayer::inStop>(&player));
  PumpMessages();

  std::vector<double> late;
  double firstTenth = 0, lastTenth = 0;  // summed lateness, for the means of the two tenths
  int firstCount = 0, lastCount = 0;
  int lateOver5 = 0;
  for (const auto& [position, at] : probe.shown) {
    const auto due = start + std::chrono::microseconds(static_cast<std::int64_t>(position) * rateMs * 1000);
    const double ms = std::chrono::duration<double, std::milli>(at - due).count();
    late.push_back(ms);
    if (ms > 5.0) ++lateOver5;
    if (position < static_cast<std::size_t>(frames / 10)) {
      firstTenth += ms;
      ++firstCount;
    }
    if (position >= static_cast<std::size_t>(frames - frames / 10)) {
      lastTenth += ms;
      ++lastCount;
    }
  }
  std::vector<double> work, tickLate;
  for (std::size_t i = 0; i < probe.shown.size() && i < probe.asked.size(); ++i) {
    work.push_back(std::chrono::duration<double, std::milli>(probe.shown[i].second - probe.asked[i]).count());
    const auto due =
        start + std::chrono::microseconds(static_cast<std::int64_t>(probe.shown[i].first) * rateMs * 1000);
    tickLate.push_back(std::chrono::duration<double, std::milli>(probe.asked[i] - due).count());
  }
  std::sort(work.begin(), work.end());
  std::sort(tickLate.begin(), tickLate.end());
  if (!tickLate.empty())
    std::printf("  tick lateness percentiles 50/75/90/95: %.2f / %.2f / %.2f / %.2f ms\n",
                tickLate[tickLate.size() / 2], tickLate[tickLate.size() * 3 / 4],
                tickLate[tickLate.size() * 9 / 10], tickLate[tickLate.size() * 95 / 100]);
  if (!work.empty())
    std::printf(
        "  per frame: the frame's work (LEDs, frame line, memo mark, counter) median %.2f ms, max %.2f ms; "
        "the tick's lateness before that work median %.2f ms, max %.2f ms\n",
        work[work.size() / 2], work.back(), tickLate[tickLate.size() / 2], tickLate.back());
  std::vector<double> sorted = late;
  std::sort(sorted.begin(), sorted.end());
  double sum = 0;
  for (double ms : late) sum += ms;
  const double total = MillisecondsSince(start);
  std::printf(
      "playback of %d frames at %d ms: %zu shown (%zu skipped), lateness median %.2f ms, mean %.2f ms, 99th "
      "percentile %.2f ms, max %.2f ms, %d frames over 5 ms; drift: mean lateness over the first tenth %.2f "
      "ms, over "
      "the last tenth %.2f ms; last frame due at %d ms, run ended after %.0f ms\n",
      frames, rateMs, probe.shown.size(), frames - probe.shown.size(), sorted[sorted.size() / 2],
      sum / static_cast<double>(late.size()), sorted[sorted.size() * 99 / 100], sorted.back(), lateOver5,
      firstTenth / std::max(firstCount, 1), lastTenth / std::max(lastCount, 1), (frames - 1) * rateMs, total);
}

// The floor under the player's timing: a bare one-shot system timer re-armed on the same 20 ms grid
// by the same rule, with no frame work and nothing to paint, in this process at this moment.
struct BareTicker {
  Clock::time_point start;
  int rateMs = 20;
  int k = 0;
  int count = 0;
  std::vector<double> late;
  static BareTicker* self;
  static void CALLBACK Tick(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    BareTicker& t = *self;
    const auto now = Clock::now();
    const auto due = t.start + std::chrono::milliseconds(t.k * t.rateMs);
    if (now < due) {
      t.Arm(window);
      return;
    }
    t.late.push_back(std::chrono::duration<double, std::milli>(now - due).count());
    t.k = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(now - t.start).count() /
                           t.rateMs) +
          1;
    if (t.k < t.count) t.Arm(window);
  }
  void Arm(HWND window) {
    const auto due = start + std::chrono::milliseconds(k * rateMs);
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(due - Clock::now()).count();
    SetTimer(window, 1, static_cast<UINT>(std::max<long long>((us + 999) / 1000, 1)), &Tick);
  }
};
BareTicker* BareTicker::self = nullptr;

void MeasureBareTimer(HWND window, int frames, int rateMs) {
  BareTicker ticker;
  BareTicker::self = &ticker;
  ticker.rateMs = rateMs;
  ticker.count = frames;
  ticker.start = Clock::now();
  ticker.k = 1;
  ticker.Arm(window);
  const auto limit = ticker.start + std::chrono::milliseconds(frames * rateMs * 2 + 5000);
  while (ticker.k < frames && Clock::now() < limit) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    PumpMessages();
  }
  std::vector<double> late = ticker.late;
  std::sort(late.begin(), late.end());
  std::printf(
      "floor: a bare one-shot timer on the %d ms grid, %zu ticks: lateness median %.2f ms, 90th percentile "
      "%.2f ms, max %.2f ms, %zu frames skipped\n",
      rateMs, late.size(), late[late.size() / 2], late[late.size() * 9 / 10], late.back(),
      frames - 1 - late.size());
}

// The memo's edit control laying out a text of `bytes` bytes: of 40-character frame lines, or of
// one line of 'a'. This, not reading or checking the file, is what makes a big effect slow to open,
// and what the open limits (effect::kMaxEffectBytes, effect::kMaxLineBytes) are set from.
void MeasureMemoText(TClassMainForm_1509590& form, bool oneLine, bool wide, std::size_t bytes) {
  std::string text;
  if (oneLine) {
    text.assign(bytes, 'a');
  } else {
    std::string line = "7,28,49,70,91,112,133,154,175,196,227\r\n";
    if (wide) {  // every LED lit: the longest frame line
      line.clear();
      for (int i = 0; i < 216; ++i) line += std::to_string(i) + ",";
      line += "227\r\n";
    }
    while (text.size() + line.size() <= bytes) text += line;
  }
  const HWND memo = form.EffectMemo->Control->Handle;
  SetWindowTextA(memo, "");
  PumpMessages();
  const auto start = Clock::now();
  SetWindowTextA(memo, text.c_str());
  UpdateWindow(form.EditorWindow->Control->Handle);
  PumpMessages();
  std::printf("memo text of %zu bytes as %s: %.0f ms\n", text.size(),
              oneLine ? "one line"
              : wide  ? "757-char lines"
                      : "40-char lines",
              MillisecondsSince(start));
}

// An effect of `frames` frames of `leds` lit LEDs each, spread over the cube in ascending order.
std::string ShapedEffect(int frames, int leds) {
  std::string text;
  std::uint32_t seed = 12345;
  for (int k = 0; k < frames; ++k) {
    std::vector<bool> lit(216);
    for (int count = 0; count < leds;) {
      seed = seed * 1664525u + 1013904223u;
      const std::uint32_t led = (seed >> 8) % 216;
      if (!lit[led]) {
        lit[led] = true;
        ++count;
      }
    }
    for (int n = 0; n < 216; ++n)
      if (lit[n]) text += std::to_string(n) + ",";
    text += "227\r\n";
  }
  return text;
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// A message box the open shows after its text: when it appears the text is on screen; it is
// answered at once.
Clock::time_point boxShown;
bool boxSeen = false;
LRESULT CALLBACK AnswerBoxes(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    char name[16] = {};
    GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
    if (std::string(name) == "#32770") {
      if (!boxSeen) boxShown = Clock::now();
      boxSeen = true;
      PostMessageA(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The floor: a bare multi-line EDIT in the memo's place with its font and frame (so its lines are
// as wide and wrap alike), taking the text in one WM_SETTEXT and painting it.
double BareEdit(TClassMainForm_1509590& form, const std::string& text, bool wrap, bool memoFont = true) {
  const HWND memo = form.EffectMemo->Control->Handle;
  RECT r{};
  GetWindowRect(memo, &r);
  MapWindowPoints(nullptr, form.EditorWindow->Control->Handle, reinterpret_cast<POINT*>(&r), 2);
  DWORD style = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_NOHIDESEL | WS_VSCROLL | ES_AUTOVSCROLL;
  if (!wrap) style |= WS_HSCROLL | ES_AUTOHSCROLL;
  const HWND edit =
      CreateWindowExA(0, "EDIT", "", style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                      form.EditorWindow->Control->Handle, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (memoFont) SendMessageA(edit, WM_SETFONT, SendMessageA(memo, WM_GETFONT, 0, 0), FALSE);
  SendMessageA(edit, EM_LIMITTEXT, 0, 0);
  PumpMessages();
  const auto start = Clock::now();
  SetWindowTextA(edit, text.c_str());
  UpdateWindow(form.EditorWindow->Control->Handle);
  PumpMessages();
  const double ms = MillisecondsSince(start);
  DestroyWindow(edit);
  PumpMessages();
  return ms;
}

// Answers the wrapping the bench has the user choose.
struct WrapChoice : TQxObject {
  std::int32_t wrap = 1;
  void getValue(TData* d, std::uint16_t) { MakeInt(d, wrap); }
};

// The editor's own open of the file, from the file name to the text painted (or, when it tells
// something after the text, to its message box), with the user's wrapping choice: into an empty
// effect text, or with CUBE_BENCH_REOPEN set over the same effect already shown.
double EditorOpen(TClassMainForm_1509590& form, const std::string& path, bool chooseWrap,
                  bool& shownWrapped) {
  WrapChoice choice;
  choice.wrap = chooseWrap ? 1 : 0;
  TQxEffectFile& file = *form.Effect->EffectFile;
  const TQx_Event kept = file.dataWrap;
  file.dataWrap = MakeLink<&WrapChoice::getValue>(&choice);
  if (std::getenv("CUBE_BENCH_REOPEN") != nullptr) {
    FireStr(MakeLink<&TQxEffectFile::inOpenFile>(&file), ByteString(path));
    PumpMessages();
  } else {
    FireEmpty(MakeLink<&TQxWinList::inClear>(form.EffectMemo, 0));
  }
  PumpMessages();
  boxSeen = false;
  const auto start = Clock::now();
  FireStr(MakeLink<&TQxEffectFile::inOpenFile>(&file), ByteString(path));
  UpdateWindow(form.EditorWindow->Control->Handle);
  PumpMessages();
  const double ms =
      std::chrono::duration<double, std::milli>((boxSeen ? boxShown : Clock::now()) - start).count();
  shownWrapped = form.EffectMemo->WordWrap();
  FireEmpty(MakeLink<&TQxWinList::inClear>(form.EffectMemo, 0));
  PumpMessages();
  file.dataWrap = kept;
  return ms;
}

// The memo's own control taking the text by itself, unwrapped: what the editor's open adds to it is
// the editor's own work.
double MemoAlone(TClassMainForm_1509590& form, const std::string& text, bool wrap) {
  const bool wrapped = form.EffectMemo->WordWrap();
  form.EffectMemo->SetWordWrap(wrap);
  const HWND memo = form.EffectMemo->Control->Handle;
  SetWindowTextA(memo, "");
  PumpMessages();
  const auto start = Clock::now();
  SetWindowTextA(memo, text.c_str());
  UpdateWindow(form.EditorWindow->Control->Handle);
  PumpMessages();
  const double ms = MillisecondsSince(start);
  SetWindowTextA(memo, "");
  form.EffectMemo->SetWordWrap(wrapped);
  return ms;
}

// Each shape's figures are taken in interleaved rounds, so that a busy moment of the machine
// falls on all of them alike.
void MeasureShapes(TClassMainForm_1509590& form, const std::string& only) {
  struct Shape {
    int frames;
    int leds;
  };
  constexpr Shape kShapes[] = {{10000, 20}, {4000, 80}, {1000, 150}, {2000, 150}, {54000, 20}, {7400, 150}};
  constexpr int kRounds = 3;
  std::printf(
      "median of %d interleaved rounds, ms: bare EDIT wrapped / unwrapped | editor open, wrapping chosen / "
      "not chosen | the memo's control alone, wrapped (the system's EDIT) / unwrapped (the library's own "
      "no-wrap view)\n",
      kRounds);
  for (const Shape& shape : kShapes) {
    const std::string name = std::to_string(shape.frames) + "x" + std::to_string(shape.leds);
    if (!only.empty() && only != name) continue;
    const std::string text = ShapedEffect(shape.frames, shape.leds);
    const std::string path = TempPath("effect_shape_" + name + ".txt");
    std::ofstream(path, std::ios::binary) << text;
    // A bare wrapped EDIT past the editor's wrapping bound takes tens of seconds: not measured.
    const bool bareWraps = effect::LayoutWeight(effect::SplitFileLines(text)) <= effect::kMaxLayoutWeight;
    std::vector<double> bareWrapped{-1}, bareUnwrapped, openWrap, openNoWrap, memoAlone, memoWrapped{-1};
    bool wrappedShown = false, unwrappedShown = false;
    if (bareWraps) bareWrapped.clear();
    if (bareWraps) memoWrapped.clear();
    for (int round = 0; round < kRounds; ++round) {
      if (bareWraps) bareWrapped.push_back(BareEdit(form, text, true));
      openWrap.push_back(EditorOpen(form, path, true, wrappedShown));
      bareUnwrapped.push_back(BareEdit(form, text, false));
      openNoWrap.push_back(EditorOpen(form, path, false, unwrappedShown));
      memoAlone.push_back(MemoAlone(form, text, false));
      if (bareWraps) memoWrapped.push_back(MemoAlone(form, text, true));
    }
    std::printf(
        "%6d frames x %3d LEDs (%4zu KB): bare %6.0f / %5.0f | editor %6.0f%s / %5.0f%s | memo %5.0f / "
        "%5.0f\n",
        shape.frames, shape.leds, text.size() / 1024, Median(bareWrapped), Median(bareUnwrapped),
        Median(openWrap), wrappedShown ? " (wrapped)" : " (shown unwrapped)", Median(openNoWrap),
        unwrappedShown ? " (wrapped!)" : "", Median(memoWrapped), Median(memoAlone));
    if (std::getenv("CUBE_BENCH_SYSTEM_FONT") != nullptr)
      std::printf("    bare EDIT in the system font: wrapped %.0f / unwrapped %.0f\n",
                  bareWraps ? BareEdit(form, text, true, false) : -1, BareEdit(form, text, false, false));
    std::fflush(stdout);
    DeleteFileA(path.c_str());
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TClassMainForm_1509590* form = editor_form_fixture::StartForm(true);
  // Notes after an open (a large effect shown unwrapped) are answered by themselves.
  const HHOOK hook = SetWindowsHookExA(WH_CBT, &AnswerBoxes, nullptr, GetCurrentThreadId());
  // "line N", "lines N" or "wide N" (all-lit frames): only the memo layout of N bytes (each size in its own
  // run: the worst ones take minutes).
  if (__argc >= 2 && std::string(__argv[1]) == "shapes") {
    // "shapes [FRAMESxLEDS]": opening effects of real line lengths; "playwide": playback of 1,000
    // frames of 150 LEDs.
    MeasureShapes(*form, __argc >= 3 ? __argv[2] : "");
  } else if (__argc == 2 && std::string(__argv[1]) == "playwide") {
    const std::string path = TempPath("effect_play_wide.txt");
    std::ofstream(path, std::ios::binary) << ShapedEffect(1000, 150);
    MeasurePlayback(*form, path, 1000, 20);
    DeleteFileA(path.c_str());
  } else if (__argc == 2 && std::string(__argv[1]) == "view") {
    // "view": playback lateness with the cube view closed and open, in alternate rounds so that a busy
    // moment of the machine falls on both alike.
    const std::string small = EffectFile(TempPath(""), 1000);
    for (int round = 0; round < 2; ++round) {
      for (const bool open : {false, true}) {
        FireEmpty(MakeLink<&TQxCubeView::inHide>(form->CubeView->View));
        if (open) FireEmpty(MakeLink<&TQxCubeView::inShow>(form->CubeView->View));
        PumpMessages();
        std::printf("cube view %s: ", open ? "open" : "closed");
        MeasurePlayback(*form, small, 1000, 20);
      }
    }
    DeleteFileA(small.c_str());
  } else if (__argc == 3) {
    MeasureMemoText(*form, std::string(__argv[1]) == "line", std::string(__argv[1]) == "wide",
                    std::strtoull(__argv[2], nullptr, 10));
  } else {
    const std::string dir = TempPath("");
    const std::string small = EffectFile(dir, 1000);
    const std::string large = EffectFile(dir, 10000);
    MeasureOpen(*form, small, 1000);
    MeasureOpen(*form, large, 10000);
    MeasurePlayback(*form, small, 1000, 20);
    MeasureBareTimer(form->EditorWindow->Control->Handle, 1000, 20);
    DeleteFileA(small.c_str());
    DeleteFileA(large.c_str());
  }
  UnhookWindowsHookEx(hook);
  editor_form_fixture::FinishForm(form);
  return 0;
}
