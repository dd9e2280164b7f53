// Test helpers that run this thread's message queue: every test program and benchmark uses these
// instead of a loop of its own, so that all of them treat the quit message alike.
//
// The quit message: a closing main form posts one. PumpMessages and PumpFor take it off the queue
// and count it, never leave it queued, since a quit message left behind ends the next modal loop
// of the test (a message box, a file dialog) at once. DiscardMessages drops it with the rest.
#pragma once

#include <windows.h>

#include <functional>

namespace test_pump_detail {

// A window that never validates its paint keeps WM_PAINT coming: a batch stops after this many.
inline constexpr int kBatchLimit = 10000;

// Dispatches queued messages until the queue is empty, `done` holds or the batch limit is reached;
// adds the quit messages taken to `quits`.
inline void RunBatch(const std::function<bool()>& done, int& quits) {
  MSG msg;
  for (int i = 0; i < kBatchLimit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_QUIT) {
      ++quits;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    if (done && done()) return;
  }
}

}  // namespace test_pump_detail

// Dispatches every queued message; returns the number of quit messages taken off the queue.
inline int PumpMessages() {
  int quits = 0;
  test_pump_detail::RunBatch(nullptr, quits);
  return quits;
}

// Dispatches messages, waiting for new ones, until `done` holds or `milliseconds` have passed.
// The time only bounds a wait that went wrong: callers assert on what `done` looks at, never on
// how long it took. Returns the number of quit messages taken off the queue.
inline int PumpFor(
    DWORD milliseconds, const std::function<bool()>& done = [] { return false; }) {
  int quits = 0;
  const DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < milliseconds) {
    test_pump_detail::RunBatch(done, quits);
    if (done()) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return quits;
}

// Empties the queue without dispatching anything: for tests that post messages of their own and
// must not hand what is left of them to the next test.
inline void DiscardMessages() {
  MSG msg;
  for (int i = 0; i < test_pump_detail::kBatchLimit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
  }
}
