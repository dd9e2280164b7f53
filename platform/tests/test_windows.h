// Test helpers over the Windows API, shared by the test programs of every layer, the end-to-end
// drivers and the benchmarks: a window's class and text, the keyboard state, the GDI objects in
// use, files in the temporary folder, and a window kept on top.
#pragma once

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/text_codec.h"

// Shows a window above every other program's windows while it lives, so that the pixels a test
// reads back from it are its own even while other test programs run alongside.
class TShownOnTop {
 public:
  explicit TShownOnTop(HWND window) : window_(window) {
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  ~TShownOnTop() {
    SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  TShownOnTop(const TShownOnTop&) = delete;
  TShownOnTop& operator=(const TShownOnTop&) = delete;

 private:
  HWND window_;
};

inline std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// The whole text, however long (also of another process's top-level window), read in UTF-16 and
// converted by CP1251 itself, so a test sees the program's bytes whatever the locale.
inline std::string WindowText(HWND window) {
  std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 2, L'\0');
  GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  return Cp1251FromWide(text.data());
}

// Marks a key held or released in this thread's keyboard state, as GetKeyState reads it.
inline void SetKeyDown(int key, bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[key] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

inline void ReleaseModifiers() {
  SetKeyDown(VK_SHIFT, false);
  SetKeyDown(VK_CONTROL, false);
  SetKeyDown(VK_MENU, false);
}

// GDI objects in use by this process. Wine answers GetGuiResources with 0, so there the free slots
// of the handle table are counted instead (by filling it once); only differences are meaningful.
inline long GdiObjectsInUse() {
  const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (reported != 0) return static_cast<long>(reported);
  std::vector<HGDIOBJ> probes;
  probes.reserve(70000);
  for (HGDIOBJ probe; (probe = CreateSolidBrush(RGB(9, 9, 9))) != nullptr;) probes.push_back(probe);
  for (HGDIOBJ probe : probes) DeleteObject(probe);
  return -static_cast<long>(probes.size());
}

// `name` in the temporary folder.
inline std::string TempPath(const std::string& name) {
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + name;
}

// Every byte of the file; empty when it cannot be read.
inline std::string ReadFileBytes(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
