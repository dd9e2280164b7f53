// An animated GIF made of 32-bit pixel frames: each frame with its own colour table (its exact
// colours when they are 256 or fewer, else a fixed 6x7x6 colour cube), its delay in hundredths of a
// second, and a loop count. Written here because the platform's imaging component under Wine 8
// refuses the frame delay and the loop block (E_NOTIMPL). Window-free; must never emit a frame
// whose codes a decoder could misread: every frame is checked against the sizes it was made for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace gif {

class TGifEncoder {
 public:
  // `loops` 0: forever.
  TGifEncoder(int width, int height, int loops);

  // `pixels`: height rows of width 0xAARRGGBB values (alpha ignored), `stride` values apart, top
  // row first, as a top-down 32-bit DIB section holds them. `delay` in 1/100 s.
  void AddFrame(const std::uint32_t* pixels, std::size_t stride, int delay);
  // The file so far, closed with the trailer.
  std::string Finish();
  std::size_t FrameCount() const { return frames_; }

 private:
  std::string out_;
  int width_;
  int height_;
  std::size_t frames_ = 0;
};

}  // namespace gif
