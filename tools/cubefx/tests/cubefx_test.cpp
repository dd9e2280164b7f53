// cubefx run as the program runs it, on real files in a temporary folder: exit codes, reports, the
// files written and the ones never written; and every tool checked against the editor's pattern
// element, byte for byte.
#include "tools/cubefx/cubefx.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cube/effect_text.h"
#include "cube/generators.h"
#include "cube/pattern.h"
#include "elements/cube_pattern_element.h"
#include "elements/player.h"
#include "tools/cubefx/command_line.h"
#include "tools/cubefx/commands.h"

namespace {

namespace fs = std::filesystem;

static_assert(cubefx::kMinRateMs == TQxPlayer::kMinRate && cubefx::kMaxRateMs == TQxPlayer::kMaxRate &&
                  cubefx::kDefaultRateMs == TQxPlayer::kDefaultRate,
              "cubefx takes the rates the editor's rate field takes");

struct TResult {
  int Code = -1;
  std::string Out, Err;
};

class CubefxTest : public ::testing::Test {
 protected:
  fs::path dir_;

  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("cubefx_test_" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  // Paths as the tool takes them: UTF-8 (the folder's own name may hold any character).
  std::string Path(const std::string& name) const { return Utf8(dir_ / name); }
  static std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
  }
  static std::string Utf8(const char8_t* text) { return Utf8(fs::path(text)); }
  // Opens a file named in UTF-8 for writing, as the system names it (on Windows in UTF-16).
  static std::FILE* Create(const std::string& utf8Path) {
#ifdef _WIN32
    return _wfopen(cubefx::WideOfUtf8(utf8Path).c_str(), L"wb");
#else
    return std::fopen(utf8Path.c_str(), "wb");
#endif
  }
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
    return Path(name);
  }
  static std::string Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }
  // The names in the folder: what a failed write must not have added to.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(Utf8(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
  }
  static TResult Run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    TResult result;
    result.Code = cubefx::Run(args, out, err);
    result.Out = out.str();
    result.Err = err.str();
    return result;
  }
};

// A failure: exit 2, nothing on stdout, exactly one line on stderr holding `mentions`.
void ExpectOneErrorLine(const TResult& result, const std::string& mentions) {
  EXPECT_EQ(result.Code, cubefx::kExitFailed);
  EXPECT_EQ(result.Out, "");
  ASSERT_FALSE(result.Err.empty());
  EXPECT_EQ(result.Err.find('\n'), result.Err.size() - 1) << result.Err;
  EXPECT_NE(result.Err.find(mentions), std::string::npos) << result.Err;
}

// --- check

TEST_F(CubefxTest, CheckPassesAFileOfFramesWithAnyLineEnds) {
  const std::string file = Write("good.txt", "0,1,227\r\n227\n215,227\r5,227");
  const TResult result = Run({"check", file});
  EXPECT_EQ(result.Code, cubefx::kExitOk);
  EXPECT_EQ(result.Out, file + ": 4 lines, 4 frames\n");
  EXPECT_EQ(result.Err, "");
}

TEST_F(CubefxTest, CheckNamesEveryLineThatIsNotAFrameWithItsReason) {
  const std::string file =
      Write("bad.txt", "0,227\r\n1,0,227\r\n\r\n0,216,227\r\n3,3,227\r\n0,1\r\n0, 1,227\r\n");
  const TResult result = Run({"check", file});
  EXPECT_EQ(result.Code, cubefx::kExitNotFrames);
  EXPECT_EQ(result.Out, file + ": 7 lines, 1 frame, 6 lines that are not frames\n" +     //
                            file + ":2: the LED numbers are not in ascending order\n" +  //
                            file + ":3: empty line\n" +                                  //
                            file + ":4: an LED number is greater than 215\n" +           //
                            file + ":5: an LED number is repeated\n" +                   //
                            file + ":6: the line does not end with 227\n" +              //
                            file +
                            ":7: unexpected character: LED numbers separated by commas are expected\n");
}

TEST_F(CubefxTest, CheckNamesAByteOrderMarkOnTheFirstLine) {
  const std::string file = Write("bom.txt", std::string(effect::kUtf8Bom) + "0,227\r\n1,227\r\n");
  const TResult result = Run({"check", file});
  EXPECT_EQ(result.Code, cubefx::kExitNotFrames);
  EXPECT_NE(result.Out.find(file + ":1: the file starts with a UTF-8 byte-order mark\n"), std::string::npos);
}

