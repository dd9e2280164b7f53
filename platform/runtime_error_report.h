// Runtime-error report, the window-free half: which runtime error an exception code is, how the
// report text reads, how a frame-pointer chain is walked within the stack's bounds, and the
// 1024-byte error output that hands full or finished text to a display procedure.
// Everything here runs inside a fault report, so it must never allocate, throw or read memory
// outside the bounds it is given.
#pragma once

#include <cstddef>
#include <cstdint>

// Runtime error number for an exception code that nothing handled (200, 201, ..., 217 for any
// other error-severity code, 255 for the rest).
int RuntimeErrorOfException(std::uint32_t code) noexcept;

// Floating-point exception codes; the unit is reset before such an error is reported.
bool IsFloatException(std::uint32_t code) noexcept;

// The C++ runtime's own throw and unwind signals on x86_64 (codes 0x20474343 and the other
// "GCC" codes). They pass through an unhandled-exception filter before std::terminate runs,
// and are not faults of their own.
bool IsLanguageRuntimeSignal(std::uint32_t code) noexcept;

// At most this many return addresses follow the faulting address in a report.
constexpr std::size_t kMaxReportFrames = 256;
// Longest address text: 16 digits for x86_64 addresses above 4 GiB.
constexpr std::size_t kMaxAddressDigits = 16;
// Room for the longest report: the header line, the address line, every frame line, the empty line.
constexpr std::size_t kMaxReportSize = sizeof("Runtime error 2147483647 at $") + kMaxAddressDigits + 2 +
                                       (kMaxReportFrames + 1) * (3 + kMaxAddressDigits + 2) + 2;

// Writes the address as upper-case hex into out (no NUL): 8 digits when it fits in 32 bits, else 16.
// Returns the number of digits written.
std::size_t FormatCodeAddress(std::uintptr_t address, char* out) noexcept;

// Writes the report: "Runtime error N at $A" CR LF, "  $A" CR LF, one "  $R" CR LF per return
// address in frames (at most kMaxReportFrames), then CR LF. Stops early rather than overrun out;
// returns the number of bytes written (no NUL is added).
std::size_t FormatRuntimeErrorReport(int error, std::uintptr_t address, const std::uintptr_t* frames,
                                     std::size_t frameCount, char* out, std::size_t outSize) noexcept;

// Walks a frame-pointer chain: each frame holds the caller's frame link at [link] and the return
// address at [link + one word]. Every frame read lies inside [stackLow, stackHigh); the walk stops at
// the first return address of zero, at the first link that does not point further up the stack,
// or after maxFrames. Returns the number of return addresses stored in frames.
std::size_t WalkFrameChain(std::uintptr_t link, std::uintptr_t stackLow, std::uintptr_t stackHigh,
                           std::uintptr_t* frames, std::size_t maxFrames) noexcept;

// The error output of the program. Text collects in a 1024-byte buffer; it is shown (and the buffer
// emptied) when the buffer fills, when a write leaves it ending with an empty line (CR LF CR LF),
// and on Flush with text pending.
class TErrorOutput {
 public:
  static constexpr std::size_t kCapacity = 1024;
  // Receives the collected text, NUL-terminated.
  using ShowProc = void (*)(const char* text);

  // constexpr so that a process-wide output exists before any constructor runs.
  constexpr explicit TErrorOutput(ShowProc show) noexcept : show_(show) {}

  void Write(const char* bytes, std::size_t length) noexcept;
  void Flush() noexcept;
  std::size_t Pending() const noexcept { return length_; }

 private:
  ShowProc show_;
  std::size_t length_ = 0;
  char text_[kCapacity + 1] = {};
};
