// The outside driver of the cube editor program (see editor_driver.h).
#include "app/tests/e2e/editor_driver.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/tests/test_windows.h"
#include "platform/text_codec.h"

namespace e2e {

namespace {

constexpr DWORD kPollMs = 1;

std::string ModuleDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path);
  return p.substr(0, p.find_last_of("\\/") + 1);
}

// A build path of the host ("/work/...") as Wine's drive Z: sees it.
std::string AsWindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool SamePlace(const TPlace& a, const TPlace& b) {
  return a.Left == b.Left && a.Top == b.Top && a.Width == b.Width && a.Height == b.Height;
}

// A top-level window of one process by its caption (the stored one: read without asking the
// program, which may be busy).
struct TWindowSearch {
  DWORD processId;
  const std::string* caption;
  bool shownOnly;
  bool withClientArea;  // the application window carries the editor's caption but no client area
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TWindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || (search->shownOnly && !IsWindowVisible(window))) return TRUE;
  wchar_t wide[128] = {};
  GetWindowTextW(window, wide, 128);
  if (Cp1251FromWide(wide) != *search->caption) return TRUE;
  RECT client{};
  GetClientRect(window, &client);
  if (search->withClientArea && (client.right <= 0 || client.bottom <= 0)) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

INPUT MouseInput(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = flags;
  return input;
}

INPUT KeyInput(WORD virtualKey, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = flags;
  return input;
}

// The GUI state of the thread that owns the window: its focus and mouse capture.
std::optional<GUITHREADINFO> GuiThreadOf(HWND window) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  if (window == nullptr || !GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui))
    return std::nullopt;
  return gui;
}

}  // namespace

const std::string& EditorCaption() {
  static const std::string caption = " НОМЕРА СВЕТОДИОДОВ ДЛЯ ЭФФЕКТА";
  return caption;
}

std::string EditorProgramPath() {
#ifdef CUBE_EDITOR_EXE
  const std::string built = AsWindowsPath(CUBE_EDITOR_EXE);
  if (FileExists(built)) return built;
#endif
  return ModuleDir() + "cube_editor.exe";
}

std::string MakeFreshTempDir() {
  char base[MAX_PATH] = {};
  if (GetTempPathA(MAX_PATH, base) == 0) return {};
  for (unsigned attempt = 0; attempt < 1000; ++attempt) {
    const std::string dir = std::string(base) + "cube_e2e_" + std::to_string(GetCurrentProcessId()) + "_" +
                            std::to_string(GetTickCount()) + "_" + std::to_string(attempt);
    if (CreateDirectoryA(dir.c_str(), nullptr)) return dir;
  }
  return {};
}

void RemoveDirTree(const std::string& dir) {
  if (dir.empty()) return;
  WIN32_FIND_DATAA entry{};
  HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = dir + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryA(dir.c_str());
}

std::uint32_t TScreenShot::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFF;
  const std::uint32_t rgb = pixels_[static_cast<std::size_t>(y) * width_ + x] & 0xFFFFFF;
  return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16);
}

TEditorProcess::TEditorProcess(std::string workDir, std::string program)
    : program_(std::move(program)), workDir_(std::move(workDir)) {
  if (workDir_.empty()) {
    workDir_ = MakeFreshTempDir();
    ownsWorkDir_ = !workDir_.empty();
  }
}

TEditorProcess::~TEditorProcess() {
  Kill();
  if (info_.hThread != nullptr) CloseHandle(info_.hThread);
  if (info_.hProcess != nullptr) CloseHandle(info_.hProcess);
  if (ownsWorkDir_) RemoveDirTree(workDir_);
}

bool TEditorProcess::Start(DWORD timeoutMs) { return Launch(timeoutMs, nullptr); }

bool TEditorProcess::StartWithMemoText(const std::string& text, DWORD timeoutMs) {
  return Launch(timeoutMs, &text);
}

