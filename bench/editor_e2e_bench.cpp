// Figures of the real cube editor program seen from outside: the time from CreateProcess to the
// first full paint of its window beside the same for a bare program with the same windows (the
// floor, startup_floor.cpp, started interleaved in the same run), where the editor's start-up time
// goes (its own stamps, written when CUBE_STARTUP_TRACE names a file), from a real click on an LED
// to the new frame string in its edit line, and from WM_CLOSE to the end of the process. Prints
// medians; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "app/tests/e2e/editor_driver.h"

namespace {

double Now() {
  static const double perMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / perMs;
}

double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::uint32_t ScreenPixel(HDC screen, HWND window, const e2e::TPlace& place) {
  POINT at{place.CentreX(), place.CentreY()};
  ClientToScreen(window, &at);
  return GetPixel(screen, at.x, at.y) & 0xFFFFFF;
}

// Dark body colours on screen for LED 1 (column 0), LED 6 (painted last of the LEDs) and LED 216.
bool FullyPainted(HDC screen, HWND window) {
  const std::uint32_t column0 = GetSysColor(e2e::kDarkSystemColorOfColumn0) & 0xFFFFFF;
  return ScreenPixel(screen, window, e2e::LedPlace(1)) == column0 &&
         ScreenPixel(screen, window, e2e::LedPlace(6)) == e2e::kDarkColor &&
         ScreenPixel(screen, window, e2e::LedPlace(216)) == e2e::kDarkColor;
}

// The process's creation time on this program's performance-counter scale, in ms.
double CreatedAt(HANDLE process) {
  FILETIME created, exited, kernel, user, now;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
  GetSystemTimePreciseAsFileTime(&now);
  const double nowMs = Now();
  auto ticks = [](const FILETIME& t) {
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return nowMs - static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}

struct TStart {
  double Spawned = 0;  // before CreateProcess
  double Created = 0;  // the process's creation time
  double Painted = 0;  // the first full paint seen on screen
};

// Starts the program and waits for its first full paint; false with a message when it did not come.
bool StartAndWaitPaint(e2e::TEditorProcess& program, HDC screen, TStart& start) {
  start.Spawned = Now();
  if (!program.Spawn()) {
    std::printf("%s\n", program.Error().c_str());
    return false;
  }
  start.Created = CreatedAt(program.Process());
  while (Now() - start.Spawned < 20000 && program.Running()) {
    if (HWND window = program.FindShownWindow()) {
      if (FullyPainted(screen, window)) {
        start.Painted = Now();
        return true;
      }
    }
    Sleep(1);
  }
  std::printf("no fully painted window within 20 s\n");
  return false;
}

// Closes the program; the time from WM_CLOSE to its end, or -1 when it did not end with exit code 0.
double CloseAndWait(e2e::TEditorProcess& program) {
  const double closing = Now();
  program.Close();
  if (program.WaitExit(10000) != std::optional<DWORD>(0)) return -1;
  return Now() - closing;
}

// The editor's stamps ("stamp <counter> <times> <name>", "span <counts> <times> <name>") as ms: stamps
// from the process's creation, spans as their totals.
struct TTrace {
  std::map<std::string, double> Stamps, Spans;
  std::vector<std::string> Order;  // stage names as first written
};

TTrace ReadTrace(const std::string& path, double createdMs) {
  TTrace trace;
  std::ifstream file(path);
  std::string kind;
  double perMs = 0;
  long long counter = 0;
  int times = 0;
  file >> kind >> perMs;
  perMs /= 1000.0;
  while (file >> kind >> counter >> times) {
    std::string name;
    std::getline(file >> std::ws, name);
    if (kind == "stamp") trace.Stamps[name] = counter / perMs - createdMs;
    if (kind == "span") trace.Spans[name] = counter / perMs;
    if (std::find(trace.Order.begin(), trace.Order.end(), kind + " " + name) == trace.Order.end())
      trace.Order.push_back(kind + " " + name);
  }
  return trace;
}

void PrintBreakdown(const std::vector<TTrace>& traces) {
  if (traces.empty()) return;
  std::vector<std::pair<double, std::string>> stamps;
  for (const auto& [name, at] : traces[0].Stamps) {
    std::vector<double> all;
    for (const TTrace& t : traces)
      if (t.Stamps.count(name) != 0) all.push_back(t.Stamps.at(name));
    stamps.push_back({Median(all), name});
  }
  std::sort(stamps.begin(), stamps.end());
  std::printf("%-32s %10s %10s\n", "stage (stamped at its end)", "at, ms", "stage, ms");
  double before = 0;
  for (const auto& [at, name] : stamps) {
    std::printf("%-32s %10.1f %10.1f\n", name.c_str(), at, at - before);
    before = at;
  }
  std::printf("%-32s %10s\n", "spread over the stages above", "total, ms");
  for (const auto& [name, total] : traces[0].Spans) {
    std::vector<double> all;
    for (const TTrace& t : traces)
      if (t.Spans.count(name) != 0) all.push_back(t.Spans.at(name));
    std::printf("%-32s %10.1f\n", name.c_str(), Median(all));
  }
}

std::string BesideThisProgram(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path);
  return p.substr(0, p.find_last_of("\\/") + 1) + name;
}

void PrintRange(const char* what, const std::vector<double>& values) {
  std::printf("%s: median %.1f ms of %zu (min %.1f, max %.1f)\n", what, Median(values), values.size(),
              *std::min_element(values.begin(), values.end()),
              *std::max_element(values.begin(), values.end()));
}

}  // namespace

