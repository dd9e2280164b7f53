// TBitmap: a device-dependent bitmap or a DIB (in memory or as a DIB section) that can be drawn
// stretched into a rectangle. Must never delete a handle or bits it does not own.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/handles.h"
#include "platform/obj.h"

class TBitmap : public TObj {
 public:
  static TBitmap* Create() { return new TBitmap(); }  // empty
  // A bitmap compatible with the screen; none is made when either size is 0.
  static TBitmap* CreateBitmap(std::int32_t width, std::int32_t height);

  // Frees the current image, then adopts `h` (owned) when it is a bitmap; else stays empty.
  void SetHandle(HBITMAP h);
  // Frees the current image and keeps `bits` of format `info` (copied) as a DIB in memory;
  // borrowed bits are never freed by the bitmap and must outlive it or the next change.
  void SetBits(const BITMAPINFO* info, void* bits, std::int32_t bitsSize, bool borrowed);
  bool Empty() const { return Width == 0 || Height == 0; }
  // The GDI handle, turning in-memory bits into a DIB section first. Null on failure.
  HBITMAP DIBHandle();
  // Draws the whole bitmap stretched into `rect`; the stretch mode of `dc` is the caller's.
  void Draw(HDC dc, const RECT& rect);
  void Clear();

  std::int32_t Height = 0;
  std::int32_t Width = 0;
  TOwnedBitmap Handle;
  void* Bits = nullptr;
  BITMAPINFO* Info = nullptr;  // owned copy
  std::int32_t BitsSize = 0;
  bool BitsBorrowed = false;

 protected:
  TBitmap() = default;
  ~TBitmap() override;

 private:
  void DrawHandle(HDC dc, const RECT& rect);
};
