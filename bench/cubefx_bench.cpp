// cubefx check on an effect of 10,000 frames, beside the bare cost of reading the same file: the
// check should cost little more than the read. Two effects: frames of 10 LEDs (about 40 characters,
// 0.4 MB) and frames of 80 random LEDs (about 300 characters, 3 MB, near the 4 MB limit). Writes
// its files to the temporary folder and removes them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "cube/pattern.h"
#include "tools/cubefx/cubefx.h"

namespace {

namespace fs = std::filesystem;

// 10,000 frames of `lit` LEDs each, CR LF after every line, in a file of its own.
std::string EffectFile(std::size_t lit) {
  const fs::path path = fs::temp_directory_path() / ("cubefx_bench_" + std::to_string(lit) + ".txt");
  std::mt19937 random(static_cast<std::mt19937::result_type>(lit));
  std::string bytes;
  for (int frame = 0; frame < 10000; ++frame) {
    cube::TPattern pattern;
    while (pattern.count() < lit) pattern.set(random() % cube::kLedCount);
    bytes += cube::FormatFrame(pattern) + "\r\n";
  }
  std::ofstream(path, std::ios::binary) << bytes;
  return path.string();
}

void BM_ReadTheFile(benchmark::State& state) {
  const std::string path = EffectFile(static_cast<std::size_t>(state.range(0)));
  std::string bytes;
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    bytes.resize(static_cast<std::size_t>(fs::file_size(path)));
    benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
  fs::remove(path);
}
BENCHMARK(BM_ReadTheFile)->Arg(10)->Arg(80)->Unit(benchmark::kMillisecond);

void BM_CubefxCheck(benchmark::State& state) {
  const std::string path = EffectFile(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::ostringstream out, err;
    if (cubefx::Run({"check", path}, out, err) != cubefx::kExitOk) state.SkipWithError("not all frames");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(path)));
  fs::remove(path);
}
BENCHMARK(BM_CubefxCheck)->Arg(10)->Arg(80)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
