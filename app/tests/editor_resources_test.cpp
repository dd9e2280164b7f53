// The editor's own resources as the program loads them: the compactly stored cube picture gives
// exactly the pixels of the full-colour one, drawn as the image element draws it too, and the icon
// holds an image of every size Windows shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <set>
#include <vector>

#include "platform/bitmap.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;     // 0x00RRGGBB
constexpr std::uint32_t kDarkBlue = 0x000080;  // the cube's lines
constexpr int kPictureWidth = 900;
constexpr int kPictureHeight = 940;

HBITMAP LoadPicture(const char* name) { return LoadBitmapA(GetModuleHandleA(nullptr), name); }

// A top-down 32-bit DIB of the size: rows in screen order, one 0x00RRGGBB word a pixel.
BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// Top-down 0x00RRGGBB pixels of a bitmap as GDI hands them to a 32-bit DIB.
std::vector<std::uint32_t> PixelsOf(HBITMAP bitmap, int width, int height) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  BITMAPINFO info = TopDown32(width, height);
  HDC screen = GetDC(nullptr);
  const int lines = GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (lines != height) pixels.clear();
  for (auto& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

// A 32-bit DIB section to draw into; starts filled with a colour neither picture has.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = TopDown32(width, height);
    dc_ = CreateCompatibleDC(nullptr);
    section_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, section_);
    for (int i = 0; i < width * height; ++i) bits_[i] = 0x00FF00;
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(section_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  std::vector<std::uint32_t> Pixels() const {
    GdiFlush();
    std::vector<std::uint32_t> pixels(bits_, bits_ + width_ * height_);
    for (auto& p : pixels) p &= 0xFFFFFF;
    return pixels;
  }

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP section_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

// The cube picture stretched into the image element's picture rectangle in the editor (a 900x940
// picture fitted into 135x125 leaves it 8..127 wide), in the element's stretch mode.
std::vector<std::uint32_t> DrawnAsInTheEditor(HBITMAP bitmap, int stretchMode) {
  TBitmap* picture = TBitmap::Create();
  picture->SetHandle(bitmap);
  Canvas canvas(135, 125);
  SetStretchBltMode(canvas.dc(), stretchMode);
  SetBrushOrgEx(canvas.dc(), 0, 0, nullptr);
  picture->Draw(canvas.dc(), RECT{8, 0, 127, 125});
  Free(picture);
  return canvas.Pixels();
}

// Where two pictures of one size first differ, for the failure message; -1 when they do not.
int FirstDifference(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (a[i] != b[i]) return static_cast<int>(i);
  return a.size() == b.size() ? -1 : static_cast<int>(std::min(a.size(), b.size()));
}

// --- the cube picture

TEST(CubePicture, LoadsWithExactlyThePixelsOfTheFullColourPicture) {
  HBITMAP picture = LoadPicture("BITMAP0");
  HBITMAP reference = LoadPicture("CUBE_REFERENCE");
  ASSERT_NE(picture, nullptr);
  ASSERT_NE(reference, nullptr);
  BITMAP bm{};
  ASSERT_NE(GetObjectA(picture, sizeof bm, &bm), 0);
  EXPECT_EQ(bm.bmWidth, kPictureWidth);
  EXPECT_EQ(bm.bmHeight, kPictureHeight);
  // A monochrome bitmap would take its two colours from whatever device context it is drawn to.
  EXPECT_GT(bm.bmBitsPixel, 1);

  const auto pixels = PixelsOf(picture, kPictureWidth, kPictureHeight);
  const auto expected = PixelsOf(reference, kPictureWidth, kPictureHeight);
  ASSERT_EQ(pixels.size(), expected.size());
  ASSERT_FALSE(pixels.empty());
  const int at = FirstDifference(pixels, expected);
  EXPECT_EQ(at, -1) << "first at x " << at % kPictureWidth << ", y " << at / kPictureWidth;
  DeleteObject(picture);
  DeleteObject(reference);
}

TEST(CubePicture, ShowsADarkBlueCubeOnWhite) {
  HBITMAP picture = LoadPicture("BITMAP0");
  ASSERT_NE(picture, nullptr);
  const auto pixels = PixelsOf(picture, kPictureWidth, kPictureHeight);
  ASSERT_FALSE(pixels.empty());
  std::size_t blue = 0;
  std::set<std::uint32_t> colours;
  for (std::uint32_t p : pixels) {
    colours.insert(p);
    blue += p == kDarkBlue;
  }
  EXPECT_EQ(colours, (std::set<std::uint32_t>{kWhite, kDarkBlue}));
  // Twelve edges six pixels thick: a few percent of the picture, neither none nor most of it.
  EXPECT_GT(blue, pixels.size() / 50);
  EXPECT_LT(blue, pixels.size() / 10);
  EXPECT_EQ(pixels.front(), kWhite);
  // The front face's upper left corner (8 %, 35 % of the picture).
  EXPECT_EQ(
      pixels[static_cast<std::size_t>(kPictureHeight * 35 / 100) * kPictureWidth + kPictureWidth * 8 / 100],
      kDarkBlue);
  DeleteObject(picture);
}

TEST(CubePicture, DrawsStretchedInTheImageElementJustAsTheFullColourPicture) {
  for (int mode : {HALFTONE, COLORONCOLOR}) {
    HBITMAP picture = LoadPicture("BITMAP0");
    HBITMAP reference = LoadPicture("CUBE_REFERENCE");
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(reference, nullptr);
    const auto drawn = DrawnAsInTheEditor(picture, mode);
    const auto expected = DrawnAsInTheEditor(reference, mode);
    const int at = FirstDifference(drawn, expected);
    EXPECT_EQ(at, -1) << "stretch mode " << mode << ", first at x " << at % 135 << ", y " << at / 135;
    EXPECT_EQ(drawn[60 * 135 + 3], 0x00FF00u) << "drew into the band beside the picture";
  }
}

TEST(CubePicture, IsStoredCompactlyInTheProgram) {
  HRSRC found = FindResourceA(nullptr, "BITMAP0", MAKEINTRESOURCEA(2));  // RT_BITMAP
  ASSERT_NE(found, nullptr);
  const DWORD size = SizeofResource(nullptr, found);
  const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, found)));
  ASSERT_NE(header, nullptr);
  // The full-colour picture took 2.5 MB, most of the program; the plain 4-bit one 423 KB, which
  // put the program over 1 MiB. Run-length encoded, the outline on white takes under 20 KB.
  EXPECT_LT(size, 64u * 1024);
  EXPECT_EQ(header->biBitCount, 4);
  EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RLE4));
}

