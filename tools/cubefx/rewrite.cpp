// cubefx normalize and transform: the commands that write an effect. Both write the whole result
// beside the target and put it in place in one step; the source is read once and never touched
// when the output goes elsewhere.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cube/effect_text.h"
#include "cube/pattern.h"
#include "tools/cubefx/commands.h"
#include "tools/cubefx/cubefx.h"
#include "tools/cubefx/effect_io.h"

namespace cubefx {

namespace {

// One of the editor's tools, as a transform step.
struct TStep {
  enum class TKind { Shift, Rotate, Mirror, Invert, LightAll } Kind;
  cube::TAxis Axis = cube::TAxis::X;
  int Direction = 0;
};

struct TRewriteOptions {
  std::string Input;
  std::string Output;  // empty: replace Input
  std::vector<TStep> Steps;
  bool Wrap = false;
  long FirstFrame = 1, LastFrame = -1;  // 1-based, inclusive; -1: to the last frame
};

std::optional<cube::TAxis> AxisOf(char letter) {
  switch (letter) {
    case 'x':
    case 'X':
      return cube::TAxis::X;
    case 'y':
    case 'Y':
      return cube::TAxis::Y;
    case 'z':
    case 'Z':
      return cube::TAxis::Z;
  }
  return std::nullopt;
}

bool ParseShift(const std::string& value, TRewriteOptions& options) {
  const std::optional<cube::TAxis> axis = value.size() == 2 ? AxisOf(value[0]) : std::nullopt;
  if (!axis || (value[1] != '+' && value[1] != '-')) return false;
  options.Steps.push_back({TStep::TKind::Shift, *axis, value[1] == '+' ? 1 : -1});
  return true;
}

bool ParseMirror(const std::string& value, TRewriteOptions& options) {
  const std::optional<cube::TAxis> axis = value.size() == 1 ? AxisOf(value[0]) : std::nullopt;
  if (!axis) return false;
  options.Steps.push_back({TStep::TKind::Mirror, *axis, 0});
  return true;
}

bool ParseFrames(const std::string& value, TRewriteOptions& options) {
  return ParseFrameRange(value, options.FirstFrame, options.LastFrame);
}

// The value of an option, which must follow it; an error line when it is missing or malformed.
bool TakeValue(const TArgs& args, std::size_t& i, bool (*parse)(const std::string&, TRewriteOptions&),
               TRewriteOptions& options, std::string& why) {
  const std::string& option = args[i];
  if (i + 1 >= args.size()) {
    why = option + " needs a value";
    return false;
  }
  const std::string& value = args[++i];
  if (parse(value, options)) return true;
  why = "bad value '" + value + "' for " + option;
  return false;
}

bool TakeStep(const std::string& word, TRewriteOptions& options) {
  if (word == "--rotate")
    options.Steps.push_back({TStep::TKind::Rotate});
  else if (word == "--invert")
    options.Steps.push_back({TStep::TKind::Invert});
  else if (word == "--light-all")
    options.Steps.push_back({TStep::TKind::LightAll});
  else if (word == "--wrap")
    options.Wrap = true;
  else
    return false;
  return true;
}

bool SetOutput(const std::string& value, TRewriteOptions& options) {
  options.Output = value;
  return !value.empty();
}

// Reads FILE, -o OUT and, when `transforms` is set, the steps and --frames; sets `why` on a bad word.
bool ParseRewrite(const TArgs& args, bool transforms, TRewriteOptions& options, std::string& why) {
  bool optionsDone = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    bool taken = true;
    if (optionsDone || !IsOption(word)) {
      if (!TakeInput(word, options.Input, why)) return false;
    } else if (word == "--") {
      optionsDone = true;
    } else if (word == "-o" || word == "--output") {
      taken = TakeValue(args, i, &SetOutput, options, why);
    } else if (transforms && word == "--shift") {
      taken = TakeValue(args, i, &ParseShift, options, why);
    } else if (transforms && word == "--mirror") {
      taken = TakeValue(args, i, &ParseMirror, options, why);
    } else if (transforms && word == "--frames") {
      taken = TakeValue(args, i, &ParseFrames, options, why);
    } else if (!transforms || !TakeStep(word, options)) {
      why = "unknown option '" + word + "'";
      return false;
    }
    if (!taken) return false;
  }
  if (options.Input.empty()) why = "no file given";
  return !options.Input.empty();
}

// The same transforms the editor's pattern element applies for its tool codes.
cube::TPattern Apply(const TStep& step, const cube::TPattern& pattern, bool wrap) {
  switch (step.Kind) {
    case TStep::TKind::Shift:
      return cube::Shift(pattern, step.Axis, step.Direction, wrap);
    case TStep::TKind::Rotate:
      return cube::RotateZ(pattern);
    case TStep::TKind::Mirror:
      return cube::Mirror(pattern, step.Axis);
    case TStep::TKind::Invert:
      return cube::Invert(pattern);
    case TStep::TKind::LightAll:
      return cube::AllLit();
  }
  return pattern;
}

int Write(const char* command, const TRewriteOptions& options, std::string_view text, std::ostream& err) {
  const std::string& target = options.Output.empty() ? options.Input : options.Output;
  std::string why;
  if (!WriteWhole(target, text, why)) return Fail(err, command, target + ": " + why);
  return kExitOk;
}

std::string Where(const TRewriteOptions& options) {
  return options.Output.empty() ? "" : ", written to " + options.Output;
}

}  // namespace

