// TQxImage: shows one bitmap scaled to fit the element with its aspect ratio kept and centred; the
// bands left over are filled with the element's background colour. The picture is stretched at
// every paint. Must never draw a picture it does not own or outside its own client area.
#pragma once

#include <windows.h>

#include <cstdint>

#include "elements/win.h"
#include "platform/bitmap.h"

// The routine that paints a non-empty picture into a device context.
struct TImageDrawMethod {
  void (*Code)(void* self, HDC dc) = nullptr;
  void* Object = nullptr;
};

// Where a fitted picture goes inside a Wc x Hc area, and the two bands beside it.
struct TFitLayout {
  RECT Picture;
  RECT Band1;
  RECT Band2;
};
TFitLayout FitInside(std::int32_t areaWidth, std::int32_t areaHeight, std::int32_t pictureWidth,
                     std::int32_t pictureHeight);

class TQxImage : public TQxWin {
 public:
  TBitmap* Picture = nullptr;
  std::int32_t StretchMode = 0;  // COLORONCOLOR (3) or HALFTONE (4)
  TImageDrawMethod DrawMethod;
  std::uint8_t AutoSize = 0;
  TQx_Event outClick;

  explicit TQxImage(TControl* parentControl);
  ~TQxImage() override;

  // Takes over a non-null bitmap handle; a null handle changes nothing.
  void SetPicture(HBITMAP bitmap);
  // The picture is the bitmap resource `name` (a literal or a resource number), read when it is first
  // painted or its size is wanted: decoding it is start-up work the window's first paint can do
  // without.
  void SetPictureResource(HINSTANCE instance, LPCWSTR name);
  void SetSmooth(bool smooth);
  void Init() override;

  // The fitting routine for DrawMethod.
  void DrawFit(HDC dc);
  TImageDrawMethod FitMethod();
  // The paint handler: background only for an empty picture, DrawMethod otherwise.
  void PaintImage(HDC dc);

 private:
  void FillWithBackground(HDC dc, const RECT& r);
  void ReadPictureResource();
  HINSTANCE pictureInstance_ = nullptr;
  LPCWSTR pictureName_ = nullptr;
};
