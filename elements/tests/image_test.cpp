// Image element: fitting with the aspect kept, centring, background bands, auto size.
#include "elements/image.h"

#include <gtest/gtest.h>

#include "elements/tests/probe.h"
#include "elements/tests/window_test_support.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

HBITMAP SolidBitmap(int width, int height, COLORREF color) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(color);
  RECT r = {0, 0, width, height};
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

// Paints the element into an off-screen surface of the element's size and reads pixels back.
class Surface {
 public:
  Surface(int width, int height) {
    HDC screen = GetDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    RECT r = {0, 0, width, height};
    FillRect(dc_, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~Surface() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y) & 0xFFFFFF; }

 private:
  HBITMAP bitmap_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

class ImageTest : public ::testing::Test {
 protected:
  DeliveryOn delivery;
  ParentForm parent;

  TQxImage* Make(int width, int height, HBITMAP picture) {
    auto* image = new TQxImage(parent.form);
    image->Left = 0;
    image->Top = 0;
    image->Width = width;
    image->Height = height;
    image->Ctl3D = 1;
    image->Color = static_cast<std::int32_t>(kBlue);
    image->DrawMethod = image->FitMethod();
    image->SetPicture(picture);
    image->SetSmooth(true);
    image->Init();
    return image;
  }
};

TEST(FitInsideTest, TooWidePictureGetsBandsAboveAndBelow) {
  const TFitLayout fit = FitInside(100, 200, 50, 50);
  EXPECT_EQ(fit.Picture.left, 0);
  EXPECT_EQ(fit.Picture.top, 50);
  EXPECT_EQ(fit.Picture.right, 100);
  EXPECT_EQ(fit.Picture.bottom, 150);
}

TEST(FitInsideTest, TooTallPictureGetsBandsLeftAndRight) {
  const TFitLayout fit = FitInside(200, 100, 40, 40);
  EXPECT_EQ(fit.Picture.left, 50);
  EXPECT_EQ(fit.Picture.right, 150);
  EXPECT_EQ(fit.Band1.right, 50);
  EXPECT_EQ(fit.Band2.left, 150);
}

TEST(FitInsideTest, EditorPictureInItsImageLeavesEightPixelBands) {
  const TFitLayout fit = FitInside(135, 125, 900, 940);
  EXPECT_EQ(fit.Picture.left, 8);
  EXPECT_EQ(fit.Picture.top, 0);
  EXPECT_EQ(fit.Picture.right, 127);
  EXPECT_EQ(fit.Picture.bottom, 125);
}

TEST(FitInsideTest, SameAspectFillsTheWholeArea) {
  const TFitLayout fit = FitInside(120, 60, 40, 20);
  EXPECT_EQ(fit.Picture.left, 0);
  EXPECT_EQ(fit.Picture.top, 0);
  EXPECT_EQ(fit.Picture.right, 120);
  EXPECT_EQ(fit.Picture.bottom, 60);
  EXPECT_EQ(fit.Band1.bottom - fit.Band1.top, 0);
  EXPECT_EQ(fit.Band2.bottom - fit.Band2.top, 0);
}

TEST_F(ImageTest, SquarePictureInWideElementIsCentredWithSideBands) {
  TQxImage* image = Make(200, 100, SolidBitmap(30, 30, kRed));
  Surface surface(200, 100);
  image->PaintImage(surface.dc());
  EXPECT_EQ(surface.At(0, 50), kBlue);
  EXPECT_EQ(surface.At(49, 50), kBlue);
  EXPECT_EQ(surface.At(50, 0), kRed);
  EXPECT_EQ(surface.At(100, 50), kRed);
  EXPECT_EQ(surface.At(149, 99), kRed);
  EXPECT_EQ(surface.At(150, 50), kBlue);
  EXPECT_EQ(surface.At(199, 50), kBlue);
  delete image;
}

TEST_F(ImageTest, SquarePictureInTallElementIsCentredWithBandsAboveAndBelow) {
  TQxImage* image = Make(100, 200, SolidBitmap(30, 30, kRed));
  Surface surface(100, 200);
  image->PaintImage(surface.dc());
  EXPECT_EQ(surface.At(50, 0), kBlue);
  EXPECT_EQ(surface.At(50, 49), kBlue);
  EXPECT_EQ(surface.At(0, 50), kRed);
  EXPECT_EQ(surface.At(99, 149), kRed);
  EXPECT_EQ(surface.At(50, 150), kBlue);
  EXPECT_EQ(surface.At(50, 199), kBlue);
  delete image;
}

TEST_F(ImageTest, ImageWithoutPicturePaintsOnlyItsBackground) {
  TQxImage* image = Make(60, 40, nullptr);
  Surface surface(60, 40);
  image->PaintImage(surface.dc());
  EXPECT_EQ(surface.At(0, 0), kBlue);
  EXPECT_EQ(surface.At(30, 20), kBlue);
  EXPECT_EQ(surface.At(59, 39), kBlue);
  delete image;
}

TEST_F(ImageTest, AutoSizeTakesThePictureSize) {
  auto* image = new TQxImage(parent.form);
  image->Width = 135;
  image->Height = 125;
  image->AutoSize = 1;
  image->SetPicture(SolidBitmap(90, 94, kRed));
  image->Init();
  EXPECT_EQ(image->Control->GetWidth(), 90);
  EXPECT_EQ(image->Control->GetHeight(), 94);
  delete image;
}

// A system bitmap (OBM_CHECK), there in every process.
const LPCWSTR kSystemBitmap = MAKEINTRESOURCEW(32760);

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  return {info.bmWidth, info.bmHeight};
}

