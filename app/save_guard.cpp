// The save guard: passes saves on, tells the user about a failed one and holds back the clearing
// tick after it.
#include "app/save_guard.h"

#include <string>

void TQxSaveGuard::inSave(TData* d, std::uint16_t) {
  const ByteString fileName = AsStr(d);
  Fire(outSave, d);
  if (Memo == nullptr || Memo->LastSaveOk) {
    KeepText = false;
    FireEmpty(outSaved);
    return;
  }
  // Set before the box opens: the clearing timer keeps ticking inside its modal loop.
  KeepText = true;
  std::string text = "Не удалось сохранить эффект в файл";
  text += "\r\n";
  text.append(fileName.data(), fileName.size());
  text += "\r\nЭффект не сохранён.";
  MessageBoxA(Owner != nullptr ? Owner->Handle : nullptr, text.c_str(), "Ошибка сохранения",
              MB_ICONERROR | MB_OK);
}

void TQxSaveGuard::inClear(TData* d, std::uint16_t) {
  if (KeepText) {
    KeepText = false;
    return;
  }
  Fire(outClear, d);
  FireEmpty(outCleared);
}
