// Start-up, message loop and shutdown of the window layer: the process-wide loop state, the
// common-controls initialisation, the deferred start list, Run, Terminate and Halt.
// Never includes runtime/ headers; the runtime's delivery switch comes in as a callback.
#include "platform/app.h"

#include <commctrl.h>

#include <cstdlib>

#include "platform/control.h"
#include "platform/lazy_library.h"
#include "platform/strlist.h"

TControl* AppWindow = nullptr;
bool AppRunning = false;
bool AppTerminated = false;

std::vector<TDeferredStart> DeferredStartList;
UINT InnerMessageId = 0;
TStrListEx* MainFormWindows = nullptr;

void RegisterDeferredStart(void (*proc)(void* data), void* data) {
  if (proc != nullptr) DeferredStartList.push_back({proc, data});
}

void InitCommonControlClasses(DWORD classes) {
  // comctl32 registers all its classes as it loads: it is loaded here, by the first that needs it.
  static const auto init =
      LazyFunction<decltype(&InitCommonControlsEx)>("comctl32.dll", "InitCommonControlsEx");
  const INITCOMMONCONTROLSEX record{sizeof(INITCOMMONCONTROLSEX), classes};
  if (init != nullptr) init(&record);
}

void InitMainFormWindows() {
  if (MainFormWindows == nullptr) MainFormWindows = TStrListEx::Create();
  InnerMessageId = RegisterWindowMessageW(L"inner message");
}

void FinishMainFormWindows() {
  Free(MainFormWindows);
  MainFormWindows = nullptr;
}

void StartStep(bool visible, void (*switchDeliveryOn)()) {
  if (AppWindow != nullptr) {
    AppWindow->CreateVisible = true;
    AppWindow->SetVisible(visible);
  }
  if (switchDeliveryOn != nullptr) switchDeliveryOn();
  // A start procedure may register another: it runs too, after the earlier ones.
  for (std::size_t i = 0; i < DeferredStartList.size(); ++i) {
    const TDeferredStart entry = DeferredStartList[i];
    entry();
  }
  DeferredStartList.clear();
}

namespace {

// One message; `quit` tells whether it was the quit message.
bool TakeOneMessage(TControl* window, bool& quit) {
  MSG msg;
  quit = false;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    AppTerminated = true;
    quit = true;
  } else if (window == nullptr || window->MessageFilter == nullptr || !window->MessageFilter(window, msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return msg.message != 0;
}

}  // namespace

bool ProcessOneMessage(TControl* window) {
  bool quit = false;
  return TakeOneMessage(window, quit);
}

void ProcessMessages(TControl* window) {
  // The quit message ends the batch: messages queued behind it are not dispatched.
  bool quit = false;
  while (TakeOneMessage(window, quit) && !quit) {
  }
}

void Run(TControl*& appWindow) {
  AppRunning = true;
  AppWindow = appWindow;
  if (AppWindow != nullptr) AppWindow->CreateWindowHandle();
  while (!AppTerminated) {
    WaitMessage();
    ProcessMessages(AppWindow);
  }
  if (appWindow != nullptr) Terminate(appWindow);
}

void Terminate(TControl*& appWindow) {
  const bool alreadyTerminated = AppTerminated;
  AppTerminated = true;
  AppRunning = false;
  TControl* window = AppWindow;
  AppWindow = nullptr;
  if (window == nullptr) return;
  window->AddRef();
  if (!alreadyTerminated) {
    ProcessMessages(window);
    if (HWND handle = window->GetHandle()) SendMessageW(handle, WM_CLOSE, 0, 0);
  }
  appWindow = nullptr;
  window->Free();
  window->Release();
}

void Halt(std::uint32_t exitCode) { std::exit(static_cast<int>(exitCode)); }
