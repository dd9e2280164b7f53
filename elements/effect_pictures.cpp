// Painting the export's pictures with GDI into DIB sections.
#include "elements/effect_pictures.h"

#include <string>

#include "cube/gif_encoder.h"
#include "elements/cube_view_paint.h"

namespace effect_pictures {

namespace {

COLORREF Ref(std::uint32_t rgb) { return RGB(rgb >> 16 & 255, rgb >> 8 & 255, rgb & 255); }

void Fill(HDC dc, const RECT& rect, std::uint32_t rgb) {
  TOwnedBrush brush(CreateSolidBrush(Ref(rgb)));
  FillRect(dc, &rect, brush.Get());
}

}  // namespace

POINT LedCorner(int column, int row, int layer) {
  return {kMargin + layer * (kLayerSide + kLayerGap) + column * kCell, kMargin + row * kCell};
}

void PaintLayers(HDC dc, int width, int height, const cube::TPattern& pattern) {
  Fill(dc, {0, 0, width, height}, kBackColor);
  TOwnedBrush lit(CreateSolidBrush(Ref(kLitColor)));
  TOwnedBrush dark(CreateSolidBrush(Ref(kDarkColor)));
  for (int layer = 0; layer < cube::kSide; ++layer) {
    for (int row = 0; row < cube::kSide; ++row) {
      for (int column = 0; column < cube::kSide; ++column) {
        const POINT at = LedCorner(column, row, layer);
        // A pixel of background between neighbours keeps the LEDs apart, as on the form.
        const RECT led{at.x, at.y, at.x + kCell - 1, at.y + kCell - 1};
        FillRect(dc, &led, pattern.test(cube::IndexOf(column, row, layer)) ? lit.Get() : dark.Get());
      }
    }
  }
}

TPainter CubeViewPainter() {
  // At the view's first turn: the GIF should look the same whoever exports it.
  return [](HDC dc, int width, int height, const cube::TPattern& pattern) {
    cube_view::Paint(dc, width, height, pattern, cube_view::Home());
  };
}

TCanvas::TCanvas(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row 0 first, as the GIF and PNG want them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  dc_ = CreateCompatibleDC(nullptr);
  if (!bitmap_ || dc_ == nullptr || bits == nullptr) return;
  old_ = SelectObject(dc_, bitmap_.Get());
  pixels_ = static_cast<std::uint32_t*>(bits);
}

TCanvas::~TCanvas() {
  if (dc_ == nullptr) return;
  if (old_ != nullptr) SelectObject(dc_, old_);
  DeleteDC(dc_);
}

TPixelView TCanvas::View() const {
  // GDI draws through its own batch; the pixels are read only after it is flushed.
  GdiFlush();
  return {pixels_, width_, height_, static_cast<std::size_t>(width_)};
}

std::string AnimatedGif(const std::vector<cube::TPattern>& frames, long rateMs, TPainter painter, int width,
                        int height) {
  TCanvas canvas(width, height);
  if (!canvas.Usable() || painter == nullptr) return {};
  // GIF delays are hundredths of a second: 20..2000 ms become 2..200.
  const int delay = static_cast<int>((rateMs + 5) / 10);
  gif::TGifEncoder encoder(width, height, 0);
  for (const cube::TPattern& frame : frames) {
    painter(canvas.Dc(), width, height, frame);
    const TPixelView pixels = canvas.View();
    encoder.AddFrame(pixels.Pixels, pixels.Stride, delay);
  }
  return encoder.Finish();
}

std::unique_ptr<TCanvas> PaintStrip(const std::vector<cube::TPattern>& frames, std::size_t firstNumber) {
  const int count = static_cast<int>(frames.size());
  const int columns = count < kStripColumns ? count : kStripColumns;
  const int rows = (count + kStripColumns - 1) / kStripColumns;
  const int cellHeight = kLayersHeight + kNumberHeight;
  auto canvas = std::make_unique<TCanvas>(columns * kLayersWidth, rows * cellHeight);
  if (count == 0 || !canvas->Usable()) return nullptr;
  const HDC dc = canvas->Dc();
  Fill(dc, {0, 0, columns * kLayersWidth, rows * cellHeight}, kBackColor);
  TOwnedFont font(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY,
                              0, L"MS Sans Serif"));
  const HGDIOBJ oldFont = SelectObject(dc, font.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  TOwnedBrush border(CreateSolidBrush(RGB(160, 160, 160)));
  for (int i = 0; i < count; ++i) {
    const int left = (i % kStripColumns) * kLayersWidth, top = (i / kStripColumns) * cellHeight;
    // Each picture through its own viewport, so the layer view paints at its usual place.
    SetViewportOrgEx(dc, left, top, nullptr);
    PaintLayers(dc, kLayersWidth, kLayersHeight, frames[static_cast<std::size_t>(i)]);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    // A thin frame around each picture and its number tells the frames apart.
    const RECT cell{left, top, left + kLayersWidth, top + cellHeight};
    FrameRect(dc, &cell, border.Get());
    RECT number{left, top + kLayersHeight, left + kLayersWidth, top + cellHeight};
    const std::wstring text = std::to_wstring(firstNumber + static_cast<std::size_t>(i));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &number, DT_CENTER | DT_TOP | DT_SINGLELINE);
  }
  SelectObject(dc, oldFont);
  return canvas;
}

}  // namespace effect_pictures
