// The cube view driver over top-level window enumeration, screen blits and SendInput.
#include "app/tests/e2e/cube_view_driver.h"

namespace e2e {

namespace {

constexpr DWORD kPollMs = 2;

INPUT Key(WORD virtualKey, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.dwFlags = flags;
  return input;
}

}  // namespace

const std::string& CubeViewCaption() {
  static const std::string caption = "Вид куба";
  return caption;
}

void ForgetCubeView() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\TESSARO", 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  for (const char* name : {"ViewLeft", "ViewTop", "ViewWidth", "ViewHeight", "ViewYaw", "ViewPitch"})
    RegDeleteValueA(key, name);
  RegCloseKey(key);
}

std::uint32_t TViewShot::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width || y >= Height) return 0xFFFFFFFF;
  const std::uint32_t rgb = Pixels[static_cast<std::size_t>(y) * Width + x];
  return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

HWND TCubeViewDriver::Find() const { return editor_.TopWindowTitled(CubeViewCaption()); }

HWND TCubeViewDriver::WaitShown(bool shown, DWORD timeoutMs) const {
  for (const DWORD start = GetTickCount();;) {
    const HWND view = Find();
    const bool visible = view != nullptr && IsWindowVisible(view);
    if (visible == shown) return view;
    if (GetTickCount() - start >= timeoutMs || !editor_.Running()) return nullptr;
    Sleep(kPollMs);
  }
}

TViewShot TCubeViewDriver::Shot() const {
  TViewShot shot;
  CaptureClient(Find(), shot.Width, shot.Height, shot.Pixels);
  return shot;
}

TViewShot TCubeViewDriver::WaitShot(const std::function<bool(const TViewShot&)>& ready,
                                    DWORD timeoutMs) const {
  TViewShot shot;
  for (const DWORD start = GetTickCount();;) {
    shot = Shot();
    if (shot.Valid() && ready(shot)) return shot;
    if (GetTickCount() - start >= timeoutMs || !editor_.Running()) return shot;
    Sleep(kPollMs);
  }
}

bool TCubeViewDriver::PressKey(WORD virtualKey) {
  const HWND view = Find();
  if (view == nullptr) return false;
  if (GetForegroundWindow() != view) SetForegroundWindow(view);
  for (const DWORD start = GetTickCount(); GetForegroundWindow() != view; Sleep(kPollMs))
    if (GetTickCount() - start >= 5000) return false;
  INPUT keys[2] = {Key(virtualKey, 0), Key(virtualKey, KEYEVENTF_KEYUP)};
  return SendInput(2, keys, sizeof(INPUT)) == 2;
}

RECT TCubeViewDriver::Place() const {
  RECT place{};
  if (const HWND view = Find()) GetWindowRect(view, &place);
  return place;
}

}  // namespace e2e
