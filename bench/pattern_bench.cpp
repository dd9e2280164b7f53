// The pattern's frame work natively: parse and format of a full frame, each transform, an undo
// step of the history alone and of the pattern element on 216 window-free LEDs with the real
// frame-string graph (repaint requests are counted, not painted), and a whole new frame put on the
// cube through the element, from the request until the frame line holds the new string.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <random>

#include "bench/bare_frame_graph.h"
#include "cube/pattern.h"
#include "cube/pattern_history.h"
#include "elements/cube_pattern_element.h"

namespace {

cube::TPattern RandomPattern(unsigned seed) {
  std::mt19937 random(seed);
  cube::TPattern p;
  for (std::size_t i = 0; i < p.size(); ++i) p.set(i, random() % 2 == 0);
  return p;
}

void BM_FormatFullFrame(benchmark::State& state) {
  const cube::TPattern all = cube::AllLit();
  for (auto _ : state) benchmark::DoNotOptimize(cube::FormatFrame(all));
}
BENCHMARK(BM_FormatFullFrame);

void BM_ParseFullFrame(benchmark::State& state) {
  const std::string line = cube::FormatFrame(cube::AllLit());
  for (auto _ : state) benchmark::DoNotOptimize(cube::ParseFrame(line));
}
BENCHMARK(BM_ParseFullFrame);

void BM_ParseAndFormatRandomFrame(benchmark::State& state) {
  const std::string line = cube::FormatFrame(RandomPattern(1));
  for (auto _ : state) benchmark::DoNotOptimize(cube::FormatFrame(cube::ParseFrame(line).Pattern));
}
BENCHMARK(BM_ParseAndFormatRandomFrame);

void BM_Transform(benchmark::State& state) {
  using cube::TAxis;
  cube::TPattern p = RandomPattern(2);
  const int which = static_cast<int>(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(p);  // read afresh every time, so nothing is hoisted out of the loop
    cube::TPattern result;
    switch (which) {
      case 0:
        result = cube::Shift(p, TAxis::X, 1, false);
        break;
      case 1:
        result = cube::Shift(p, TAxis::Y, -1, true);
        break;
      case 2:
        result = cube::Shift(p, TAxis::Z, 1, true);
        break;
      case 3:
        result = cube::RotateZ(p);
        break;
      case 4:
        result = cube::Mirror(p, TAxis::X);
        break;
      case 5:
        result = cube::Mirror(p, TAxis::Z);
        break;
      case 6:
        result = cube::Invert(p);
        break;
      default:
        result = cube::AllLit();
        break;
    }
    benchmark::DoNotOptimize(result);
  }
  static const char* const names[] = {"shiftX",  "wrapShiftY", "wrapShiftZ", "rotate",
                                      "mirrorX", "mirrorZ",    "invert",     "lightAll"};
  state.SetLabel(names[which]);
}
BENCHMARK(BM_Transform)->DenseRange(0, 7);

void BM_HistoryUndoRedo(benchmark::State& state) {
  cube::TPatternHistory history;
  cube::TPattern current = RandomPattern(4);
  for (unsigned k = 0; k < 256; ++k) history.Record(RandomPattern(10 + k));
  for (auto _ : state) {
    current = *history.Undo(current);
    current = *history.Redo(current);
    benchmark::DoNotOptimize(current);
  }
}
BENCHMARK(BM_HistoryUndoRedo);

// The editor's pattern part without windows: LEDs, the designed graph, the element wired as the
// form wires it.
struct Workbench : TBareFrameGraph {
  TQxCubePattern pattern;

  Workbench() {
    for (std::size_t i = 0; i < leds.size(); ++i)
      leds[i].outChange = MakeLink<&TQxCubePattern::inLedChange>(&pattern, static_cast<std::uint16_t>(i));
    pattern.Subscribe({&ShowOnBareLeds, &leds});
    pattern.Subscribe({&FollowPatternOnGraph, graph.get()});
    EnableDelivery();
  }
  ~Workbench() { DisableDelivery(); }

  void Frame(const ByteString& text) {
    TData d;
    MakeStr(&d, text);
    Fire(MakeLink<&TQxCubePattern::inFrame>(&pattern), &d);
  }
};

// All 216 LEDs change with every frame: all lit, then all dark.
void BM_ElementWholeFrameAllChange(benchmark::State& state) {
  Workbench bench;
  const ByteString all(cube::FormatFrame(cube::AllLit()));
  const ByteString dark("227");
  bool lit = false;
  for (auto _ : state) {
    bench.Frame(lit ? dark : all);
    lit = !lit;
    benchmark::DoNotOptimize(bench.line.text.data());
  }
  state.counters["frameLineSets"] = benchmark::Counter(bench.line.sets, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ElementWholeFrameAllChange);

// About half the LEDs change with every frame: two random patterns in turn.
void BM_ElementWholeFrameRandom(benchmark::State& state) {
  Workbench bench;
  const ByteString a(cube::FormatFrame(RandomPattern(5)));
  const ByteString b(cube::FormatFrame(RandomPattern(6)));
  bool first = false;
  for (auto _ : state) {
    bench.Frame(first ? a : b);
    first = !first;
    benchmark::DoNotOptimize(bench.line.text.data());
  }
}
BENCHMARK(BM_ElementWholeFrameRandom);

// One transform through the element: the new pattern on the LEDs and in the frame line.
void BM_ElementTransform(benchmark::State& state) {
  Workbench bench;
  bench.Frame(ByteString(cube::FormatFrame(RandomPattern(7))));
  TQx_Event link = MakeLink<&TQxCubePattern::inTransform>(&bench.pattern);
  TData code;
  MakeInt(&code, static_cast<std::int32_t>(state.range(0)));
  for (auto _ : state) {
    Fire(link, &code);
    benchmark::DoNotOptimize(bench.line.text.data());
  }
}
BENCHMARK(BM_ElementTransform)
    ->Arg(TQxCubePattern::ctWrapShiftXPlus)
    ->Arg(TQxCubePattern::ctRotateZ)
    ->Arg(TQxCubePattern::ctMirrorY)
    ->Arg(TQxCubePattern::ctInvert);

// An undo and a redo through the element between two random patterns (a step each way).
void BM_ElementUndoRedo(benchmark::State& state) {
  Workbench bench;
  bench.Frame(ByteString(cube::FormatFrame(RandomPattern(8))));
  bench.Frame(ByteString(cube::FormatFrame(RandomPattern(9))));
  TQx_Event undo = MakeLink<&TQxCubePattern::inUndo>(&bench.pattern);
  TQx_Event redo = MakeLink<&TQxCubePattern::inRedo>(&bench.pattern);
  TData empty;
  for (auto _ : state) {
    Fire(undo, &empty);
    Fire(redo, &empty);
    benchmark::DoNotOptimize(bench.line.text.data());
  }
  state.SetLabel("two steps per iteration");
}
BENCHMARK(BM_ElementUndoRedo);

// One LED click as the user makes it, with the element recording it: the designed path plus the
// history step.
void BM_ElementClick(benchmark::State& state) {
  Workbench bench;
  bench.Frame(ByteString(cube::FormatFrame(RandomPattern(10))));
  for (auto _ : state) {
    bench.leds[100].Click();
    benchmark::DoNotOptimize(bench.line.text.data());
  }
}
BENCHMARK(BM_ElementClick);

}  // namespace

BENCHMARK_MAIN();
