// Child program of the runtime-error tests: installs the report, then fails in the way its one
// argument names. Never used outside the tests.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "platform/runtime_error.h"

namespace {

volatile std::uintptr_t badAddress = 16;
volatile int zero = 0;
volatile int sink = 0;

__attribute__((noinline)) void AccessViolation() { *reinterpret_cast<volatile int*>(badAddress) = 1; }

__attribute__((noinline)) void DivideByZero() { sink = 100 / zero; }

__attribute__((noinline)) void ThrowUncaught() { throw std::runtime_error("nobody catches this"); }

volatile int recursionLimit = 0x7FFFFFFF;  // never reached: the stack runs out first

__attribute__((noinline)) int Recurse(int depth) {
  volatile char padding[32];
  padding[0] = static_cast<char>(depth);
  if (depth == recursionLimit) return 0;
  return Recurse(depth + 1) + padding[0];
}

// One more frame between main and the fault, so the report has frames to list.
__attribute__((noinline)) void Fail(const char* mode) {
  if (std::strcmp(mode, "access-violation") == 0) AccessViolation();
  if (std::strcmp(mode, "divide-by-zero") == 0) DivideByZero();
  if (std::strcmp(mode, "uncaught-exception") == 0) ThrowUncaught();
  if (std::strcmp(mode, "stack-overflow") == 0) sink = Recurse(0);
  if (std::strcmp(mode, "pending-text") == 0) WriteErrorOutput("pending at exit\r\n", 17);
}

}  // namespace

int main(int argc, char** argv) {
  InstallRuntimeErrorReport();
  if (argc > 1) Fail(argv[1]);
  return 0;
}
