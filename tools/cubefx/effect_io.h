// Reading an effect file with the editor's refusals, and writing a file whole or not at all. Must
// never leave a partly written target or a temporary file behind, and never throw.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cubefx {

// An effect file's bytes and its lines (views into Bytes: the object is neither copied nor moved).
struct TEffect {
  std::string Bytes;
  std::vector<std::string_view> Lines;

  TEffect() = default;
  TEffect(const TEffect&) = delete;
  TEffect& operator=(const TEffect&) = delete;
};

// Reads `path` and splits it into lines. Refuses what the editor refuses to open: a missing file, a
// folder, one over the size limit, one with NUL bytes, a line over the line limit. The editor's bound
// on how long its text field may take to lay a text out says nothing about the file and is not
// applied. On refusal returns false with `why` set to one English sentence (no file name).
bool LoadEffect(const std::string& path, TEffect& effect, std::string& why);

// Writes `bytes` to a temporary file beside `path`, checks every byte and the close, then puts it in
// place of `path` in one step. On failure returns false with `why` set and leaves `path` as it was.
bool WriteWhole(const std::string& path, std::string_view bytes, std::string& why);

}  // namespace cubefx
