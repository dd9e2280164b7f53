// TQxPlayer: a session runs from Play (or a step) to Stop or a halt; inside it the effect text read
// at its start is the one stepped through, so the text must not change meanwhile (the form halts
// the session on any edit).
#include "elements/player.h"

#include <algorithm>

#include "cube/pattern.h"

namespace {

// Ticks are asked for this many microseconds before a frame is due, and a tick that comes within it
// shows the frame: the timer's message and the frame's own work take about two milliseconds, so
// frames come out on time at the median, and the host's occasional late tick costs less. A frame
// shown up to two milliseconds early cannot be told from one on time.
constexpr std::int64_t kTickLead = 2000;

// A rate typed as text: digits only, with blanks around them; anything else is no rate.
bool RateOf(const TData* d, std::int32_t& rate) {
  if (d == nullptr) return false;
  if (d->Kind == dkInteger) {
    rate = d->IntValue;
    return true;
  }
  if (d->Kind != dkString) return false;
  std::string_view text = d->StrValue.view();
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty() || text.size() > 9) return false;
  std::int32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  rate = value;
  return true;
}

}  // namespace

std::string TQxPlayer::CounterText(std::size_t k, std::size_t n) {
  return "кадр " + std::to_string(k) + " из " + std::to_string(n);
}

std::int64_t TQxPlayer::Now() const { return Clock.Now != nullptr ? Clock.Now(Clock.Object) : 0; }

void TQxPlayer::SetState(TState state) {
  if (state == state_) return;
  state_ = state;
  FireInt(outState, state);
}

std::shared_ptr<const effect::TParsedEffect> TQxPlayer::Parsed() {
  const ByteString text = PullStr(nullptr, dataText, ByteString());
  if (parsed_ == nullptr || parsed_->Text != text.view())
    parsed_ = std::make_shared<const effect::TParsedEffect>(effect::ParseEffect(std::string(text.view())));
  return parsed_;
}

bool TQxPlayer::BeginSession() {
  session_ = Parsed();
  if (session_->PlayList.empty()) {
    session_.reset();
    FireEmpty(outNoFrames);
    return false;
  }
  before_ = PullStr(nullptr, dataFrame, ByteString());
  position_ = 0;
  shownTick_ = 0;
  finished_ = false;
  return true;
}

void TQxPlayer::EndSession() {
  Disarm();
  const std::size_t n = FrameCount();
  session_.reset();
  SetState(psStopped);
  FireStr(outCounter, ByteString(CounterText(0, n)));
}

void TQxPlayer::ShowPosition() {
  const std::size_t line = session_->PlayList[position_];
  FireStr(outShow, ByteString(effect::LineOf(session_->Text, session_->Lines[line])));
  FireInt(outLine, static_cast<std::int32_t>(line));
  FireStr(outCounter, ByteString(CounterText(position_ + 1, FrameCount())));
}

void TQxPlayer::Disarm() {
  if (Timer.Disarm != nullptr) Timer.Disarm(Timer.Object);
}

void TQxPlayer::Arm() {
  if (Timer.Arm == nullptr) return;
  // Measured after the frame's work, which the delay must not come on top of.
  const std::int64_t delay = clock_.DelayAfter(shownTick_, Now() + kTickLead);
  // Rounded up: a tick earlier than the lead would find nothing due and cost a second one.
  const auto ms = static_cast<std::int32_t>(std::max<std::int64_t>((delay + 999) / 1000, 1));
  Timer.Arm(Timer.Object, ms);
}

void TQxPlayer::inPlay(TData*, std::uint16_t) {
  const std::int64_t now = Now();
  switch (state_) {
    case psStopped:
      if (!BeginSession()) return;
      clock_.Start(now, std::int64_t{Rate} * 1000);
      SetState(psPlaying);
      ShowPosition();
      Arm();
      return;
    case psPlaying:
      Pause(now);
      return;
    case psPaused:
      if (finished_) {
        // Played to the end: Play starts over.
        finished_ = false;
        position_ = 0;
        shownTick_ = 0;
        clock_.Start(now, std::int64_t{Rate} * 1000);
        SetState(psPlaying);
        ShowPosition();
      } else {
        clock_.Resume(now);
        SetState(psPlaying);
      }
      Arm();
      return;
  }
}

