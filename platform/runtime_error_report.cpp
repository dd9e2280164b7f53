// Runtime-error report, the window-free half: code mapping, report text, frame walk, error output.
// Never allocates or throws: it runs while the program is failing.
#include "platform/runtime_error_report.h"

#include <cstring>

int RuntimeErrorOfException(std::uint32_t code) noexcept {
  switch (code) {
    case 0xC0000094u:  // integer divide by zero
    case 0xC000008Eu:  // float divide by zero
      return 200;
    case 0xC000008Cu:  // array bounds exceeded
      return 201;
    case 0xC00000FDu:  // stack overflow
      return 202;
    case 0xC0000091u:  // float overflow
      return 205;
    case 0xC000008Du:  // float denormal operand
    case 0xC0000093u:  // float underflow
      return 206;
    case 0xC000008Fu:  // float inexact result
    case 0xC0000090u:  // float invalid operation
    case 0xC0000092u:  // float stack check
      return 207;
    case 0xC0000095u:  // integer overflow
      return 215;
    case 0xC0000005u:  // access violation
    case 0xC000001Du:  // illegal instruction
      return 216;
    case 0xC000013Au:  // control-C exit
      return 217;
    case 0xC0000096u:  // privileged instruction
      return 218;
    default:
      return (code & 0xC0000000u) == 0xC0000000u ? 217 : 255;
  }
}

bool IsFloatException(std::uint32_t code) noexcept { return code >= 0xC000008Du && code <= 0xC0000093u; }

bool IsLanguageRuntimeSignal(std::uint32_t code) noexcept {
  // Bits 29 and the letters "GCC"; bits 24 and 25 tell throw, unwind and forced unwind apart.
  return (code & 0x20FFFFFFu) == 0x20474343u && (code & 0xC0000000u) == 0;
}

std::size_t FormatCodeAddress(std::uintptr_t address, char* out) noexcept {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const std::uint64_t value = address;
  const std::size_t digits = value > 0xFFFFFFFFu ? 16 : 8;
  for (std::size_t i = 0; i < digits; ++i) out[i] = kDigits[(value >> (4 * (digits - 1 - i))) & 0xF];
  return digits;
}

namespace {

// Appends to a fixed buffer and remembers whether anything did not fit.
struct ReportWriter {
  char* out;
  std::size_t size;
  std::size_t length = 0;
  bool full = false;

  void Put(const char* bytes, std::size_t n) noexcept {
    if (full || n > size - length) {
      full = true;
      return;
    }
    std::memcpy(out + length, bytes, n);
    length += n;
  }
  void Put(const char* text) noexcept { Put(text, std::strlen(text)); }
  void PutDecimal(int value) noexcept {
    char digits[12];
    std::size_t n = 0;
    std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    do {
      digits[sizeof(digits) - 1 - n++] = static_cast<char>('0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits[sizeof(digits) - 1 - n++] = '-';
    Put(digits + sizeof(digits) - n, n);
  }
  void PutAddressLine(std::uintptr_t address) noexcept {
    char line[3 + kMaxAddressDigits + 2] = {' ', ' ', '$'};
    std::size_t n = 3 + FormatCodeAddress(address, line + 3);
    line[n++] = '\r';
    line[n++] = '\n';
    Put(line, n);
  }
};

}  // namespace

std::size_t FormatRuntimeErrorReport(int error, std::uintptr_t address, const std::uintptr_t* frames,
                                     std::size_t frameCount, char* out, std::size_t outSize) noexcept {
  ReportWriter w{out, outSize};
  char digits[kMaxAddressDigits];
  w.Put("Runtime error ");
  w.PutDecimal(error);
  w.Put(" at $");
  w.Put(digits, FormatCodeAddress(address, digits));
  w.Put("\r\n");
  w.PutAddressLine(address);
  if (frameCount > kMaxReportFrames) frameCount = kMaxReportFrames;
  for (std::size_t i = 0; i < frameCount; ++i) w.PutAddressLine(frames[i]);
  w.Put("\r\n");
  return w.length;
}

std::size_t WalkFrameChain(std::uintptr_t link, std::uintptr_t stackLow, std::uintptr_t stackHigh,
                           std::uintptr_t* frames, std::size_t maxFrames) noexcept {
  constexpr std::uintptr_t kWord = sizeof(std::uintptr_t);
  std::size_t count = 0;
  while (count < maxFrames) {
    // A frame is two words: it must lie wholly inside the stack and be word-aligned.
    if (link < stackLow || stackHigh < 2 * kWord || link > stackHigh - 2 * kWord || link % kWord != 0) break;
    const auto* frame = reinterpret_cast<const std::uintptr_t*>(link);
    const std::uintptr_t returnAddress = frame[1];
    if (returnAddress == 0) break;
    frames[count++] = returnAddress;
    const std::uintptr_t next = frame[0];
    if (next <= link) break;
    link = next;
  }
  return count;
}

void TErrorOutput::Write(const char* bytes, std::size_t length) noexcept {
  while (length > 0) {
    std::size_t n = kCapacity - length_;
    if (n > length) n = length;
    std::memcpy(text_ + length_, bytes, n);
    length_ += n;
    bytes += n;
    length -= n;
    if (length_ == kCapacity) Flush();
  }
  if (length_ >= 4 && std::memcmp(text_ + length_ - 4, "\r\n\r\n", 4) == 0) Flush();
}

void TErrorOutput::Flush() noexcept {
  if (length_ == 0) return;
  text_[length_] = '\0';
  length_ = 0;
  if (show_ != nullptr) show_(text_);
}
