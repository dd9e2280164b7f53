// The clock of the benchmarks that measure the real editor form from inside the program; the form
// itself they start and finish as its tests do. Windows only.
#pragma once

#include <chrono>

#include "app/tests/editor_form_fixture.h"

namespace bench_form {

using Clock = std::chrono::steady_clock;

inline double MicrosecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

inline double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace bench_form
