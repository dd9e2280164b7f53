// The effect file element: opening, bringing a line back, writing a frame back, marking a line.
#include "app/effect_file.h"

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "cube/effect_text.h"
#include "cube/pattern.h"
#include "platform/file.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "platform/timer.h"

namespace {

std::string Quoted(std::string_view name) { return "\r\n" + std::string(name) + "\r\n"; }

}  // namespace

TQxEffectFile::~TQxEffectFile() { Free(Dialog); }

void TQxEffectFile::Tell(const std::string& text, const char* caption, UINT icon, HWND uncovered) {
  FireEmpty(outPause);
  MessageBoxBeside(Owner != nullptr ? Owner->Handle : nullptr, text.c_str(), caption, icon | MB_OK,
                   uncovered);
}

std::string TQxEffectFile::MemoText() const {
  return Memo != nullptr && Memo->Control != nullptr ? Memo->Control->GetCaption() : std::string();
}

void TQxEffectFile::SelectMemo(std::size_t start, std::size_t end) const {
  if (Memo == nullptr || Memo->Control == nullptr || Memo->Control->Handle == nullptr) return;
  HWND edit = Memo->Control->Handle;
  SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

std::size_t TQxEffectFile::CaretLine(const std::vector<effect::TLineSpan>& lines) const {
  DWORD caret = 0;
  SendMessageW(Memo->Control->Handle, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
  return effect::LineAt(lines, caret);
}

void TQxEffectFile::SetMemoText(const std::string& text) {
  ownChange_ = true;
  Memo->Control->SetCaption(text);
  ownChange_ = false;
  changed_ = false;
  SelectMemo(0, 0);
}

bool TQxEffectFile::Unsaved() const {
  if (!changed_ || Memo == nullptr || Memo->Control == nullptr) return false;
  if (Memo->HasWaitingLines()) return true;
  return Memo->Control->Handle != nullptr && GetWindowTextLengthW(Memo->Control->Handle) > 0;
}

void TQxEffectFile::getUnsaved(TData* d, std::uint16_t) { MakeInt(d, Unsaved() ? 1 : 0); }

int TQxEffectFile::AskAboutUnsaved(const std::string& question, const char* caption, UINT buttons) {
  const std::string text = "Текст эффекта не сохранён. " + question;
  FireEmpty(outPause);
  return MessageBoxBeside(Owner != nullptr ? Owner->Handle : nullptr, text.c_str(), caption,
                          buttons | MB_ICONQUESTION, nullptr);
}

void TQxEffectFile::MemoChanged() {
  if (ownChange_) return;
  changed_ = true;
  FireEmpty(outEdited);
}

void TQxEffectFile::ShowWrapped(bool wrap) {
  if (Memo == nullptr || Memo->Control == nullptr) return;
  if (Memo->WordWrap() != wrap) {
    ownChange_ = true;
    rewrapping_ = true;
    Memo->SetWordWrap(wrap);
    rewrapping_ = false;
    ownChange_ = false;
  }
  FireInt(outWrap, wrap ? 1 : 0);
}

bool TQxEffectFile::ChosenWrap() const { return !dataWrap.Connected() || PullInt(dataWrap) != 0; }

void TQxEffectFile::inShowChosenWrap(TData* d, std::uint16_t) { ShowWrapped(AsInt(d) != 0); }

void TQxEffectFile::inWrap(TData*, std::uint16_t) {
  if (Memo == nullptr || Memo->Control == nullptr) return;
  const bool wrap = !Memo->WordWrap();
  if (wrap) {
    Memo->FlushWaitingLines();
    const std::string text = MemoText();
    if (effect::LayoutWeight(effect::LineViews(text, effect::MemoLines(text))) > effect::kMaxLayoutWeight) {
      Tell(
          "Эффект слишком велик, чтобы показать его с переносом строк: это заняло бы много секунд.\r\n"
          "Он показан по кадру в строке.",
          "Перенос строк", MB_ICONINFORMATION);
      return;
    }
  }
  // Playback goes on: its lines keep their offsets in the same text.
  const HCURSOR cursor = SetCursor(LoadSharedCursor(nullptr, IDC_WAIT));
  ShowWrapped(wrap);
  SetCursor(cursor);
  FireInt(outWrapChosen, wrap ? 1 : 0);
}

void TQxEffectFile::getText(TData* d, std::uint16_t) { MakeStr(d, ByteString(MemoText())); }

void TQxEffectFile::inSaved(TData*, std::uint16_t) { changed_ = false; }

void TQxEffectFile::inOpen(TData*, std::uint16_t) {
  if (Dialog == nullptr) {
    Dialog = CreateOpenSaveDialog("Открыть эффект", "",
                                  TOpenSaveOptions::FileMustExist | TOpenSaveOptions::PathMustExist |
                                      TOpenSaveOptions::HideReadOnly | TOpenSaveOptions::NoChangeDir);
    Dialog->Filter = "Эффекты (*.TXT)|*.TXT|Все файлы (*.*)|*.*";
    Dialog->FilterIndex = 1;
    Dialog->OwnerWindow = Owner != nullptr ? Owner->Handle : nullptr;
  }
  Dialog->InitialDir = PullStr(nullptr, dataStartDir, ByteString(".")).view();
  Dialog->FileName.clear();
  FireEmpty(outPause);
  if (!Dialog->Execute()) return;
  TData name;
  MakeStr(&name, ByteString(Dialog->FileName));
  inOpenFile(&name, 0);
}

// Reads the file and refuses one that is no effect, saying why; the memo is left as it is then.
bool TQxEffectFile::ReadEffect(const std::string& fileName, std::string& bytes,
                               std::vector<std::string_view>& lines) {
  constexpr const char* kRefused = "Ошибка открытия";
  constexpr const char* kKept = "Текст эффекта не изменён.";
  switch (ReadWholeFile(fileName, effect::kMaxEffectBytes, bytes)) {
    case TReadResult::Ok:
      break;
    case TReadResult::CannotOpen:
      Tell("Не удалось открыть файл" + Quoted(fileName) +
               "Его нет, он занят другой программой или это папка.\r\n" + kKept,
           kRefused, MB_ICONERROR);
      return false;
    case TReadResult::TooLarge:
      Tell("Файл слишком велик для эффекта (больше " + std::to_string(effect::kMaxEffectBytes >> 20) +
               " МБ):" + Quoted(fileName) + kKept,
           kRefused, MB_ICONERROR);
      return false;
    case TReadResult::ReadFailed:
      Tell("Не удалось прочитать файл" + Quoted(fileName) + kKept, kRefused, MB_ICONERROR);
      return false;
  }
  if (!effect::LooksLikeText(bytes)) {
    Tell("Файл не текстовый (в нём есть нулевые байты):" + Quoted(fileName) + kKept, kRefused, MB_ICONERROR);
    return false;
  }
  lines = effect::SplitFileLines(bytes);
  const std::size_t longLine = effect::FirstLongLine(lines);
  if (longLine == lines.size()) return true;
  Tell("Это не файл эффекта: строка " + std::to_string(longLine + 1) + " длиннее " +
           std::to_string(effect::kMaxLineBytes) + " символов (строка кадра не длиннее " +
           std::to_string(effect::kMaxFrameChars) + "):" + Quoted(fileName) + kKept,
       kRefused, MB_ICONERROR);
  return false;
}

void TQxEffectFile::inOpenFile(TData* d, std::uint16_t) {
  if (Memo == nullptr || Memo->Control == nullptr) return;
  const std::string fileName(AsStr(d).view());
  std::string bytes;
  std::vector<std::string_view> lines;
  if (!ReadEffect(fileName, bytes, lines)) return;
  if (Unsaved() && AskAboutUnsaved("Заменить его эффектом из файла" + Quoted(fileName) +
                                       "Несохранённый текст будет потерян.",
                                   "Открытие эффекта", MB_YESNO | MB_DEFBUTTON2) != IDYES)
    return;

  FireEmpty(outHalt);
  // A clearing tick still due (from the start or a save just before) would wipe the opened effect:
  // the save guard lets it pass without clearing, as after a failed save.
  if (Guard != nullptr && ClearTimer != nullptr && ClearTimer->Timer != nullptr && ClearTimer->Timer->Enabled)
    Guard->KeepText = true;
  // The edit control lays out the whole text before it returns: seconds for the largest effects
  // when wrapped, so those are shown unwrapped.
  const HCURSOR cursor = SetCursor(LoadSharedCursor(nullptr, IDC_WAIT));
  const bool chosenWrap = ChosenWrap();
  const bool wrap = chosenWrap && effect::LayoutWeight(lines) <= effect::kMaxWrappedWeight;
  // The old text goes first, so that a change of wrapping does not lay it out again.
  if (Memo->WordWrap() != wrap) SetMemoText({});
  ShowWrapped(wrap);
  std::string text = effect::MemoTextOf(lines);
  SetMemoText(text);
  SetCursor(cursor);
  hasSource_ = false;
  // Split once, here: playback and the counter take these lines rather than reading them back.
  auto parsed = std::make_shared<const effect::TParsedEffect>(effect::ParseEffect(std::move(text)));
  if (Player != nullptr) Player->Adopt(parsed);
  const std::size_t frames = parsed->PlayList.size();
  FireInt(outOpened, static_cast<std::int32_t>(frames));
  FireStr(outFileOpened, ByteString(fileName));
  TellOpened(lines, frames, wrap != chosenWrap);
}

// The note after an open: the effect shown unwrapped for its size, lines that are not frames.
void TQxEffectFile::TellOpened(const std::vector<std::string_view>& lines, std::size_t frames,
                               bool unwrapped) {
  std::string note;
  if (unwrapped) {
    note =
        "Эффект большой: он показан без переноса строк, по кадру в строке, чтобы открыться быстро. "
        "Перенос строк включает кнопка «Перенос строк» (F4).";
    // The text shows before the note about it.
    UpdateWindow(Memo->Control->Handle);
  }
  const bool bad = frames < lines.size();
  if (bad) {
    if (!note.empty()) note += "\r\n\r\n";
    note += effect::BadLinesMessage(effect::FindBadLines(lines, &cube::IsFrameLine));
  }
  // Beside the effect text, whose lines it names.
  if (!note.empty())
    Tell(note, "Эффект открыт", bad ? MB_ICONWARNING : MB_ICONINFORMATION, Memo->Control->Handle);
}

void TQxEffectFile::inBringBack(TData* d, std::uint16_t) {
  // Only the left button's double click; a key sends no value.
  if (d != nullptr && d->Kind == dkInteger && d->IntValue != 0) return;
  if (Memo == nullptr || Memo->Control == nullptr || Memo->Control->Handle == nullptr) return;
  const std::string text = MemoText();
  const std::vector<effect::TLineSpan> lines = effect::MemoLines(text);
  const std::size_t line = CaretLine(lines);
  const std::string_view frame = line < lines.size() ? effect::LineOf(text, lines[line]) : std::string_view();
  const cube::TFrameParse parsed = cube::ParseFrame(frame);
  if (!parsed.Ok()) {
    Tell("Строка " + std::to_string(line + 1) + " не является кадром: " + cube::FrameFaultText(parsed.Fault) +
             ".\r\nСветодиоды не изменены.",
         "Кадр из строки", MB_ICONWARNING);
    return;
  }
  FireEmpty(outHalt);
  hasSource_ = true;
  sourceLine_ = line;
  sourceText_ = std::string(frame);
  FireStr(outFrame, ByteString(frame));
}

void TQxEffectFile::inReplace(TData*, std::uint16_t) {
  if (Memo == nullptr || Memo->Control == nullptr || Memo->Control->Handle == nullptr) return;
  const std::string frame(PullStr(nullptr, dataFrame, ByteString()).view());
  if (frame.empty()) return;
  FireEmpty(outHalt);
  const std::string text = MemoText();
  const std::vector<effect::TLineSpan> lines = effect::MemoLines(text);
  // The frame's own line while it still holds what it held; else the caret's line.
  const bool sourceHolds =
      hasSource_ && sourceLine_ < lines.size() && effect::LineOf(text, lines[sourceLine_]) == sourceText_;
  const std::size_t line = sourceHolds ? sourceLine_ : CaretLine(lines);
  // Past the last line (an empty memo, or the caret after the final line break) the frame is
  // added as a new last line.
  const std::size_t from = line < lines.size() ? lines[line].Start : text.size();
  const std::size_t to = line < lines.size() ? from + lines[line].Length : text.size();
  HWND edit = Memo->Control->Handle;
  SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(to));
  const TWideString wide = WideFromCp1251(frame);
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
  hasSource_ = true;
  sourceLine_ = line;
  sourceText_ = frame;
  SelectMemo(from, from + frame.size());
}

void TQxEffectFile::inFault(TData* d, std::uint16_t) {
  const std::string reason(AsStr(d).view());
  Tell("Кадр не принят: " + reason + ".\r\nСветодиоды не изменены.", "Кадр из строки", MB_ICONWARNING);
}

void TQxEffectFile::inMark(TData* d, std::uint16_t) {
  if (Player == nullptr) return;
  const auto line = static_cast<std::size_t>(AsInt(d));
  if (line >= Player->LineCount()) return;
  // Only marked: the remembered source line stays what a bring-back or a replace made it, so a
  // replace after playback goes to that line or the caret's, never to the line last played.
  // Marked by the caret at its start, not selected: a key typed next must not replace it.
  const effect::TLineSpan& span = Player->LineSpan(line);
  SelectMemo(span.Start, span.Start);
}
