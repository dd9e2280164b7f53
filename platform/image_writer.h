// Pictures written to files: a PNG encoded by the system's imaging component (WIC), and the bytes
// of a picture encoded elsewhere (the GIF: Wine's WIC refuses GIF frame delays, so the cube core
// encodes it). Every file is written whole beside its target and then put in its place: a failure
// never leaves a partly written picture, nor a temporary file. Windows builds only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

enum class TImageResult { Ok, EncodeFailed, WriteFailed, DiskFull };

// Pixels of a top-down 32-bit DIB section: `stride` values a row, 0x00RRGGBB each.
struct TPixelView {
  const std::uint32_t* Pixels = nullptr;
  int Width = 0;
  int Height = 0;
  std::size_t Stride = 0;
};

TImageResult WritePngFile(std::string_view fileName, const TPixelView& picture);

// Writes `bytes` whole; a failure on a disk without room for them is DiskFull.
TImageResult WriteExportFile(std::string_view fileName, std::string_view bytes);
