// The cube view window over cube_view::Paint: a memory picture blitted at WM_PAINT, a background
// that is never erased (the picture covers it), and the turn changed by drags and keys.
#include "elements/cube_view.h"

#include <algorithm>
#include <cmath>

#include "elements/cube_view_paint.h"
#include "elements/form_position.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"

namespace {

constexpr const wchar_t* kWindowClass = L"TessaroCubeView";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
constexpr int kDefaultWidth = 320;
constexpr int kDefaultHeight = 340;
constexpr int kMinSide = 120;
constexpr int kMaxSide = 4000;
// Degrees are kept in tenths: drags and keys move by halves and whole degrees, so nothing is lost.
constexpr double kTurnUnits = 10.0;

bool RegisterViewClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = DefWindowProcW;  // replaced per window once its element is known
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32646));  // IDC_SIZEALL
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0;
  }();
  return registered;
}

// A remembered place is taken only when it has a sane size and shows on some monitor: a screen
// that is gone must not leave the window out of reach.
bool Reachable(const RECT& place) {
  const LONG width = place.right - place.left, height = place.bottom - place.top;
  if (width < kMinSide || height < kMinSide || width > kMaxSide || height > kMaxSide) return false;
  return MonitorFromRect(&place, MONITOR_DEFAULTTONULL) != nullptr;
}

// Beside the form's right edge, where it covers no LED, pushed back onto the form's monitor when
// there is no room there.
RECT DefaultPlace(HWND owner) {
  RECT form{0, 0, 0, 0};
  if (owner != nullptr) GetWindowRect(owner, &form);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  RECT work{0, 0, 1024, 768};
  if (GetMonitorInfoW(MonitorFromRect(&form, MONITOR_DEFAULTTONEAREST), &monitor)) work = monitor.rcWork;
  const LONG left = std::max(work.left, std::min(form.right, work.right - kDefaultWidth));
  const LONG top = std::max(work.top, std::min(form.top, work.bottom - kDefaultHeight));
  return {left, top, left + kDefaultWidth, top + kDefaultHeight};
}

}  // namespace

TQxCubeView::~TQxCubeView() {
  if (window_ != nullptr) DestroyWindow(window_);
}

bool TQxCubeView::Visible() const { return window_ != nullptr && IsWindowVisible(window_) != FALSE; }

void TQxCubeView::inToggle(TData* d, std::uint16_t index) {
  if (Visible())
    Hide();
  else
    inShow(d, index);
}

void TQxCubeView::inShow(TData*, std::uint16_t) {
  if (window_ == nullptr && !Create()) {
    // Out of window or drawing resources: the editor and the effect go on without the view.
    MessageBoxBeside(Owner != nullptr ? Owner->GetHandle() : nullptr,
                     "Не удалось открыть окно «Вид куба»: Windows не хватает ресурсов. Эффект не затронут.",
                     Caption.c_str(), MB_OK | MB_ICONWARNING, nullptr);
    return;
  }
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  SetFocus(window_);
}

void TQxCubeView::inHide(TData*, std::uint16_t) {
  if (Visible()) Hide();
}

void TQxCubeView::inChange(TData*, std::uint16_t) {
  if (Visible()) InvalidateRect(window_, nullptr, FALSE);
}

bool TQxCubeView::Create() {
  if (!RegisterViewClass()) return false;
  const HWND owner = Owner != nullptr ? Owner->GetHandle() : nullptr;
  RECT place{};
  Load(owner, place);
  window_ = CreateWindowExW(kExStyle, kWindowClass, WideFromCp1251(Caption.view()).c_str(), kStyle,
                            place.left, place.top, place.right - place.left, place.bottom - place.top, owner,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window_ == nullptr) return false;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
  return true;
}

void TQxCubeView::Hide() {
  Save();
  dragging_ = false;
  ShowWindow(window_, SW_HIDE);
}

LRESULT CALLBACK TQxCubeView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TQxCubeView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || self->window_ != window) return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT TQxCubeView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the picture covers every pixel
    case WM_PAINT:
      PaintWindow();
      return 0;
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(window_, &client);
      PaintInto(reinterpret_cast<HDC>(wParam), client.right, client.bottom);
      return 0;
    }
    case WM_KEYDOWN:
      if (Key(wParam)) return 0;
      break;
    case WM_LBUTTONDOWN:
      SetFocus(window_);
      SetCapture(window_);
      dragging_ = true;
      dragFrom_ = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_) Drag(lParam);
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) ReleaseCapture();
      dragging_ = false;
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    case WM_CLOSE:
      Hide();
      return 0;
    case WM_DESTROY:
      // The owner going away takes this window with it: the place is kept then too.
      Save();
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      return 0;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

