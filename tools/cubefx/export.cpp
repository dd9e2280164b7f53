// cubefx export: an effect as the editor's "Экспорт…" writes it to a C header. Reads the effect
// once, never changes it, and writes the header whole or not at all.
#include <ostream>
#include <string>

#include "cube/export_c.h"
#include "tools/cubefx/commands.h"
#include "tools/cubefx/cubefx.h"
#include "tools/cubefx/effect_io.h"

namespace cubefx {

namespace {

struct TExportOptions {
  std::string Input;
  std::string Output;
  std::string Name;  // empty: from the output's file name
  long Rate = kDefaultRateMs;
  long FirstFrame = 1, LastFrame = -1;  // 1-based, inclusive; -1: to the last frame
};

bool IsIdentifier(const std::string& name) {
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
  for (char c : name) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!letter && c != '_' && (c < '0' || c > '9')) return false;
  }
  return true;
}

bool ParseRange(const std::string& value, TExportOptions& options) {
  return ParseFrameRange(value, options.FirstFrame, options.LastFrame);
}

bool ParseOption(const TArgs& args, std::size_t& i, TExportOptions& options, std::string& why) {
  const std::string& option = args[i];
  if (option != "--c" && option != "--rate" && option != "--frames" && option != "--name") {
    why = "unknown option '" + option + "'";
    return false;
  }
  if (i + 1 >= args.size()) {
    why = option + " needs a value";
    return false;
  }
  const std::string& value = args[++i];
  bool good = true;
  if (option == "--c") {
    options.Output = value;
    good = !value.empty();
  } else if (option == "--rate") {
    good = ParseCount(value, options.Rate) && options.Rate >= kMinRateMs && options.Rate <= kMaxRateMs;
  } else if (option == "--frames") {
    good = ParseRange(value, options);
  } else {
    options.Name = value;
    good = IsIdentifier(value);
  }
  if (!good) why = "bad value '" + value + "' for " + option;
  return good;
}

bool ParseExport(const TArgs& args, TExportOptions& options, std::string& why) {
  bool optionsDone = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (optionsDone || !IsOption(word)) {
      if (!TakeInput(word, options.Input, why)) return false;
    } else if (word == "--") {
      optionsDone = true;
    } else if (!ParseOption(args, i, options, why)) {
      return false;
    }
  }
  if (options.Input.empty()) why = "no file given";
  if (options.Output.empty() && why.empty()) why = "no output given (--c OUT.h)";
  return why.empty();
}

}  // namespace

int Export(const TArgs& args, std::ostream& out, std::ostream& err) {
  TExportOptions options;
  std::string why;
  if (!ParseExport(args, options, why))
    return Fail(err, "export",
                why + " (usage: cubefx export FILE --c OUT.h [--rate MS] [--frames A-B] [--name ID])");
  TEffect effect;
  if (!LoadEffect(options.Input, effect, why)) return Fail(err, "export", options.Input + ": " + why);
  std::vector<cube::TPattern> frames = export_c::FramesOf(effect.Lines);
  if (frames.empty()) return Fail(err, "export", options.Input + ": no line is a frame; nothing to export");
  const std::size_t total = frames.size();
  const std::size_t last = options.LastFrame < 0 ? total : static_cast<std::size_t>(options.LastFrame);
  if (!export_c::TakeRange(frames, static_cast<std::size_t>(options.FirstFrame), last)) {
    return Fail(err, "export",
                options.Input + ": --frames reaches frame " + std::to_string(last) + " but the file has " +
                    std::to_string(total) + " frames");
  }
  const std::string name = options.Name.empty() ? export_c::IdentifierOf(options.Output) : options.Name;
  if (!WriteWhole(options.Output, export_c::HeaderText(frames, options.Rate, name), why))
    return Fail(err, "export", options.Output + ": " + why);
  out << options.Input << ": " << frames.size() << " of " << total << " frames written to " << options.Output
      << " as " << name << "_FRAMES, " << options.Rate << " ms per frame\n";
  return kExitOk;
}

}  // namespace cubefx
