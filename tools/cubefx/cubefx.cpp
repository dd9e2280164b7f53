// The dispatcher of cubefx: the command table, the help texts and what every command shares.
#include "tools/cubefx/cubefx.h"

#include <array>
#include <ostream>

#include "cube/effect_text.h"
#include "tools/cubefx/commands.h"

namespace cubefx {

namespace {

struct TCommand {
  const char* Name;
  const char* Summary;
  const char* Help;
  int (*Run)(const TArgs& args, std::ostream& out, std::ostream& err);
  void (*MoreHelp)(std::ostream& out) = nullptr;  // help made from a table, after Help
};

constexpr std::array<TCommand, 6> kCommands{{
    {"check", "check that every line of effect files is a frame",
     "usage: cubefx check [--quiet | --json] FILE...\n"
     "Checks that every line of each file is a frame string the cube can show, as the editor does.\n"
     "Prints the lines, frames and lines that are not frames of each file, then FILE:LINE: reason for\n"
     "each line that is not a frame.\n"
     "  --quiet  print nothing; only the exit code tells\n"
     "  --json   print one machine-readable report of every file\n"
     "Exit code: 0 every line is a frame, 1 some lines are not frames, 2 a file cannot be read or is\n"
     "refused (missing, a folder, over 4 MB, not text, a line too long for an effect) or a bad option.\n",
     &Check},
    {"normalize", "write an effect with CR LF after every line, as the editor saves it",
     "usage: cubefx normalize FILE [-o OUT]\n"
     "Writes the effect with CR LF after every line, as the editor saves it, and removes a UTF-8\n"
     "byte-order mark at its start. Lines keep their bytes otherwise.\n"
     "  -o OUT  write to OUT instead of replacing FILE\n"
     "The target is replaced in one step: it is never left partly written.\n"
     "Exit code: 0 written (or already normalized), 2 failed.\n",
     &Normalize},
    {"info", "frame count, LEDs lit, repeated frames and running time of an effect",
     "usage: cubefx info FILE [--rate MS]\n"
     "Prints the frame count, the LEDs lit per frame on average and at most, the frames that repeat an\n"
     "earlier frame, the lines that are not frames and the running time.\n"
     "  --rate MS  milliseconds per frame, 20 to 2000, as in the editor (default 100)\n"
     "Exit code: 0 printed, 2 failed.\n",
     &Info},
    {"transform", "apply the editor's pattern tools to the frames of an effect",
     "usage: cubefx transform FILE STEP... [--wrap] [--frames N | --frames A-B] [-o OUT]\n"
     "Applies the editor's tools, in the order given, to every frame (or to frames A to B, counted\n"
     "from 1 among the frames). Lines that are not frames are kept as they are.\n"
     "Steps:\n"
     "  --shift AXIS+ | AXIS-  move every LED one place along x (column), y (row) or z (layer)\n"
     "  --rotate               a quarter turn about the vertical axis, as the editor's button\n"
     "  --mirror AXIS          reflect along x, y or z\n"
     "  --invert               light the dark LEDs and darken the lit ones\n"
     "  --light-all            light every LED\n"
     "  --wrap                 shifts wrap around to the far side (the editor's \"wrap\" on)\n"
     "  -o OUT                 write to OUT instead of replacing FILE (CR LF after every line)\n"
     "Exit code: 0 written, 2 failed.\n",
     &Transform},
    {"export", "write an effect as a C header for a microcontroller sketch",
     "usage: cubefx export FILE --c OUT.h [--rate MS] [--frames A-B] [--name ID]\n"
     "Writes the frames of the effect as a C header, as the editor's export does: each frame as 27\n"
     "bytes in program memory on AVR (plain const elsewhere), LED index i = layer * 36 + row * 6 +\n"
     "column at bit i % 8 (least significant first) of byte i / 8; the frame count and the rate.\n"
     "Lines that are not frames are skipped.\n"
     "  --c OUT.h     the header to write (replaced in one step, never left partly written)\n"
     "  --rate MS     milliseconds per frame, 20 to 2000 (default 100)\n"
     "  --frames A-B  only frames A to B, counted from 1 among the frames (or --frames N)\n"
     "  --name ID     the C name the header's names start with (default: OUT's name, upper-cased)\n"
     "Exit code: 0 written, 2 failed (no frames, a bad range or option, a file that cannot be read\n"
     "or written).\n",
     &Export},
    {"gen", "generate the frames of a stock motion (rain, a sweeping plane, text...)",
     "usage: cubefx gen NAME [--PARAMETER VALUE]... [--seed N] [-o OUT]\n"
     "Writes the frames of a generator, as the editor's generator dialog makes them, each followed by\n"
     "CR LF: to the standard output, or to OUT, replaced in one step. The same values and seed give\n"
     "the same bytes as the editor. A parameter left out takes its default.\n"
     "Exit code: 0 written, 2 a bad name, parameter or value (nothing is written).\n"
     "generators and their parameters:\n",
     &Gen, &GenHelp},
}};

void PrintUsage(std::ostream& to) {
  to << "usage: cubefx COMMAND [OPTIONS] FILE...\n"
        "Checks and reshapes effect files of the 6x6x6 LED cube.\n\ncommands:\n";
  for (const TCommand& command : kCommands) {
    to << "  " << command.Name << std::string(11 - std::string_view(command.Name).size(), ' ')
       << command.Summary << '\n';
  }
  to << "\n'cubefx COMMAND --help' tells more about one command.\n";
}

const TCommand* Find(std::string_view name) {
  for (const TCommand& command : kCommands)
    if (name == command.Name) return &command;
  return nullptr;
}

void PrintHelp(const TCommand& command, std::ostream& out) {
  out << command.Help;
  if (command.MoreHelp != nullptr) command.MoreHelp(out);
}

bool AsksForHelp(const TArgs& args) {
  for (const std::string& word : args) {
    if (word == "--") return false;
    if (word == "--help" || word == "-h") return true;
  }
  return false;
}

}  // namespace

int Fail(std::ostream& err, std::string_view command, const std::string& message) {
  err << "cubefx " << command << ": " << message << '\n';
  return kExitFailed;
}

const char* LineFault(std::size_t index, std::string_view line, cube::TFrameFault fault) {
  if (index == 0 && effect::StartsWithUtf8Bom(line)) return "the file starts with a UTF-8 byte-order mark";
  return cube::FrameFaultEnglish(fault);
}

bool ParseCount(std::string_view text, long& value) {
  if (text.empty() || text.size() > 9) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

bool TakeInput(const std::string& word, std::string& input, std::string& why) {
  if (!input.empty()) {
    why = "one file at a time ('" + word + "' is a second one)";
    return false;
  }
  input = word;
  return true;
}

bool ParseFrameRange(std::string_view text, long& first, long& last) {
  const std::size_t dash = text.find('-');
  const std::string_view from = text.substr(0, dash);
  const std::string_view to = dash == std::string_view::npos ? from : text.substr(dash + 1);
  return ParseCount(from, first) && ParseCount(to, last) && first >= 1 && first <= last;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    PrintUsage(err);
    return kExitFailed;
  }
  const std::string& name = args[0];
  if (name == "--help" || name == "-h" || name == "help") {
    const TCommand* about = args.size() > 1 ? Find(args[1]) : nullptr;
    if (about != nullptr)
      PrintHelp(*about, out);
    else
      PrintUsage(out);
    return kExitOk;
  }
  const TCommand* command = Find(name);
  if (command == nullptr) {
    err << "cubefx: unknown command '" << name << "' (cubefx --help lists the commands)\n";
    return kExitFailed;
  }
  const TArgs rest(args.begin() + 1, args.end());
  if (AsksForHelp(rest)) {
    PrintHelp(*command, out);
    return kExitOk;
  }
  return command->Run(rest, out, err);
}

}  // namespace cubefx
