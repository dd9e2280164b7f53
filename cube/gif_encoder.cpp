// The GIF container and its LZW codes (variable code width, a clear code when the table is full).
#include "cube/gif_encoder.h"

#include <algorithm>
#include <array>
#include <vector>

namespace gif {

namespace {

void PutWord(std::string& out, int value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

// A frame's colours: a table of a power-of-two size and each pixel's index into it.
struct TIndexed {
  std::vector<std::uint32_t> Table;
  std::vector<std::uint8_t> Indices;
  int Bits = 1;  // table size is 1 << Bits
};

std::uint32_t Rgb(std::uint32_t pixel) { return pixel & 0xFFFFFFU; }

// Exact colours in first-seen order; false past 256 of them.
bool IndexExact(const std::uint32_t* pixels, std::size_t stride, int width, int height, TIndexed& frame) {
  std::array<std::int32_t, 4096> slots;  // open addressing: colour table index, -1 empty
  slots.fill(-1);
  // Pictures have runs of one colour (the background above all): those skip the lookup.
  std::uint32_t last = 0;
  std::uint8_t lastIndex = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t colour =
          Rgb(pixels[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x)]);
      if (!frame.Indices.empty() && colour == last) {
        frame.Indices.push_back(lastIndex);
        continue;
      }
      std::size_t slot = (colour * 2654435761U) >> 20 & 4095U;
      while (slots[slot] >= 0 && frame.Table[static_cast<std::size_t>(slots[slot])] != colour)
        slot = (slot + 1) & 4095U;
      if (slots[slot] < 0) {
        if (frame.Table.size() == 256) return false;
        slots[slot] = static_cast<std::int32_t>(frame.Table.size());
        frame.Table.push_back(colour);
      }
      last = colour;
      lastIndex = static_cast<std::uint8_t>(slots[slot]);
      frame.Indices.push_back(lastIndex);
    }
  }
  return true;
}

// Many colours (shaded pictures): the nearest of 6 reds x 7 greens x 6 blues.
void IndexCube(const std::uint32_t* pixels, std::size_t stride, int width, int height, TIndexed& frame) {
  frame.Table.clear();
  frame.Indices.clear();
  for (std::uint32_t r = 0; r < 6; ++r)
    for (std::uint32_t g = 0; g < 7; ++g)
      for (std::uint32_t b = 0; b < 6; ++b)
        frame.Table.push_back((r * 51) << 16 | (g * 255 / 6) << 8 | b * 51);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = pixels[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x)];
      const std::uint32_t r = ((c >> 16 & 255) + 25) / 51, g = ((c >> 8 & 255) * 6 + 127) / 255,
                          b = ((c & 255) + 25) / 51;
      frame.Indices.push_back(static_cast<std::uint8_t>((r * 7 + g) * 6 + b));
    }
  }
}

TIndexed Index(const std::uint32_t* pixels, std::size_t stride, int width, int height) {
  TIndexed frame;
  frame.Indices.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  if (!IndexExact(pixels, stride, width, height, frame)) IndexCube(pixels, stride, width, height, frame);
  while ((std::size_t{1} << frame.Bits) < frame.Table.size()) ++frame.Bits;
  frame.Table.resize(std::size_t{1} << frame.Bits, 0);
  return frame;
}

// Packs codes LSB first into sub-blocks of at most 255 bytes.
class TCodeWriter {
 public:
  explicit TCodeWriter(std::string& out) : out_(out) {}
  void Put(int code, int width) {
    bits_ |= static_cast<std::uint32_t>(code) << count_;
    count_ += width;
    while (count_ >= 8) {
      Byte(static_cast<char>(bits_ & 0xFF));
      bits_ >>= 8;
      count_ -= 8;
    }
  }
  void Close() {
    if (count_ > 0) Byte(static_cast<char>(bits_ & 0xFF));
    if (!block_.empty()) Flush();
    out_ += '\0';
  }

 private:
  void Byte(char value) {
    block_ += value;
    if (block_.size() == 255) Flush();
  }
  void Flush() {
    out_ += static_cast<char>(block_.size());
    out_ += block_;
    block_.clear();
  }
  std::string& out_;
  std::string block_;
  std::uint32_t bits_ = 0;
  int count_ = 0;
};

// The LZW table: (prefix code, next index) -> code, open addressing; 0 marks an empty slot.
class TCodeTable {
 public:
  void Clear() { keys_.fill(0); }
  int Find(std::uint32_t key) const {
    for (std::size_t slot = Slot(key);; slot = (slot + 1) & kMask) {
      if (keys_[slot] == 0) return -1;
      if (keys_[slot] == key + 1) return codes_[slot];
    }
  }
  void Add(std::uint32_t key, int code) {
    std::size_t slot = Slot(key);
    while (keys_[slot] != 0) slot = (slot + 1) & kMask;
    keys_[slot] = key + 1;
    codes_[slot] = static_cast<std::int16_t>(code);
  }

 private:
  static constexpr std::size_t kMask = 8191;
  static std::size_t Slot(std::uint32_t key) { return (key * 2654435761U) >> 19 & kMask; }
  std::array<std::uint32_t, kMask + 1> keys_{};
  std::array<std::int16_t, kMask + 1> codes_{};
};

