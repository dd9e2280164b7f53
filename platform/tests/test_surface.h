// Test helper: a 32-bit DIB section selected into a memory DC, for checking drawn pixels.
#pragma once

#include <windows.h>

#include <set>

class TestSurface {
 public:
  static constexpr COLORREF kBackground = RGB(1, 2, 3);  // what untouched pixels hold

  TestSurface(int width, int height, COLORREF fill = kBackground) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
    Fill(fill);
  }
  ~TestSurface() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  TestSurface(const TestSurface&) = delete;
  TestSurface& operator=(const TestSurface&) = delete;

  HDC dc() const { return dc_; }
  RECT client() const { return RECT{0, 0, width_, height_}; }
  COLORREF At(int x, int y) const {
    GdiFlush();
    return GetPixel(dc_, x, y);
  }
  void Fill(COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    RECT all = client();
    ::FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  std::set<COLORREF> ColorsIn(const RECT& r) const {
    std::set<COLORREF> colors;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) colors.insert(At(x, y));
    return colors;
  }

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};