bool TEditorProcess::StartPastFirstTick(DWORD timeoutMs) {
  const std::string marker = "before the first tick";
  if (!StartWithMemoText(marker, timeoutMs)) return false;
  if (WaitMemoText("", timeoutMs)) return true;
  error_ = MemoText() == marker ? "the first tick did not clear the effect text"
                                : "the effect text changed unexpectedly before the first tick";
  return false;
}

HWND TEditorProcess::FindMemoEarly() const {
  TWindowSearch search{info_.dwProcessId, &EditorCaption(), false, true, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return nullptr;
  for (HWND child = GetWindow(search.found, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r{};
    GetWindowRect(child, &r);
    POINT corner{r.left, r.top};
    MapWindowPoints(nullptr, search.found, &corner, 1);
    if (corner.x == kEffectMemoPlace.Left && corner.y == kEffectMemoPlace.Top &&
        r.right - r.left == kEffectMemoPlace.Width && (GetWindowLongA(child, GWL_STYLE) & ES_MULTILINE) != 0)
      return child;
  }
  return nullptr;
}

bool TEditorProcess::Spawn() {
  if (info_.hProcess != nullptr) {
    error_ = "already started";
    return false;
  }
  if (!FileExists(program_)) {
    error_ = "no program at " + program_;
    return false;
  }
  std::string command = "\"" + program_ + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  // Wine on a loaded machine now and then fails a process start with ERROR_INTERNAL_ERROR before the
  // program runs a single instruction; that is the host's hiccup, not the editor's, so it is tried again.
  constexpr int kAttempts = 3;
  for (int attempt = 1;; ++attempt) {
    if (CreateProcessA(program_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       workDir_.empty() ? nullptr : workDir_.c_str(), &startup, &info_))
      return true;
    const DWORD code = GetLastError();
    info_ = {};
    if (code != ERROR_INTERNAL_ERROR || attempt == kAttempts) {
      error_ = "CreateProcess failed with " + std::to_string(code) + " for " + program_;
      return false;
    }
    Sleep(100);  // a moment for the host's load to pass
  }
}

bool TEditorProcess::WaitReady(DWORD timeoutMs) { return WaitReadyMarkingMemo(timeoutMs, nullptr); }

bool TEditorProcess::Launch(DWORD timeoutMs, const std::string* earlyMemoText) {
  return Spawn() && WaitReadyMarkingMemo(timeoutMs, earlyMemoText);
}

bool TEditorProcess::WaitReadyMarkingMemo(DWORD timeoutMs, const std::string* earlyMemoText) {
  if (info_.hProcess == nullptr) {
    error_ = "not started";
    return false;
  }
  const DWORD start = GetTickCount();
  bool memoTextSet = earlyMemoText == nullptr;
  while (GetTickCount() - start < timeoutMs) {
    if (!Running()) {
      error_ = "the program ended before its window was shown";
      return false;
    }
    if (!memoTextSet) {
      if (HWND memo = FindMemoEarly()) memoTextSet = SetTextOf(memo, *earlyMemoText);
    }
    if (memoTextSet && FindWindowAndControls() && Sync(timeoutMs)) return true;
    Sleep(kPollMs);
  }
  error_ = window_ == nullptr ? "no visible editor window within the time" : "not every control was found";
  return false;
}

HWND TEditorProcess::FindShownWindow() const {
  TWindowSearch search{info_.dwProcessId, &EditorCaption(), true, true, nullptr};
  if (info_.hProcess != nullptr) EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND TEditorProcess::TopWindowTitled(const std::string& caption, bool shownOnly) const {
  TWindowSearch search{info_.dwProcessId, &caption, shownOnly, false, nullptr};
  if (info_.hProcess != nullptr) EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool TEditorProcess::Running() const {
  return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool TEditorProcess::FindWindowAndControls() {
  HWND shown = FindShownWindow();
  if (shown == nullptr) return false;
  window_ = shown;

  std::vector<HWND> children;
  EnumChildWindows(window_, CollectChild, reinterpret_cast<LPARAM>(&children));
  std::fill(leds_.begin(), leds_.end(), nullptr);
  frameEdit_ = effectMemo_ = resetButton_ = saveButton_ = nullptr;
  for (HWND child : children) {
    if (GetParent(child) != window_) continue;
    const std::optional<TPlace> place = PlaceOf(child);
    if (!place) continue;
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    const std::string className = ClassOf(child);
    const bool isEdit =
        className.find("EDIT") != std::string::npos || className.find("Edit") != std::string::npos;
    if (isEdit && SamePlace(*place, kFrameEditPlace) && (style & ES_MULTILINE) == 0) frameEdit_ = child;
    if (isEdit && SamePlace(*place, kEffectMemoPlace) && (style & ES_MULTILINE) != 0) effectMemo_ = child;
    if (!isEdit && place->Width == place->Height && place->Width >= 15 && place->Width <= 40) {
      for (int n = 1; n <= kLedCount; ++n)
        if (SamePlace(*place, LedPlace(n))) leds_[n - 1] = child;
    }
  }
  const std::string resetCaption = "СБРОС КАДРА";
  const std::string saveCaption = "СОХРАНЕНИЕ ЭФФЕКТА В ФАЙЛ";
  resetButton_ = ChildByText(resetCaption);
  saveButton_ = ChildByText(saveCaption);
  const bool allLeds = std::none_of(leds_.begin(), leds_.end(), [](HWND w) { return w == nullptr; });
  return allLeds && frameEdit_ != nullptr && effectMemo_ != nullptr && resetButton_ != nullptr &&
         saveButton_ != nullptr;
}

HWND TEditorProcess::ChildByText(const std::string& text) const {
  if (window_ == nullptr) return nullptr;
  for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (TextOf(child) == text) return child;
  }
  return nullptr;
}

std::optional<TPlace> TEditorProcess::PlaceOf(HWND child) const {
  RECT r{};
  if (window_ == nullptr || !GetWindowRect(child, &r)) return std::nullopt;
  POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
  MapWindowPoints(nullptr, window_, corners, 2);
  return TPlace{corners[0].x, corners[0].y, corners[1].x - corners[0].x, corners[1].y - corners[0].y};
}

std::string TEditorProcess::TextOf(HWND window) const { return e2e::WindowText(window); }

HWND FindTopWindow(const char* windowClass, const char* title) {
  return FindWindowW(WideFromCp1251(windowClass).c_str(), WideFromCp1251(title).c_str());
}

std::string WindowText(HWND window) { return Cp1251FromWide(WideWindowText(window)); }

std::wstring WideWindowText(HWND window) {
  if (window == nullptr) return {};
  DWORD_PTR length = 0;
  // WM_GETTEXT itself: GetWindowText of another process's window answers only its stored caption.
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length)) return {};
  std::vector<wchar_t> text(length + 2, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_NORMAL, 5000, &copied))
    return {};
  return std::wstring(text.data(), std::min<std::size_t>(copied, text.size()));
}

bool TEditorProcess::SetTextOf(HWND window, const std::string& text) const {
  DWORD_PTR result = 0;
  return window != nullptr &&
         SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WideFromCp1251(text).c_str()),
                             SMTO_NORMAL, 5000, &result) != 0;
}

