// File access over kernel32 (Windows) or POSIX (elsewhere): a whole-file write through a temporary file
// that replaces the target in one rename, and a whole-file read within a size limit. Nothing else in the
// program opens files; this file must not grow into a general file library.
#include "platform/file.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#ifdef _WIN32
#include <windows.h>

#include "platform/wide_path.h"
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

// Names go to Windows in UTF-16: the real name of one chosen in a dialog, in the form that lifts MAX_PATH.
using NameChar = wchar_t;
using Name = std::wstring;
Name NativeName(std::string_view fileName) { return LongPathForm(PathOfGraphName(fileName)); }

constexpr NameChar kSeparators[] = L"\\/:";

// What a replaced file keeps: the attributes that say how it is shown and handled. Read-only is not
// among them: a read-only target refuses the save, as an in-place write to it would.
using Kept = DWORD;
constexpr Kept kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

unsigned long ProcessId() { return GetCurrentProcessId(); }

// False when the target must not be replaced: a directory, a device, a read-only file, or a name that
// cannot be looked at (a missing folder, forbidden characters). A missing file is fine.
// (Wine's MoveFileEx replaces read-only files, so that refusal cannot be left to it.)
bool InspectTarget(const NameChar* name, Kept& kept) {
  const DWORD attributes = GetFileAttributesW(name);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    kept = 0;
    return GetLastError() == ERROR_FILE_NOT_FOUND;
  }
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_READONLY)) return false;
  kept = attributes & kKeptAttributes;
  return true;
}

Handle CreateNew(const NameChar* name, Kept kept, bool& nameTaken) {
  const Handle file = CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL, nullptr);
  nameTaken = file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS;
  return file;
}

// Bytes written by one call, 0 on failure.
std::size_t WriteSome(Handle file, const char* bytes, std::size_t size) {
  const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
  DWORD written = 0;
  if (!WriteFile(file, bytes, chunk, &written, nullptr)) return 0;
  return written;
}

bool Flush(Handle file) { return FlushFileBuffers(file) != 0; }
bool Close(Handle file) { return CloseHandle(file) != 0; }
void Remove(const NameChar* name) { DeleteFileW(name); }

// One rename within the folder: the target holds either its old bytes or the new ones, never a mix.
// It fails while any other handle to the target is open, whatever that handle shares.
bool Replace(const NameChar* temp, const NameChar* target) {
  return MoveFileExW(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

Handle OpenForReading(const NameChar* name) {
  return CreateFileW(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
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

using NameChar = char;
using Name = std::string;
Name NativeName(std::string_view fileName) { return Name(fileName); }

constexpr char kSeparators[] = "/";

// The permission bits of a replaced file, or none for a new one.
struct Kept {
  bool exists = false;
  mode_t mode = 0;
};

unsigned long ProcessId() { return static_cast<unsigned long>(getpid()); }

// False for a directory, a FIFO or device (the rename would put a plain file in its place), a file
// this process may not write, or a name that cannot be looked at. A missing file is fine.
bool InspectTarget(const char* name, Kept& kept) {
  struct stat info {};
  if (stat(name, &info) != 0) {
    kept = Kept{};
    return errno == ENOENT;
  }
  if (!S_ISREG(info.st_mode) || access(name, W_OK) != 0) return false;
  kept = Kept{true, static_cast<mode_t>(info.st_mode & 07777)};
  return true;
}

Handle CreateNew(const char* name, Kept kept, bool& nameTaken) {
  const Handle file = open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  nameTaken = file < 0 && errno == EEXIST;
  // Some file systems cannot keep modes; the save goes on with the default one.
  if (file >= 0 && kept.exists) (void)fchmod(file, kept.mode);
  return file;
}

std::size_t WriteSome(Handle file, const char* bytes, std::size_t size) {
  for (;;) {
    const ssize_t written = write(file, bytes, size);
    if (written > 0) return static_cast<std::size_t>(written);
    if (written < 0 && errno == EINTR) continue;
    return 0;
  }
}

bool Flush(Handle file) {
  for (;;) {
    if (fsync(file) == 0) return true;
    if (errno != EINTR) return false;
  }
}
bool Close(Handle file) { return close(file) == 0; }
void Remove(const char* name) { unlink(name); }

// The rename is the one step that swaps old bytes for new; syncing the folder afterwards makes the
// new name last through a power cut, and its failure cannot undo the replacement any more.
bool Replace(const char* temp, const char* target) {
  if (rename(temp, target) != 0) return false;
  std::string folder(target);
  const std::size_t slash = folder.rfind('/');
  folder = slash == std::string::npos ? "." : slash == 0 ? "/" : folder.substr(0, slash);
  const Handle directory = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory >= 0) {
    (void)fsync(directory);
    close(directory);
  }
  return true;
}

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

// Digits 0-9 a-z: keeps the temporary name short.
std::string Base36(unsigned long value) {
  std::string digits;
  do {
    digits.insert(digits.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[value % 36]);
    value /= 36;
  } while (value != 0);
  return digits;
}

// A fresh file beside the target: "~<process>-<counter>.tmp", short so that it fits wherever the
// target's own name is not shorter (a full path just under MAX_PATH with a long name must still be
// saved). kNoHandle when none can be made: a missing or full folder, or a path too long for it.
Name Ascii(const std::string& text) { return Name(text.begin(), text.end()); }

Handle CreateTemporaryBeside(const Name& target, Kept kept, Name& temp) {
  static std::atomic<unsigned long> counter{0};
  const std::size_t cut = target.find_last_of(kSeparators) + 1;  // npos + 1 == 0
  const Name prefix = target.substr(0, cut) + Ascii("~" + Base36(ProcessId()) + "-");
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = prefix + Ascii(Base36(counter++) + ".tmp");
    bool nameTaken = false;
    const Handle file = CreateNew(temp.c_str(), kept, nameTaken);
    if (file != kNoHandle || !nameTaken) return file;
  }
  return kNoHandle;
}

}  // namespace

bool WriteWholeFile(std::string_view fileName, std::string_view bytes) {
  if (fileName.empty() || fileName.find('\0') != std::string_view::npos) return false;
  const Name name = NativeName(fileName);

  Kept kept{};
  if (!InspectTarget(name.c_str(), kept)) return false;
  Name temp;
  const Handle file = CreateTemporaryBeside(name, kept, temp);
  if (file == kNoHandle) return false;

  bool ok = true;
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    const std::size_t written = WriteSome(file, bytes.data() + done, bytes.size() - done);
    if (written == 0) ok = false;
    done += written;
  }
  ok = ok && Flush(file);
  ok = Close(file) && ok;
  ok = ok && Replace(temp.c_str(), name.c_str());
  if (!ok) Remove(temp.c_str());
  return ok;
}

TReadResult ReadWholeFile(std::string_view fileName, std::size_t maxBytes, std::string& bytes) {
  if (fileName.empty() || fileName.find('\0') != std::string_view::npos) return TReadResult::CannotOpen;
  const Name name = NativeName(fileName);

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
