// Runtime-error report: unhandled-exception filter, terminate handler and the message-box error
// output. Reporting uses static buffers only (the heap may be what failed) and ends the process
// with ExitProcess, so no finaliser runs over a damaged program.
#include "platform/runtime_error.h"

#include <float.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>

#include "platform/runtime_error_report.h"
#include "platform/text_codec.h"

namespace {

LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;
std::terminate_handler previousTerminate = nullptr;
bool installed = false;
bool restoreAtExitRegistered = false;
PVOID overflowHandler = nullptr;
volatile LONG reporting = 0;

// Converted into a fixed buffer: the report may be shown when the heap is what failed.
void ShowErrorText(const char* text) {
  static wchar_t wide[kMaxReportSize + 1];
  std::size_t n = 0;
  for (; n < kMaxReportSize && text[n] != '\0'; ++n)
    wide[n] = WideOfCp1251(static_cast<unsigned char>(text[n]));
  wide[n] = L'\0';
  MessageBoxW(nullptr, wide, L"Error", MB_OK);
}

constinit TErrorOutput errorOutput(ShowErrorText);

// The faulting address's own line is not a frame; one extra slot lets the terminate handler take
// its first return address as the address and still list kMaxReportFrames frames.
std::uintptr_t frameBuffer[kMaxReportFrames + 1];
char reportBuffer[kMaxReportSize];

// NT_TIB::StackBase of the current thread, read straight from the thread block (the header's
// NtCurrentTeb trips a false array-bounds warning of this compiler).
std::uintptr_t StackBase() {
  std::uintptr_t base;
#if defined(_WIN64)
  static_assert(offsetof(NT_TIB, StackBase) == 8);
  asm("movq %%gs:8, %0" : "=r"(base));
#else
  static_assert(offsetof(NT_TIB, StackBase) == 4);
  asm("movl %%fs:4, %0" : "=r"(base));
#endif
  return base;
}

#if defined(_WIN64)
// x86_64 code keeps no frame-pointer chain, but every non-leaf function has unwind data, so the
// system's virtual unwinder finds each caller exactly. A function without unwind data is a leaf:
// its return address is on top of the stack. Unwinds the given context in place.
std::size_t WalkUnwind(CONTEXT& context, std::uintptr_t stackBase, std::uintptr_t* frames,
                       std::size_t maxFrames) {
  std::size_t count = 0;
  while (count < maxFrames) {
    const DWORD64 sp = context.Rsp;
    if (sp % 8 != 0 || sp >= stackBase || stackBase - sp < 8) break;
    DWORD64 imageBase = 0;
    PRUNTIME_FUNCTION function = RtlLookupFunctionEntry(context.Rip, &imageBase, nullptr);
    if (function != nullptr) {
      void* handlerData = nullptr;
      DWORD64 establisherFrame = 0;
      RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, context.Rip, function, &context, &handlerData,
                       &establisherFrame, nullptr);
    } else {
      context.Rip = *reinterpret_cast<const DWORD64*>(sp);
      context.Rsp = sp + 8;
    }
    if (context.Rip == 0 || context.Rsp <= sp || context.Rsp > stackBase) break;
    frames[count++] = context.Rip;
  }
  return count;
}
#endif

std::size_t WalkFromContext(CONTEXT& context, std::uintptr_t stackBase, std::uintptr_t* frames,
                            std::size_t maxFrames) {
#if defined(_WIN64)
  return WalkUnwind(context, stackBase, frames, maxFrames);
#else
  return WalkFrameChain(context.Ebp, context.Esp, stackBase, frames, maxFrames);
#endif
}

[[noreturn]] void ReportAndExit(int error, std::uintptr_t address, const std::uintptr_t* frames,
                                std::size_t frameCount) {
  const std::size_t length =
      FormatRuntimeErrorReport(error, address, frames, frameCount, reportBuffer, sizeof(reportBuffer));
  errorOutput.Write(reportBuffer, length);
  errorOutput.Flush();
  ExitProcess(static_cast<UINT>(error));
}

// A fault to report: the system's record of it and the stack bounds of the thread it happened on.
struct Fault {
  EXCEPTION_POINTERS* info;
  std::uintptr_t stackBase;
};
Fault pendingFault;

