// Runtime-error report of the program: the one path by which a fatal fault reaches the user.
// Installs a process-wide unhandled-exception filter and a terminate handler; a fault or an
// uncaught C++ exception is reported in a message box ("Error") and ends the process with the
// runtime error number as its exit code. Nothing is saved and no finalisation runs after a fault.
// Windows only; must never be used to report ordinary failures (those are return values).
#pragma once

#include <cstddef>

// At start-up, before anything can fail. Also arranges RestoreRuntimeErrorReport to run at exit.
void InstallRuntimeErrorReport();
// At exit: the previous filter and terminate handler come back and pending error text is shown.
// Safe to call more than once.
void RestoreRuntimeErrorReport();

// The program's error output: collected and shown with MessageBoxA (caption "Error").
void WriteErrorOutput(const char* bytes, std::size_t length);
void FlushErrorOutput();
