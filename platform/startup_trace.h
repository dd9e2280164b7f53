// Start-up and close stamps for the editor's benchmark. Only when the environment variable
// CUBE_STARTUP_TRACE names a file are the stamps kept (performance-counter readings) and written to
// that file, whole, by StartupTraceWrite. Otherwise every call returns at once: no file, no cost.
// Must never change what the program does; a trace that cannot be written is dropped silently.
#pragma once

#include <cstdint>

// The first reading under this name (a string literal); later calls under the same name only count.
void StartupStamp(const char* stage);
// The reading when this name has been stamped `times` times (e.g. the last of the LEDs' first paints).
void StartupStampNth(const char* stage, int times);
// Adds the time from construction to destruction to the stage's total (work spread over many calls).
class TStartupSpan {
 public:
  explicit TStartupSpan(const char* stage);
  ~TStartupSpan();
  TStartupSpan(const TStartupSpan&) = delete;
  TStartupSpan& operator=(const TStartupSpan&) = delete;

 private:
  const char* stage_;
  std::int64_t began_ = 0;
};
// Writes "stamp <name> <counter>" and "span <name> <counts>" lines and the counter's frequency.
void StartupTraceWrite();