TEST_F(CubefxTest, CheckRefusesWhatTheEditorRefusesWithOneLineEach) {
  fs::create_directories(dir_ / "folder");
  const struct {
    std::string File, Reason;
  } refused[] = {
      {Path("missing.txt"), "no such file"},
      {Path("folder"), "is a folder"},
      {Write("binary.txt", std::string("0,227\r\n\0\x01", 9)), "not a text file"},
      {Write("huge.txt", std::string(effect::kMaxEffectBytes + 1, '\n')), "too large"},
      {Write("wide.txt", "227\r\n" + std::string(effect::kMaxLineBytes + 1, '1') + "\r\n"),
       "not an effect file: line 2 is longer"},
  };
  for (const auto& file : refused) {
    SCOPED_TRACE(file.File);
    ExpectOneErrorLine(Run({"check", file.File}), file.File + ": " + file.Reason);
  }
}

TEST_F(CubefxTest, CheckReportsEveryFileAndExitsWithTheWorst) {
  const std::string good = Write("good.txt", "227\r\n"), bad = Write("bad.txt", "x\r\n");
  const TResult result = Run({"check", good, Path("missing.txt"), bad});
  EXPECT_EQ(result.Code, cubefx::kExitFailed);
  EXPECT_EQ(result.Out, good + ": 1 line, 1 frame\n" + bad +
                            ": 1 line, 0 frames, 1 line that is not a frame\n" + bad +
                            ":1: unexpected character: LED numbers separated by commas are expected\n");
  EXPECT_NE(result.Err.find("missing.txt: no such file"), std::string::npos);
  EXPECT_EQ(Run({"check", good, bad}).Code, cubefx::kExitNotFrames);
}

TEST_F(CubefxTest, CheckQuietPrintsNothingButKeepsTheExitCode) {
  const std::string good = Write("good.txt", "227\r\n"), bad = Write("bad.txt", "x\r\n");
  for (const auto& [args, code] : std::vector<std::pair<std::vector<std::string>, int>>{
           {{"check", "--quiet", good}, cubefx::kExitOk},
           {{"check", "-q", bad, good}, cubefx::kExitNotFrames},
           {{"check", good, "--quiet", Path("missing.txt")}, cubefx::kExitFailed}}) {
    const TResult result = Run(args);
    EXPECT_EQ(result.Code, code);
    EXPECT_EQ(result.Out + result.Err, "");
  }
}

TEST_F(CubefxTest, CheckJsonReportsFramesBadLinesAndRefusals) {
  const std::string bad = Write("bad.txt", "0,227\n1,0,227\n");
  const TResult result = Run({"check", "--json", "bad\"name.txt", bad});
  EXPECT_EQ(result.Code, cubefx::kExitFailed);
  std::string badInJson;  // Windows paths hold backslashes, which JSON escapes
  for (char c : bad) badInJson += c == '\\' ? std::string("\\\\") : std::string(1, c);
  EXPECT_EQ(
      result.Out,
      "{\"exit\":2,\"files\":[\n{\"file\":\"bad\\\"name.txt\",\"error\":\"no such file\"},\n{\"file\":\"" +
          badInJson +
          "\",\"lines\":2,\"frames\":1,\"notFrames\":[{\"line\":2,\"reason\":\"the LED numbers are "
          "not in ascending order\"}]}\n]}\n");
}

TEST_F(CubefxTest, FilesWithRussianNamesAreReadAndWritten) {
  // The names reach the tool in UTF-8 (on Windows converted from its UTF-16 command line, whatever
  // the code page), and every path it uses must take them so.
  const std::string source = Path("") + Utf8(u8"эффект.txt"), target = Path("") + Utf8(u8"результат.txt");
  std::FILE* file = Create(source);
  // Wine maps such a name to the host's file system only where the host can hold it.
  if (file == nullptr) GTEST_SKIP() << "this system cannot make a file with a Russian name";
  std::fputs("0,227\n", file);
  std::fclose(file);
  EXPECT_EQ(Run({"check", source}).Code, cubefx::kExitOk);
  EXPECT_EQ(Run({"normalize", source}).Code, cubefx::kExitOk);
  EXPECT_EQ(Run({"transform", source, "--invert", "-o", target}).Code, cubefx::kExitOk);
  EXPECT_EQ(Run({"info", target}).Code, cubefx::kExitOk);
  EXPECT_EQ(Names().size(), 2u);
}

