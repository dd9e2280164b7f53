// The image element: control, paint handler and the fit-inside drawing.
#include "elements/image.h"

namespace {

void PaintHandler(void* data, TControl*, HDC dc) { static_cast<TQxImage*>(data)->PaintImage(dc); }

void ClickHandler(void* data, TObj*) { FireEmpty(static_cast<TQxImage*>(data)->outClick); }

void DrawFitCode(void* self, HDC dc) { static_cast<TQxImage*>(self)->DrawFit(dc); }

bool IsNtFamily() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExW(&info) == 0) return false;
#pragma GCC diagnostic pop
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= 4;
}

}  // namespace

TFitLayout FitInside(std::int32_t wc, std::int32_t hc, std::int32_t wb, std::int32_t hb) {
  TFitLayout fit{};
  if (wb <= 0 || hb <= 0) {
    fit.Picture = {0, 0, wc, hc};
    return fit;
  }
  const double r = static_cast<double>(hb) / static_cast<double>(wb);
  if (wc * r > hc) {
    // Scaled to the full width it would be too tall: full height, bands left and right.
    const std::int32_t d = RoundHalfEven((wc - hc / r) / 2.0);
    fit.Band1 = {0, 0, d, hc};
    fit.Band2 = {wc - d, 0, wc, hc};
    fit.Picture = {d, 0, wc - d, hc};
  } else {
    const std::int32_t d = RoundHalfEven((hc - wc * r) / 2.0);
    fit.Band1 = {0, 0, wc, d};
    fit.Band2 = {0, hc - d, wc, hc};
    fit.Picture = {0, d, wc, hc - d};
  }
  return fit;
}

TQxImage::TQxImage(TControl* parentControl) : TQxWin(parentControl) { Picture = TBitmap::Create(); }

TQxImage::~TQxImage() { Free(Picture); }

void TQxImage::SetPicture(HBITMAP bitmap) {
  if (bitmap != nullptr) Picture->SetHandle(bitmap);
}

void TQxImage::SetPictureResource(HINSTANCE instance, LPCWSTR name) {
  pictureInstance_ = instance;
  pictureName_ = name;
}

void TQxImage::ReadPictureResource() {
  if (pictureName_ == nullptr) return;
  SetPicture(LoadBitmapW(pictureInstance_, pictureName_));
  pictureName_ = nullptr;
}

void TQxImage::SetSmooth(bool smooth) { StretchMode = smooth && IsNtFamily() ? HALFTONE : COLORONCOLOR; }

TImageDrawMethod TQxImage::FitMethod() { return {&DrawFitCode, this}; }

void TQxImage::Init() {
  Control = CreateLabel(ParentControl, {});
  Control->SetSize(40, 40);
  CommonInit();
  Control->SetOnClick({&ClickHandler, this});
  Control->SetOnPaint({&PaintHandler, this});
  // The canvas may be remade later (a font change drops it); the control's own brush keeps the
  // colour for that case.
  Control->GetBrush()->SetColor(Color);
  TCanvas* canvas = Control->GetCanvas();
  if (canvas->Brush == nullptr)
    canvas->SetBrush(Control->GetBrush()->Copy());
  else
    canvas->Brush->SetColor(Color);
  if (AutoSize != 0) ReadPictureResource();
  if (!Picture->Empty() && AutoSize != 0) Control->SetSize(Picture->Width, Picture->Height);
}

void TQxImage::FillWithBackground(HDC dc, const RECT& r) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  if (Control == nullptr) return;
  TGraphicTool* tool = Control->GetCanvas()->Brush;
  if (tool == nullptr) tool = Control->GetBrush();
  HBRUSH brush = tool->GetBrushHandle();
  if (brush != nullptr) ::FillRect(dc, &r, brush);
}

void TQxImage::PaintImage(HDC dc) {
  ReadPictureResource();
  if (Picture->Empty() || DrawMethod.Code == nullptr) {
    FillWithBackground(dc, Control->GetClientRect());
    return;
  }
  DrawMethod.Code(DrawMethod.Object, dc);
}

void TQxImage::DrawFit(HDC dc) {
  const TFitLayout fit =
      FitInside(Control->GetWidth(), Control->GetHeight(), Picture->Width, Picture->Height);
  FillWithBackground(dc, fit.Band1);
  FillWithBackground(dc, fit.Band2);
  SetStretchBltMode(dc, StretchMode);
  if (StretchMode == HALFTONE) SetBrushOrgEx(dc, 0, 0, nullptr);
  Picture->Draw(dc, fit.Picture);
}
