// Functions of system libraries needed only for a rare action (a file dialog, writing a PNG): the
// library is loaded at the first call instead of at start, so that it and everything it loads stay
// out of the program's start-up. Never unloads a library; a function that cannot be found is null,
// and the caller treats that as the action failing.
#pragma once

#include <windows.h>

// The function `name` of `library`, typed as F (write decltype(&TheFunction): no import is made).
template <class F>
F LazyFunction(const char* library, const char* name) {
  HMODULE module = LoadLibraryA(library);
  if (module == nullptr) return nullptr;
  // Through the generic function type, which converts to any other without a warning.
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
