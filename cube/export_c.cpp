// The C header of an effect: bit packing, the identifier and the header's text.
#include "cube/export_c.h"

#include <cctype>
#include <cstdio>

namespace export_c {

namespace {

// The header's comment and macros; "@" stands for the identifier.
constexpr std::string_view kPreamble =
    "/* @: a light effect for a 6x6x6 LED cube, exported by TESSARO.\n"
    " *\n"
    " * @_FRAME_COUNT frames, shown @_RATE_MS ms each. Frame f is @_FRAMES[f], 27 bytes.\n"
    " * Bit order: LED index i = layer * 36 + row * 6 + column (each 0..5; layer 0 first, row 0 and\n"
    " * column 0 as the editor draws them top left) is bit (i % 8), least significant first, of\n"
    " * byte i / 8; a set bit is a lit LED. The index is the number in the editor's frame string.\n"
    " *\n"
    " * Example loop (set_led is the sketch's own):\n"
    " *   for (uint32_t f = 0; f < @_FRAME_COUNT; ++f) {\n"
    " *     for (uint8_t i = 0; i < 216; ++i) {\n"
    " *       uint8_t bits = @_READ_BYTE(&@_FRAMES[f][i / 8]);\n"
    " *       set_led(i / 36, (i / 6) % 6, i % 6, (bits >> (i % 8)) & 1);\n"
    " *     }\n"
    " *     delay(@_RATE_MS);\n"
    " *   }\n"
    " * On AVR the table stays in flash and @_READ_BYTE is pgm_read_byte.\n"
    " */\n"
    "#ifndef @_H\n"
    "#define @_H\n"
    "\n"
    "#include <stdint.h>\n"
    "\n"
    "#if defined(__AVR__)\n"
    "#include <avr/pgmspace.h>\n"
    "#define @_PROGMEM PROGMEM\n"
    "#define @_READ_BYTE(address) pgm_read_byte(address)\n"
    "#else\n"
    "#define @_PROGMEM\n"
    "#define @_READ_BYTE(address) (*(const uint8_t*)(address))\n"
    "#endif\n"
    "\n";

std::string WithName(std::string_view text, const std::string& name) {
  std::string out;
  out.reserve(text.size() + name.size() * 32);
  for (char c : text) {
    if (c == '@')
      out += name;
    else
      out += c;
  }
  return out;
}

void AppendFrameRow(std::string& out, const cube::TPattern& pattern, std::size_t number) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += "  {";
  const std::string bytes = FrameBytes(pattern);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto value = static_cast<unsigned char>(bytes[i]);
    out += "0x";
    out += kHex[value >> 4];
    out += kHex[value & 15];
    if (i + 1 < bytes.size()) out += ',';
  }
  out += "}, /* " + std::to_string(number) + " */\n";
}

}  // namespace

std::vector<cube::TPattern> FramesOf(const std::vector<std::string_view>& lines) {
  std::vector<cube::TPattern> frames;
  for (std::string_view line : lines) {
    const cube::TFrameParse parsed = cube::ParseFrame(line);
    if (parsed.Ok()) frames.push_back(parsed.Pattern);
  }
  return frames;
}

bool TakeRange(std::vector<cube::TPattern>& frames, std::size_t first, std::size_t last) {
  if (first < 1 || first > last || last > frames.size()) return false;
  frames.erase(frames.begin() + static_cast<std::ptrdiff_t>(last), frames.end());
  frames.erase(frames.begin(), frames.begin() + static_cast<std::ptrdiff_t>(first - 1));
  return true;
}

std::string IdentifierOf(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  std::string id;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    // Bytes over 127 (Russian letters in CP1251) are letters to isalnum in some locales.
    const bool plain = byte < 128 && std::isalnum(byte) != 0;
    id += plain ? static_cast<char>(std::toupper(byte)) : '_';
  }
  if (id.empty() || id[0] == '_' || (id[0] >= '0' && id[0] <= '9')) id = "FX_" + id;
  return id;
}

std::string FrameBytes(const cube::TPattern& pattern) {
  std::string bytes(kFrameBytes, '\0');
  for (std::size_t i = 0; i < pattern.size(); ++i)
    if (pattern.test(i)) bytes[i / 8] = static_cast<char>(bytes[i / 8] | (1 << (i % 8)));
  return bytes;
}

std::string HeaderText(const std::vector<cube::TPattern>& frames, long rateMs, const std::string& name) {
  std::string out = WithName(kPreamble, name);
  out += "#define " + name + "_FRAME_COUNT " + std::to_string(frames.size()) + "UL\n";
  out += "#define " + name + "_FRAME_BYTES 27\n";
  out += "#define " + name + "_RATE_MS " + std::to_string(rateMs) + "\n\n";
  out += WithName("static const uint8_t @_FRAMES[@_FRAME_COUNT][@_FRAME_BYTES] @_PROGMEM = {\n", name);
  out.reserve(out.size() + frames.size() * 180);
  for (std::size_t f = 0; f < frames.size(); ++f) AppendFrameRow(out, frames[f], f + 1);
  out += "};\n\n#endif /* " + name + "_H */\n";
  return out;
}

std::vector<cube::TPattern> DecodeHeader(std::string_view text) {
  std::vector<cube::TPattern> frames;
  const std::size_t table = text.find("_PROGMEM = {\n");
  if (table == std::string_view::npos) return frames;
  std::size_t at = table;
  while ((at = text.find("  {", at)) != std::string_view::npos) {
    cube::TPattern pattern;
    for (std::size_t byte = 0; byte < kFrameBytes; ++byte) {
      unsigned value = 0;
      if (std::sscanf(std::string(text.substr(at + 3 + byte * 5, 4)).c_str(), "0x%2X", &value) != 1)
        return {};
      for (std::size_t bit = 0; bit < 8; ++bit)
        if ((value >> bit) & 1U) pattern.set(byte * 8 + bit);
    }
    frames.push_back(pattern);
    at += 3;
  }
  return frames;
}

}  // namespace export_c