// No ANSI code page holds Cyrillic, accented Latin and CJK at once: each must reach the file as named.
TEST_F(CubefxTest, FilesNamedInSeveralScriptsAreReadWrittenAndReportedByTheirNames) {
  const std::string name = Utf8(u8"эффект été 効果.txt"), outName = Utf8(u8"выход 出力 à.txt");
  std::FILE* file = Create(Path("") + name);
  if (file == nullptr) GTEST_SKIP() << "this system cannot make a file with such a name";
  std::fputs("0,227\n1,227\n", file);
  std::fclose(file);
  const TResult checked = Run({"check", Path("") + name});
  EXPECT_EQ(checked.Code, cubefx::kExitOk) << checked.Err;
  EXPECT_NE(checked.Out.find(name + ": 2 lines, 2 frames"), std::string::npos) << checked.Out;
  EXPECT_EQ(Run({"transform", Path("") + name, "--mirror", "x", "-o", Path("") + outName}).Code,
            cubefx::kExitOk);
  EXPECT_EQ(Names(), (std::vector<std::string>{outName, name}));
  // Outside the test macros, which would spell the name in the CP1251 literals of this file.
  const std::string missingName = Utf8(u8"нет 無い.txt");
  const TResult missing = Run({"check", Path("") + missingName});
  EXPECT_EQ(missing.Code, cubefx::kExitFailed);
  EXPECT_NE(missing.Err.find(missingName + ": no such file"), std::string::npos) << missing.Err;
}

// --- options and help

TEST_F(CubefxTest, BadWordsFailWithOneLine) {
  const std::string file = Write("good.txt", "227\r\n");
  ExpectOneErrorLine(Run({"check", "--bogus", file}), "unknown option '--bogus'");
  ExpectOneErrorLine(Run({"check"}), "no file given");
  ExpectOneErrorLine(Run({"check", "--quiet", "--json", file}), "exclude each other");
  ExpectOneErrorLine(Run({"frobnicate", file}), "unknown command 'frobnicate'");
  ExpectOneErrorLine(Run({"info", file, file}), "one file at a time");
  ExpectOneErrorLine(Run({"normalize", file, "-o"}), "-o needs a value");
  EXPECT_EQ(Run({}).Code, cubefx::kExitFailed);
}

TEST_F(CubefxTest, EveryCommandHasHelp) {
  for (const char* command : {"check", "normalize", "info", "transform"}) {
    const TResult result = Run({command, "--help"});
    EXPECT_EQ(result.Code, cubefx::kExitOk);
    EXPECT_EQ(result.Out.rfind(std::string("usage: cubefx ") + command, 0), 0u) << result.Out;
    EXPECT_EQ(result.Err, "");
    EXPECT_EQ(Run({"help", command}).Out, result.Out);
    EXPECT_NE(Run({"--help"}).Out.find(std::string("  ") + command + " "), std::string::npos);
  }
}

// --- normalize

TEST_F(CubefxTest, NormalizeEndsEveryLineWithCrLfAndDropsTheByteOrderMark) {
  const std::string file = Write("effect.txt", std::string(effect::kUtf8Bom) + "0,227\nnote\r227\r\n\n5,227");
  const TResult result = Run({"normalize", file});
  EXPECT_EQ(result.Code, cubefx::kExitOk);
  EXPECT_EQ(result.Out, file + ": 5 lines with CR LF after each, the UTF-8 byte-order mark removed\n");
  EXPECT_EQ(Read(file), "0,227\r\nnote\r\n227\r\n\r\n5,227\r\n");
  EXPECT_EQ(Names(), std::vector<std::string>{"effect.txt"}) << "no temporary file left";
  EXPECT_EQ(Run({"normalize", file}).Out, file + ": already normalized (5 lines)\n");
}

