// The pictures of an export: the cube's six layers drawn small (as the editor shows them, lit LEDs
// red, dark ones in the editor's pale blue), painted into a 32-bit DIB section whose pixels the
// image writer reads, and the strip of numbered frames. Windows builds only; must never keep a GDI
// object selected into a DC past the paint that selected it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cube/pattern.h"
#include "platform/handles.h"
#include "platform/image_writer.h"

namespace effect_pictures {

// The layer view: layers 1 to 6 from left to right, row 0 on top, column 0 on the left.
inline constexpr int kCell = 8;
inline constexpr int kLayerGap = 6;
inline constexpr int kMargin = 4;
inline constexpr int kLayerSide = cube::kSide * kCell;
inline constexpr int kLayersWidth = 2 * kMargin + 6 * kLayerSide + 5 * kLayerGap;
inline constexpr int kLayersHeight = 2 * kMargin + kLayerSide;
// Colours as 0x00RRGGBB, what the pixels hold.
inline constexpr std::uint32_t kLitColor = 0xFF0000;
inline constexpr std::uint32_t kDarkColor = 0xA6CAF0;
inline constexpr std::uint32_t kBackColor = 0xF0F0F0;
// The strip: up to ten pictures a row, the frame's number under each.
inline constexpr int kStripColumns = 10;
inline constexpr int kNumberHeight = 16;

// Paints one picture of a pattern into a DC of width x height.
using TPainter = void (*)(HDC dc, int width, int height, const cube::TPattern& pattern);

// The left top corner of LED (column, row, layer) in the layer view.
POINT LedCorner(int column, int row, int layer);
void PaintLayers(HDC dc, int width, int height, const cube::TPattern& pattern);
// The 3D view's painter, or null while the 3D view is not part of the program: the export then
// offers only the layer view. To add it, return a painter that calls cube_view::Paint with a turn.
TPainter CubeViewPainter();

// A memory DC with a top-down 32-bit DIB section selected, its pixels readable.
class TCanvas {
 public:
  TCanvas(int width, int height);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;
  bool Usable() const { return pixels_ != nullptr; }
  HDC Dc() const { return dc_; }
  TPixelView View() const;

 private:
  HDC dc_ = nullptr;
  TOwnedBitmap bitmap_;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* pixels_ = nullptr;
  int width_, height_;
};

// The animated GIF of the frames, each painted by `painter` at width x height and shown rateMs
// (to the nearest 1/100 s), looping forever. Empty when no canvas can be made.
std::string AnimatedGif(const std::vector<cube::TPattern>& frames, long rateMs, TPainter painter, int width,
                        int height);

// Every frame small in a grid, numbered from `firstNumber`, on one canvas; null when it cannot be made.
std::unique_ptr<TCanvas> PaintStrip(const std::vector<cube::TPattern>& frames, std::size_t firstNumber);

}  // namespace effect_pictures
