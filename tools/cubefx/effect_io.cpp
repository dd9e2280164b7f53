// Effect files in and out through the C library. Paths come as UTF-8: on Windows they reach the
// system through its UTF-16 functions, so a name outside the ANSI code page ("效果.txt") is found;
// elsewhere they go as they are. Never through std::filesystem, whose narrow-to-wide conversion on
// Windows reads the bytes in the ANSI code page.
#include "tools/cubefx/effect_io.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "cube/effect_text.h"
#include "tools/cubefx/command_line.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace cubefx {

namespace {

struct TCloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using TFile = std::unique_ptr<std::FILE, TCloseFile>;

std::string ErrnoText(int code) { return code != 0 ? std::strerror(code) : "unknown error"; }

enum class TKind { Missing, Folder, Other };

#ifdef _WIN32

std::FILE* OpenFile(const std::string& path, bool write) {
  return _wfopen(WideOfUtf8(path).c_str(), write ? L"wb" : L"rb");
}

void RemoveFile(const std::string& path) { _wremove(WideOfUtf8(path).c_str()); }

TKind KindOf(const std::string& path) {
  struct _stat64 info {};
  if (_wstat64(WideOfUtf8(path).c_str(), &info) != 0)
    return errno == ENOENT || errno == ENOTDIR ? TKind::Missing : TKind::Other;
  return (info.st_mode & _S_IFDIR) != 0 ? TKind::Folder : TKind::Other;
}

#else

std::FILE* OpenFile(const std::string& path, bool write) {
  return std::fopen(path.c_str(), write ? "wb" : "rb");
}

void RemoveFile(const std::string& path) { std::remove(path.c_str()); }

TKind KindOf(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0)
    return errno == ENOENT || errno == ENOTDIR ? TKind::Missing : TKind::Other;
  return S_ISDIR(info.st_mode) ? TKind::Folder : TKind::Other;
}

#endif

// Puts `from` in place of `to` in one step, replacing a file that is there.
bool ReplaceFile(const std::string& from, const std::string& to, std::string& why) {
#ifdef _WIN32
  if (MoveFileExW(WideOfUtf8(from).c_str(), WideOfUtf8(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  why = "cannot be replaced (Windows error " + std::to_string(GetLastError()) + ")";
#else
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  why = "cannot be replaced (" + ErrnoText(errno) + ")";
#endif
  return false;
}

// Reads at most limit + 1 bytes, so a file over the limit is told from one at it.
bool ReadUpTo(const std::string& path, std::size_t limit, std::string& bytes, std::string& why) {
  TFile file(OpenFile(path, /*write=*/false));
  if (!file) {
    why = "cannot be opened (" + ErrnoText(errno) + ")";
    return false;
  }
  bytes.clear();
  char block[1 << 16];
  while (bytes.size() <= limit) {
    const std::size_t got = std::fread(block, 1, sizeof block, file.get());
    bytes.append(block, got);
    if (got < sizeof block) break;
  }
  if (std::ferror(file.get())) {
    why = "cannot be read";
    return false;
  }
  return true;
}

bool CheckLines(const TEffect& effect, std::string& why) {
  const std::size_t longLine = effect::FirstLongLine(effect.Lines);
  if (longLine < effect.Lines.size()) {
    why = "not an effect file: line " + std::to_string(longLine + 1) + " is longer than " +
          std::to_string(effect::kMaxLineBytes) + " characters (a frame line is at most " +
          std::to_string(effect::kMaxFrameChars) + ")";
    return false;
  }
  return true;
}

}  // namespace

bool LoadEffect(const std::string& path, TEffect& effect, std::string& why) {
  const TKind kind = KindOf(path);
  if (kind == TKind::Missing) {
    why = "no such file";
    return false;
  }
  if (kind == TKind::Folder) {
    why = "is a folder, not a file";
    return false;
  }
  if (!ReadUpTo(path, effect::kMaxEffectBytes, effect.Bytes, why)) return false;
  if (effect.Bytes.size() > effect::kMaxEffectBytes) {
    why = "too large for an effect (over " + std::to_string(effect::kMaxEffectBytes >> 20) + " MB)";
    return false;
  }
  if (!effect::LooksLikeText(effect.Bytes)) {
    why = "not a text file (it holds NUL bytes)";
    return false;
  }
  effect.Lines = effect::SplitFileLines(effect.Bytes);
  return CheckLines(effect, why);
}

bool WriteWhole(const std::string& path, std::string_view bytes, std::string& why) {
  if (KindOf(path) == TKind::Folder) {
    why = "is a folder, not a file";
    return false;
  }
  // Beside the target, so the final rename stays on one file system and replaces in one step.
  const std::string temporary = path + ".cubefx-tmp";
  TFile file(OpenFile(temporary, /*write=*/true));
  if (!file) {
    why = "cannot be written (" + ErrnoText(errno) + ")";
    return false;
  }
  const bool written =
      std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() && std::fflush(file.get()) == 0;
  const bool closed = std::fclose(file.release()) == 0;
  if (written && closed) {
    if (ReplaceFile(temporary, path, why)) return true;
  } else {
    why = "cannot be written (the disk may be full)";
  }
  RemoveFile(temporary);
  return false;
}

}  // namespace cubefx