bool TQxCubeView::Key(WPARAM key) {
  switch (key) {
    case VK_LEFT:
      SetTurn(cube::Turned(turn_, cube::TViewKey::Left));
      return true;
    case VK_RIGHT:
      SetTurn(cube::Turned(turn_, cube::TViewKey::Right));
      return true;
    case VK_UP:
      SetTurn(cube::Turned(turn_, cube::TViewKey::Up));
      return true;
    case VK_DOWN:
      SetTurn(cube::Turned(turn_, cube::TViewKey::Down));
      return true;
    case VK_HOME:
      SetTurn(cube::kHomeTurn);
      return true;
    case VK_ESCAPE:
    case VK_F11:
      Hide();
      return true;
  }
  return false;
}

void TQxCubeView::Drag(LPARAM at) {
  const POINT to{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  SetTurn(cube::Dragged(turn_, to.x - dragFrom_.x, to.y - dragFrom_.y));
  dragFrom_ = to;
}

void TQxCubeView::SetTurn(cube::TViewTurn turn) {
  if (turn == turn_) return;
  turn_ = turn;
  InvalidateRect(window_, nullptr, FALSE);
}

void TQxCubeView::PaintWindow() {
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(window_, &paint);
  RECT client{};
  GetClientRect(window_, &client);
  const HDC memory = CreateCompatibleDC(dc);
  if (memory != nullptr) {
    if (!picture_ || pictureSize_.cx != client.right || pictureSize_.cy != client.bottom) {
      picture_.Reset(CreateCompatibleBitmap(dc, std::max(1L, client.right), std::max(1L, client.bottom)));
      pictureSize_ = {client.right, client.bottom};
    }
    const HGDIOBJ old = SelectObject(memory, picture_.Get());
    PaintInto(memory, client.right, client.bottom);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  EndPaint(window_, &paint);
}

void TQxCubeView::PaintInto(HDC dc, int width, int height) {
  // A frame that cannot be read (no link, delivery off at the end) shows a dark cube.
  const cube::TFrameParse frame = cube::ParseFrame(PullStr(nullptr, dataFrame, ByteString()).view());
  cube_view::Paint(dc, width, height, frame.Ok() ? frame.Pattern : cube::TPattern(), turn_);
}

void TQxCubeView::Load(HWND ownerWindow, RECT& place) {
  place = DefaultPlace(ownerWindow);
  std::int32_t left = place.left, top = place.top;
  std::int32_t width = kDefaultWidth, height = kDefaultHeight;
  LoadStoredValue(PositionKey.view(), "ViewLeft", left);
  LoadStoredValue(PositionKey.view(), "ViewTop", top);
  LoadStoredValue(PositionKey.view(), "ViewWidth", width);
  LoadStoredValue(PositionKey.view(), "ViewHeight", height);
  const RECT stored{left, top, left + width, top + height};
  if (Reachable(stored)) place = stored;
  std::int32_t yaw = static_cast<std::int32_t>(cube::kHomeTurn.Yaw * kTurnUnits);
  std::int32_t pitch = static_cast<std::int32_t>(cube::kHomeTurn.Pitch * kTurnUnits);
  LoadStoredValue(PositionKey.view(), "ViewYaw", yaw);
  LoadStoredValue(PositionKey.view(), "ViewPitch", pitch);
  turn_ = cube::Normalized({yaw / kTurnUnits, pitch / kTurnUnits});
}

void TQxCubeView::Save() {
  RECT place{};
  if (window_ == nullptr || IsIconic(window_) || !GetWindowRect(window_, &place)) return;
  SaveStoredValue(PositionKey.view(), "ViewLeft", place.left);
  SaveStoredValue(PositionKey.view(), "ViewTop", place.top);
  SaveStoredValue(PositionKey.view(), "ViewWidth", place.right - place.left);
  SaveStoredValue(PositionKey.view(), "ViewHeight", place.bottom - place.top);
  SaveStoredValue(PositionKey.view(), "ViewYaw",
                  static_cast<std::int32_t>(std::lround(turn_.Yaw * kTurnUnits)));
  SaveStoredValue(PositionKey.view(), "ViewPitch",
                  static_cast<std::int32_t>(std::lround(turn_.Pitch * kTurnUnits)));
}
