// Measures the window library: (a) time from process start to the first painted form with 200
// child controls, (b) nanoseconds per message through the whole window procedure, (c) the time
// between ticks of a 50 ms timer run by the message loop.
// Prints figures only; it asserts nothing.
#include <windows.h>

#include <cstdio>

#include "platform/app.h"
#include "platform/control.h"
#include "platform/tests/test_pump.h"
#include "platform/timer.h"

namespace {

constexpr UINT kBenchMessage = WM_APP + 5;
double startMs = 0;
double paintedMs = -1;

double NowMs() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Process creation time, so the figure includes the loader and the runtime's start.
double ProcessStartMs() {
  FILETIME created;
  FILETIME exited;
  FILETIME kernel;
  FILETIME user;
  FILETIME now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&now);
  const auto toMs = [](const FILETIME& f) {
    return static_cast<double>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) /
           1e4;
  };
  return NowMs() - (toMs(now) - toMs(created));
}

bool NotePaint(void* data, TMessage& msg, LRESULT&) {
  auto* form = static_cast<TControl*>(data);
  if (msg.Message == WM_PAINT && msg.Window == form->Handle && paintedMs < 0) {
    paintedMs = NowMs();
    PostMessageA(form->Handle, WM_CLOSE, 0, 0);
  }
  return false;
}

bool PassOn(TControl*, TMessage&, LRESULT&) { return false; }
bool PassOn2(TControl*, TMessage&, LRESULT&) { return false; }
bool Answer(TControl*, TMessage& msg, LRESULT& result) {
  if (msg.Message != kBenchMessage) return false;
  result = static_cast<LRESULT>(msg.WParam + 1);
  return true;
}

struct TickTimes {
  static constexpr int kTicks = 20;
  double at[kTicks + 1] = {};
  int count = 0;
  static void Proc(void* data, TObj*) {
    auto* times = static_cast<TickTimes*>(data);
    if (times->count <= kTicks) times->at[times->count++] = NowMs();
  }
};

}  // namespace

int main() {
  startMs = ProcessStartMs();
  InitCommonControlClasses(ICC_WIN95_CLASSES);
  InitMainFormWindows();
  AppWindow = CreateAppWindow("bench app");
  TControl* form = CreateFormWindow(AppWindow, "bench form");
  form->SetBoundsRect({0, 0, 1000, 700});
  for (int i = 0; i < 200; ++i) {
    const int x = (i % 20) * 48;
    const int y = (i / 20) * 60;
    TControl* c = i % 4 == 0   ? CreateEdit(form, 0)
                  : i % 4 == 1 ? CreateButton(form, "b")
                               : CreateLabel(form, "LED");
    c->SetBoundsRect({x, y, x + 44, y + 22});
  }
  form->SetOnMessage({NotePaint, form});

  const double loopStart = NowMs();
  StartStep(true, nullptr);
  Run(AppWindow);
  FinishMainFormWindows();

  AppTerminated = false;  // measured as in a running program
  // (b) messages through every layer to the chain's answering handler.
  TControl* host = CreateFormWindow(nullptr, "bench host");
  TControl* target = CreatePaintBox(host);
  target->AttachHandler(Answer, false);
  target->AttachHandler(PassOn, false);
  target->AttachHandler(PassOn2, false);
  HWND window = target->GetHandle();
  constexpr int kMessages = 200000;
  const double before = NowMs();
  LRESULT sum = 0;
  for (int i = 0; i < kMessages; ++i)
    sum += SendMessageA(window, kBenchMessage, static_cast<WPARAM>(i & 1), 0);
  const double after = NowMs();
  host->Free();

  // (c) the timer's period as the loop delivers it; the first tick only starts the clock.
  TickTimes ticks;
  TTimer* timer = CreateTimer(50);
  timer->SetOnTimer({&TickTimes::Proc, &ticks});
  timer->SetEnabled(true);
  PumpFor(10000, [&] { return ticks.count > TickTimes::kTicks; });
  timer->Free();

  std::printf("first painted form with 200 children: %.1f ms after process start (%.1f ms in the loop)\n",
              paintedMs - startMs, paintedMs - loopStart);
  std::printf("message through the window procedure (3 handlers): %.0f ns (checksum %ld)\n",
              (after - before) * 1e6 / kMessages, static_cast<long>(sum));
  if (ticks.count > TickTimes::kTicks) {
    std::printf("timer of 50 ms: %.1f ms between ticks (mean of %d)\n",
                (ticks.at[TickTimes::kTicks] - ticks.at[0]) / TickTimes::kTicks, TickTimes::kTicks);
  } else {
    std::printf("timer of 50 ms: only %d ticks in 10 s\n", ticks.count);
  }
  return 0;
}
