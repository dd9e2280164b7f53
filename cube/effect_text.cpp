// Effect lines, the memo text made of them and the play clock.
#include "cube/effect_text.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace effect {

namespace {

// A plain scan: find_first_of searches its set of two once per byte, several times slower.
std::size_t NextLineEnd(std::string_view bytes, std::size_t from) {
  for (std::size_t at = from; at < bytes.size(); ++at)
    if (bytes[at] == '\r' || bytes[at] == '\n') return at;
  return std::string_view::npos;
}

}  // namespace

std::vector<std::string_view> SplitFileLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = NextLineEnd(bytes, start);
    if (end == std::string_view::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}

std::size_t FirstLongLine(const std::vector<std::string_view>& lines) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].size() > kMaxLineBytes) return i;
  return lines.size();
}

std::uint64_t LayoutWeight(const std::vector<std::string_view>& lines) {
  std::uint64_t weight = 0;
  for (std::string_view line : lines) weight += std::uint64_t{line.size()} * line.size();
  return weight;
}

bool LooksLikeText(std::string_view bytes) {
  return bytes.empty() || std::memchr(bytes.data(), 0, bytes.size()) == nullptr;
}

std::string MemoTextOf(const std::vector<std::string_view>& lines) {
  std::size_t total = 0;
  for (std::string_view line : lines) total += line.size() + 2;
  std::string text;
  text.reserve(total);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text.append(lines[i]);
  }
  if (!lines.empty() && lines.back().empty()) text += "\r\n";
  return text;
}

std::string SavedTextOf(const std::vector<std::string_view>& lines) {
  std::size_t total = 0;
  for (std::string_view line : lines) total += line.size() + 2;
  std::string text;
  text.reserve(total);
  for (std::string_view line : lines) {
    text.append(line);
    text += "\r\n";
  }
  return text;
}

std::vector<TLineSpan> MemoLines(std::string_view text) {
  std::vector<TLineSpan> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t cr = text.find('\r', start);
    if (cr == std::string_view::npos) {
      lines.push_back({start, text.size() - start});
      break;
    }
    lines.push_back({start, cr - start});
    start = cr + 1;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

std::vector<std::string_view> LineViews(std::string_view text, const std::vector<TLineSpan>& lines) {
  std::vector<std::string_view> views;
  views.reserve(lines.size());
  for (const TLineSpan& line : lines) views.push_back(LineOf(text, line));
  return views;
}

std::size_t LineAt(const std::vector<TLineSpan>& lines, std::size_t at) {
  // The last line starting at or before `at`; past its end (and its break) is the place after it.
  auto after =
      std::upper_bound(lines.begin(), lines.end(), at,
                       [](std::size_t offset, const TLineSpan& line) { return offset < line.Start; });
  if (after == lines.begin()) return lines.size();
  const auto index = static_cast<std::size_t>(after - lines.begin()) - 1;
  const TLineSpan& line = lines[index];
  // A line other than the last reaches up to the next one's start, its break included.
  if (index + 1 < lines.size() || at <= line.Start + line.Length) return index;
  return lines.size();
}

std::string BadLinesMessage(const TBadLines& bad) {
  std::string text = "Строк, которые не являются кадрами: ";
  text += std::to_string(bad.Count);
  text += "\r\n";
  if (bad.Count > bad.First.size())
    text += "Первые " + std::to_string(bad.First.size()) + " из " + std::to_string(bad.Count) + ": ";
  else
    text += "Номера строк: ";
  for (std::size_t i = 0; i < bad.First.size(); ++i) {
    if (i > 0) text += ", ";
    text += std::to_string(bad.First[i]);
  }
  text += ".\r\nЭти строки оставлены как есть; при показе эффекта они пропускаются.";
  if (bad.ByteOrderMark) text += "\r\nФайл начинается с метки порядка байтов UTF-8 (BOM): куб её не прочтёт.";
  return text;
}

TParsedEffect ParseEffect(std::string text) {
  TParsedEffect parsed;
  parsed.Text = std::move(text);
  parsed.Lines = MemoLines(parsed.Text);
  parsed.PlayList = PlayList(LineViews(parsed.Text, parsed.Lines), &cube::IsFrameLine);
  return parsed;
}

void TPlayClock::Start(TTime now, TTime period) {
  period_ = std::max<TTime>(period, 1);
  start_ = now;
  paused_ = false;
}

std::int64_t TPlayClock::DueFrame(TTime now) const {
  const TTime at = paused_ ? pausedAt_ : now;
  if (at <= start_) return 0;
  return (at - start_) / period_;
}

TPlayClock::TTime TPlayClock::DelayAfter(std::int64_t shown, TTime now) const {
  const TTime due = start_ + (shown + 1) * period_;
  return due > now ? due - now : 0;
}

void TPlayClock::Pause(TTime now) {
  if (paused_) return;
  pausedAt_ = now;
  paused_ = true;
}

void TPlayClock::Resume(TTime now) {
  if (!paused_) return;
  start_ += now - pausedAt_;
  paused_ = false;
}

void TPlayClock::SetPeriod(std::int64_t shown, TTime now, TTime period) {
  period_ = std::max<TTime>(period, 1);
  Restart(shown, now);
}

void TPlayClock::Restart(std::int64_t frame, TTime now) {
  start_ = now - frame * period_;
  if (paused_) pausedAt_ = now;
}

}  // namespace effect
