// File access over kernel32 (Windows) or POSIX (elsewhere): the steps of a whole-file write and the
// clean-up of a failed one. Nothing else in the program opens files; this file must not grow into a
// general file library.
#include "platform/file.h"

#include <cstddef>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {

#ifdef _WIN32

using Handle = HANDLE;
const Handle kNoHandle = INVALID_HANDLE_VALUE;

Handle OpenAlways(const char* name, bool& created) {
  Handle file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  created = file != INVALID_HANDLE_VALUE && GetLastError() != ERROR_ALREADY_EXISTS;
  return file;
}

// Bytes written by one call, 0 on failure.
std::size_t WriteSome(Handle file, const char* bytes, std::size_t size) {
  const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
  DWORD written = 0;
  if (!WriteFile(file, bytes, chunk, &written, nullptr)) return 0;
  return written;
}

bool CutHere(Handle file, std::size_t /*position*/) { return SetEndOfFile(file) != 0; }
bool Close(Handle file) { return CloseHandle(file) != 0; }
void Remove(const char* name) { DeleteFileA(name); }

#else

using Handle = int;
constexpr Handle kNoHandle = -1;

// Whether the file is new decides the clean-up after a failure, so creation is tried exclusively first.
Handle OpenAlways(const char* name, bool& created) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    Handle file = open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file >= 0) {
      created = true;
      return file;
    }
    if (errno != EEXIST) return kNoHandle;
    file = open(name, O_WRONLY | O_CLOEXEC);
    if (file >= 0) {
      created = false;
      return file;
    }
    if (errno != ENOENT) return kNoHandle;  // removed in between: try again
  }
  return kNoHandle;
}

std::size_t WriteSome(Handle file, const char* bytes, std::size_t size) {
  for (;;) {
    const ssize_t written = write(file, bytes, size);
    if (written > 0) return static_cast<std::size_t>(written);
    if (written < 0 && errno == EINTR) continue;
    return 0;
  }
}

bool CutHere(Handle file, std::size_t position) { return ftruncate(file, static_cast<off_t>(position)) == 0; }
bool Close(Handle file) { return close(file) == 0; }
void Remove(const char* name) { unlink(name); }

#endif

}  // namespace

bool WriteWholeFile(std::string_view fileName, std::string_view bytes) {
  if (fileName.empty() || fileName.find('\0') != std::string_view::npos) return false;
  const std::string name(fileName);

  bool created = false;
  const Handle file = OpenAlways(name.c_str(), created);
  if (file == kNoHandle) return false;

  bool ok = true;
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    const std::size_t written = WriteSome(file, bytes.data() + done, bytes.size() - done);
    if (written == 0) ok = false;
    done += written;
  }
  ok = ok && CutHere(file, done);
  ok = Close(file) && ok;
  if (!ok && created) Remove(name.c_str());
  return ok;
}
