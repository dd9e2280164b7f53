// The workbench's effect controls: their places, looks and links, the shortcut keys, the player's
// one-shot timer and clock.
#include "app/effect_player.h"

#include <windows.h>

#include <string>

#include "app/editor_form.h"
#include "app/form_controls.h"
#include "platform/frame_timer.h"
#include "platform/message_box.h"

namespace {

using form_controls::kWindowColor;

// Top strip, right of the title and above layers 3 to 5: one row, y 6 to 30.
constexpr int kStripTop = 6;
constexpr int kStripHeight = 24;
// Under the effect text, right of the frame caption.
constexpr int kDeskLeft = 786;
constexpr int kDeskTop = 566;

// Rate field's inRate index when the rate is settled (see TQxPlayer::inRate).
constexpr std::uint16_t kRateSettled = 1;

// Out of the Tab order: the designed controls keep theirs; shortcuts reach these.
form_controls::Joining OffTabOrder(const char* hint) { return {-1, hint}; }

TQxButton* NewButton(TControl* parent, int left, int top, int width, int height, const char* caption,
                     const char* hint) {
  return form_controls::MakeButton(parent, left, top, width, height, 8, caption, OffTabOrder(hint));
}

TQxLabel* NewLabel(TControl* parent, int left, int top, int width, int height, const char* caption,
                   const char* hint) {
  return form_controls::MakeLabel(parent, {left, top, width, height, "MS Sans Serif", 8, 1, 1, caption},
                                  /*autoSize=*/false, OffTabOrder(hint));
}

const char* PlayCaption(std::int32_t state) { return state == TQxPlayer::psPlaying ? "Пауза" : "Пуск"; }
const char* LoopCaption(std::int32_t loop) { return loop != 0 ? "Повтор: да" : "Повтор: нет"; }
const char* WrapCaption(std::int32_t wrap) { return wrap != 0 ? "Перенос строк: да" : "Перенос строк: нет"; }

// Where the wrapping choice is kept: the registry key a main form would keep its position under.
constexpr const char* kSettingsKey = "TESSARO";

}  // namespace

void TQxPlayerFace::inState(TData* d, std::uint16_t) {
  if (PlayButton != nullptr && PlayButton->Control != nullptr)
    PlayButton->Control->SetCaption(PlayCaption(AsInt(d)));
}

void TQxPlayerFace::inLoop(TData* d, std::uint16_t) {
  if (LoopButton != nullptr && LoopButton->Control != nullptr)
    LoopButton->Control->SetCaption(LoopCaption(AsInt(d)));
}

void TQxPlayerFace::inWrap(TData* d, std::uint16_t) {
  if (WrapButton != nullptr && WrapButton->Control != nullptr)
    WrapButton->Control->SetCaption(WrapCaption(AsInt(d)));
}

void TQxPlayerFace::inCounter(TData* d, std::uint16_t) {
  if (Counter != nullptr && Counter->Control != nullptr) Counter->Control->SetCaption(AsStr(d).view());
}

void TQxPlayerFace::inRateLeft(TData*, std::uint16_t) {
  if (Rate != nullptr && Rate->Control != nullptr) FireStr(outRate, ByteString(Rate->Control->GetCaption()));
}

void TQxPlayerFace::inPlay(TData* d, std::uint16_t index) {
  inRateLeft(d, index);
  FireEmpty(outPlay);
}

void TQxPlayerFace::inFocusRate(TData*, std::uint16_t) {
  if (Rate == nullptr || Rate->Control == nullptr || Rate->Control->Handle == nullptr) return;
  SetFocus(Rate->Control->Handle);
  SendMessageW(Rate->Control->Handle, EM_SETSEL, 0, -1);
}

void TQxPlayerFace::inNoFrames(TData*, std::uint16_t) {
  MessageBoxBeside(Owner != nullptr ? Owner->Handle : nullptr,
                   "В тексте эффекта нет ни одной строки-кадра: показывать нечего.", "Показ эффекта",
                   MB_ICONINFORMATION | MB_OK, nullptr);
}

