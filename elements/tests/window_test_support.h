// Test helpers for the window-backed elements: pumping the queue, a parent form, reading files.
#pragma once

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/control.h"

// Dispatches every queued message; a quit message (posted by a closing main form) is dropped.
inline void PumpMessages() {
  MSG msg;
  for (int i = 0; i < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_QUIT) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// A plain form that parents the elements under test.
struct ParentForm {
  TControl* form = CreateFormWindow(nullptr, "Test parent");
  ParentForm() {
    form->SetSize(800, 600);
    form->GetHandle();
  }
  ~ParentForm() { form->Free(); }
};

inline std::string ReadFileBytes(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string TempPath(const char* name) {
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + name;
}