int Normalize(const TArgs& args, std::ostream& out, std::ostream& err) {
  TRewriteOptions options;
  std::string why;
  if (!ParseRewrite(args, false, options, why))
    return Fail(err, "normalize", why + " (usage: cubefx normalize FILE [-o OUT])");
  TEffect effect;
  if (!LoadEffect(options.Input, effect, why)) return Fail(err, "normalize", options.Input + ": " + why);
  const bool bom = !effect.Lines.empty() && effect::StartsWithUtf8Bom(effect.Lines[0]);
  if (bom) effect.Lines[0].remove_prefix(effect::kUtf8Bom.size());
  const std::string text = effect::SavedTextOf(effect.Lines);
  if (options.Output.empty() && text == effect.Bytes) {
    out << options.Input << ": already normalized (" << effect.Lines.size() << " lines)\n";
    return kExitOk;
  }
  if (const int failed = Write("normalize", options, text, err)) return failed;
  out << options.Input << ": " << effect.Lines.size() << (effect.Lines.size() == 1 ? " line" : " lines")
      << " with CR LF after each" << (bom ? ", the UTF-8 byte-order mark removed" : "") << Where(options)
      << '\n';
  return kExitOk;
}

int Transform(const TArgs& args, std::ostream& out, std::ostream& err) {
  TRewriteOptions options;
  std::string why;
  if (!ParseRewrite(args, true, options, why))
    return Fail(err, "transform", why + " (cubefx transform --help lists the options)");
  if (options.Steps.empty())
    return Fail(err, "transform", "no step given (--shift, --rotate, --mirror, --invert or --light-all)");
  TEffect effect;
  if (!LoadEffect(options.Input, effect, why)) return Fail(err, "transform", options.Input + ": " + why);

  // Owns the new frame lines the views below point into; reserved whole, so none of them ever moves.
  std::vector<std::string> transformed;
  transformed.reserve(effect.Lines.size());
  std::vector<std::string_view> lines = effect.Lines;
  long frame = 0;
  for (std::string_view& line : lines) {
    cube::TFrameParse parsed = cube::ParseFrame(line);
    if (!parsed.Ok()) continue;
    ++frame;
    if (frame < options.FirstFrame || (options.LastFrame >= 0 && frame > options.LastFrame)) continue;
    for (const TStep& step : options.Steps) parsed.Pattern = Apply(step, parsed.Pattern, options.Wrap);
    line = transformed.emplace_back(cube::FormatFrame(parsed.Pattern));
  }
  if (options.LastFrame > frame) {
    return Fail(err, "transform",
                options.Input + ": --frames reaches frame " + std::to_string(options.LastFrame) +
                    " but the file has " + std::to_string(frame) + " frames");
  }
  if (const int failed = Write("transform", options, effect::SavedTextOf(lines), err)) return failed;
  out << options.Input << ": " << transformed.size() << " of " << frame << " frames transformed"
      << Where(options) << '\n';
  return kExitOk;
}

}  // namespace cubefx