bool TEditorProcess::WaitText(HWND window, const std::string& expected, DWORD timeoutMs) const {
  const DWORD start = GetTickCount();
  do {
    if (TextOf(window) == expected) return true;
    Sleep(kPollMs);
  } while (GetTickCount() - start < timeoutMs && Running());
  return TextOf(window) == expected;
}

bool TEditorProcess::WaitFrameText(const std::string& expected, DWORD timeoutMs) const {
  return WaitText(frameEdit_, expected, timeoutMs);
}

bool TEditorProcess::WaitMemoText(const std::string& expected, DWORD timeoutMs) const {
  return WaitText(effectMemo_, expected, timeoutMs);
}

std::intptr_t TEditorProcess::ClearingTicks() const {
  return window_ == nullptr ? 0 : reinterpret_cast<std::intptr_t>(GetPropW(window_, L"CubeClearingTicks"));
}

bool TEditorProcess::WaitClearingTicks(std::intptr_t count, DWORD timeoutMs) const {
  for (const DWORD start = GetTickCount(); ClearingTicks() < count; Sleep(10))
    if (GetTickCount() - start >= timeoutMs || !Running()) return false;
  return Sync();
}

bool TEditorProcess::Sync(DWORD timeoutMs) const {
  // Each round trip is answered inside one PeekMessage of the program, which then takes at most
  // one queued message; so input queued before the first round has been dispatched after a few.
  for (int round = 0; round < 12; ++round) {
    DWORD_PTR result = 0;
    if (window_ == nullptr || !SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result))
      return false;
  }
  return true;
}