void TQxPlayerFace::inTextKey(TData* d, std::uint16_t) {
  switch (AsInt(d)) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LWIN:
    case VK_RWIN:
    case VK_CAPITAL:
    case VK_NUMLOCK:
      return;
    default:
      FireEmpty(outHalt);
  }
}

TEffectPlayerPanel::TEffectPlayerPanel(TClassMainForm_1509590& form, TQxCubePattern* pattern)
    : form_(form), pattern_(pattern) {
  TControl* parent = form.EditorWindow->Control;
  MakeStrip(parent);
  const std::int32_t chosenWrap = MakeDesk(parent);
  MakeElements(form);
  LinkFile(form);
  LinkPlayer();
  if (pattern_ != nullptr) LinkPattern();
  AddKeys(*form.Keys);
  // Beside the memo's and the frame line's own change reports, which stay theirs.
  form.EffectMemo->Control->AddChangeListener({&MemoChange, this});
  form.FrameEdit->Control->AddChangeListener({&FrameChange, this});
  TData wrap;
  MakeInt(&wrap, chosenWrap);
  EffectFile->inShowChosenWrap(&wrap, 0);
}

// Top strip, right of the title and above layers 3 to 5.
void TEffectPlayerPanel::MakeStrip(TControl* parent) {
  int x = 450;
  auto next = [&x](int width) {
    const int left = x;
    x += width + 4;
    return left;
  };
  PlayButton = NewButton(parent, next(64), kStripTop, 64, kStripHeight, PlayCaption(TQxPlayer::psStopped),
                         "Показать эффект / пауза (F5)");
  StopButton = NewButton(parent, next(50), kStripTop, 50, kStripHeight, "Стоп",
                         "Остановить показ и вернуть прежний кадр (F6)");
  BackButton = NewButton(parent, next(50), kStripTop, 50, kStripHeight, "Назад", "Кадр назад (F7)");
  ForwardButton = NewButton(parent, next(56), kStripTop, 56, kStripHeight, "Вперёд", "Кадр вперёд (F8)");
  RateEdit = form_controls::NewDressed<TQxEdit>(
      parent, next(50), kStripTop + 2, 50, 20, kWindowColor, MakeFontRec("Arial", 8, 1, 0xFF0000, 204), 0,
      OffTabOrder("Скорость показа: миллисекунд на кадр, от 20 до 2000 (Ctrl+R, ввод — Enter)"));
  RateEdit->TextAlign = 1;
  RateEdit->MaxLength = 5;
  RateEdit->ClearAfterEnter = 0;
  RateEdit->Text = ByteString(std::to_string(TQxPlayer::kDefaultRate));
  RateEdit->TextSource = RateEdit->OwnTextSource();
  RateEdit->Init();
  // Digits only; a pasted text that is no number keeps the rate and is written back over.
  if (RateEdit->Control != nullptr) RateEdit->Control->SetStyle(RateEdit->Control->GetStyle() | ES_NUMBER);
  x -= 2;
  RateLabel = NewLabel(parent, next(18), kStripTop + 5, 18, 16, "мс", "Миллисекунд на кадр");
  LoopButton = NewButton(parent, next(80), kStripTop, 80, kStripHeight, LoopCaption(0),
                         "Повторять эффект по кругу (F9)");
  CounterLabel = NewLabel(parent, x, kStripTop + 5, 980 - x, 16, TQxPlayer::CounterText(0, 0).c_str(),
                          "Номер показанного кадра и число кадров эффекта");
}

