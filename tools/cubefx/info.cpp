// cubefx info: what an effect holds and how long it runs. Reads the file once and never changes it.
#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <unordered_set>

#include "cube/pattern.h"
#include "tools/cubefx/commands.h"
#include "tools/cubefx/cubefx.h"
#include "tools/cubefx/effect_io.h"

namespace cubefx {

namespace {

struct TEffectInfo {
  std::size_t Frames = 0;
  std::size_t NotFrames = 0;
  std::size_t LitTotal = 0;
  std::size_t LitMost = 0;
  std::size_t Repeats = 0;  // frames equal to an earlier frame
};

TEffectInfo Measure(const TEffect& effect) {
  TEffectInfo info;
  std::unordered_set<cube::TPattern> seen;
  for (std::string_view line : effect.Lines) {
    const cube::TFrameParse parsed = cube::ParseFrame(line);
    if (!parsed.Ok()) {
      ++info.NotFrames;
      continue;
    }
    ++info.Frames;
    const std::size_t lit = parsed.Pattern.count();
    info.LitTotal += lit;
    info.LitMost = std::max(info.LitMost, lit);
    if (!seen.insert(parsed.Pattern).second) ++info.Repeats;
  }
  return info;
}

std::string Fixed(double value, const char* format) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

void Print(const std::string& path, const TEffectInfo& info, long rate, std::ostream& out) {
  const double average =
      info.Frames > 0 ? static_cast<double>(info.LitTotal) / static_cast<double>(info.Frames) : 0;
  out << path << '\n'
      << "  frames:                      " << info.Frames << '\n'
      << "  LEDs lit per frame:          " << Fixed(average, "%.1f") << " on average, " << info.LitMost
      << " at most\n"
      << "  frames repeating an earlier: " << info.Repeats << " (" << info.Frames - info.Repeats
      << " different frames)\n"
      << "  lines that are not frames:   " << info.NotFrames
      << (info.NotFrames > 0 ? " (playback skips them)" : "") << '\n'
      << "  running time:                "
      << Fixed(static_cast<double>(info.Frames) * static_cast<double>(rate) / 1000.0, "%.2f") << " s at "
      << rate << " ms per frame\n";
}

}  // namespace

int Info(const TArgs& args, std::ostream& out, std::ostream& err) {
  long rate = kDefaultRateMs;
  std::string path;
  bool optionsDone = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (optionsDone || !IsOption(word)) {
      if (!path.empty()) return Fail(err, "info", "one file at a time ('" + word + "' is a second one)");
      path = word;
    } else if (word == "--") {
      optionsDone = true;
    } else if (word == "--rate") {
      if (i + 1 >= args.size()) return Fail(err, "info", "--rate needs a value in milliseconds");
      const std::string& value = args[++i];
      if (!ParseCount(value, rate) || rate < kMinRateMs || rate > kMaxRateMs) {
        return Fail(err, "info",
                    "bad rate '" + value + "': give milliseconds per frame from " +
                        std::to_string(kMinRateMs) + " to " + std::to_string(kMaxRateMs));
      }
    } else {
      return Fail(err, "info", "unknown option '" + word + "' (cubefx info --help lists the options)");
    }
  }
  if (path.empty()) return Fail(err, "info", "no file given (usage: cubefx info FILE [--rate MS])");
  TEffect effect;
  std::string why;
  if (!LoadEffect(path, effect, why)) return Fail(err, "info", path + ": " + why);
  Print(path, Measure(effect), rate, out);
  return kExitOk;
}

}  // namespace cubefx
