// TBitmap: making, adopting and drawing bitmaps. Must never delete a handle or free bits it does
// not own, and never reads past the bits it was given.
#include "platform/bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Bytes of the header plus the colour table (or the three masks of BI_BITFIELDS).
std::size_t InfoSize(const BITMAPINFOHEADER& h) {
  std::size_t colors = h.biClrUsed;
  if (colors == 0 && h.biBitCount <= 8) colors = std::size_t{1} << h.biBitCount;
  if (h.biCompression == BI_BITFIELDS && colors < 3) colors = 3;
  return h.biSize + colors * sizeof(RGBQUAD);
}

// Bytes of an uncompressed image of this format; 0 when it cannot be told.
std::size_t ImageSize(const BITMAPINFOHEADER& h) {
  if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) return h.biSizeImage;
  const std::size_t width = static_cast<std::size_t>(std::abs(h.biWidth));
  const std::size_t height = static_cast<std::size_t>(std::abs(h.biHeight));
  const std::size_t stride = (width * h.biBitCount + 31) / 32 * 4;
  return stride * height;
}

}  // namespace

TBitmap* TBitmap::CreateBitmap(std::int32_t width, std::int32_t height) {
  auto* bitmap = new TBitmap();
  // A negative size would describe no image that can be drawn.
  if (width <= 0 || height <= 0) return bitmap;
  bitmap->Width = width;
  bitmap->Height = height;
  const TDC screen = TDC::OfWindow(nullptr);
  bitmap->Handle.Reset(CreateCompatibleBitmap(screen.Get(), width, height));
  return bitmap;
}

TBitmap::~TBitmap() { Clear(); }

void TBitmap::Clear() {
  Handle.Reset();
  if (Bits != nullptr && !BitsBorrowed) std::free(Bits);
  Bits = nullptr;
  BitsBorrowed = false;
  BitsSize = 0;
  std::free(Info);
  Info = nullptr;
  Width = 0;
  Height = 0;
}

void TBitmap::SetHandle(HBITMAP h) {
  // Adopting the handle already held must not delete it first.
  if (h != nullptr && h == Handle.Get()) return;
  Clear();
  if (h == nullptr || GetObjectType(h) != OBJ_BITMAP) return;
  BITMAP bm{};
  if (GetObjectW(h, sizeof(bm), &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight == 0) return;
  Handle.Reset(h);
  Width = bm.bmWidth;
  Height = std::abs(bm.bmHeight);
}

void TBitmap::SetBits(const BITMAPINFO* info, void* bits, std::int32_t bitsSize, bool borrowed) {
  Clear();
  if (info == nullptr || bits == nullptr || bitsSize <= 0) return;
  const BITMAPINFOHEADER& header = info->bmiHeader;
  if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth <= 0 || header.biHeight == 0) return;
  const std::size_t needed = ImageSize(header);
  if (needed == 0 || needed > static_cast<std::size_t>(bitsSize)) return;
  const std::size_t infoSize = InfoSize(header);
  Info = static_cast<BITMAPINFO*>(std::malloc(infoSize));
  if (Info == nullptr) return;
  std::memcpy(Info, info, infoSize);
  if (borrowed) {
    Bits = bits;
  } else {
    Bits = std::malloc(static_cast<std::size_t>(bitsSize));
    if (Bits == nullptr) {
      Clear();
      return;
    }
    std::memcpy(Bits, bits, static_cast<std::size_t>(bitsSize));
  }
  BitsBorrowed = borrowed;
  BitsSize = bitsSize;
  Width = header.biWidth;
  Height = std::abs(header.biHeight);
}

HBITMAP TBitmap::DIBHandle() {
  if (Handle || Bits == nullptr || Info == nullptr) return Handle.Get();
  void* pixels = nullptr;
  TOwnedBitmap section(
      CreateDIBSection(TDC::OfWindow(nullptr).Get(), Info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  if (!section || pixels == nullptr) return nullptr;
  const std::size_t size = std::min(ImageSize(Info->bmiHeader), static_cast<std::size_t>(BitsSize));
  std::memcpy(pixels, Bits, size);
  GdiFlush();
  if (!BitsBorrowed) std::free(Bits);
  Bits = nullptr;
  BitsBorrowed = false;
  BitsSize = 0;
  Handle = std::move(section);
  return Handle.Get();
}

void TBitmap::Draw(HDC dc, const RECT& rect) {
  if (Empty() || dc == nullptr) return;
  if (!Handle && Bits != nullptr) {
    const int lines = StretchDIBits(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                    0, 0, Width, Height, Bits, Info, DIB_RGB_COLORS, SRCCOPY);
    if (lines > 0) return;
    if (DIBHandle() == nullptr) return;
  }
  if (Handle) DrawHandle(dc, rect);
}

void TBitmap::DrawHandle(HDC dc, const RECT& rect) {
  const TDC memory = TDC::Memory(nullptr);
  if (!memory) return;
  const TSelection image(memory.Get(), Handle.Get());
  StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, memory.Get(), 0, 0,
             Width, Height, SRCCOPY);
}