// Under the effect text; gives the wrapping the user chose last.
std::int32_t TEffectPlayerPanel::MakeDesk(TControl* parent) {
  OpenButton = NewButton(parent, kDeskLeft, kDeskTop, 124, kStripHeight, "Открыть эффект…",
                         "Открыть файл эффекта в текстовом редакторе (Ctrl+O)");
  ReplaceButton =
      NewButton(parent, kDeskLeft + 128, kDeskTop, 128, kStripHeight, "Заменить кадр",
                "Записать кадр светодиодов в строку, из которой он взят, или в строку курсора (F3)");
  BringButton = NewButton(parent, kDeskLeft, kDeskTop + 27, 124, kStripHeight, "Кадр из строки",
                          "Показать на светодиодах кадр строки курсора (F2 или двойной щелчок по строке)");
  WrapChoice = new TQxStoredValue();
  WrapChoice->PositionKey = kSettingsKey;
  WrapChoice->Name = "WordWrap";
  WrapChoice->Default = 1;
  // Read directly: links deliver nothing before the start step.
  TData chosenWrap;
  WrapChoice->getValue(&chosenWrap, 0);
  WrapButton =
      NewButton(parent, kDeskLeft + 128, kDeskTop + 27, 128, kStripHeight, WrapCaption(AsInt(&chosenWrap)),
                "Длинные строки эффекта: с переносом или по кадру в строке с прокруткой вбок (F4)");
  for (TQxWin* e : std::initializer_list<TQxWin*>{PlayButton, StopButton, BackButton, ForwardButton, RateEdit,
                                                  RateLabel, LoopButton, CounterLabel, OpenButton,
                                                  ReplaceButton, BringButton, WrapButton})
    e->AttachHint(nullptr);
  return AsInt(&chosenWrap);
}

void TEffectPlayerPanel::MakeElements(TClassMainForm_1509590& form) {
  TControl* parent = form.EditorWindow->Control;
  EffectFile = new TQxEffectFile();
  EffectFile->Memo = form.EffectMemo;
  EffectFile->Owner = parent;
  EffectFile->Guard = form.SaveGuard;
  EffectFile->ClearTimer = form.ClearTimer;
  Player = new TQxPlayer();
  Player->Clock = {&ClockNow, this};
  Player->Timer = {&ArmTimer, &DisarmTimer, this};
  EffectFile->Player = Player;
  Face = new TQxPlayerFace();
  Face->PlayButton = PlayButton;
  Face->LoopButton = LoopButton;
  Face->Counter = CounterLabel;
  Face->Owner = parent;
  Face->Rate = RateEdit;
  Face->WrapButton = WrapButton;
}

TFrameTimer& TEffectPlayerPanel::LazyTimer(TFrameTimer*& timer, void (*tick)(void*, TObj*)) {
  // Made at the first arming: each holds a window and a wait thread that the start-up has no use for.
  if (timer == nullptr) {
    timer = new TFrameTimer();
    timer->OnTick = {tick, this};
  }
  return *timer;
}

void TEffectPlayerPanel::LinkFile(TClassMainForm_1509590& form) {
  Link(OpenButton->outClick, MakeLink<&TQxEffectFile::inOpen>(EffectFile));
  Link(ReplaceButton->outClick, MakeLink<&TQxEffectFile::inReplace>(EffectFile));
  Link(BringButton->outClick, MakeLink<&TQxEffectFile::inBringBack>(EffectFile));
  Link(form.EffectMemo->outDblClick, MakeLink<&TQxEffectFile::inBringBack>(EffectFile));
  Link(form.SaveGuard->outSaved, MakeLink<&TQxEffectFile::inSaved>(EffectFile));
  Link(EffectFile->outHalt, MakeLink<&TQxPlayer::inHalt>(Player));
  // Playback marks its line with the memo's caret: a click or a key in the text ends it first, so
  // the key acts where the user put the caret, or at worst at the marked line's start.
  Link(form.EffectMemo->outMouseDown, MakeLink<&TQxPlayer::inHalt>(Player));
  Link(form.EffectMemo->outKeyDown, MakeLink<&TQxPlayerFace::inTextKey>(Face));
  Link(Face->outHalt, MakeLink<&TQxPlayer::inHalt>(Player));
  Link(EffectFile->outPause, MakeLink<&TQxPlayer::inPause>(Player));
  Link(EffectFile->outOpened, MakeLink<&TQxPlayer::inHalt>(Player, 1));
  // The clearing tick empties the memo with no change report: playback must end all the same.
  Link(form.SaveGuard->outCleared, MakeLink<&TQxPlayer::inHalt>(Player, 1));
}