bool TEditorProcess::BringToFront() const {
  if (window_ == nullptr) return false;
  if (GetForegroundWindow() != window_) {
    SetForegroundWindow(window_);
    BringWindowToTop(window_);
  }
  return true;
}

bool TEditorProcess::ClientToScreenPoint(HWND child, int x, int y, POINT& screen) const {
  screen = {x, y};
  return child != nullptr && ClientToScreen(child, &screen);
}

// Each input is queued on its own, and under Wine the program's display driver may meanwhile set the
// cursor back to where an earlier move left it. Button events that carry their own position cannot
// land there (the lost click became a double click on the previous LED).
std::optional<INPUT> TEditorProcess::MouseAt(POINT screen, DWORD buttons) {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (width <= 1 || height <= 1) return std::nullopt;
  // Absolute coordinates run 0..65535 over the virtual screen; aim at the pixel's middle.
  const LONG dx = static_cast<LONG>(((screen.x - left) * 65536LL + 32768) / width);
  const LONG dy = static_cast<LONG>(((screen.y - top) * 65536LL + 32768) / height);
  return MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | buttons, dx, dy);
}

bool TEditorProcess::SendMouseClicks(const std::vector<TClicksAt>& bursts) const {
  std::vector<INPUT> inputs;
  for (const TClicksAt& burst : bursts) {
    const DWORD down = burst.Right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    const DWORD up = burst.Right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    const std::optional<INPUT> move = MouseAt(burst.At, 0);
    if (!move) return false;
    inputs.push_back(*move);
    for (int i = 0; i < burst.Times; ++i) {
      inputs.push_back(*MouseAt(burst.At, down));
      inputs.push_back(*MouseAt(burst.At, up));
    }
  }
  const auto count = static_cast<UINT>(inputs.size());
  return count > 0 && SendInput(count, inputs.data(), sizeof(INPUT)) == count;
}

bool TEditorProcess::LeftButtonAt(HWND child, int x, int y, bool down) {
  POINT screen{};
  if (!BringToFront() || !ClientToScreenPoint(child, x, y, screen)) return false;
  std::optional<INPUT> input = MouseAt(screen, down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
  return input && SendInput(1, &*input, sizeof(INPUT)) == 1;
}

bool TEditorProcess::SendMouseClickAt(POINT screen) const { return SendMouseClicks({{screen, 1}}); }

bool TEditorProcess::ParkMouse() const {
  POINT screen{};
  return ClientToScreenPoint(window_, 2, 2, screen) && SendMouseClicks({{screen, 0}});
}

bool TEditorProcess::RightClickAt(HWND child, int x, int y) {
  POINT screen{};
  return BringToFront() && ClientToScreenPoint(child, x, y, screen) && SendMouseClicks({{screen, 1, true}});
}

HWND TEditorProcess::WaitPopupMenu(DWORD timeoutMs) const {
  for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(kPollMs)) {
    // The system's popup menus are of the class "#32768".
    for (HWND menu = FindWindowExA(nullptr, nullptr, "#32768", nullptr); menu != nullptr;
         menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(menu, &owner);
      if (owner == info_.dwProcessId && IsWindowVisible(menu)) return menu;
    }
  }
  return nullptr;
}

