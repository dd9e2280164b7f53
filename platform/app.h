// Program start-up, the message loop and shutdown of the window layer: the process-wide application
// window and loop state, common-controls initialisation, deferred start procedures, Run/Terminate.
// Must never include runtime/ headers: switching event delivery on is handed in by the caller.
#pragma once

#include <windows.h>
// After <windows.h>: ICC_* for InitCommonControlClasses.
#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "platform/callback.h"

class TControl;
class TStrListEx;

// The application window ("App"); set by the main form element, taken over by Run, cleared by
// Terminate. Messages of windows without an object go to it.
extern TControl* AppWindow;
// True while Run loops; while true the application window's OnMessage sees every window's messages.
extern bool AppRunning;
// Set by the quit message or Terminate; while set no after-message hook runs.
extern bool AppTerminated;

// Start procedures registered during construction, run once in registration order by StartStep.
using TDeferredStart = TCallback<void()>;
extern std::vector<TDeferredStart> DeferredStartList;
void RegisterDeferredStart(void (*proc)(void* data), void* data);

// Message number registered for "inner message" (see InitMainFormWindows).
extern UINT InnerMessageId;
// The main-form windows that receive InnerMessageId; created by InitMainFormWindows.
extern TStrListEx* MainFormWindows;

// Registers the common-control classes of `classes` (ICC_*), e.g. ICC_WIN95_CLASSES.
void InitCommonControlClasses(DWORD classes);
// Creates MainFormWindows and registers InnerMessageId.
void InitMainFormWindows();
// Frees MainFormWindows (exit step).
void FinishMainFormWindows();

// The start step: the application window is shown on creation with the given visibility, event
// delivery is switched on through the callback, then the deferred start list runs and is emptied.
void StartStep(bool visible, void (*switchDeliveryOn)());

// One PeekMessageA; the quit message sets AppTerminated and is not dispatched. Returns false on an
// empty queue or a retrieved message number 0.
bool ProcessOneMessage(TControl* window);
void ProcessMessages(TControl* window);
// The message loop on the application window held by `appWindow`.
void Run(TControl*& appWindow);
// Ends the application window held by `appWindow`.
void Terminate(TControl*& appWindow);
// Ends the process with the exit code.
[[noreturn]] void Halt(std::uint32_t exitCode);