namespace {

std::vector<double> MeasureClicks(e2e::TEditorProcess& editor, int clicks) {
  std::vector<double> times;
  for (int i = 0; i < clicks; ++i) {
    const int n = 1 + i % e2e::kLedCount;
    HWND led = editor.Led(n);
    RECT client{};
    GetClientRect(led, &client);
    const std::string before = editor.FrameText();
    const double sent = Now();
    if (!editor.ClickAt(led, client.right / 2, client.bottom / 2)) {
      std::printf("click %d on LED %d could not be sent\n", i, n);
      return {};
    }
    while (editor.FrameText() == before && Now() - sent < 5000) {
    }
    times.push_back(Now() - sent);
  }
  return times;
}

struct TFigures {
  std::vector<double> Editor, EditorFromCreation, Floor, FloorFromCreation, Ratio, Exits, FloorExits, Clicks;
  std::vector<TTrace> Traces, FloorTraces;
};

// One start of the editor with its stamps, clicks on the first; false when something failed.
bool EditorRun(int run, HDC screen, const std::string& tracePath, TFigures& figures) {
  DeleteFileA(tracePath.c_str());
  e2e::TEditorProcess editor;
  TStart start;
  if (!StartAndWaitPaint(editor, screen, start)) return false;
  figures.Editor.push_back(start.Painted - start.Spawned);
  figures.EditorFromCreation.push_back(start.Painted - start.Created);
  if (!editor.WaitReady()) {
    std::printf("start %d: %s\n", run, editor.Error().c_str());
    return false;
  }
  if (run == 0) figures.Clicks = MeasureClicks(editor, 200);
  const double exit = CloseAndWait(editor);
  if (exit < 0 || (run == 0 && figures.Clicks.empty())) {
    std::printf("start %d: the editor did not end with exit code 0\n", run);
    return false;
  }
  figures.Exits.push_back(exit);
  figures.Traces.push_back(ReadTrace(tracePath, start.Created));
  return true;
}

bool FloorRun(HDC screen, const std::string& tracePath, TFigures& figures) {
  DeleteFileA(tracePath.c_str());
  e2e::TEditorProcess floor({}, BesideThisProgram("cube_startup_floor.exe"));
  TStart start;
  if (!StartAndWaitPaint(floor, screen, start)) return false;
  figures.Floor.push_back(start.Painted - start.Spawned);
  figures.FloorFromCreation.push_back(start.Painted - start.Created);
  figures.Ratio.push_back(figures.Editor.back() / figures.Floor.back());
  if (!floor.WaitReady()) {
    std::printf("the floor: %s\n", floor.Error().c_str());
    return false;
  }
  const double exit = CloseAndWait(floor);
  if (exit < 0) std::printf("the floor did not end with exit code 0\n");
  figures.FloorExits.push_back(exit);
  figures.FloorTraces.push_back(ReadTrace(tracePath, start.Created));
  return exit >= 0;
}

}  // namespace

int main() {
  constexpr int kStarts = 9;
  // Each line as it is printed, also when the run stops early.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  HDC screen = GetDC(nullptr);
  const std::string traceDir = e2e::MakeFreshTempDir();
  const std::string tracePath = traceDir + "\\startup.trace";
  // A first start of each outside the figures, so that the Wine prefix and the program files are warm.
  {
    e2e::TEditorProcess warm;
    e2e::TEditorProcess warmFloor({}, BesideThisProgram("cube_startup_floor.exe"));
    if (!warm.Start() || !warmFloor.Spawn()) {
      std::printf("the editor or the floor does not start: %s %s\n", warm.Error().c_str(),
                  warmFloor.Error().c_str());
      return 1;
    }
  }
  TFigures figures;
  for (int run = 0; run < kStarts; ++run) {
    SetEnvironmentVariableA("CUBE_STARTUP_TRACE", tracePath.c_str());
    if (!EditorRun(run, screen, tracePath, figures) || !FloorRun(screen, tracePath, figures)) return 1;
  }
  ReleaseDC(nullptr, screen);
  e2e::RemoveDirTree(traceDir);

  PrintRange("editor start-up, CreateProcess to the first full paint", figures.Editor);
  PrintRange("floor start-up, CreateProcess to the first full paint", figures.Floor);
  PrintRange("editor start-up from the process's creation time", figures.EditorFromCreation);
  PrintRange("floor start-up from the process's creation time", figures.FloorFromCreation);
  std::printf("editor / floor, run by run: median %.2f (min %.2f, max %.2f)\n", Median(figures.Ratio),
              *std::min_element(figures.Ratio.begin(), figures.Ratio.end()),
              *std::max_element(figures.Ratio.begin(), figures.Ratio.end()));
  std::printf("the editor's stamps, medians of %d starts:\n", kStarts);
  PrintBreakdown(figures.Traces);
  std::printf("the floor's stamps, medians of %d starts:\n", kStarts);
  PrintBreakdown(figures.FloorTraces);
  std::printf("real LED click (SendInput) to the new frame string: median %.2f ms of %zu\n",
              Median(figures.Clicks), figures.Clicks.size());
  PrintRange("editor WM_CLOSE to the end of the process", figures.Exits);
  PrintRange("floor WM_CLOSE to the end of the process", figures.FloorExits);
  return 0;
}