TEST_F(ImageTest, APictureResourceIsReadWhenFirstPaintedAndThenKept) {
  const HBITMAP loaded = LoadBitmapW(nullptr, kSystemBitmap);
  ASSERT_NE(loaded, nullptr);
  const SIZE expected = BitmapSize(loaded);
  DeleteObject(loaded);
  TQxImage* image = Make(60, 40, nullptr);
  image->SetPictureResource(nullptr, kSystemBitmap);
  EXPECT_TRUE(image->Picture->Empty()) << "nothing read before the first paint";
  Surface surface(60, 40);
  image->PaintImage(surface.dc());
  ASSERT_FALSE(image->Picture->Empty());
  EXPECT_EQ(image->Picture->Width, expected.cx);
  EXPECT_EQ(image->Picture->Height, expected.cy);
  const HBITMAP first = image->Picture->Handle.Get();
  image->PaintImage(surface.dc());
  EXPECT_EQ(image->Picture->Handle.Get(), first) << "read once";
  delete image;
}

TEST_F(ImageTest, AutoSizeReadsAPictureResourceAtOnce) {
  auto* image = new TQxImage(parent.form);
  image->Width = 135;
  image->Height = 125;
  image->AutoSize = 1;
  image->SetPictureResource(nullptr, kSystemBitmap);
  image->Init();
  ASSERT_FALSE(image->Picture->Empty());
  EXPECT_EQ(image->Control->GetWidth(), image->Picture->Width);
  EXPECT_EQ(image->Control->GetHeight(), image->Picture->Height);
  delete image;
}

TEST_F(ImageTest, NullPictureHandleChangesNothing) {
  TQxImage* image = Make(50, 50, SolidBitmap(10, 20, kRed));
  image->SetPicture(nullptr);
  EXPECT_EQ(image->Picture->Width, 10);
  EXPECT_EQ(image->Picture->Height, 20);
  delete image;
}

TEST_F(ImageTest, ClickFiresOutClick) {
  TQxImage* image = Make(50, 50, nullptr);
  RecordingSink sink;
  image->outClick = sink.Link();
  SendMessageA(parent.form->Handle, WM_COMMAND, MAKEWPARAM(image->Control->Id, STN_CLICKED),
               reinterpret_cast<LPARAM>(image->Control->Handle));
  ASSERT_EQ(sink.received.size(), 1u);
  EXPECT_EQ(sink.received[0].Kind, dkEmpty);
  delete image;
}

}  // namespace
