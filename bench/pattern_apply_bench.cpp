// Measures a whole new frame shown on the real editor form under Wine: from the request to the
// pattern element until every changed LED is painted and FrameEdit holds the new string, for all
// 216 LEDs changing, about half of them, and one; the same for a transform and an undo step; and,
// for scale, what setting the same 216 LEDs one click at a time costs. Windows program; prints one
// figure per line (median and worst of the rounds).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_form.h"
#include "cube/pattern.h"
#include "platform/tests/test_windows.h"
#include "runtime/data.h"

namespace {

using bench_form::Clock;
using bench_form::MicrosecondsSince;

constexpr int kRounds = 60;

struct TFigures {
  std::vector<double> Values;
  void Print(const char* what) {
    std::sort(Values.begin(), Values.end());
    std::printf("%s: median %.2f ms, worst %.2f ms (%zu rounds)\n", what, Values[Values.size() / 2] / 1000,
                Values.back() / 1000, Values.size());
  }
};

std::string FrameText(TClassMainForm_1509590& form) { return WindowText(form.FrameEdit->Control->Handle); }

// The part of the last Shown inside the request: the element work, the LEDs painted at once and
// FrameEdit taking its text.
double lastBeforePaint = 0;

// The request, then every pending paint of the form's windows done, as the screen would show it.
double Shown(TClassMainForm_1509590& form, const TQx_Event& request, const TData& value,
             const std::string& expected) {
  const auto start = Clock::now();
  Fire(request, &value);
  lastBeforePaint = MicrosecondsSince(start);
  RedrawWindow(form.EditorWindow->Control->Handle, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  const double us = MicrosecondsSince(start);
  if (!expected.empty() && FrameText(form) != expected) std::printf("  MISMATCH in FrameEdit\n");
  return us;
}

void MeasureFrames(TClassMainForm_1509590& form) {
  TQxCubePattern* pattern = form.PatternTools->Pattern;
  const TQx_Event frameIn = MakeLink<&TQxCubePattern::inFrame>(pattern);
  std::mt19937 random(1509590);
  auto randomFrame = [&random] {
    cube::TPattern p;
    for (int i = 0; i < cube::kLedCount; ++i) p.set(i, random() % 2 == 0);
    return cube::FormatFrame(p);
  };
  const std::string all = cube::FormatFrame(cube::AllLit());
  TFigures whole, wholeBeforePaint, half, one, transform, undo, clicks;
  for (int round = 0; round < kRounds; ++round) {
    TData d;
    MakeStr(&d, ByteString("227"));
    Shown(form, frameIn, d, "227");
    MakeStr(&d, ByteString(all));
    whole.Values.push_back(Shown(form, frameIn, d, all));
    wholeBeforePaint.Values.push_back(lastBeforePaint);
    const std::string next = randomFrame();
    MakeStr(&d, ByteString(next));
    half.Values.push_back(Shown(form, frameIn, d, next));
    cube::TPattern p = cube::ParseFrame(next).Pattern;
    p.flip(static_cast<std::size_t>(round % cube::kLedCount));
    const std::string single = cube::FormatFrame(p);
    MakeStr(&d, ByteString(single));
    one.Values.push_back(Shown(form, frameIn, d, single));
    TData code;
    MakeInt(&code, TQxCubePattern::ctRotateZ);
    transform.Values.push_back(Shown(form, MakeLink<&TQxCubePattern::inTransform>(pattern), code,
                                     cube::FormatFrame(cube::RotateZ(p))));
    TData empty;
    undo.Values.push_back(Shown(form, MakeLink<&TQxCubePattern::inUndo>(pattern), empty, single));
    PumpMessages();
  }
  whole.Print("whole frame, all 216 LEDs change, request to LEDs painted and FrameEdit set");
  wholeBeforePaint.Print(
      "  of which inside the request (element work, the changed LEDs painted at once, frame graph, "
      "FrameEdit's "
      "WM_SETTEXT)");
  half.Print("whole frame, about half the LEDs change");
  one.Print("whole frame, one LED changes");
  transform.Print("rotation of a random pattern, request to painted");
  undo.Print("undo step, request to painted");

  // For scale: the 216 LEDs repainted one WM_PAINT each, as a whole frame once was.
  TFigures repaint;
  for (int round = 0; round < kRounds; ++round) {
    const auto start = Clock::now();
    for (TQxLED* led : form.Leds) led->Control->Invalidate();
    RedrawWindow(form.EditorWindow->Control->Handle, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    repaint.Values.push_back(MicrosecondsSince(start));
    PumpMessages();
  }
  repaint.Print("for scale: all 216 LEDs repainted one WM_PAINT each, nothing changed");

  // For scale: the same 216 changes one click at a time through the designed graph.
  for (int round = 0; round < 5; ++round) {
    TData d;
    MakeStr(&d, ByteString("227"));
    Shown(form, frameIn, d, "227");
    const auto start = Clock::now();
    for (int n = 1; n <= cube::kLedCount; ++n) FireEmpty(MakeLink<&TQxLED::inToggle>(form.Led(n), 0));
    RedrawWindow(form.EditorWindow->Control->Handle, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    clicks.Values.push_back(MicrosecondsSince(start));
    PumpMessages();
  }
  clicks.Print("for scale: all 216 LEDs lit one toggle at a time, then painted");
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TClassMainForm_1509590* form = editor_form_fixture::StartForm(true);
  MeasureFrames(*form);
  editor_form_fixture::FinishForm(form);
  return 0;
}
