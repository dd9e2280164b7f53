// cubefx gen: the editor's generators on the command line, from the same table and the same core,
// so a seed gives the same bytes here as in the editor's dialog. Writes to stdout, or the whole file
// at once with -o; a refusal writes nothing.
#include <ostream>
#include <string>

#include "cube/cp1251.h"
#include "cube/generators.h"
#include "tools/cubefx/commands.h"
#include "tools/cubefx/cubefx.h"
#include "tools/cubefx/effect_io.h"

namespace cubefx {

namespace {

struct TGenOptions {
  const gen::TGeneratorInfo* Info = nullptr;
  gen::TValues Values;
  std::uint64_t Seed = gen::kDefaultSeed;
  cube::TPattern Start = cube::TPattern().set(0);  // "repeat" starts from LED 0 unless told
  std::string Output;
};

std::string OptionNames(const gen::TParamInfo& param) {
  std::string names;
  for (std::size_t i = 0; i < param.Options.size(); ++i) {
    names += i == 0 ? "" : i + 1 == param.Options.size() ? " or " : ", ";
    names += param.Options[i].Id;
  }
  return names;
}

// The value of --ID into its slot; an English reason when it is not one the parameter takes.
bool SetParam(const gen::TParamInfo& param, const std::string& word, gen::TValue& value, std::string& why) {
  if (param.Kind == gen::TParamKind::Integer) {
    why = gen::ReadNumber(param, word, value.Number).English;
  } else if (param.Kind == gen::TParamKind::Choice) {
    value.Number = gen::OptionIndex(param, word);
    if (value.Number < 0)
      why = "bad value '" + word + "' for --" + param.Id + " (" + OptionNames(param) + ")";
  } else {
    const cp1251::TConverted text = cp1251::FromUtf8(word);
    value.Text = text.Bytes;
    if (!text.Ok())
      why = std::string(param.Id) + ": character " + std::to_string(text.BadAt) +
            " is not valid UTF-8 or has no place in code page 1251";
  }
  return why.empty();
}

bool SetSpecial(const std::string& option, const std::string& word, TGenOptions& options, std::string& why) {
  if (option == "-o" || option == "--output") {
    options.Output = word;
    if (word.empty()) why = "-o needs a file name";
  } else if (option == "--seed" && options.Info->Seeded) {
    why = gen::ReadSeed(word, options.Seed).English;
  } else if (option == "--start" && options.Info->FromPattern) {
    const cube::TFrameParse start = cube::ParseFrame(word);
    options.Start = start.Pattern;
    if (!start.Ok()) why = std::string("--start: ") + cube::FrameFaultEnglish(start.Fault);
  } else {
    why = std::string(options.Info->Id) + " has no option '" + option + "'";
  }
  return why.empty();
}

bool ParseGen(const TArgs& args, TGenOptions& options, std::string& why) {
  if (args.empty() || IsOption(args[0])) {
    why = "no generator named (cubefx gen --help lists them)";
    return false;
  }
  options.Info = gen::FindGenerator(args[0]);
  if (options.Info == nullptr) {
    why = "unknown generator '" + args[0] + "' (cubefx gen --help lists them)";
    return false;
  }
  options.Values = gen::Defaults(*options.Info);
  for (std::size_t i = 1; i < args.size(); i += 2) {
    const std::string& option = args[i];
    if (!IsOption(option)) {
      why = "unexpected word '" + option + "'";
      return false;
    }
    if (i + 1 >= args.size()) {
      why = option + " needs a value";
      return false;
    }
    const std::string& word = args[i + 1];
    bool set = false;
    for (std::size_t p = 0; p < options.Info->Params.size(); ++p) {
      if (option != std::string("--") + options.Info->Params[p].Id) continue;
      if (!SetParam(options.Info->Params[p], word, options.Values[p], why)) return false;
      set = true;
    }
    if (!set && !SetSpecial(option, word, options, why)) return false;
  }
  return true;
}

void PrintParam(std::ostream& out, const gen::TParamInfo& param) {
  out << "    --" << param.Id << ' ';
  if (param.Kind == gen::TParamKind::Integer)
    out << param.Min << ".." << param.Max << " (default " << param.Default << ")\n";
  else if (param.Kind == gen::TParamKind::Choice)
    out << OptionNames(param) << " (default " << param.Options[static_cast<std::size_t>(param.Default)].Id
        << ")\n";
  else
    out << "TEXT (UTF-8: digits, Latin and Russian letters, . , ! ? - + : ; = / ( ) ' \" * # % < > _; "
           "default \""
        << cp1251::ToUtf8(param.DefaultText) << "\")\n";
}

}  // namespace

void GenHelp(std::ostream& out) {
  for (const gen::TGeneratorInfo& info : gen::Generators()) {
    out << "  " << info.Id << ": " << info.Summary << '\n';
    for (const gen::TParamInfo& param : info.Params) PrintParam(out, param);
    if (info.Seeded) out << "    --seed 0.." << gen::kMaxSeed << " (default " << gen::kDefaultSeed << ")\n";
    if (info.FromPattern) out << "    --start FRAME  the pattern to start from (default 0,227: LED 0 lit)\n";
  }
}

int Gen(const TArgs& args, std::ostream& out, std::ostream& err) {
  TGenOptions options;
  std::string why;
  if (!ParseGen(args, options, why)) return Fail(err, "gen", why);
  const gen::TGenerated made = gen::Generate(*options.Info, options.Values, options.Seed, options.Start);
  if (made.Refusal.Refused()) return Fail(err, "gen", made.Refusal.English);
  const std::string text = gen::FramesText(made.Frames);
  if (options.Output.empty()) {
    out << text;
    return kExitOk;
  }
  if (!WriteWhole(options.Output, text, why)) return Fail(err, "gen", options.Output + ": " + why);
  out << made.Frames.size() << " frames written to " << options.Output << '\n';
  return kExitOk;
}

}  // namespace cubefx
