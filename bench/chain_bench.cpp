// Cost of one forwarding step: a million-link chain of elements that each forward an integer.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "runtime/data.h"

namespace {

struct Step {
  TQx_Event outNext;
  void inValue(TData* d, std::uint16_t) { ForwardInt(d, &outNext, d->IntValue + 1); }
};

struct Sink {
  std::int32_t last = 0;
  void inValue(TData* d, std::uint16_t) { last = d->IntValue; }
};

void BM_ForwardingChain(benchmark::State& state) {
  const auto links = static_cast<std::size_t>(state.range(0));
  std::vector<Step> chain(links);
  Sink sink;
  for (std::size_t i = 0; i + 1 < links; ++i) chain[i].outNext = MakeLink<&Step::inValue>(&chain[i + 1], 0);
  chain.back().outNext = MakeLink<&Sink::inValue>(&sink, 0);
  const TQx_Event head = MakeLink<&Step::inValue>(&chain.front(), 0);
  EnableDelivery();
  for (auto _ : state) {
    FireInt(head, 0);
    benchmark::DoNotOptimize(sink.last);
  }
  DisableDelivery();
  if (sink.last != static_cast<std::int32_t>(links)) state.SkipWithError("chain did not reach its end");
  state.SetItemsProcessed(state.iterations() * state.range(0));
  // Seconds per link, printed with an SI prefix (for example "2.5n" is 2.5 ns).
  state.counters["per_link"] =
      benchmark::Counter(static_cast<double>(links),
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ForwardingChain)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