// --- the program icon

#pragma pack(push, 2)
struct TIconGroupEntry {
  BYTE Width;
  BYTE Height;
  BYTE ColorCount;
  BYTE Reserved;
  WORD Planes;
  WORD BitCount;
  DWORD BytesInRes;
  WORD Id;
};
#pragma pack(pop)

const BYTE* IconGroup() {
  HRSRC found = FindResourceA(nullptr, "MAINICON", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  if (found == nullptr) return nullptr;
  return static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
}

// The icon image Windows picks from the group for this size.
HICON IconForSize(int size, const BYTE** bits = nullptr) {
  const BYTE* group = IconGroup();
  if (group == nullptr) return nullptr;
  const int id = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group), TRUE, size, size, LR_DEFAULTCOLOR);
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3));  // RT_ICON
  if (found == nullptr) return nullptr;
  auto* data = static_cast<BYTE*>(LockResource(LoadResource(nullptr, found)));
  if (bits != nullptr) *bits = data;
  return CreateIconFromResourceEx(data, SizeofResource(nullptr, found), TRUE, 0x00030000, 0, 0,
                                  LR_DEFAULTCOLOR);
}

constexpr int kIconSizes[] = {16, 24, 32, 48, 256};

TEST(ProgramIcon, HoldsOneImageOfEachSizeWindowsShows) {
  const BYTE* group = IconGroup();
  ASSERT_NE(group, nullptr);
  WORD count = 0;
  std::memcpy(&count, group + 4, sizeof count);
  std::multiset<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    TIconGroupEntry entry{};
    std::memcpy(&entry, group + 6 + i * sizeof entry, sizeof entry);
    EXPECT_EQ(entry.Width, entry.Height);
    EXPECT_EQ(entry.BitCount, 32);
    sizes.insert(entry.Width == 0 ? 256 : entry.Width);
  }
  EXPECT_EQ(sizes, (std::multiset<int>(std::begin(kIconSizes), std::end(kIconSizes))));
}

TEST(ProgramIcon, EachSizeIsPickedAndDecodesAtThatSize) {
  for (int size : kIconSizes) {
    const BYTE* bits = nullptr;
    HICON icon = IconForSize(size, &bits);
    ASSERT_NE(icon, nullptr) << size;
    // The large image is PNG, as Windows keeps it; the small ones are bitmaps it draws directly.
    const bool png = std::memcmp(bits, "\x89PNG", 4) == 0;
    EXPECT_EQ(png, size == 256) << size;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info)) << size;
    BITMAP bm{};
    GetObjectA(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, size);
    EXPECT_EQ(bm.bmHeight, size);

    // Drawn on green, it shows white and the cube's dark blue, opaque everywhere.
    Canvas canvas(size, size);
    ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL)) << size;
    std::set<std::uint32_t> colours;
    for (std::uint32_t p : canvas.Pixels()) colours.insert(p);
    EXPECT_EQ(colours, (std::set<std::uint32_t>{kWhite, kDarkBlue})) << size;

    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

}  // namespace
