// Measures the export of a 1,000-frame effect as the layer view's and the 3D view's animated GIF: painting
// every frame with GDI, encoding it and the whole file, as "Экспорт…" does before writing. Windows program
// (run under Wine: tools/wine-run.sh PREFIX cube_export_bench.exe); prints the figures.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "elements/effect_pictures.h"

int main() {
  std::mt19937 random(1);
  std::vector<cube::TPattern> frames(1000);
  for (cube::TPattern& frame : frames)
    for (std::size_t led = 0; led < cube::kLedCount; ++led)
      if (random() % 4 == 0) frame.set(led);
  struct TKind {
    const char* Name;
    effect_pictures::TPainter Painter;
    int Width, Height;
  };
  // The 3D view at the size the export writes it.
  const TKind kinds[] = {
      {"layer", &effect_pictures::PaintLayers, effect_pictures::kLayersWidth, effect_pictures::kLayersHeight},
      {"3D view", effect_pictures::CubeViewPainter(), 240, 240}};
  for (int run = 0; run < 3; ++run) {
    for (const TKind& kind : kinds) {
      const auto start = std::chrono::steady_clock::now();
      const std::string gif =
          effect_pictures::AnimatedGif(frames, 100, kind.Painter, kind.Width, kind.Height);
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      std::printf("1000-frame %s GIF, %dx%d: %.0f ms, %zu bytes\n", kind.Name, kind.Width, kind.Height, ms,
                  gif.size());
    }
  }
  return 0;
}
