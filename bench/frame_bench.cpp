// Cost of one LED change carried through the whole frame-string graph to the final string:
// toggle, arithmetic, LED text, the joins on the path to the root, the filter and the terminator.
#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <memory>

#include "bench/bare_frame_graph.h"

namespace {

struct Editor : TBareFrameGraph {
  Editor() { EnableDelivery(); }
  ~Editor() { DisableDelivery(); }
};

// Every LED but the measured one lit: the longest texts (757 characters at the root).
void BM_LedChangeAllOthersLit(benchmark::State& state) {
  Editor editor;
  const auto measured = static_cast<std::size_t>(state.range(0));  // an LED number
  for (std::size_t n = 1; n <= editor.leds.size(); ++n) {
    if (n != measured) editor.leds[n - 1].Click();
  }
  for (auto _ : state) {
    editor.leds[measured - 1].Click();
    benchmark::DoNotOptimize(editor.line.text.data());
  }
}
BENCHMARK(BM_LedChangeAllOthersLit)->Arg(1)->Arg(216);

// Every other LED changed once and dark: the root text is 216 placeholders for the filter.
void BM_LedChangeAllOthersDark(benchmark::State& state) {
  Editor editor;
  const auto measured = static_cast<std::size_t>(state.range(0));  // an LED number
  for (TBareLED& led : editor.leds) {
    led.Click();
    led.Click();
  }
  for (auto _ : state) {
    editor.leds[measured - 1].Click();
    benchmark::DoNotOptimize(editor.line.text.data());
  }
}
BENCHMARK(BM_LedChangeAllOthersDark)->Arg(1)->Arg(216);

}  // namespace

BENCHMARK_MAIN();
