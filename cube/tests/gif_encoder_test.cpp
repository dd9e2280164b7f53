// GIFs read back by an independent decoder (ImageMagick): frame count, delays, loop, size and
// every pixel, for pictures of few colours and for noise that fills the code table many times.
#include "cube/gif_encoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string Output(const std::string& command) {
  std::string text;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return text;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, got);
  pclose(pipe);
  return text;
}

fs::path Save(const std::string& bytes, const std::string& name) {
  const fs::path dir = fs::path(CUBE_TEST_WORK) / "gif";
  fs::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary) << bytes;
  return dir / name;
}

// The frame's pixels as ImageMagick decodes them, 0xRRGGBB each.
std::vector<std::uint32_t> Decoded(const fs::path& file, int frame) {
  const std::string rgb =
      Output(std::string(CUBE_CONVERT) + " '" + file.string() + "[" + std::to_string(frame) + "]' rgb:-");
  std::vector<std::uint32_t> pixels;
  for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
    pixels.push_back(static_cast<std::uint32_t>(static_cast<unsigned char>(rgb[i])) << 16 |
                     static_cast<std::uint32_t>(static_cast<unsigned char>(rgb[i + 1])) << 8 |
                     static_cast<unsigned char>(rgb[i + 2]));
  }
  return pixels;
}

std::vector<std::uint32_t> Noise(std::size_t count, std::uint32_t colours, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint32_t> pixels(count);
  // Colours 0x010203 apart, so every one survives the table exactly.
  for (std::uint32_t& p : pixels)
    p = 0xFF000000U | static_cast<std::uint32_t>(random() % colours) * 0x010203U;
  return pixels;
}

TEST(GifEncoder, FramesDelaysLoopAndSizeAreWhatADecoderReads) {
  const int width = 7, height = 5;
  gif::TGifEncoder encoder(width, height, 0);
  std::vector<std::uint32_t> pixels(width * height, 0xFF102030U);
  for (int delay : {4, 10, 250}) {
    pixels[static_cast<std::size_t>(delay % 35)] = 0xFFFF0000U;
    encoder.AddFrame(pixels.data(), width, delay);
  }
  const fs::path file = Save(encoder.Finish(), "three.gif");
  EXPECT_EQ(Output("identify -format '%T %w %h\\n' " + file.string()), "4 7 5\n10 7 5\n250 7 5\n");
  // ImageMagick names the loop count only when the NETSCAPE2.0 block is there.
  EXPECT_NE(Output("identify -verbose " + file.string()).find("Iterations: 0"), std::string::npos)
      << "loops forever";
  const std::vector<std::uint32_t> last = Decoded(file, 2);
  ASSERT_EQ(last.size(), pixels.size());
  EXPECT_EQ(last[0], 0x102030U);
  EXPECT_EQ(last[10], 0xFF0000U);
  EXPECT_EQ(last[250 % 35], 0xFF0000U);
}

TEST(GifEncoder, NoiseThatFillsTheCodeTableDecodesPixelForPixel) {
  // Each colour count crosses a table size; 200x150 of noise clears the LZW table many times.
  for (std::uint32_t colours : {1U, 2U, 3U, 17U, 256U}) {
    const int width = 200, height = 150;
    const std::vector<std::uint32_t> pixels = Noise(width * height, colours, colours);
    gif::TGifEncoder encoder(width, height, 0);
    encoder.AddFrame(pixels.data(), width, 10);
    const fs::path file = Save(encoder.Finish(), "noise" + std::to_string(colours) + ".gif");
    std::vector<std::uint32_t> expected;
    for (std::uint32_t p : pixels) expected.push_back(p & 0xFFFFFFU);
    EXPECT_EQ(Decoded(file, 0), expected) << colours << " colours";
  }
}

TEST(GifEncoder, MoreThan256ColoursComeOutNearTheirOwn) {
  const int width = 64, height = 64;
  std::vector<std::uint32_t> pixels(width * height);
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = static_cast<std::uint32_t>(i * 4099U) & 0xFFFFFFU;
  // A stride wider than the picture: only the picture's part of each row is read.
  std::vector<std::uint32_t> rows(static_cast<std::size_t>(width + 3) * height, 0xFFFFFFU);
  for (int y = 0; y < height; ++y)
    std::copy_n(pixels.begin() + y * width, width, rows.begin() + y * (width + 3));
  gif::TGifEncoder encoder(width, height, 0);
  encoder.AddFrame(rows.data(), width + 3, 10);
  const std::vector<std::uint32_t> decoded = Decoded(Save(encoder.Finish(), "many.gif"), 0);
  ASSERT_EQ(decoded.size(), pixels.size());
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    for (int shift : {0, 8, 16}) {
      const int want = static_cast<int>(pixels[i] >> shift & 255),
                got = static_cast<int>(decoded[i] >> shift & 255);
      ASSERT_LE(std::abs(want - got), 26) << "pixel " << i;
    }
  }
}

}  // namespace
