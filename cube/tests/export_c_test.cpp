// The C header compiled for real: natively into a program that prints the frames back, and for an
// AVR chip, where the table must go into program memory.
#include "cube/export_c.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<cube::TPattern> SampleFrames() {
  std::vector<cube::TPattern> frames(5);
  frames[1].set(0);                    // LSB of the first byte
  frames[2].set(cube::kLedCount - 1);  // MSB of the last byte
  frames[3] = cube::AllLit();
  std::mt19937 random(7);
  for (std::size_t i = 0; i < cube::kLedCount; ++i)
    if (random() % 3 == 0) frames[4].set(i);
  return frames;
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

fs::path WorkDir() {
  const fs::path dir = fs::path(CUBE_TEST_WORK) / "export_c";
  fs::create_directories(dir);
  return dir;
}

fs::path WriteHeader(const std::vector<cube::TPattern>& frames, const std::string& name) {
  const fs::path header = WorkDir() / (name + ".h");
  std::ofstream(header, std::ios::binary) << export_c::HeaderText(frames, 40, name);
  return header;
}

// Prints each frame of the table as a frame string, one per line, reading it the way the header's
// own comment tells a sketch to.
std::string Printer(const std::string& name) {
  return "#include <stdio.h>\n#include \"" + name +
         ".h\"\n"
         "int main(void) {\n"
         "  for (unsigned long f = 0; f < " +
         name +
         "_FRAME_COUNT; ++f) {\n"
         "    for (int i = 0; i < 216; ++i) {\n"
         "      unsigned char bits = " +
         name + "_READ_BYTE(&" + name +
         "_FRAMES[f][i / 8]);\n"
         "      if ((bits >> (i % 8)) & 1) printf(\"%d,\", i);\n"
         "    }\n"
         "    printf(\"227\\n\");\n"
         "  }\n"
         "  return " +
         name +
         "_RATE_MS == 40 ? 0 : 1;\n"
         "}\n";
}

int Shell(const std::string& command) { return std::system(command.c_str()); }

TEST(ExportC, TheHeaderCompiledNativelyPrintsTheSameFrames) {
  const std::vector<cube::TPattern> frames = SampleFrames();
  const fs::path header = WriteHeader(frames, "ROUND_TRIP");
  const fs::path dir = header.parent_path();
  std::ofstream(dir / "printer.c") << Printer("ROUND_TRIP");
  const std::string build = std::string(CUBE_HOST_CC) + " -std=c99 -Wall -Wextra -Werror -o " +
                            (dir / "printer").string() + " " + (dir / "printer.c").string();
  ASSERT_EQ(Shell(build), 0) << build;
  ASSERT_EQ(Shell((dir / "printer").string() + " > " + (dir / "printed.txt").string()), 0);
  std::string expected;
  for (const cube::TPattern& frame : frames) expected += cube::FormatFrame(frame) + "\n";
  EXPECT_EQ(Read(dir / "printed.txt"), expected);
}

TEST(ExportC, TheHeaderCompilesForAnAvrWithTheTableInProgramMemory) {
  const std::string avr = CUBE_AVR_GCC;
  if (avr.empty()) GTEST_SKIP() << "avr-gcc is not installed";
  const fs::path header = WriteHeader(SampleFrames(), "AVR_FX");
  const fs::path dir = header.parent_path();
  std::ofstream(dir / "avr.c")
      << "#include \"AVR_FX.h\"\n"
         "uint8_t first_byte(uint8_t f) { return AVR_FX_READ_BYTE(&AVR_FX_FRAMES[f][0]); }\n";
  const fs::path object = dir / "avr.o";
  const std::string build =
      avr + " -mmcu=atmega328p -Os -Wall -Werror -c -o " + object.string() + " " + (dir / "avr.c").string();
  ASSERT_EQ(Shell(build), 0) << build;
  // In flash (.progmem.data), not copied into the chip's 2 KB of RAM (.data).
  ASSERT_EQ(Shell(std::string(CUBE_AVR_GCC).replace(std::string(CUBE_AVR_GCC).rfind("gcc"), 3, "objdump") +
                  " -h " + object.string() + " > " + (dir / "sections.txt").string()),
            0);
  const std::string sections = Read(dir / "sections.txt");
  EXPECT_NE(sections.find(".progmem.data"), std::string::npos) << sections;
}

TEST(ExportC, TheDecoderReadsBackEveryBitAtItsPlace) {
  const std::vector<cube::TPattern> frames = SampleFrames();
  EXPECT_EQ(export_c::DecodeHeader(export_c::HeaderText(frames, 100, "FX")), frames);
  const std::string bytes = export_c::FrameBytes(frames[2]);
  ASSERT_EQ(bytes.size(), 27u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[26]), 0x80) << "LED 215 is the top bit of byte 26";
  EXPECT_EQ(export_c::FrameBytes(frames[1])[0], 1);
  EXPECT_TRUE(export_c::DecodeHeader("no table here").empty());
}

TEST(ExportC, IdentifiersComeFromTheFileNameAndAreValidC) {
  EXPECT_EQ(export_c::IdentifierOf("C:\\effects\\zozivu.h"), "ZOZIVU");
  EXPECT_EQ(export_c::IdentifierOf("/tmp/my wave-2.v1.h"), "MY_WAVE_2_V1");
  EXPECT_EQ(export_c::IdentifierOf("3d.h"), "FX_3D");
  EXPECT_EQ(export_c::IdentifierOf(".h"), "FX__H") << "a name that is only an extension";
  EXPECT_EQ(export_c::IdentifierOf("волна.h"), "FX" + std::string(6, '_')) << "CP1251 letters are not C's";
  EXPECT_EQ(export_c::IdentifierOf(""), "FX_");
}

TEST(ExportC, RangesCountFramesFromOneAndRefuseWhatIsNotThere) {
  std::vector<cube::TPattern> frames = SampleFrames();
  EXPECT_FALSE(export_c::TakeRange(frames, 0, 2));
  EXPECT_FALSE(export_c::TakeRange(frames, 3, 2));
  EXPECT_FALSE(export_c::TakeRange(frames, 2, 6));
  EXPECT_EQ(frames.size(), 5u) << "a refused range takes nothing";
  const std::vector<cube::TPattern> all = frames;
  ASSERT_TRUE(export_c::TakeRange(frames, 2, 4));
  EXPECT_EQ(frames, (std::vector<cube::TPattern>{all[1], all[2], all[3]}));
  const std::vector<std::string_view> lines{"0,227", "junk", "", "227"};
  EXPECT_EQ(export_c::FramesOf(lines).size(), 2u) << "lines that are not frames are skipped";
}

}  // namespace