TEST_F(CubefxTest, NormalizeToAnotherFileReplacesItWholeAndLeavesTheSource) {
  const std::string source = Write("in.txt", "0,227\n1,227\n");
  const std::string target = Write("out.txt", std::string(5000, 'x'));
  EXPECT_EQ(Run({"normalize", source, "-o", target}).Code, cubefx::kExitOk);
  EXPECT_EQ(Read(target), "0,227\r\n1,227\r\n");
  EXPECT_EQ(Read(source), "0,227\n1,227\n");
}

TEST_F(CubefxTest, NormalizeThatFailsWritesNothing) {
  const std::string good = Write("good.txt", "227\n");
  const std::string binary = Write("binary.txt", std::string("227\n\0", 5));
  fs::create_directories(dir_ / "folder");
  ExpectOneErrorLine(Run({"normalize", binary, "-o", Path("out.txt")}), "not a text file");
  ExpectOneErrorLine(Run({"normalize", good, "-o", Path("folder")}), "is a folder");
  ExpectOneErrorLine(Run({"normalize", good, "-o", Path("no-folder/out.txt")}), "cannot be written");
  EXPECT_EQ(Names(), (std::vector<std::string>{"binary.txt", "folder", "good.txt"}));
  EXPECT_EQ(Read(good), "227\n");
  EXPECT_TRUE(fs::is_empty(dir_ / "folder"));
}

// --- info

TEST_F(CubefxTest, InfoCountsFramesLitLedsRepeatsAndRunningTime) {
  const std::string file = Write("effect.txt", "0,1,2,227\r\n227\r\nx\r\n0,1,2,227\r\n5,227\r\n5,227\r\n");
  const TResult result = Run({"info", file, "--rate", "250"});
  EXPECT_EQ(result.Code, cubefx::kExitOk);
  EXPECT_EQ(result.Out, file +
                            "\n"
                            "  frames:                      5\n"
                            "  LEDs lit per frame:          1.6 on average, 3 at most\n"
                            "  frames repeating an earlier: 2 (3 different frames)\n"
                            "  lines that are not frames:   1 (playback skips them)\n"
                            "  running time:                1.25 s at 250 ms per frame\n");
  EXPECT_NE(Run({"info", file}).Out.find("0.50 s at 100 ms per frame"), std::string::npos);
}

TEST_F(CubefxTest, InfoTakesOnlyTheRatesTheEditorTakes) {
  const std::string file = Write("effect.txt", "227\r\n");
  EXPECT_EQ(Run({"info", file, "--rate", "20"}).Code, cubefx::kExitOk);
  EXPECT_EQ(Run({"info", file, "--rate", "2000"}).Code, cubefx::kExitOk);
  for (const char* rate : {"19", "2001", "-5", "1e3", "", "100ms"})
    ExpectOneErrorLine(Run({"info", file, "--rate", rate}), "rate");
  ExpectOneErrorLine(Run({"info", file, "--rate"}), "--rate needs a value");
}

// --- transform

// The words that ask cubefx for the tool the editor's element takes as `code`.
std::vector<std::string> WordsOf(std::int32_t code) {
  static const char* const shifts[] = {"x-", "x+", "y-", "y+", "z-", "z+"};
  if (code >= TQxCubePattern::ctShiftXMinus && code <= TQxCubePattern::ctShiftZPlus)
    return {"--shift", shifts[code - TQxCubePattern::ctShiftXMinus]};
  if (code >= TQxCubePattern::ctWrapShiftXMinus && code <= TQxCubePattern::ctWrapShiftZPlus)
    return {"--wrap", "--shift", shifts[code - TQxCubePattern::ctWrapShiftXMinus]};
  switch (code) {
    case TQxCubePattern::ctRotateZ:
      return {"--rotate"};
    case TQxCubePattern::ctMirrorX:
      return {"--mirror", "x"};
    case TQxCubePattern::ctMirrorY:
      return {"--mirror", "Y"};
    case TQxCubePattern::ctMirrorZ:
      return {"--mirror", "z"};
    case TQxCubePattern::ctInvert:
      return {"--invert"};
    default:
      return {"--light-all"};
  }
}

