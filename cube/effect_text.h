// The effect text as the workbench sees it, window-free: an effect file's bytes split into lines,
// the memo text made from them, which lines are frames, where the memo's lines start, and the play
// clock that paces playback. Must never change a line's bytes: a line that is not a frame stays
// exactly as it was read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cube/pattern.h"

namespace effect {

// Files larger than this are refused: no effect is anywhere near it. Shown unwrapped, the
// effect text's edit control lays out one this large in about a second or more under Wine
// (bench/effect_bench.cpp measures it).
inline constexpr std::size_t kMaxEffectBytes = std::size_t{4} << 20;
// Wrapped, the edit control's layout time grows with each line's length times itself (about 1e-8 s
// per unit under Wine, far less on Windows); unwrapped, only with the text's length. An effect
// heavier than this would take over about a second to show wrapped, so it opens unwrapped.
inline constexpr std::uint64_t kMaxWrappedWeight = 100'000'000;
// Wrapping a text heavier than this on the user's request would keep the program busy for many
// seconds (all 216 LEDs lit in 1,000 frames take some seconds under Wine): it stays unwrapped.
inline constexpr std::uint64_t kMaxLayoutWeight = 600'000'000;
// The longest frame line: all 216 indices with their commas, then "227".
inline constexpr std::size_t kMaxFrameChars = cube::kMaxFrameLength;
// A line longer than this cannot belong to an effect; the edit control takes a quarter second
// for one such line and minutes for one of a megabyte, so a file holding one is refused.
inline constexpr std::size_t kMaxLineBytes = 4096;
// How many line numbers a message about lines that are not frames lists; the count names them all.
inline constexpr std::size_t kListedBadLines = 20;

using TLineTest = bool (*)(std::string_view line);

// An effect file's lines, split at CR LF, LF and CR alike. A line end at the end of the bytes does
// not start another line, so "" has no lines and "a\n" one.
std::vector<std::string_view> SplitFileLines(std::string_view bytes);
// The index of the first line longer than kMaxLineBytes; lines.size() when there is none.
std::size_t FirstLongLine(const std::vector<std::string_view>& lines);
// The sum of the squared line lengths: what the edit control's layout time follows.
std::uint64_t LayoutWeight(const std::vector<std::string_view>& lines);
// A text file holds no NUL byte.
bool LooksLikeText(std::string_view bytes);

// The UTF-8 byte-order mark some text editors put first. The cube's firmware reads it as three stray
// bytes, so a first line that starts with it is never a frame.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
inline bool StartsWithUtf8Bom(std::string_view text) { return text.substr(0, kUtf8Bom.size()) == kUtf8Bom; }
// The memo text of these lines: joined by CR LF, so saving the memo writes CR LF after every line.
// When the last line is empty it is ended too, or saving would drop it.
std::string MemoTextOf(const std::vector<std::string_view>& lines);
// The effect file as the editor saves it: every line followed by CR LF.
std::string SavedTextOf(const std::vector<std::string_view>& lines);

// The lines of the memo's text as a save reads them: broken at CR or CR LF, a final break making
// no extra line. Each entry is where a line starts and how long it is.
struct TLineSpan {
  std::size_t Start = 0;
  std::size_t Length = 0;
};
std::vector<TLineSpan> MemoLines(std::string_view text);
inline std::string_view LineOf(std::string_view text, const TLineSpan& line) {
  return text.substr(line.Start, line.Length);
}
// The texts of those lines, in order.
std::vector<std::string_view> LineViews(std::string_view text, const std::vector<TLineSpan>& lines);
// The 0-based line holding character offset `at`; lines.size() for the empty place after a final
// line break (or in an empty text).
std::size_t LineAt(const std::vector<TLineSpan>& lines, std::size_t at);

// Lines that fail `isFrame`: how many, and the first few as 1-based line numbers; whether the first
// line starts with a UTF-8 byte-order mark, which the message then names.
struct TBadLines {
  std::size_t Count = 0;
  std::vector<std::size_t> First;
  bool ByteOrderMark = false;
};
template <class Lines>
TBadLines FindBadLines(const Lines& lines, TLineTest isFrame, std::size_t listed = kListedBadLines);
// The indices of the lines that pass `isFrame`, in order: what playback steps through.
template <class Lines>
std::vector<std::size_t> PlayList(const Lines& lines, TLineTest isFrame);

// An effect text split once: its lines as the memo holds them and, in order, those that are
// frames. Playback and the frame count read it; nobody splits the same text again.
struct TParsedEffect {
  std::string Text;
  std::vector<TLineSpan> Lines;
  std::vector<std::size_t> PlayList;
};
TParsedEffect ParseEffect(std::string text);

// The message text after opening an effect with lines that are not frames (CP1251).
std::string BadLinesMessage(const TBadLines& bad);

// Paces playback without drift: frame k is due at start + k * period on a monotonic clock, so a
// late tick never pushes the later frames back. Times are in microseconds.
class TPlayClock {
 public:
  using TTime = std::int64_t;

  // Frame 0 is due now.
  void Start(TTime now, TTime period);
  // The latest frame due at `now` (0 before the start): a late tick shows this one, skipping
  // the ones it missed, never a burst of them.
  std::int64_t DueFrame(TTime now) const;
  // Time from `now` until the frame after `shown` is due; 0 when it is due already.
  TTime DelayAfter(std::int64_t shown, TTime now) const;
  // Frozen: the time into the current frame is kept for Resume.
  void Pause(TTime now);
  void Resume(TTime now);
  // A new period from `now` on: the frame shown now stays `shown` and the next one comes a whole
  // new period later.
  void SetPeriod(std::int64_t shown, TTime now, TTime period);
  // Makes `frame` the one due now (after a step by hand), keeping the period.
  void Restart(std::int64_t frame, TTime now);

  bool Paused() const { return paused_; }
  TTime Period() const { return period_; }

 private:
  TTime start_ = 0;
  TTime period_ = 1;
  TTime pausedAt_ = 0;
  bool paused_ = false;
};

template <class Lines>
TBadLines FindBadLines(const Lines& lines, TLineTest isFrame, std::size_t listed) {
  TBadLines bad;
  std::size_t number = 0;
  for (const auto& line : lines) {
    ++number;
    if (number == 1) bad.ByteOrderMark = StartsWithUtf8Bom(std::string_view(line));
    if (isFrame(std::string_view(line))) continue;
    ++bad.Count;
    if (bad.First.size() < listed) bad.First.push_back(number);
  }
  return bad;
}

template <class Lines>
std::vector<std::size_t> PlayList(const Lines& lines, TLineTest isFrame) {
  std::vector<std::size_t> list;
  std::size_t index = 0;
  for (const auto& line : lines) {
    if (isFrame(std::string_view(line))) list.push_back(index);
    ++index;
  }
  return list;
}

}  // namespace effect
