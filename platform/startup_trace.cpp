// The start-up stamps (see startup_trace.h): a small fixed table, filled on the GUI thread only.
#include "platform/startup_trace.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct TEntry {
  const char* Stage = nullptr;
  bool Span = false;
  int Times = 0;
  std::int64_t Counter = 0;  // the stamp's reading, or the span's total
};

struct TTrace {
  std::string Path;
  std::array<TEntry, 64> Entries{};
  std::size_t Used = 0;
};

// Read once: null when the variable is not set.
TTrace* Trace() {
  static TTrace* trace = []() -> TTrace* {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("CUBE_STARTUP_TRACE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    auto* made = new TTrace();
    made->Path = path;
    return made;
  }();
  return trace;
}

std::int64_t Counter() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

TEntry* EntryOf(TTrace& trace, const char* stage, bool span) {
  for (std::size_t i = 0; i < trace.Used; ++i)
    if (trace.Entries[i].Span == span && std::strcmp(trace.Entries[i].Stage, stage) == 0)
      return &trace.Entries[i];
  if (trace.Used == trace.Entries.size()) return nullptr;
  TEntry& made = trace.Entries[trace.Used++];
  made.Stage = stage;
  made.Span = span;
  return &made;
}

}  // namespace

void StartupStamp(const char* stage) { StartupStampNth(stage, 1); }

void StartupStampNth(const char* stage, int times) {
  TTrace* trace = Trace();
  if (trace == nullptr) return;
  const std::int64_t now = Counter();
  if (TEntry* entry = EntryOf(*trace, stage, false); entry != nullptr && ++entry->Times == times)
    entry->Counter = now;
}

TStartupSpan::TStartupSpan(const char* stage) : stage_(stage) {
  if (Trace() != nullptr) began_ = Counter();
}

TStartupSpan::~TStartupSpan() {
  TTrace* trace = Trace();
  if (trace == nullptr) return;
  if (TEntry* entry = EntryOf(*trace, stage_, true)) {
    ++entry->Times;
    entry->Counter += Counter() - began_;
  }
}

void StartupTraceWrite() {
  TTrace* trace = Trace();
  if (trace == nullptr) return;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::string text = "frequency " + std::to_string(frequency.QuadPart) + "\n";
  for (std::size_t i = 0; i < trace->Used; ++i) {
    const TEntry& e = trace->Entries[i];
    text += std::string(e.Span ? "span " : "stamp ") + std::to_string(e.Counter) + " " +
            std::to_string(e.Times) + " " + e.Stage + "\n";
  }
  // Whole or not at all: the bench reads the file only after the process has ended.
  const std::string temporary = trace->Path + ".part";
  FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) == 0 && written)
    MoveFileExA(temporary.c_str(), trace->Path.c_str(), MOVEFILE_REPLACE_EXISTING);
  else
    DeleteFileA(temporary.c_str());
}