bool TEditorProcess::HoverAt(HWND child, int x, int y) {
  POINT screen{};
  return BringToFront() && ClientToScreenPoint(child, x, y, screen) && SendMouseClicks({{screen, 0}});
}

namespace {

struct TTooltipSearch {
  DWORD ProcessId;
  const TEditorProcess* Editor;
  const std::string* Text;
  bool Found;
};

BOOL CALLBACK FindShownTooltip(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<TTooltipSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.ProcessId || !IsWindowVisible(window) || ClassOf(window) != "tooltips_class32")
    return TRUE;
  search.Found = search.Editor->TextOf(window) == *search.Text;
  return search.Found ? FALSE : TRUE;
}

}  // namespace

bool TEditorProcess::WaitTooltipShowing(const std::string& text, DWORD timeoutMs) const {
  TTooltipSearch search{ProcessId(), this, &text, false};
  const DWORD start = GetTickCount();
  do {
    EnumWindows(FindShownTooltip, reinterpret_cast<LPARAM>(&search));
    if (search.Found) return true;
    Sleep(kPollMs);
  } while (GetTickCount() - start < timeoutMs && Running());
  return false;
}

HWND TEditorProcess::CaptureWindow() const {
  const std::optional<GUITHREADINFO> gui = GuiThreadOf(window_);
  return gui ? gui->hwndCapture : nullptr;
}

bool TEditorProcess::WaitCaptureReleased(DWORD timeoutMs) const {
  const DWORD start = GetTickCount();
  while (CaptureWindow() != nullptr) {
    if (GetTickCount() - start >= timeoutMs || !Running()) return false;
    Sleep(kPollMs);
  }
  return true;
}

bool TEditorProcess::ClickAt(HWND child, int x, int y) {
  POINT screen{};
  if (!BringToFront() || !ClientToScreenPoint(child, x, y, screen)) return false;
  // A button notifies its click before it lets go of the mouse: a click sent meanwhile would go to it.
  WaitCaptureReleased(1000);
  // A click that would land on another window must not be sent at all.
  if (child == lastClicked_ && std::abs(screen.x - lastClickAt_.x) < GetSystemMetrics(SM_CXDOUBLECLK)) {
    RECT client{};
    GetClientRect(child, &client);
    const int aside = GetSystemMetrics(SM_CXDOUBLECLK);
    screen.x += x + aside < client.right ? aside : -aside;
  }
  // A hint shown for the control clicked before may cover this one: the mouse leaving that control
  // takes the hint away.
  const auto uncovered = [&] {
    HWND hit = WindowFromPoint(screen);
    return hit == child || IsChild(child, hit);
  };
  if (!uncovered()) SetCursorPos(screen.x, screen.y);
  for (const DWORD start = GetTickCount(); !uncovered(); Sleep(kPollMs))
    if (GetTickCount() - start >= 5000 || !Running()) return false;
  if (!SendMouseClickAt(screen)) return false;
  lastClicked_ = child;
  lastClickAt_ = screen;
  return true;
}

bool TEditorProcess::ClickLed(int n, DWORD timeoutMs) {
  HWND led = Led(n);
  RECT client{};
  if (led == nullptr || !GetClientRect(led, &client)) return false;
  const std::string before = FrameText();
  if (!ClickAt(led, client.right / 2, client.bottom / 2)) return false;
  // Every change of one LED changes the frame string, so a changed text means the click was handled.
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs && Running()) {
    if (FrameText() != before) return true;
    Sleep(kPollMs);
  }
  return false;
}

