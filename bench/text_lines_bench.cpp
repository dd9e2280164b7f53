// The no-wrap view's text model, natively: a whole 4 MB effect set at once (what WM_SETTEXT costs
// the view before painting), a line replaced in the middle of it (a line tool), and a character
// typed (one keystroke), each with its line index kept.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/text_lines.h"

namespace {

// About 4 MB of frames of `leds` LEDs.
std::u16string Effect(int leds) {
  std::u16string frame;
  for (int n = 0; n < leds; ++n)
    for (char c : std::to_string(n) + ",") frame.push_back(static_cast<char16_t>(c));
  frame += u"227\r\n";
  std::u16string text;
  while (text.size() + frame.size() < 4u * 1024 * 1024) text += frame;
  return text;
}

void BM_SetText(benchmark::State& state) {
  const std::u16string text = Effect(static_cast<int>(state.range(0)));
  TTextLines lines;
  for (auto _ : state) {
    lines.SetText(text);
    benchmark::DoNotOptimize(lines.LongestLineLength());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size() * 2));
}
BENCHMARK(BM_SetText)->Arg(20)->Arg(150)->Unit(benchmark::kMillisecond);

void BM_ReplaceLineInTheMiddle(benchmark::State& state) {
  TTextLines lines;
  lines.SetText(Effect(20));
  const std::size_t line = lines.LineCount() / 2;
  for (auto _ : state) {
    const std::size_t start = lines.LineStart(line);
    lines.EmptyUndo();
    lines.Replace(start, start + lines.LineLength(line), u"1,2,3,227", true);
  }
}
BENCHMARK(BM_ReplaceLineInTheMiddle)->Unit(benchmark::kMicrosecond);

void BM_TypeACharacter(benchmark::State& state) {
  TTextLines lines;
  lines.SetText(Effect(20));
  std::size_t at = lines.LineStart(lines.LineCount() / 2);
  for (auto _ : state) {
    at = lines.Replace(at, at, u"5", true);
    if (lines.Length() > 5u * 1024 * 1024) state.SkipWithError("grew too far");
  }
}
BENCHMARK(BM_TypeACharacter)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