// The LZW table for few colours (pictures of up to 32): each code's successors in a row of their
// own, looked up without hashing; cleared row by row as the codes come into use.
class TChildTable {
 public:
  explicit TChildTable(int bits) : stride_(std::size_t{1} << bits), codes_(4096 * stride_) {}
  void Clear(int firstFree) {
    // Rows of codes from firstFree on are reset when those codes are made.
    std::fill_n(codes_.begin(), static_cast<std::size_t>(firstFree) * stride_, std::int16_t{0});
  }
  int Find(int prefix, std::uint8_t index) const {
    const std::int16_t code = codes_[static_cast<std::size_t>(prefix) * stride_ + index];
    return code != 0 ? code : -1;
  }
  void Add(int prefix, std::uint8_t index, int code) {
    codes_[static_cast<std::size_t>(prefix) * stride_ + index] = static_cast<std::int16_t>(code);
    std::fill_n(codes_.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(code) * stride_),
                stride_, std::int16_t{0});
  }

 private:
  std::size_t stride_;
  std::vector<std::int16_t> codes_;
};

// Either table behind one face: prefix and index in, code out.
template <class Table>
struct TLookup;
template <>
struct TLookup<TCodeTable> {
  TCodeTable& Table;
  void Clear(int) { Table.Clear(); }
  int Find(int prefix, std::uint8_t index) const { return Table.Find(Key(prefix, index)); }
  void Add(int prefix, std::uint8_t index, int code) { Table.Add(Key(prefix, index), code); }
  static std::uint32_t Key(int prefix, std::uint8_t index) {
    return static_cast<std::uint32_t>(prefix) << 8 | index;
  }
};
template <>
struct TLookup<TChildTable> {
  TChildTable& Table;
  void Clear(int firstFree) { Table.Clear(firstFree); }
  int Find(int prefix, std::uint8_t index) const { return Table.Find(prefix, index); }
  void Add(int prefix, std::uint8_t index, int code) { Table.Add(prefix, index, code); }
};

template <class Lookup>
void WriteCodesWith(std::string& out, const TIndexed& frame, Lookup table) {
  const int minimum = frame.Bits < 2 ? 2 : frame.Bits;
  out += static_cast<char>(minimum);
  const int clear = 1 << minimum, end = clear + 1;
  TCodeWriter writer(out);
  table.Clear(end + 1);
  int width = minimum + 1, next = end + 1;
  writer.Put(clear, width);
  int prefix = frame.Indices[0];
  for (std::size_t i = 1; i < frame.Indices.size(); ++i) {
    const std::uint8_t index = frame.Indices[i];
    const int found = table.Find(prefix, index);
    if (found >= 0) {
      prefix = found;
      continue;
    }
    writer.Put(prefix, width);
    table.Add(prefix, index, next);
    // The decoder widens its codes once its table reaches the next power of two.
    if (next == (1 << width)) ++width;
    if (++next == 4096) {
      // The table is full: start again, as a decoder will on the clear code.
      writer.Put(clear, width);
      table.Clear(end + 1);
      width = minimum + 1;
      next = end + 1;
    }
    prefix = index;
  }
  writer.Put(prefix, width);
  writer.Put(end, width);
  writer.Close();
}

void WriteCodes(std::string& out, const TIndexed& frame) {
  constexpr int kMostChildBits = 5;
  if (frame.Bits <= kMostChildBits) {
    // Codes below the clear code stand for the colours themselves: their rows are used too.
    TChildTable table(frame.Bits < 2 ? 2 : frame.Bits);
    WriteCodesWith(out, frame, TLookup<TChildTable>{table});
    return;
  }
  static thread_local TCodeTable table;
  WriteCodesWith(out, frame, TLookup<TCodeTable>{table});
}

}  // namespace

TGifEncoder::TGifEncoder(int width, int height, int loops) : width_(width), height_(height) {
  out_ = "GIF89a";
  PutWord(out_, width);
  PutWord(out_, height);
  out_ += std::string("\0\0\0", 3);  // no global colour table: each frame has its own
  // The loop block browsers and viewers honour: NETSCAPE2.0, sub-block 1, the loop count.
  out_ += "\x21\xFF\x0BNETSCAPE2.0\x03\x01";
  PutWord(out_, loops);
  out_ += '\0';
}

void TGifEncoder::AddFrame(const std::uint32_t* pixels, std::size_t stride, int delay) {
  const TIndexed frame = Index(pixels, stride, width_, height_);
  out_ += "\x21\xF9\x04";
  out_ += '\x04';  // disposal: leave in place; no transparency
  PutWord(out_, delay);
  out_ += std::string("\0\0", 2);
  out_ += '\x2C';
  PutWord(out_, 0);
  PutWord(out_, 0);
  PutWord(out_, width_);
  PutWord(out_, height_);
  out_ += static_cast<char>(0x80 | (frame.Bits - 1));  // a local colour table of 1 << Bits entries
  for (std::uint32_t colour : frame.Table) {
    out_ += static_cast<char>(colour >> 16 & 255);
    out_ += static_cast<char>(colour >> 8 & 255);
    out_ += static_cast<char>(colour & 255);
  }
  WriteCodes(out_, frame);
  ++frames_;
}

std::string TGifEncoder::Finish() { return out_ + ';'; }

}  // namespace gif
