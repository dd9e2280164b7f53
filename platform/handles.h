// Owning types for the GDI and USER handles the library makes (and any other handle with a release
// function, such as a registry key): each gives its handle back in its destructor, moves but never
// copies. TShared<H> is the non-owning view for a handle someone else
// gives back (a system icon, a tool's object handed out again).
// Must never give back a handle it did not adopt, nor hold one that is given back elsewhere.
#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

template <class H, class Release>
class TOwned {
 public:
  TOwned() noexcept = default;
  explicit TOwned(H handle) noexcept : Handle(handle) {}
  TOwned(TOwned&& other) noexcept : Handle(other.Detach()) {}
  TOwned& operator=(TOwned&& other) noexcept {
    if (this != &other) Reset(other.Detach());
    return *this;
  }
  TOwned(const TOwned&) = delete;
  TOwned& operator=(const TOwned&) = delete;
  ~TOwned() { Reset(); }

  H Get() const noexcept { return Handle; }
  explicit operator bool() const noexcept { return Handle != nullptr; }
  // Gives the held handle back and adopts `handle`.
  void Reset(H handle = nullptr) noexcept {
    if (Handle != nullptr && Handle != handle) Release{}(Handle);
    Handle = handle;
  }
  // Hands the handle over: the caller gives it back from now on.
  H Detach() noexcept { return std::exchange(Handle, nullptr); }

 private:
  H Handle = nullptr;
};

struct TDeleteGdiObject {
  void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
struct TDestroyIcon {
  void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};

using TOwnedGdiObject = TOwned<HGDIOBJ, TDeleteGdiObject>;
using TOwnedBrush = TOwned<HBRUSH, TDeleteGdiObject>;
using TOwnedPen = TOwned<HPEN, TDeleteGdiObject>;
using TOwnedFont = TOwned<HFONT, TDeleteGdiObject>;
using TOwnedRegion = TOwned<HRGN, TDeleteGdiObject>;
using TOwnedBitmap = TOwned<HBITMAP, TDeleteGdiObject>;
using TOwnedIcon = TOwned<HICON, TDestroyIcon>;

// A handle the holder uses but never gives back.
template <class H>
class TShared {
 public:
  TShared() noexcept = default;
  explicit TShared(H handle) noexcept : Handle(handle) {}
  H Get() const noexcept { return Handle; }
  explicit operator bool() const noexcept { return Handle != nullptr; }

 private:
  H Handle = nullptr;
};

using TSharedIcon = TShared<HICON>;

// How a DC goes back when its holder lets go of it.
enum class TDCRelease : std::uint8_t {
  None,       // borrowed (paint DC, a caller's memory DC)
  ReleaseDC,  // a window DC from GetDC
  DeleteDC,   // a memory DC of its own
};

// A DC of any of the three kinds, given back as its kind says.
class TDC {
 public:
  TDC() noexcept = default;
  TDC(HDC dc, TDCRelease release, HWND window = nullptr)
  noexcept
      : Handle(dc),
        Release(dc != nullptr ? release : TDCRelease::None),
        Window(dc != nullptr ? window : nullptr) {}
  // The DC of `window` (null: the screen), released to it.
  static TDC OfWindow(HWND window) noexcept { return TDC(GetDC(window), TDCRelease::ReleaseDC, window); }
  // A memory DC compatible with `dc` (null: the screen), deleted.
  static TDC Memory(HDC dc) noexcept { return TDC(CreateCompatibleDC(dc), TDCRelease::DeleteDC); }

  TDC(TDC&& other)
  noexcept
      : Handle(std::exchange(other.Handle, nullptr)),
        Release(std::exchange(other.Release, TDCRelease::None)),
        Window(std::exchange(other.Window, nullptr)) {}
  TDC& operator=(TDC&& other) noexcept {
    if (this != &other) {
      GiveBack();
      Handle = std::exchange(other.Handle, nullptr);
      Release = std::exchange(other.Release, TDCRelease::None);
      Window = std::exchange(other.Window, nullptr);
    }
    return *this;
  }
  TDC(const TDC&) = delete;
  TDC& operator=(const TDC&) = delete;
  ~TDC() { GiveBack(); }

  HDC Get() const noexcept { return Handle; }
  explicit operator bool() const noexcept { return Handle != nullptr; }
  TDCRelease ReleaseKind() const noexcept { return Release; }
  HWND ReleaseWindow() const noexcept { return Window; }

 private:
  void GiveBack() noexcept {
    if (Handle == nullptr) return;
    if (Release == TDCRelease::ReleaseDC)
      ReleaseDC(Window, Handle);
    else if (Release == TDCRelease::DeleteDC)
      DeleteDC(Handle);
    Handle = nullptr;
    Release = TDCRelease::None;
    Window = nullptr;
  }

  HDC Handle = nullptr;
  TDCRelease Release = TDCRelease::None;
  HWND Window = nullptr;
};

// Selects `object` into `dc` for the holder's lifetime, then puts the previous one back.
class TSelection {
 public:
  TSelection(HDC dc, HGDIOBJ object) noexcept : DC(dc), Previous(SelectObject(dc, object)) {}
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;
  ~TSelection() { SelectObject(DC, Previous); }

 private:
  HDC DC;
  HGDIOBJ Previous;
};