[[noreturn]] void ReportFault(const Fault& fault) {
  const std::uint32_t code = fault.info->ExceptionRecord->ExceptionCode;
  const int error = RuntimeErrorOfException(code);
  if (IsFloatException(code)) _fpreset();
  const std::size_t frameCount =
      WalkFromContext(*fault.info->ContextRecord, fault.stackBase, frameBuffer, kMaxReportFrames);
  ReportAndExit(error, reinterpret_cast<std::uintptr_t>(fault.info->ExceptionRecord->ExceptionAddress),
                frameBuffer, frameCount);
}

DWORD WINAPI ReportFaultThread(void* fault) { ReportFault(*static_cast<const Fault*>(fault)); }

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  const std::uint32_t code = record->ExceptionCode;
  // A C++ throw that found no handler: let it return to the C++ runtime, which calls terminate.
  if (IsLanguageRuntimeSignal(code) && (record->ExceptionFlags & EXCEPTION_NONCONTINUABLE) == 0)
    return EXCEPTION_CONTINUE_EXECUTION;
  // A fault inside the report itself: end at once rather than loop.
  if (InterlockedExchange(&reporting, 1) != 0) ExitProcess(static_cast<UINT>(RuntimeErrorOfException(code)));
  pendingFault = {info, StackBase()};
  // After a stack overflow the faulting thread has too little stack left for the report and its
  // message box; a fresh thread makes it (the faulting thread waits until ExitProcess ends both).
  if (code == EXCEPTION_STACK_OVERFLOW) {
    HANDLE thread = CreateThread(nullptr, 0, ReportFaultThread, &pendingFault, 0, nullptr);
    if (thread != nullptr) WaitForSingleObject(thread, INFINITE);
  }
  ReportFault(pendingFault);
}

// The system's search for a frame handler needs more stack than an overflow leaves (under Wine
// the process dies in that search), and no code of this program can recover from an overflow,
// so an overflow is reported as soon as it is seen.
LONG CALLBACK OnStackOverflow(EXCEPTION_POINTERS* info) {
  if (info->ExceptionRecord->ExceptionCode != EXCEPTION_STACK_OVERFLOW) return EXCEPTION_CONTINUE_SEARCH;
  return OnUnhandledException(info);
}

// The address reported for an uncaught C++ exception is the return address into the code that
// called this handler (the C++ runtime's terminate path); the frames above it follow.
[[noreturn]] __attribute__((noinline)) void OnTerminate() {
  constexpr int kUncaughtException = 217;
  if (InterlockedExchange(&reporting, 1) != 0) ExitProcess(kUncaughtException);
#if defined(_WIN64)
  static CONTEXT context;
  RtlCaptureContext(&context);
  const std::size_t count = WalkFromContext(context, StackBase(), frameBuffer, kMaxReportFrames + 1);
#else
  // __builtin_frame_address gives this function a frame of its own to start the chain from.
  const auto link = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
  const std::size_t count = WalkFrameChain(link, link, StackBase(), frameBuffer, kMaxReportFrames + 1);
#endif
  if (count == 0) ReportAndExit(kUncaughtException, 0, frameBuffer, 0);
  ReportAndExit(kUncaughtException, frameBuffer[0], frameBuffer + 1, count - 1);
}

void RestoreAtExit() { RestoreRuntimeErrorReport(); }

}  // namespace

void InstallRuntimeErrorReport() {
  if (installed) return;
  installed = true;
  previousFilter = SetUnhandledExceptionFilter(OnUnhandledException);
  previousTerminate = std::set_terminate(OnTerminate);
  overflowHandler = AddVectoredExceptionHandler(1, OnStackOverflow);
  if (!restoreAtExitRegistered) {
    restoreAtExitRegistered = true;
    std::atexit(RestoreAtExit);
  }
}

void RestoreRuntimeErrorReport() {
  if (installed) {
    installed = false;
    SetUnhandledExceptionFilter(previousFilter);
    std::set_terminate(previousTerminate);
    if (overflowHandler != nullptr) RemoveVectoredExceptionHandler(overflowHandler);
    overflowHandler = nullptr;
  }
  errorOutput.Flush();
}

void WriteErrorOutput(const char* bytes, std::size_t length) { errorOutput.Write(bytes, length); }

void FlushErrorOutput() { errorOutput.Flush(); }