bool TEditorProcess::LedCentre(int n, POINT& screen) const {
  HWND led = Led(n);
  RECT client{};
  // A point covered by another window would click that one.
  return led != nullptr && GetClientRect(led, &client) &&
         ClientToScreenPoint(led, client.right / 2, client.bottom / 2, screen) &&
         WindowFromPoint(screen) == led;
}

bool TEditorProcess::ClickLedQuickly(int n, int times, int thenLed) {
  POINT at{}, then{};
  if (times < 1 || thenLed == n || !BringToFront() || !LedCentre(n, at) || !LedCentre(thenLed, then))
    return false;
  WaitCaptureReleased(1000);
  if (!SendMouseClicks({{at, times}, {then, 1}})) return false;
  lastClicked_ = Led(thenLed);
  lastClickAt_ = then;
  return true;
}

bool TEditorProcess::ClickLedOnTheSameSpot(int n, DWORD timeoutMs) {
  HWND led = Led(n);
  RECT client{};
  POINT screen{};
  if (led == nullptr || !GetClientRect(led, &client) || !BringToFront() ||
      !ClientToScreenPoint(led, client.right / 2, client.bottom / 2, screen))
    return false;
  if (lastClicked_ == led) screen = lastClickAt_;
  const std::string before = FrameText();
  if (WindowFromPoint(screen) != led || !SendMouseClickAt(screen)) return false;
  lastClicked_ = led;
  lastClickAt_ = screen;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs && Running()) {
    if (FrameText() != before) return true;
    Sleep(kPollMs);
  }
  return false;
}

bool TEditorProcess::PostClickLed(int n) {
  HWND led = Led(n);
  RECT client{};
  if (led == nullptr || !GetClientRect(led, &client)) return false;
  const LPARAM at = MAKELPARAM(client.right / 2, client.bottom / 2);
  return PostMessageA(led, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageA(led, WM_LBUTTONUP, 0, at);
}

bool TEditorProcess::ClickButton(HWND button, DWORD timeoutMs) {
  RECT client{};
  if (button == nullptr || !GetClientRect(button, &client)) return false;
  if (!ClickAt(button, client.right / 2, client.bottom / 2)) return false;
  // The button holds the mouse from its button-down to just after its click has been handled. A
  // modal window opened by the click may keep it longer, so this wait is short and not required.
  const DWORD start = GetTickCount();
  while (CaptureWindow() != button && GetTickCount() - start < 200 && Running()) Sleep(kPollMs);
  WaitCaptureReleased(1000);
  return Sync(timeoutMs);
}

HWND TEditorProcess::FocusWindow() const {
  const std::optional<GUITHREADINFO> gui = GuiThreadOf(window_);
  return gui ? gui->hwndFocus : nullptr;
}

bool TEditorProcess::SendKeys(const std::vector<INPUT>& inputs) {
  if (!BringToFront()) return false;
  const auto count = static_cast<UINT>(inputs.size());
  return SendInput(count, const_cast<INPUT*>(inputs.data()), sizeof(INPUT)) == count;
}

bool TEditorProcess::PressKey(WORD virtualKey) {
  return SendKeys({KeyInput(virtualKey, 0), KeyInput(virtualKey, KEYEVENTF_KEYUP)});
}

bool TEditorProcess::WaitFocus(HWND window, DWORD timeoutMs) const {
  const DWORD start = GetTickCount();
  while (FocusWindow() != window) {
    if (GetTickCount() - start >= timeoutMs || !Running()) return false;
    Sleep(kPollMs);
  }
  return true;
}

bool TEditorProcess::FocusByClick(HWND child, int x, int y, DWORD timeoutMs) {
  if (FocusWindow() == child) return true;
  return ClickAt(child, x, y) && WaitFocus(child, timeoutMs) && Sync(timeoutMs);
}

bool TEditorProcess::FocusFrameEdit(DWORD timeoutMs) {
  RECT client{};
  return frameEdit_ != nullptr && GetClientRect(frameEdit_, &client) &&
         FocusByClick(frameEdit_, client.right - 3, client.bottom / 2, timeoutMs);
}

HWND TEditorProcess::ChildAtPlace(const TPlace& place) const {
  if (window_ == nullptr) return nullptr;
  for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::optional<TPlace> at = PlaceOf(child);
    if (at && SamePlace(*at, place)) return child;
  }
  return nullptr;
}