// What the editor's element shows after putting `frame` on the cube and applying the tool `code`.
std::string ThroughTheElement(const std::string& frame, std::int32_t code) {
  TQxCubePattern element;
  TData d;
  MakeStr(&d, ByteString(frame));
  element.inFrame(&d, 0);
  MakeInt(&d, code);
  element.inTransform(&d, 0);
  element.getFrame(&d, 0);
  return std::string(AsStr(&d).view());
}

TEST_F(CubefxTest, EveryToolGivesTheEditorsFrameByteForByte) {
  std::mt19937 random(2026);
  std::vector<std::string> frames{"227", cube::FormatFrame(cube::AllLit())};
  for (int i = 0; i < 40; ++i) {
    cube::TPattern pattern;
    const auto density = random() % 100;
    for (std::size_t led = 0; led < pattern.size(); ++led) pattern.set(led, random() % 100 < density);
    frames.push_back(cube::FormatFrame(pattern));
  }
  std::string text;
  for (const std::string& frame : frames) text += frame + "\r\n";
  const std::string file = Write("effect.txt", text), out = Path("out.txt");
  for (std::int32_t code = TQxCubePattern::ctShiftXMinus; code <= TQxCubePattern::ctLightAll; ++code) {
    std::vector<std::string> args{"transform", file, "-o", out};
    for (const std::string& word : WordsOf(code)) args.push_back(word);
    ASSERT_EQ(Run(args).Code, cubefx::kExitOk) << code;
    std::string expected;
    for (const std::string& frame : frames) expected += ThroughTheElement(frame, code) + "\r\n";
    EXPECT_EQ(Read(out), expected) << "tool code " << code;
  }
}

TEST_F(CubefxTest, TransformAppliesTheStepsInOrderToTheChosenFramesOnly) {
  const std::string file = Write("effect.txt", "0,227\nnote\n1,227\n2,227\n");
  const TResult result = Run({"transform", file, "--frames", "2-3", "--mirror", "x"});
  EXPECT_EQ(result.Code, cubefx::kExitOk);
  EXPECT_EQ(result.Out, file + ": 2 of 3 frames transformed\n");
  EXPECT_EQ(Read(file), "0,227\r\nnote\r\n4,227\r\n3,227\r\n");

  const std::string led0 = Write("led0.txt", "0,227\n");
  const std::string out = Path("out.txt");
  Run({"transform", led0, "--shift", "x+", "--rotate", "-o", out});
  EXPECT_EQ(Read(out), "11,227\r\n") << "shift to column 1, then turn to column 5, row 1";
  Run({"transform", led0, "--rotate", "--shift", "x+", "-o", out});
  EXPECT_EQ(Read(out), "227\r\n") << "turned to column 5, then shifted out of the cube";
  Run({"transform", led0, "--rotate", "--shift", "x+", "--wrap", "--frames", "1", "-o", out});
  EXPECT_EQ(Read(out), "0,227\r\n") << "with wrap it comes back in at column 0";
}

TEST_F(CubefxTest, TransformWithABadWordChangesNoFile) {
  const std::string file = Write("effect.txt", "0,227\n1,227\n");
  const struct {
    std::vector<std::string> Words;
    std::string Mentions;
  } cases[] = {
      {{}, "no step given"},
      {{"--shift", "w+"}, "bad value 'w+' for --shift"},
      {{"--shift", "x"}, "bad value 'x' for --shift"},
      {{"--mirror", "xy"}, "bad value 'xy' for --mirror"},
      {{"--rotate", "--frames", "0-1"}, "bad value '0-1' for --frames"},
      {{"--rotate", "--frames", "2-1"}, "bad value '2-1' for --frames"},
      {{"--rotate", "--frames", "2-3"}, "the file has 2 frames"},
      {{"--rotate", "--spin"}, "unknown option '--spin'"},
      {{"--rotate", "--shift"}, "--shift needs a value"},
  };
  for (const auto& bad : cases) {
    std::vector<std::string> args{"transform", file, "-o", Path("out.txt")};
    args.insert(args.end(), bad.Words.begin(), bad.Words.end());
    ExpectOneErrorLine(Run(args), bad.Mentions);
  }
  EXPECT_EQ(Names(), std::vector<std::string>{"effect.txt"});
  EXPECT_EQ(Read(file), "0,227\n1,227\n");
}

