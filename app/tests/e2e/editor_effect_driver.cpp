// The outside driver of the effect workbench (see editor_effect_driver.h).
#include "app/tests/e2e/editor_effect_driver.h"

#include <vector>

#include "platform/text_codec.h"

namespace e2e {

namespace {

constexpr DWORD kPollMs = 5;
constexpr DWORD kMessageTimeoutMs = 5000;

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

LRESULT SendTimed(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kMessageTimeoutMs, &result))
    return -1;
  return static_cast<LRESULT>(result);
}

}  // namespace

const std::string& OpenDialogTitle() {
  static const std::string title = "Открыть эффект";
  return title;
}

HWND TEffectDriver::FindOpenDialog() const {
  HWND found = nullptr;
  const TWideString title = WideFromCp1251(OpenDialogTitle());
  for (HWND window = FindWindowW(L"#32770", title.c_str()); window != nullptr && found == nullptr;
       window = FindWindowExW(nullptr, window, L"#32770", title.c_str())) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == editor_.ProcessId() && IsWindowVisible(window) && save_.NameEdit(window) != nullptr)
      found = window;
  }
  return found;
}

HWND TEffectDriver::ShowOpenDialog(bool byKey, DWORD timeoutMs) {
  if (FindOpenDialog() != nullptr) return nullptr;
  if (byKey) {
    if (!editor_.PressKeyWith(VK_CONTROL, 'O')) return nullptr;
  } else {
    HWND button = Button("Открыть эффект…");
    RECT client{};
    if (button == nullptr || !GetClientRect(button, &client)) return nullptr;
    // The click starts a modal loop: no waiting for it to be handled.
    if (!editor_.ClickAt(button, client.right / 2, client.bottom / 2)) return nullptr;
  }
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs && editor_.Running()) {
    if (HWND dialog = FindOpenDialog()) {
      if (editor_.Sync()) return dialog;
    }
    Sleep(kPollMs);
  }
  return nullptr;
}

TDialogOutcome TEffectDriver::OpenFile(const std::string& path, bool byKey) {
  HWND dialog = ShowOpenDialog(byKey);
  if (dialog == nullptr || !save_.TypeFileName(dialog, path)) return {};
  return save_.PressOkAndWait(dialog, 60000);
}

TDialogOutcome TEffectDriver::OpenFileW(const std::wstring& path) {
  HWND dialog = ShowOpenDialog();
  if (dialog == nullptr || !save_.TypeFileNameW(dialog, path)) return {};
  return save_.PressOkAndWait(dialog, 60000);
}

HWND TEffectDriver::PlayButton() const {
  HWND button = Button("Пуск");
  return button != nullptr ? button : Button("Пауза");
}

HWND TEffectDriver::RateEdit() const {
  for (HWND child = GetWindow(editor_.Window(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const std::optional<TPlace> place = editor_.PlaceOf(child);
    const std::string className = ClassOf(child);
    const bool isEdit =
        className.find("EDIT") != std::string::npos || className.find("Edit") != std::string::npos;
    if (place && place->Top < 40 && isEdit) return child;
  }
  return nullptr;
}

std::string TEffectDriver::Counter() const {
  for (HWND child = GetWindow(editor_.Window(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const std::optional<TPlace> place = editor_.PlaceOf(child);
    if (!place || place->Top > 40) continue;
    const std::string text = editor_.TextOf(child);
    if (text.rfind("кадр ", 0) == 0) return text;
  }
  return {};
}

bool TEffectDriver::WaitCounter(const std::string& text, DWORD timeoutMs) const {
  const DWORD start = GetTickCount();
  do {
    if (Counter() == text) return true;
    Sleep(kPollMs);
  } while (GetTickCount() - start < timeoutMs && editor_.Running());
  return Counter() == text;
}

std::size_t TEffectDriver::LineStart(std::size_t line) const {
  const std::string text = save_.LongTextOf(editor_.EffectMemo());
  std::size_t at = 0;
  for (std::size_t i = 0; i < line && at != std::string::npos; ++i) {
    at = text.find("\r\n", at);
    if (at != std::string::npos) at += 2;
  }
  return at == std::string::npos ? text.size() : at;
}

bool TEffectDriver::DoubleClickLine(std::size_t line) {
  HWND memo = editor_.EffectMemo();
  const LRESULT at = SendTimed(memo, EM_POSFROMCHAR, LineStart(line), 0);
  if (at == -1) return false;
  const int x = static_cast<short>(LOWORD(at)) + 4;
  const int y = static_cast<short>(HIWORD(at)) + 5;
  return editor_.DoubleClickAt(memo, x, y) && editor_.Sync();
}

bool TEffectDriver::PutCaretOnLine(std::size_t line) {
  const std::size_t at = LineStart(line);
  return SendTimed(editor_.EffectMemo(), EM_SETSEL, at, static_cast<LPARAM>(at)) != -1 && editor_.Sync();
}

std::pair<std::size_t, std::size_t> TEffectDriver::MemoSelection() const {
  const LRESULT both = SendTimed(editor_.EffectMemo(), EM_GETSEL, 0, 0);
  return {LOWORD(both), HIWORD(both)};
}

bool TEffectDriver::Answer(const TMessageBoxSeen& box, int id, DWORD timeoutMs) {
  if (!save_.Press(box.Window, id)) return false;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs && editor_.Running()) {
    if (!IsWindow(box.Window) || !IsWindowVisible(box.Window)) return editor_.Sync();
    Sleep(kPollMs);
  }
  return false;
}

std::optional<TMessageBoxSeen> TEffectDriver::WaitMessageBox(DWORD timeoutMs) const {
  const DWORD start = GetTickCount();
  do {
    editor_.Sync(200);
    if (std::optional<TMessageBoxSeen> box = save_.FindMessageBox(FindOpenDialog())) return box;
    Sleep(kPollMs);
  } while (GetTickCount() - start < timeoutMs && editor_.Running());
  return std::nullopt;
}

}  // namespace e2e