bool TEditorProcess::PressKeyWith(WORD modifier, WORD virtualKey) {
  return SendKeys({KeyInput(modifier, 0), KeyInput(virtualKey, 0), KeyInput(virtualKey, KEYEVENTF_KEYUP),
                   KeyInput(modifier, KEYEVENTF_KEYUP)});
}

bool TEditorProcess::PressKeyWith(WORD modifier, WORD secondModifier, WORD virtualKey) {
  return SendKeys({KeyInput(modifier, 0), KeyInput(secondModifier, 0), KeyInput(virtualKey, 0),
                   KeyInput(virtualKey, KEYEVENTF_KEYUP), KeyInput(secondModifier, KEYEVENTF_KEYUP),
                   KeyInput(modifier, KEYEVENTF_KEYUP)});
}

bool TEditorProcess::DoubleClickAt(HWND child, int x, int y) {
  POINT screen{};
  if (!BringToFront() || !ClientToScreenPoint(child, x, y, screen)) return false;
  WaitCaptureReleased(1000);
  HWND hit = WindowFromPoint(screen);
  if (hit != child && !IsChild(child, hit)) return false;
  if (!SendMouseClickAt(screen) || !SendMouseClickAt(screen)) return false;
  // The next single click on this window must not make a third of these.
  lastClicked_ = child;
  lastClickAt_ = screen;
  return true;
}

bool TEditorProcess::PressEnterInFrameEdit(DWORD timeoutMs) {
  if (!FocusFrameEdit(timeoutMs) || !Sync(timeoutMs)) return false;
  const bool hadText = !FrameText().empty();
  if (!PressKey(VK_RETURN)) return false;
  if (hadText) {
    // The edit empties itself once it has recorded its text.
    const DWORD start = GetTickCount();
    while (!FrameText().empty()) {
      if (GetTickCount() - start >= timeoutMs || !Running()) return false;
      Sleep(kPollMs);
    }
  }
  return Sync(timeoutMs);
}

bool CaptureClient(HWND window, int& width, int& height, std::vector<std::uint32_t>& pixels) {
  RECT client{};
  POINT origin{0, 0};
  if (window == nullptr || !GetClientRect(window, &client) || !ClientToScreen(window, &origin)) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = client.right;
  info.bmiHeader.biHeight = -client.bottom;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool taken = false;
  if (dib != nullptr && bits != nullptr) {
    HGDIOBJ old = SelectObject(memory, dib);
    if (BitBlt(memory, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY)) {
      GdiFlush();
      const auto* first = static_cast<const std::uint32_t*>(bits);
      pixels.assign(first, first + static_cast<std::size_t>(client.right) * client.bottom);
      width = client.right;
      height = client.bottom;
      taken = true;
    }
    SelectObject(memory, old);
    DeleteObject(dib);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return taken;
}

TScreenShot TEditorProcess::ScreenShot() const {
  TScreenShot shot;
  CaptureClient(window_, shot.width_, shot.height_, shot.pixels_);
  return shot;
}

bool TEditorProcess::Close() { return window_ != nullptr && PostMessageA(window_, WM_CLOSE, 0, 0) != 0; }

std::optional<DWORD> TEditorProcess::WaitExit(DWORD timeoutMs) {
  if (info_.hProcess == nullptr || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

void TEditorProcess::Kill() {
  if (!Running()) return;
  TerminateProcess(info_.hProcess, 1);
  WaitForSingleObject(info_.hProcess, 5000);
}

}  // namespace e2e