// --- gen

gen::TGenerated Core(const char* id, std::uint64_t seed,
                     std::initializer_list<std::pair<std::size_t, gen::TValue>> set,
                     cube::TPattern start = cube::TPattern().set(0)) {
  const gen::TGeneratorInfo& info = *gen::FindGenerator(id);
  gen::TValues values = gen::Defaults(info);
  for (const auto& [at, value] : set) values[at] = value;
  return gen::Generate(info, values, seed, start);
}

TEST_F(CubefxTest, GenWritesTheCoresFramesToStdoutOrToAFile) {
  const TResult rain = Run({"gen", "rain", "--frames", "12", "--drops", "4", "--seed", "99"});
  EXPECT_EQ(rain.Code, cubefx::kExitOk);
  EXPECT_EQ(rain.Out, gen::FramesText(Core("rain", 99, {{0, {12, ""}}, {1, {4, ""}}}).Frames));
  // UTF-8 text becomes the CP1251 bytes the editor holds (the literal below is CP1251).
  const std::string target = Path("text.txt");
  const TResult text =
      Run({"gen", "text", "--text", "\xD0\x81\xD0\xBB\xD0\xBA\xD0\xB0 1", "--mode", "fly", "-o", target});
  EXPECT_EQ(text.Code, cubefx::kExitOk) << text.Err;
  EXPECT_EQ(text.Out, "36 frames written to " + target + "\n");
  EXPECT_EQ(Read(target), gen::FramesText(Core("text", 1, {{0, {0, "Ёлка 1"}}, {1, {1, ""}}}).Frames));
  const TResult repeat = Run({"gen", "repeat", "--tool", "rotate", "--times", "4", "--start", "1,2,227"});
  EXPECT_EQ(repeat.Out,
            gen::FramesText(
                Core("repeat", 1, {{0, {6, ""}}, {1, {4, ""}}}, cube::TPattern().set(1).set(2)).Frames));
}

TEST_F(CubefxTest, GenRefusesBadNamesParametersAndValuesWritingNothing) {
  const std::string target = Path("never.txt");
  ExpectOneErrorLine(Run({"gen", "snow", "-o", target}), "unknown generator 'snow'");
  ExpectOneErrorLine(Run({"gen"}), "no generator named");
  ExpectOneErrorLine(Run({"gen", "sweep", "--axis", "w", "-o", target}),
                     "bad value 'w' for --axis (x, y or z)");
  ExpectOneErrorLine(Run({"gen", "rain", "--frames", "0", "-o", target}),
                     "frames: the value must be from 1 to 1000");
  ExpectOneErrorLine(Run({"gen", "rain", "--frames", "many"}),
                     "frames: a whole number from 1 to 1000 is expected");
  ExpectOneErrorLine(Run({"gen", "rain", "--frames"}), "--frames needs a value");
  ExpectOneErrorLine(Run({"gen", "sweep", "--seed", "3"}), "sweep has no option '--seed'");
  ExpectOneErrorLine(Run({"gen", "text", "--text", "", "-o", target}), "text: the text is empty");
  ExpectOneErrorLine(Run({"gen", "text", "--text", "a\xE2\x98\x83"}),
                     "text: character 2 is not valid UTF-8 or has no place");
  ExpectOneErrorLine(Run({"gen", "repeat", "--start", "3,1,227"}),
                     "--start: the LED numbers are not in ascending order");
  EXPECT_EQ(Names(), std::vector<std::string>{});
}

TEST_F(CubefxTest, GenHelpListsEveryGeneratorWithItsDefaultsAndRanges) {
  const TResult help = Run({"gen", "--help"});
  EXPECT_EQ(help.Code, cubefx::kExitOk);
  for (const gen::TGeneratorInfo& info : gen::Generators())
    EXPECT_NE(help.Out.find(std::string("  ") + info.Id + ": "), std::string::npos) << info.Id;
  EXPECT_NE(help.Out.find("    --frames 1..1000 (default 30)\n"), std::string::npos);
  EXPECT_NE(help.Out.find("    --axis x, y or z (default z)\n"), std::string::npos);
  EXPECT_NE(help.Out.find("    --seed 0..999999999 (default 1)\n"), std::string::npos);
}

}  // namespace
