// Splitting a long effect text into lines and saving it as the effect file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <iterator>
#include <random>
#include <string>

#include "platform/strlist.h"

namespace {

constexpr int kFrames = 100000;

// Frame strings as the editor records them: ascending lit-LED indices, each with ",", then "227".
std::string EffectText() {
  std::mt19937 random(216);
  std::string text;
  for (int frame = 0; frame < kFrames; ++frame) {
    for (int led = 0; led < 216; ++led) {
      if (random() % 16 == 0) text += std::to_string(led) + ",";
    }
    text += "227\r\n";
  }
  return text;
}

const std::string& Text() {
  static const std::string text = EffectText();
  return text;
}

std::string EffectPath() {
  return (std::filesystem::temp_directory_path() / "cube-strlist-bench.txt").string();
}

void BM_SetText(benchmark::State& state) {
  TStrList* list = TStrList::Create();
  for (auto _ : state) {
    list->SetText(Text(), false);
    benchmark::DoNotOptimize(list->Count);
  }
  state.SetBytesProcessed(state.iterations() * std::ssize(Text()));
  state.counters["lines"] = list->Count;
  list->Free();
}
BENCHMARK(BM_SetText)->Unit(benchmark::kMillisecond);

void BM_SaveToFile(benchmark::State& state) {
  TStrList* list = TStrList::Create();
  list->SetText(Text(), false);
  const std::string path = EffectPath();
  for (auto _ : state) {
    if (!list->SaveToFile(path)) state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(state.iterations() * std::ssize(Text()));
  list->Free();
  std::filesystem::remove(path);
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond);

// What one save of the editor costs: the memo's text split, joined and written.
void BM_SetTextAndSaveToFile(benchmark::State& state) {
  const std::string path = EffectPath();
  for (auto _ : state) {
    TStrList* list = TStrList::Create();
    list->SetText(Text(), false);
    if (!list->SaveToFile(path)) state.SkipWithError("save failed");
    list->Free();
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_SetTextAndSaveToFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