void TQxPlayer::Freeze(std::int64_t now) {
  clock_.Pause(now);
  Disarm();
  SetState(psPaused);
}

void TQxPlayer::Pause(std::int64_t now) {
  Freeze(now);
  FireEmpty(outSettle);
}

void TQxPlayer::inPause(TData*, std::uint16_t) {
  if (state_ == psPlaying) Pause(Now());
}

void TQxPlayer::inTick(TData*, std::uint16_t) {
  if (state_ != psPlaying) return;
  const std::int64_t now = Now();
  const std::int64_t due = clock_.DueFrame(now + kTickLead);
  if (due <= shownTick_) {
    Arm();
    return;
  }
  const std::size_t n = FrameCount();
  const auto steps = static_cast<std::size_t>(due - shownTick_);
  shownTick_ = due;
  std::size_t next = position_ + steps;
  if (next >= n) {
    if (Loop != 0) {
      next %= n;
    } else if (position_ + 1 < n) {
      next = n - 1;  // the last frame still gets its time
    } else {
      finished_ = true;
      Pause(now);
      return;
    }
  }
  position_ = next;
  ShowPosition();
  Arm();
}

void TQxPlayer::Step(int direction) {
  const std::int64_t now = Now();
  if (state_ == psStopped) {
    if (!BeginSession()) return;
    position_ = direction > 0 ? 0 : FrameCount() - 1;
    clock_.Start(now, std::int64_t{Rate} * 1000);
    clock_.Pause(now);
    SetState(psPaused);
    ShowPosition();
    FireEmpty(outSettle);
    return;
  }
  if (state_ == psPlaying) Freeze(now);
  const std::size_t n = FrameCount();
  std::size_t next = position_;
  if (direction > 0) {
    if (position_ + 1 < n)
      next = position_ + 1;
    else if (Loop != 0)
      next = 0;
  } else {
    if (position_ > 0)
      next = position_ - 1;
    else if (Loop != 0)
      next = n - 1;
  }
  finished_ = false;
  clock_.Restart(shownTick_, now);
  if (next != position_) {
    position_ = next;
    ShowPosition();
  }
  FireEmpty(outSettle);
}

void TQxPlayer::inBack(TData*, std::uint16_t) { Step(-1); }
void TQxPlayer::inForward(TData*, std::uint16_t) { Step(1); }

void TQxPlayer::inStop(TData*, std::uint16_t) {
  if (state_ == psStopped) return;
  Disarm();
  // Recorded too: after a pause the history's last step is the paused frame, not this pattern.
  if (cube::IsFrameLine(before_.view())) {
    FireStr(outShow, before_);
    FireEmpty(outSettle);
  }
  EndSession();
}

void TQxPlayer::inHalt(TData* d, std::uint16_t index) {
  if (state_ != psStopped) {
    Disarm();
    FireEmpty(outSettle);
    EndSession();
  }
  if (index == 1) inCount(d, 0);
}

void TQxPlayer::inCount(TData* d, std::uint16_t) {
  if (state_ != psStopped) return;
  std::size_t n = 0;
  if (d != nullptr && d->Kind == dkInteger) {
    n = static_cast<std::size_t>(d->IntValue);  // counted by whoever changed the text
  } else {
    n = Parsed()->PlayList.size();
  }
  FireStr(outCounter, ByteString(CounterText(0, n)));
}

void TQxPlayer::inRate(TData* d, std::uint16_t index) {
  std::int32_t rate = Rate;
  if (RateOf(d, rate)) rate = std::clamp(rate, kMinRate, kMaxRate);
  if (rate != Rate) {
    Rate = rate;
    if (state_ != psStopped) {
      const std::int64_t now = Now();
      clock_.SetPeriod(shownTick_, now, std::int64_t{Rate} * 1000);
      if (state_ == psPlaying) Arm();
    }
  }
  if (index == 1) FireInt(outRate, Rate);
}

void TQxPlayer::getRate(TData* d, std::uint16_t) { MakeInt(d, Rate); }

void TQxPlayer::inLoop(TData* d, std::uint16_t) {
  if (d != nullptr && (d->Kind == dkInteger || d->Kind == dkString))
    Loop = AsInt(d) != 0 ? 1 : 0;
  else
    Loop = Loop != 0 ? 0 : 1;
  FireInt(outLoop, Loop);
}