void TEffectPlayerPanel::LinkPlayer() {
  Link(PlayButton->outClick, MakeLink<&TQxPlayerFace::inPlay>(Face));
  Link(Face->outPlay, MakeLink<&TQxPlayer::inPlay>(Player));
  Link(StopButton->outClick, MakeLink<&TQxPlayer::inStop>(Player));
  Link(BackButton->outClick, MakeLink<&TQxPlayer::inBack>(Player));
  Link(ForwardButton->outClick, MakeLink<&TQxPlayer::inForward>(Player));
  Link(LoopButton->outClick, MakeLink<&TQxPlayer::inLoop>(Player));
  // Only a settled rate: while "1500" is typed, "1" must not play at 20 ms.
  Link(RateEdit->outEnter, MakeLink<&TQxPlayer::inRate>(Player, kRateSettled));
  Link(RateEdit->outBlur, MakeLink<&TQxPlayerFace::inRateLeft>(Face));
  Link(Face->outRate, MakeLink<&TQxPlayer::inRate>(Player, kRateSettled));
  Link(Player->outRate, MakeLink<&TQxEdit::inText>(RateEdit));
  // The control's own text: the memo's selection offsets count in it.
  Link(Player->dataText, MakeLink<&TQxEffectFile::getText>(EffectFile));
  Link(Player->outLine, MakeLink<&TQxEffectFile::inMark>(EffectFile));
  Link(Player->outState, MakeLink<&TQxPlayerFace::inState>(Face));
  Link(Player->outLoop, MakeLink<&TQxPlayerFace::inLoop>(Face));
  Link(Player->outCounter, MakeLink<&TQxPlayerFace::inCounter>(Face));
  Link(Player->outNoFrames, MakeLink<&TQxPlayerFace::inNoFrames>(Face));
  Link(WrapButton->outClick, MakeLink<&TQxEffectFile::inWrap>(EffectFile));
  Link(EffectFile->dataWrap, MakeLink<&TQxStoredValue::getValue>(WrapChoice));
  Link(EffectFile->outWrap, MakeLink<&TQxPlayerFace::inWrap>(Face));
  Link(EffectFile->outWrapChosen, MakeLink<&TQxStoredValue::inStore>(WrapChoice));
}

void TEffectPlayerPanel::LinkPattern() {
  Link(EffectFile->outFrame, MakeLink<&TQxCubePattern::inFrame>(pattern_));
  Link(EffectFile->dataFrame, MakeLink<&TQxCubePattern::getFrame>(pattern_));
  Link(pattern_->outFault, MakeLink<&TQxEffectFile::inFault>(EffectFile));
  Link(pattern_->outUserChange, MakeLink<&TQxPlayer::inHalt>(Player));
  Link(Player->dataFrame, MakeLink<&TQxCubePattern::getFrame>(pattern_));
  Link(Player->outShow, MakeLink<&TQxCubePattern::inShow>(pattern_));
  Link(Player->outSettle, MakeLink<&TQxCubePattern::inSettle>(pattern_));
}

TEffectPlayerPanel::~TEffectPlayerPanel() {
  if (form_.EffectMemo != nullptr && form_.EffectMemo->Control != nullptr)
    form_.EffectMemo->Control->RemoveChangeListener(this);
  if (form_.FrameEdit != nullptr && form_.FrameEdit->Control != nullptr)
    form_.FrameEdit->Control->RemoveChangeListener(this);
  delete countTimer_;
  delete timer_;
  delete WrapChoice;
  delete Face;
  delete Player;
  delete EffectFile;
  for (TQxWin* e : std::initializer_list<TQxWin*>{WrapButton, BringButton, ReplaceButton, OpenButton,
                                                  CounterLabel, LoopButton, RateLabel, RateEdit,
                                                  ForwardButton, BackButton, StopButton, PlayButton})
    delete e;
}

