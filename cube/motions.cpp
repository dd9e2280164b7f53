// The motions. Every random choice comes from one splitmix64 stream per call, and angles go
// through a sine of our own, so the frames never hang on a library's random or mathematical
// functions.
#include "cube/motions.h"

#include <algorithm>
#include <array>

#include "cube/glyphs.h"

namespace gen::motion {

namespace {

using cube::IndexOf;
using cube::kSide;
using cube::TPattern;

constexpr int kLast = kSide - 1;

class TRandom {
 public:
  explicit TRandom(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 <= result < bound (bound > 0), without the bias of a remainder.
  int Below(int bound) { return static_cast<int>((Next() >> 32) * static_cast<std::uint64_t>(bound) >> 32); }

 private:
  std::uint64_t state_;
};

constexpr double kPi = 3.14159265358979323846;

// Reduced to [-pi/2, pi/2], then a Taylor series to the 15th power (error below 1e-12).
double Sine(double x) {
  const double turns = x / (2 * kPi);
  x -= 2 * kPi * static_cast<double>(static_cast<long long>(turns < 0 ? turns - 0.5 : turns + 0.5));
  if (x > kPi / 2) x = kPi - x;
  if (x < -kPi / 2) x = -kPi - x;
  const double square = x * x;
  double term = x;
  double sum = x;
  for (int n = 1; n <= 7; ++n) {
    term *= -square / ((2 * n) * (2 * n + 1));
    sum += term;
  }
  return sum;
}
double Cosine(double x) { return Sine(x + kPi / 2); }

int Floor(double x) {
  const int truncated = static_cast<int>(x);
  return static_cast<double>(truncated) > x ? truncated - 1 : truncated;
}
int Clamp(int value) { return std::clamp(value, 0, kLast); }

// The place at coordinate `at` along `axis`, `u` and `v` along the other two (in X, Y, Z order).
std::size_t Along(cube::TAxis axis, int at, int u, int v) {
  switch (axis) {
    case cube::TAxis::X:
      return IndexOf(at, u, v);
    case cube::TAxis::Y:
      return IndexOf(u, at, v);
    case cube::TAxis::Z:
      break;
  }
  return IndexOf(u, v, at);
}

TPattern Plane(cube::TAxis axis, int at) {
  TPattern plane;
  for (int u = 0; u < kSide; ++u)
    for (int v = 0; v < kSide; ++v) plane.set(Along(axis, at, u, v));
  return plane;
}

// The box from `low` to `high` on every axis: its edges only, or all of it.
TPattern BoxOf(int low, int high, bool solid) {
  TPattern box;
  for (int z = low; z <= high; ++z) {
    for (int y = low; y <= high; ++y) {
      for (int x = low; x <= high; ++x) {
        const int onFaces = (x == low || x == high) + (y == low || y == high) + (z == low || z == high);
        if (solid || onFaces >= 2) box.set(IndexOf(x, y, z));
      }
    }
  }
  return box;
}

}  // namespace

TFrames Sweep(cube::TAxis axis, bool down, bool back, int passes) {
  // There and back leaves out the ends on the way back, so passes join without a repeated frame.
  std::vector<int> places;
  for (int at = 0; at < kSide; ++at) places.push_back(down ? kLast - at : at);
  if (back)
    for (int at = kSide - 2; at > 0; --at) places.push_back(down ? kLast - at : at);
  TFrames frames;
  for (int pass = 0; pass < passes; ++pass)
    for (int at : places) frames.push_back(Plane(axis, at));
  return frames;
}

TFrames Rain(int count, int drops, std::uint64_t seed) {
  TRandom random(seed);
  TFrames frames;
  TPattern sky;
  for (int frame = 0; frame < count; ++frame) {
    sky = cube::Shift(sky, cube::TAxis::Z, -1, false);
    // New drops start on the top layer, each on a column of its own.
    std::array<int, kSide * kSide> columns{};
    for (int i = 0; i < kSide * kSide; ++i) columns[static_cast<std::size_t>(i)] = i;
    for (int i = 0; i < drops; ++i) {
      const int pick = i + random.Below(kSide * kSide - i);
      std::swap(columns[static_cast<std::size_t>(i)], columns[static_cast<std::size_t>(pick)]);
      sky.set(IndexOf(columns[static_cast<std::size_t>(i)] % kSide,
                      columns[static_cast<std::size_t>(i)] / kSide, kLast));
    }
    frames.push_back(sky);
  }
  return frames;
}

TFrames Box(bool centre, bool solid, int motion, int cycles) {
  // From the centre the box grows by one place on every side at a time: 2, 4, 6 wide.
  std::vector<int> sizes;
  for (int size = centre ? 2 : 1; size <= kSide; size += centre ? 2 : 1) sizes.push_back(size);
  if (motion == 1) std::reverse(sizes.begin(), sizes.end());
  if (motion == 2)
    for (std::size_t i = sizes.size() - 1; i > 1; --i) sizes.push_back(sizes[i - 1]);
  TFrames frames;
  for (int cycle = 0; cycle < cycles; ++cycle) {
    for (int size : sizes) {
      const int low = centre ? (kSide - size) / 2 : 0;
      frames.push_back(BoxOf(low, low + size - 1, solid));
    }
  }
  return frames;
}

TFrames Fill(bool emptyFirst, int step, std::uint64_t seed) {
  TRandom random(seed);
  std::array<int, cube::kLedCount> order{};
  for (int i = 0; i < cube::kLedCount; ++i) order[static_cast<std::size_t>(i)] = i;
  for (int i = cube::kLedCount - 1; i > 0; --i)
    std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(random.Below(i + 1))]);
  // The LEDs change in the same order both ways: the first lit is the first darkened.
  TFrames frames;
  TPattern shown = emptyFirst ? cube::AllLit() : TPattern();
  for (int phase = 0; phase < 2; ++phase) {
    for (int done = 0; done < cube::kLedCount;) {
      for (int k = 0; k < step && done < cube::kLedCount; ++k, ++done)
        shown.flip(static_cast<std::size_t>(order[static_cast<std::size_t>(done)]));
      frames.push_back(shown);
    }
  }
  return frames;
}

