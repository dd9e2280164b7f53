// Cost of one LED change carried through the whole frame-string graph to the final string:
// toggle, arithmetic, LED text, the joins on the path to the root, the filter and the terminator.
#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <memory>

#include "app/bare_led.h"
#include "app/frame_graph.h"

namespace {

struct FrameLine : TQxObject {
  ByteString text;
  void inText(TData* d, std::uint16_t) { text = AsStr(d); }
};

struct Editor {
  std::unique_ptr<TFrameGraph> graph = std::make_unique<TFrameGraph>();
  std::array<TBareLED, frame::kLedCount> leds;
  FrameLine line;
  TQx_Event resetClick;

  Editor() {
    TFrameGraphPorts ports;
    for (std::size_t i = 0; i < leds.size(); ++i) ports.Leds[i] = FrameLedPinsOf(&leds[i]);
    ports.ResetSource = &resetClick;
    ports.FrameSink = MakeLink<&FrameLine::inText>(&line);
    graph->Connect(ports);
    EnableDelivery();
  }
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