void TEffectPlayerPanel::Link(TQx_Event& output, const TQx_Event& input) {
  output = input;
  ++linkCount_;
}

void TEffectPlayerPanel::AddKeys(TFormKeys& keys) {
  using Where = TFormKeys::TWhere;
  keys.AddTextField(RateEdit->Control);
  keys.Add('O', kCtrlKey, Where::Anywhere, MakeLink<&TQxEffectFile::inOpen>(EffectFile));
  keys.Add('R', kCtrlKey, Where::Anywhere, MakeLink<&TQxPlayerFace::inFocusRate>(Face));
  keys.Add(VK_F2, 0, Where::Anywhere, MakeLink<&TQxEffectFile::inBringBack>(EffectFile));
  keys.Add(VK_F3, 0, Where::Anywhere, MakeLink<&TQxEffectFile::inReplace>(EffectFile));
  keys.Add(VK_F4, 0, Where::Anywhere, MakeLink<&TQxEffectFile::inWrap>(EffectFile));
  keys.Add(VK_F5, 0, Where::Anywhere, MakeLink<&TQxPlayerFace::inPlay>(Face));
  keys.Add(VK_F6, 0, Where::Anywhere, MakeLink<&TQxPlayer::inStop>(Player));
  keys.Add(VK_F7, 0, Where::Anywhere, MakeLink<&TQxPlayer::inBack>(Player));
  keys.Add(VK_F8, 0, Where::Anywhere, MakeLink<&TQxPlayer::inForward>(Player));
  keys.Add(VK_F9, 0, Where::Anywhere, MakeLink<&TQxPlayer::inLoop>(Player));
}

void TEffectPlayerPanel::MemoChanged() {
  // The same text in a control made anew for its wrapping: playback's lines and offsets still hold.
  if (EffectFile->Rewrapping()) return;
  TData none;
  // Playback reads the text once at its start: any edit ends it first.
  Player->inHalt(&none, 0);
  EffectFile->MemoChanged();
  // Counting reads the whole text: once typing pauses, not at every key.
  LazyTimer(countTimer_, &CountTick).Arm(250);
}

void TEffectPlayerPanel::MemoChange(void* data, TObj*) {
  static_cast<TEffectPlayerPanel*>(data)->MemoChanged();
}

void TEffectPlayerPanel::TimerTick(void* data, TObj*) {
  TData none;
  static_cast<TEffectPlayerPanel*>(data)->Player->inTick(&none, 0);
}

void TEffectPlayerPanel::CountTick(void* data, TObj*) {
  TData none;
  static_cast<TEffectPlayerPanel*>(data)->Player->inCount(&none, 0);
}

void TEffectPlayerPanel::FrameChange(void* data, TObj*) {
  auto* self = static_cast<TEffectPlayerPanel*>(data);
  // The frame graph writes the line through its link; any other change was the user's, and the
  // next played frame would overwrite it. (Halting a stopped player does nothing.)
  if (self->form_.FrameEdit->Writing()) return;
  TData none;
  self->Player->inHalt(&none, 0);
}

void TEffectPlayerPanel::ArmTimer(void* data, std::int32_t ms) {
  auto* self = static_cast<TEffectPlayerPanel*>(data);
  self->LazyTimer(self->timer_, &TimerTick).Arm(ms);
}

void TEffectPlayerPanel::DisarmTimer(void* data) {
  if (TFrameTimer* timer = static_cast<TEffectPlayerPanel*>(data)->timer_) timer->Disarm();
}

std::int64_t TEffectPlayerPanel::ClockNow(void*) {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f{};
    QueryPerformanceFrequency(&f);
    return f.QuadPart > 0 ? f.QuadPart : 1;
  }();
  LARGE_INTEGER count{};
  QueryPerformanceCounter(&count);
  // Whole seconds and the rest apart, so the product cannot overflow.
  return count.QuadPart / frequency * 1000000 + count.QuadPart % frequency * 1000000 / frequency;
}
