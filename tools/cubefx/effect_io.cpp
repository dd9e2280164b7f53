// Effect files in and out through the C library and std::filesystem, the same on Linux and Windows.
#include "tools/cubefx/effect_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "cube/effect_text.h"

namespace cubefx {

namespace {

namespace fs = std::filesystem;

struct TCloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using TFile = std::unique_ptr<std::FILE, TCloseFile>;

std::string ErrnoText(int code) { return code != 0 ? std::strerror(code) : "unknown error"; }

// Reads at most limit + 1 bytes, so a file over the limit is told from one at it.
bool ReadUpTo(const std::string& path, std::size_t limit, std::string& bytes, std::string& why) {
  TFile file(std::fopen(path.c_str(), "rb"));
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
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) {
    why = "no such file";
    return false;
  }
  if (fs::is_directory(status)) {
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
  std::error_code error;
  if (fs::is_directory(path, error)) {
    why = "is a folder, not a file";
    return false;
  }
  // Beside the target, so the final rename stays on one file system and replaces in one step.
  const std::string temporary = path + ".cubefx-tmp";
  TFile file(std::fopen(temporary.c_str(), "wb"));
  if (!file) {
    why = "cannot be written (" + ErrnoText(errno) + ")";
    return false;
  }
  const bool written =
      std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() && std::fflush(file.get()) == 0;
  const bool closed = std::fclose(file.release()) == 0;
  if (written && closed) {
    fs::rename(temporary, path, error);
    if (!error) return true;
    why = "cannot be replaced (" + error.message() + ")";
  } else {
    why = "cannot be written (the disk may be full)";
  }
  fs::remove(temporary, error);
  return false;
}

}  // namespace cubefx
