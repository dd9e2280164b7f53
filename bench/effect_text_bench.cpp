// The window-free part of opening an effect and of starting playback, natively: an effect file's
// bytes split into lines, its memo text made, every line checked as a frame; and the memo text split
// again with the play list built. For 1,000 and 10,000 frames of about 40 characters.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cube/effect_text.h"
#include "cube/pattern.h"

namespace {

std::string EffectBytes(int frames) {
  std::string bytes;
  for (int k = 0; k < frames; ++k) {
    std::vector<int> lit;
    for (int j = 0; j < 10; ++j) lit.push_back((k * 7 + j * 21) % 216);
    std::sort(lit.begin(), lit.end());
    lit.erase(std::unique(lit.begin(), lit.end()), lit.end());
    for (int n : lit) bytes += std::to_string(n) + ",";
    bytes += "227\r\n";
  }
  return bytes;
}

void BM_OpenText(benchmark::State& state) {
  const std::string bytes = EffectBytes(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const bool text = effect::LooksLikeText(bytes);
    const auto lines = effect::SplitFileLines(bytes);
    std::string memo = effect::MemoTextOf(lines);
    const effect::TBadLines bad = effect::FindBadLines(lines, &cube::IsFrameLine);
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(memo.data());
    benchmark::DoNotOptimize(bad.Count);
  }
  state.SetBytesProcessed(state.iterations() * std::ssize(bytes));
}
BENCHMARK(BM_OpenText)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_PlayListOfTheMemo(benchmark::State& state) {
  const std::string bytes = EffectBytes(static_cast<int>(state.range(0)));
  const std::string memo = effect::MemoTextOf(effect::SplitFileLines(bytes));
  for (auto _ : state) {
    const auto list = effect::PlayList(effect::LineViews(memo, effect::MemoLines(memo)), &cube::IsFrameLine);
    benchmark::DoNotOptimize(list.data());
  }
}
BENCHMARK(BM_PlayListOfTheMemo)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
