// The save guard: passes saves on, tells the user about a failed one and holds back the clearing
// tick after it.
#include "app/save_guard.h"

#include <string>

#include "elements/save_text.h"
#include "platform/message_box.h"

void TQxSaveGuard::inSave(TData* d, std::uint16_t) {
  const ByteString fileName = AsStr(d);
  Fire(outSave, d);
  if (Memo == nullptr || Memo->LastSaveOk) {
    KeepText = false;
    saved_ = Memo != nullptr && Memo->Control != nullptr;
    if (saved_) savedText_ = Memo->Control->GetCaption();
    FireEmpty(outSaved);
    return;
  }
  // Set before the box opens: the clearing timer keeps ticking inside its modal loop.
  KeepText = true;
  std::string text = "Не удалось сохранить эффект в файл";
  text += "\r\n";
  text.append(fileName.data(), fileName.size());
  text += "\r\nЭффект не сохранён.";
  MessageBoxBeside(Owner != nullptr ? Owner->Handle : nullptr, text.c_str(), "Ошибка сохранения",
                   MB_ICONERROR | MB_OK, nullptr);
}

void TQxSaveGuard::CountTick() {
  ++ticks_;
  if (Owner != nullptr && Owner->Handle != nullptr)
    SetPropW(Owner->Handle, kTickCountProperty, reinterpret_cast<HANDLE>(ticks_));
}

void TQxSaveGuard::inClear(TData* d, std::uint16_t) {
  CountTick();
  if (KeepText) {
    KeepText = false;
    return;
  }
  std::string left;
  if (saved_ && Memo != nullptr && Memo->Control != nullptr) {
    Memo->FlushWaitingLines();
    left = effect::TextLeftAfterClearing(savedText_, Memo->Control->GetCaption());
  }
  saved_ = false;
  savedText_.clear();
  if (left.empty()) {
    Fire(outClear, d);
  } else {
    // What stays came by edits after the save, which marked the text unsaved already.
    Memo->Control->SetCaption(left);
    SendMessageW(Memo->Control->Handle, EM_SETSEL, left.size(), left.size());
  }
  FireEmpty(outCleared);
}