TFrames Wave(cube::TAxis axis, int amplitude, int period, int count) {
  const int low = WaveLow(amplitude);
  const int span = 2 * amplitude;  // layers low .. low + span - 1
  TFrames frames;
  for (int frame = 0; frame < count; ++frame) {
    TPattern surface;
    for (int at = 0; at < kSide; ++at) {
      // One wavelength across the cube; the crest moves towards higher coordinates.
      const double phase = 2 * kPi * (static_cast<double>(frame) / period - static_cast<double>(at) / kSide);
      const int layer = low + std::min(span - 1, Floor((Sine(phase) + 1) / 2 * span));
      for (int across = 0; across < kSide; ++across)
        surface.set(axis == cube::TAxis::X ? IndexOf(at, across, layer) : IndexOf(across, at, layer));
    }
    frames.push_back(surface);
  }
  return frames;
}

TFrames Spin(bool counterClockwise, int turns, int steps) {
  TFrames frames;
  for (int frame = 0; frame < turns * steps; ++frame) {
    const double angle = 2 * kPi * (frame % steps) / steps * (counterClockwise ? -1 : 1);
    const double c = Cosine(angle);
    const double s = Sine(angle);
    // The line through the centre at `angle`, one place per step along its longer direction.
    TPattern plane;
    for (int t = 0; t < kSide; ++t) {
      const double along = t - 2.5;
      int x = t;
      int y = t;
      if (c * c >= s * s)
        y = Clamp(Floor(2.5 + along * s / c + 0.5));
      else
        x = Clamp(Floor(2.5 + along * c / s + 0.5));
      for (int z = 0; z < kSide; ++z) plane.set(IndexOf(x, y, z));
    }
    frames.push_back(plane);
  }
  return frames;
}

}  // namespace gen::motion

namespace gen::motion {

namespace {

// Draws the glyph's columns from `first` on (those inside the cube) in the face of row `row`.
void DrawGlyph(TPattern& face, const TGlyph& glyph, int first, int row) {
  for (int column = 0; column < kGlyphWidth; ++column) {
    const int x = first + column;
    if (x < 0 || x > kLast) continue;
    for (int line = 0; line < kGlyphHeight; ++line)
      if (GlyphPixel(glyph, column, line)) face.set(IndexOf(x, row, kLast - line));
  }
}

}  // namespace

TFrames Text(std::string_view text, bool fly) {
  std::vector<const TGlyph*> glyphs;
  for (char c : text) glyphs.push_back(GlyphOf(static_cast<unsigned char>(c)));
  TFrames frames;
  if (fly) {
    for (const TGlyph* glyph : glyphs)
      for (int row = 0; row < kSide; ++row) DrawGlyph(frames.emplace_back(), *glyph, 0, row);
    return frames;
  }
  // A strip of the glyphs, one dark column between them, scrolled in from the right until its last
  // column has left on the left: frame k shows the strip's columns k - 5 .. k at columns 0 .. 5.
  constexpr int kAdvance = kGlyphWidth + 1;
  const int width = static_cast<int>(glyphs.size()) * kAdvance - 1;
  for (int offset = -kLast; offset < width; ++offset) {
    TPattern& face = frames.emplace_back();
    for (std::size_t i = 0; i < glyphs.size(); ++i)
      DrawGlyph(face, *glyphs[i], static_cast<int>(i) * kAdvance - offset, 0);
  }
  return frames;
}

cube::TPattern ApplyTool(int tool, const cube::TPattern& pattern) {
  constexpr cube::TAxis kAxes[3] = {cube::TAxis::X, cube::TAxis::Y, cube::TAxis::Z};
  if (tool >= 0 && tool < 6) return cube::Shift(pattern, kAxes[tool / 2], tool % 2 == 0 ? -1 : 1, true);
  if (tool == 6) return cube::RotateZ(pattern);
  if (tool >= 7 && tool < 10) return cube::Mirror(pattern, kAxes[tool - 7]);
  return cube::Invert(pattern);
}

TFrames Repeat(int tool, int times, const cube::TPattern& start) {
  TFrames frames;
  cube::TPattern shown = start;
  for (int k = 0; k < times; ++k) {
    shown = ApplyTool(tool, shown);
    frames.push_back(shown);
  }
  return frames;
}

}  // namespace gen::motion
