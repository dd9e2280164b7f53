// File access over kernel32 (Windows) or POSIX (elsewhere): the steps of a whole-file write and the
// clean-up of a failed one, and a whole-file read within a size limit. Nothing else in the program opens
// files; this file must not grow into a general file library.
#include "platform/file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
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

Handle OpenForReading(const char* name) {
  return CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

// False for anything but a plain disk file (a console, a pipe, a directory opened some other way).
bool DiskFileSize(Handle file, std::uint64_t& size) {
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info)) return false;
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  return true;
}

// Bytes read by one call: 0 at the end of the file, -1 on failure.
std::ptrdiff_t ReadSome(Handle file, char* bytes, std::size_t size) {
  const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
  DWORD read = 0;
  if (!ReadFile(file, bytes, chunk, &read, nullptr)) return -1;
  return static_cast<std::ptrdiff_t>(read);
}

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

// Non-blocking only while opening, so that a FIFO cannot hold the open; DiskFileSize then rejects it.
Handle OpenForReading(const char* name) {
  const Handle file = open(name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (file < 0) return kNoHandle;
  const int flags = fcntl(file, F_GETFL);
  if (flags < 0 || fcntl(file, F_SETFL, flags & ~O_NONBLOCK) < 0) {
    close(file);
    return kNoHandle;
  }
  return file;
}

bool DiskFileSize(Handle file, std::uint64_t& size) {
  struct stat info {};
  if (fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  size = static_cast<std::uint64_t>(info.st_size);
  return true;
}

std::ptrdiff_t ReadSome(Handle file, char* bytes, std::size_t size) {
  for (;;) {
    const ssize_t read = ::read(file, bytes, size);
    if (read >= 0) return read;
    if (errno != EINTR) return -1;
  }
}

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

TReadResult ReadWholeFile(std::string_view fileName, std::size_t maxBytes, std::string& bytes) {
  if (fileName.empty() || fileName.find('\0') != std::string_view::npos) return TReadResult::CannotOpen;
  const std::string name(fileName);

  const Handle file = OpenForReading(name.c_str());
  if (file == kNoHandle) return TReadResult::CannotOpen;
  std::uint64_t size = 0;
  if (!DiskFileSize(file, size)) {
    Close(file);
    return TReadResult::CannotOpen;
  }
  if (size > maxBytes) {
    Close(file);
    return TReadResult::TooLarge;
  }

  // One byte of room past the size seen, so a file that grew since is noticed rather than cut.
  std::string content(static_cast<std::size_t>(size) + (size < maxBytes ? 1 : 0), '\0');
  std::size_t done = 0;
  TReadResult result = TReadResult::Ok;
  for (;;) {
    if (done == content.size()) {
      if (done >= maxBytes) {
        char probe;
        const std::ptrdiff_t more = ReadSome(file, &probe, 1);
        if (more != 0) result = more < 0 ? TReadResult::ReadFailed : TReadResult::TooLarge;
        break;
      }
      content.resize(done + (maxBytes - done < done ? maxBytes - done : done));
    }
    const std::ptrdiff_t read = ReadSome(file, content.data() + done, content.size() - done);
    if (read < 0) result = TReadResult::ReadFailed;
    if (read <= 0) break;
    done += static_cast<std::size_t>(read);
  }
  Close(file);
  if (result != TReadResult::Ok) return result;
  content.resize(done);
  bytes = std::move(content);
  return TReadResult::Ok;
}
